#include "core/calculation.h"

#include "core/numbers.h"

namespace ardovin {

namespace {

float ReadOrZero(const QString& text)
{
    return ReadSingle(text).value_or(0.0f);
}

} // namespace

DoseInputs ReadDoseInputs(const FormTexts& texts)
{
    DoseInputs in;
    in.BatchSize = ReadOrZero(texts.field(InputField::BatchSize));
    in.BatchUnit = BatchUnitFromText(texts.batchUnit);
    in.PH = ReadOrZero(texts.field(InputField::Ph));
    in.ExistingFreeSO2 = ReadOrZero(texts.field(InputField::ExistSO2));
    in.TargetKind = TargetKindFromText(texts.targetKind);
    if (in.TargetKind == TargetKind::TotalFree)
        in.TargetFreeSO2 = ReadOrZero(texts.field(InputField::TargetSO2));
    if (in.TargetKind == TargetKind::Molecular)
        in.TargetMolecularSO2 = ReadOrZero(texts.field(InputField::TargetMolSO2));
    in.Source = SourceFromText(texts.source);
    in.Form = texts.form;
    if (in.Form == SourceForm::Tablet)
        in.TabletWeight = ReadOrZero(texts.field(InputField::TabWeight));
    if (in.Form == SourceForm::Solution)
        in.SolutionPercent = ReadOrZero(texts.field(InputField::Solution));
    in.AdditionUnit = AdditionUnitFromText(texts.additionUnit);
    return in;
}

DoseDisplay DisplayDose(const DoseInputs& inputs, const DoseResult& result)
{
    DoseDisplay shown;
    shown.existMolSO2 = FormatStandard(result.ExistingMolecularSO2);
    if (inputs.TargetKind == TargetKind::TotalFree)
        shown.targetMolSO2 = FormatStandard(result.TargetMolecularSO2);
    if (inputs.TargetKind == TargetKind::Molecular)
        shown.targetSO2 = FormatStandard(result.TargetFreeSO2);
    shown.addition = FormatStandard(result.ShownAddition);
    shown.so2Requirement = FormatStandard(result.FreeSO2Requirement);
    shown.molSO2Requirement = FormatStandard(result.MolecularSO2Requirement);
    // The clamp works on the shown text: an addition that shows as negative is nothing to add.
    const std::optional<float> addition = ReadSingle(shown.addition);
    if (!addition || *addition < 0)
        shown.addition = FormatStandard(0.0);
    return shown;
}

QString ExistingMolecularText(const QString& existSO2, const QString& ph)
{
    const std::optional<float> freeSO2 = ReadSingle(existSO2);
    const std::optional<float> pH = ReadSingle(ph);
    return FormatStandard(freeSO2 && pH ? MolecularFromFree(*freeSO2, *pH) : 0.0f);
}

} // namespace ardovin
