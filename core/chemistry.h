#pragma once

#include <array>
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

// Every member in the order its list shows it.
inline constexpr std::array AllSources{SulphiteSource::PotassiumMetabisulphite,
                                       SulphiteSource::SodiumBisulphite,
                                       SulphiteSource::SodiumMetabisulphite};
inline constexpr std::array AllForms{SourceForm::Tablet, SourceForm::Powder, SourceForm::Solution};
inline constexpr std::array AllTargetKinds{TargetKind::TotalFree, TargetKind::Molecular};
inline constexpr std::array AllBatchUnits{BatchUnit::USGallon, BatchUnit::ImperialGallon,
                                          BatchUnit::Litre};

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

// The addition units a form offers, in the (alphabetical) order the list shows them, and
// the one chosen whenever the form is picked.
std::span<const AdditionUnit> AdditionUnitsFor(SourceForm form);
AdditionUnit DefaultAdditionUnit(SourceForm form);

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

} // namespace ardovin
