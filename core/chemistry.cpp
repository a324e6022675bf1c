#include "core/chemistry.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace ardovin {

namespace {

// The first dissociation constant of sulphurous acid, as pKa.
constexpr double PKa = 1.8;

constexpr float MilligramsPerGram = 1000.0f;
constexpr float Percent = 100.0f;

constexpr std::array AllAdditionUnits = MembersOf(AdditionUnits, &AdditionUnitRow::unit);

template <typename Member, std::size_t N>
std::optional<Member> MatchText(const std::array<Member, N>& members, const QString& text)
{
    for (Member member : members)
        if (ListText(member) == text)
            return member;
    return std::nullopt;
}

// The row of a table that holds the member; every member has one.
template <typename Table, typename Row, typename Member>
const Row& RowOf(const Table& table, Member Row::*key, Member member)
{
    return *std::find_if(table.begin(), table.end(),
                         [&](const Row& row) { return row.*key == member; });
}

// F(pH) = 10^(pH - pKa) + 1: how many parts of free SO2 hold one part of molecular SO2.
double FreeToMolecularRatio(float pH)
{
    return std::pow(10.0, static_cast<double>(pH) - PKa) + 1.0;
}

} // namespace

QString ListText(SulphiteSource source)
{
    return QString::fromLatin1(RowOf(Compounds, &CompoundRow::source, source).listText);
}

QString ListText(SourceForm form)
{
    return QString::fromLatin1(RowOf(form).listText);
}

QString ListText(TargetKind kind)
{
    switch (kind) {
    case TargetKind::TotalFree:
        return QStringLiteral("Total Free SO2");
    case TargetKind::Molecular:
        return QStringLiteral("Molecular SO2");
    }
    return {};
}

QString ListText(BatchUnit unit)
{
    return QString::fromLatin1(RowOf(BatchUnits, &BatchUnitRow::unit, unit).listText);
}

QString ListText(AdditionUnit unit)
{
    return QString::fromLatin1(RowOf(AdditionUnits, &AdditionUnitRow::unit, unit).listText);
}

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

std::optional<SulphiteSource> SourceFromText(const QString& text)
{
    return MatchText(AllSources, TrimBlanks(text));
}

std::optional<TargetKind> TargetKindFromText(const QString& text)
{
    return MatchText(AllTargetKinds, TrimBlanks(text));
}

std::optional<BatchUnit> BatchUnitFromText(const QString& text)
{
    return MatchText(AllBatchUnits, TrimBlanks(text));
}

std::optional<AdditionUnit> AdditionUnitFromText(const QString& text)
{
    return MatchText(AllAdditionUnits, text);
}

std::optional<SourceForm> FormFromText(const QString& text)
{
    return MatchText(AllForms, text);
}

float SO2Fraction(SulphiteSource source)
{
    return static_cast<float>(RowOf(Compounds, &CompoundRow::source, source).so2Fraction);
}

std::optional<float> UnitsPerLitre(BatchUnit unit)
{
    const double perLitre = RowOf(BatchUnits, &BatchUnitRow::unit, unit).perLitre;
    if (perLitre == 0)
        return std::nullopt;
    return static_cast<float>(perLitre);
}

float ToLitres(float size, BatchUnit unit)
{
    const std::optional<float> perLitre = UnitsPerLitre(unit);
    if (!perLitre)
        return size;
    return StoreSingle(static_cast<double>(size) / static_cast<double>(*perLitre));
}

float MolecularFromFree(float freeSO2, float pH)
{
    return StoreSingle(static_cast<double>(freeSO2) / FreeToMolecularRatio(pH));
}

float FreeFromMolecular(float molecularSO2, float pH)
{
    return StoreSingle(FreeToMolecularRatio(pH) * static_cast<double>(molecularSO2));
}

float BaseAmount(SourceForm form, double requirement, SulphiteSource source, float litres,
                 float tabletWeight, float solutionPercent)
{
    const double fraction = SO2Fraction(source);
    const double perMille = MilligramsPerGram;
    const double volume = litres;
    switch (form) {
    case SourceForm::Powder:
        return StoreSingle(requirement / perMille / fraction * volume);
    case SourceForm::Tablet:
        return StoreSingle(requirement / perMille / fraction * volume /
                           static_cast<double>(tabletWeight));
    case SourceForm::Solution:
        // Here the division by the fraction comes before the division by 1000.
        return StoreSingle(requirement / fraction / perMille /
                           (static_cast<double>(solutionPercent) / Percent) * volume);
    }
    return 0.0f;
}

float AmountInUnit(SourceForm form, float baseAmount, AdditionUnit unit)
{
    for (const OfferedUnit& offered : RowOf(form).units)
        if (offered.unit == unit)
            return StoreSingle(static_cast<double>(baseAmount) / offered.divisor *
                               offered.multiplier);
    return 0.0f;
}

float SO2FromAmount(SourceForm form, float amount, AdditionUnit unit, SulphiteSource source,
                    float litres, float tabletWeight, float solutionPercent)
{
    const auto offered = std::find_if(RowOf(form).units.begin(), RowOf(form).units.end(),
                                      [unit](const OfferedUnit& o) { return o.unit == unit; });
    if (offered == RowOf(form).units.end() || litres <= 0)
        return 0.0f;
    double base = static_cast<double>(amount) * offered->divisor / offered->multiplier;
    if (form == SourceForm::Tablet)
        base *= static_cast<double>(tabletWeight);
    if (form == SourceForm::Solution)
        base *= static_cast<double>(solutionPercent) / Percent;
    return StoreSingle(base * MilligramsPerGram * static_cast<double>(SO2Fraction(source)) /
                       static_cast<double>(litres));
}

} // namespace ardovin
