#include "core/curve.h"

#include "core/numbers.h"
#include "core/validation.h"

namespace ardovin {

namespace {

QString MgPerLitre(double value)
{
    return FormatStandard(value) + QStringLiteral(" mg/L");
}

// How the table's header names a curve: "0.50 mg/L molecular", "target 1.00 mg/L molecular".
QString AimText(const Curve& curve)
{
    const QString aim = MgPerLitre(curve.molecularAim) + QStringLiteral(" molecular");
    return curve.isTarget ? QStringLiteral("target ") + aim : aim;
}

// An addition is offered only where Calculate would accept the numbers it is worked out from,
// and the existing level, compound and unit read.
bool AdditionCanBeWorkedOut(const FormTexts& texts)
{
    return !FirstAmountError(texts) && ReadSingle(texts.field(InputField::ExistSO2)) &&
           SourceFromText(texts.source) && AdditionUnitFromText(texts.additionUnit);
}

// The addition as the main window would show it for this molecular target at this pH.
QString AdditionText(DoseInputs dose, float pH, float molecularAim)
{
    dose.PH = pH;
    dose.TargetKind = TargetKind::Molecular;
    dose.TargetMolecularSO2 = molecularAim;
    return DisplayDose(dose, ComputeDose(dose)).addition;
}

} // namespace

std::vector<float> CurvePhValues(int stepHundredths)
{
    std::vector<float> values;
    for (int hundredths = CurveFirstPh; hundredths <= CurveLastPh; hundredths += stepHundredths)
        values.push_back(static_cast<float>(hundredths / 100.0));
    return values;
}

WineCurves ReadWineCurves(const FormTexts& texts)
{
    WineCurves wine;
    wine.curves.push_back({RedMolecularAim, false,
                           MgPerLitre(RedMolecularAim) + QStringLiteral(" molecular (reds)")});
    wine.curves.push_back({WhiteMolecularAim, false,
                           MgPerLitre(WhiteMolecularAim) + QStringLiteral(" molecular (whites)")});
    if (TargetKindFromText(texts.targetKind) == TargetKind::Molecular) {
        const std::optional<float> target = ReadSingle(texts.field(InputField::TargetMolSO2));
        if (target && *target > 0)
            wine.curves.push_back(
                {*target, true,
                 QStringLiteral("Target ") + MgPerLitre(*target) + QStringLiteral(" molecular")});
    }
    wine.pH = ReadSingle(texts.field(InputField::Ph));
    wine.freeSO2 = ReadSingle(texts.field(InputField::ExistSO2));
    wine.additionUnit = texts.additionUnit;
    if (AdditionCanBeWorkedOut(texts))
        wine.dose = ReadDoseInputs(texts);
    return wine;
}

QString WinePointText(const WineCurves& wine)
{
    if (!wine.pH || !wine.freeSO2)
        return {};
    return QStringLiteral("This wine: pH %1, free SO2 %2, molecular SO2 %3")
        .arg(FormatStandard(*wine.pH), MgPerLitre(*wine.freeSO2),
             MgPerLitre(MolecularFromFree(*wine.freeSO2, *wine.pH)));
}

QString ChartDescription(const WineCurves& wine)
{
    QStringList names;
    for (const Curve& curve : wine.curves)
        names << curve.name;
    const QString point = WinePointText(wine);
    return QStringLiteral("Free SO2 in mg/L against pH from %1 to %2 for %3. %4.")
        .arg(FormatStandard(CurveFirstPh / 100.0), FormatStandard(CurveLastPh / 100.0),
             names.join(QStringLiteral("; ")),
             point.isEmpty() ? QStringLiteral("No point for this wine: its pH or free SO2 is "
                                              "not a number")
                             : point);
}

CurveTable BuildCurveTable(const WineCurves& wine)
{
    CurveTable table;
    const QString unit =
        wine.additionUnit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(wine.additionUnit);
    table.header << QStringLiteral("pH");
    for (const Curve& curve : wine.curves)
        table.header << QStringLiteral("Free SO2 for %1 (mg/L)").arg(AimText(curve))
                     << QStringLiteral("Addition for %1%2").arg(AimText(curve), unit);
    for (float pH : CurvePhValues(TablePhStep)) {
        QStringList row{FormatStandard(pH)};
        for (const Curve& curve : wine.curves)
            row << FormatStandard(FreeFromMolecular(curve.molecularAim, pH))
                << (wine.dose ? AdditionText(*wine.dose, pH, curve.molecularAim) : QString());
        table.rows.push_back(row);
    }
    return table;
}

QString TabSeparated(const CurveTable& table)
{
    QString text = table.header.join(u'\t') + u'\n';
    for (const QStringList& row : table.rows)
        text += row.join(u'\t') + u'\n';
    return text;
}

} // namespace ardovin
