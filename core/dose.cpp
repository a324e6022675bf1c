#include "core/dose.h"

#include "core/numbers.h"

namespace ardovin {

namespace {

void ComputeTarget(const DoseInputs& in, DoseResult& out)
{
    if (!in.TargetKind)
        return;
    if (*in.TargetKind == TargetKind::TotalFree) {
        out.TargetFreeSO2 = in.TargetFreeSO2;
        out.TargetMolecularSO2 = MolecularFromFree(in.TargetFreeSO2, in.PH);
    } else {
        out.TargetMolecularSO2 = in.TargetMolecularSO2;
        out.TargetFreeSO2 = FreeFromMolecular(in.TargetMolecularSO2, in.PH);
    }
}

void ComputeAmount(const DoseInputs& in, DoseResult& out)
{
    if (!in.Source)
        return; // no compound, nothing to dose with
    const double requirement =
        static_cast<double>(out.TargetFreeSO2) - static_cast<double>(in.ExistingFreeSO2);
    out.Amount = BaseAmount(in.Form, requirement, *in.Source, out.BatchLitres, in.TabletWeight,
                            in.SolutionPercent);
    if (in.AdditionUnit)
        out.ShownAddition = AmountInUnit(in.Form, out.Amount, *in.AdditionUnit);
}

} // namespace

DoseResult ComputeDose(const DoseInputs& in)
{
    DoseResult out;
    out.BatchLitres = in.BatchUnit ? ToLitres(in.BatchSize, *in.BatchUnit) : in.BatchSize;
    out.ExistingMolecularSO2 = MolecularFromFree(in.ExistingFreeSO2, in.PH);
    ComputeTarget(in, out);
    out.FreeSO2Requirement = StoreSingle(static_cast<double>(out.TargetFreeSO2) -
                                         static_cast<double>(in.ExistingFreeSO2));
    out.MolecularSO2Requirement = StoreSingle(static_cast<double>(out.TargetMolecularSO2) -
                                              static_cast<double>(out.ExistingMolecularSO2));
    ComputeAmount(in, out);
    return out;
}

std::optional<double> CalculatedAddition::strength() const
{
    switch (inputs.Form) {
    case SourceForm::Tablet:
        return inputs.TabletWeight;
    case SourceForm::Solution:
        return inputs.SolutionPercent;
    case SourceForm::Powder:
        break;
    }
    return std::nullopt;
}

float CalculatedAddition::so2For(float litres) const
{
    if (!inputs.Source || !inputs.AdditionUnit)
        return 0.0f;
    return SO2FromAmount(inputs.Form, result.ShownAddition, *inputs.AdditionUnit, *inputs.Source,
                         litres, inputs.TabletWeight, inputs.SolutionPercent);
}

} // namespace ardovin
