#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <QString>
#include <span>

namespace ardovin {

// The choices the windows offer. Each is identified on screen by its exact list text.

enum class SulphiteSource { PotassiumMetabisulphite, SodiumBisulphite, SodiumMetabisulphite };
enum class SourceForm { Tablet, Powder, Solution };
enum class TargetKind { TotalFree, Molecular };
enum class BatchUnit { USGallon, ImperialGallon, Litre };
enum class AdditionUnit {
    Grams,
    Millilitres,
    Teaspoons,
    Tablespoons,
    Tablets,
    FluidOunces,
    AvoirdupoisOunces
};

// Each compound, in the order its list shows them: its list text, and the grams of SO2 that one
// gram of it yields.
struct CompoundRow
{
    SulphiteSource source;
    const char* listText;
    double so2Fraction;
};
inline constexpr std::array Compounds{
    CompoundRow{SulphiteSource::PotassiumMetabisulphite, "Potassium Metabisulphite",
                0.576312049081521},
    CompoundRow{SulphiteSource::SodiumBisulphite, "Sodium Bisulphite", 0.615638904104323},
    CompoundRow{SulphiteSource::SodiumMetabisulphite, "Sodium Metabisulphite", 0.673978338514626},
};

// Each batch unit, in the order its list shows them: its list text, how many of it make a
// litre (0 for the litre itself), and its text in settings.cfg and in the Default Settings
// window's list (letter case aside, the same).
struct BatchUnitRow
{
    BatchUnit unit;
    const char* listText;
    double perLitre;
    const char* savedText;
};
inline constexpr std::array BatchUnits{
    BatchUnitRow{BatchUnit::USGallon, "U.S. Gal.", 0.264172, "U.S. Gal."},
    BatchUnitRow{BatchUnit::ImperialGallon, "Imp. Gal.", 0.219969, "Imp. gal."},
    BatchUnitRow{BatchUnit::Litre, "Litres", 0, "Litres"},
};

// The numeric fields of the windows, by what they hold; a check sends the user back to one.
enum class InputField { Solution, TabWeight, BatchSize, Ph, ExistSO2, TargetSO2, TargetMolSO2 };

// Each addition unit: its list text.
struct AdditionUnitRow
{
    AdditionUnit unit;
    const char* listText;
};
inline constexpr std::array AdditionUnits{
    AdditionUnitRow{AdditionUnit::Grams, "g"},
    AdditionUnitRow{AdditionUnit::Millilitres, "ml"},
    AdditionUnitRow{AdditionUnit::Teaspoons, "tsp"},
    AdditionUnitRow{AdditionUnit::Tablespoons, "tbsp"},
    AdditionUnitRow{AdditionUnit::Tablets, "tablets"},
    AdditionUnitRow{AdditionUnit::FluidOunces, "oz (fl.)"},
    AdditionUnitRow{AdditionUnit::AvoirdupoisOunces, "oz (av.)"},
};

// An addition unit a form offers, and how its amount comes from the form's base amount
// (tablets, grams or millilitres): divided by the divisor, then multiplied by the multiplier,
// in double precision.
struct OfferedUnit
{
    AdditionUnit unit;
    double divisor = 1;
    double multiplier = 1;
};

namespace unit_factors {
inline constexpr double GramsPerTeaspoonOfPowder = 6.2;
// A powder tablespoon is taken as three teaspoons, with this factor rather than an exact third.
inline constexpr double TeaspoonsToTablespoon = 0.333333;
inline constexpr double MillilitresPerTeaspoon = 4.92892;
inline constexpr double MillilitresPerTablespoon = 14.7868;
inline constexpr double MillilitresPerFluidOunce = 29.5735;
inline constexpr double OuncesPerGram = 0.035274;
} // namespace unit_factors

// The units each form offers, in the (alphabetical) order its list shows them, the one chosen
// with the form first.
inline constexpr OfferedUnit TabletUnits[] = {{AdditionUnit::Tablets}};
inline constexpr OfferedUnit PowderUnits[] = {
    {AdditionUnit::Grams},
    {AdditionUnit::AvoirdupoisOunces, 1, unit_factors::OuncesPerGram},
    {AdditionUnit::Tablespoons, unit_factors::GramsPerTeaspoonOfPowder,
     unit_factors::TeaspoonsToTablespoon},
    {AdditionUnit::Teaspoons, unit_factors::GramsPerTeaspoonOfPowder},
};
inline constexpr OfferedUnit SolutionUnits[] = {
    {AdditionUnit::Millilitres},
    {AdditionUnit::FluidOunces, unit_factors::MillilitresPerFluidOunce},
    {AdditionUnit::Tablespoons, unit_factors::MillilitresPerTablespoon},
    {AdditionUnit::Teaspoons, unit_factors::MillilitresPerTeaspoon},
};

// Each source form, in the order of the enumeration: its text (in settings.cfg and on its option
// button), the option button's name, the addition units it offers, and the field its amount
// needs besides the batch size, which the windows enable while the form is chosen (none for
// powder).
struct FormRow
{
    SourceForm form;
    const char* listText;
    const char* optionName;
    std::span<const OfferedUnit> units;
    std::optional<InputField> amountField;
};
inline constexpr std::array Forms{
    FormRow{SourceForm::Tablet, "Tablet", "optTablet", TabletUnits, InputField::TabWeight},
    FormRow{SourceForm::Powder, "Powder", "optPowder", PowderUnits, std::nullopt},
    FormRow{SourceForm::Solution, "Solution", "optSolution", SolutionUnits, InputField::Solution},
};

// The row of a form.
constexpr const FormRow& RowOf(SourceForm form)
{
    return Forms[std::size_t(form)];
}

// The members of a table's rows, in its order.
template <typename Row, std::size_t N, typename Member>
constexpr std::array<Member, N> MembersOf(const std::array<Row, N>& table, Member Row::*member)
{
    std::array<Member, N> members{};
    for (std::size_t i = 0; i < N; ++i)
        members[i] = table[i].*member;
    return members;
}

// Every member in the order its list shows it.
inline constexpr std::array AllSources = MembersOf(Compounds, &CompoundRow::source);
inline constexpr std::array AllForms = MembersOf(Forms, &FormRow::form);
inline constexpr std::array AllTargetKinds{TargetKind::TotalFree, TargetKind::Molecular};
inline constexpr std::array AllBatchUnits = MembersOf(BatchUnits, &BatchUnitRow::unit);

QString ListText(SulphiteSource source);
QString ListText(SourceForm form);
QString ListText(TargetKind kind);
QString ListText(BatchUnit unit);
QString ListText(AdditionUnit unit);

// Removes leading and trailing blanks (spaces), as the list texts are compared.
QString TrimBlanks(const QString& text);

// From a list text to its member. Compound, batch unit and target kind are compared after
// trimming blanks; the addition unit and the form exactly. Letter case always counts.
std::optional<SulphiteSource> SourceFromText(const QString& text);
std::optional<TargetKind> TargetKindFromText(const QString& text);
std::optional<BatchUnit> BatchUnitFromText(const QString& text);
std::optional<AdditionUnit> AdditionUnitFromText(const QString& text);
std::optional<SourceForm> FormFromText(const QString& text);

// Grams of SO2 that one gram of the compound yields, held in single precision.
float SO2Fraction(SulphiteSource source);

// Batch units in one litre, held in single precision; none for litres themselves.
std::optional<float> UnitsPerLitre(BatchUnit unit);

// The arithmetic. Every operand is single precision, every formula runs in double precision
// in the order written and is rounded to single precision once, by StoreSingle.
float ToLitres(float size, BatchUnit unit);
float MolecularFromFree(float freeSO2, float pH);
float FreeFromMolecular(float molecularSO2, float pH);
// The requirement is a difference of two single-precision levels, formed in double precision.
float BaseAmount(SourceForm form, double requirement, SulphiteSource source, float litres,
                 float tabletWeight, float solutionPercent);
// The base amount (tablets, grams or millilitres) in an addition unit; 0 for a unit that the
// form does not offer.
float AmountInUnit(SourceForm form, float baseAmount, AdditionUnit unit);
// The other way: the SO2 in mg/L that an amount in an addition unit brings to the litres, by
// the same factors; 0 for a unit the form does not offer or a batch of no litres.
float SO2FromAmount(SourceForm form, float amount, AdditionUnit unit, SulphiteSource source,
                    float litres, float tabletWeight, float solutionPercent);

} // namespace ardovin
