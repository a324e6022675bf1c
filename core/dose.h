#pragma once

#include "core/chemistry.h"

#include <optional>

namespace ardovin {

// The inputs of one calculation, as read from the main window's controls. A list text that
// matches no member is held as no member; a number whose text does not read is 0.
struct DoseInputs
{
    float BatchSize = 0;
    std::optional<ardovin::BatchUnit> BatchUnit;
    float PH = 0;
    float ExistingFreeSO2 = 0;
    std::optional<ardovin::TargetKind> TargetKind;
    float TargetFreeSO2 = 0;
    float TargetMolecularSO2 = 0;
    std::optional<SulphiteSource> Source;
    SourceForm Form = SourceForm::Powder;
    float TabletWeight = 0;
    float SolutionPercent = 0;
    std::optional<ardovin::AdditionUnit> AdditionUnit;
};

// The outputs; a value that a calculation does not compute stays 0.
struct DoseResult
{
    float BatchLitres = 0;
    float ExistingMolecularSO2 = 0;
    float TargetFreeSO2 = 0;
    float TargetMolecularSO2 = 0;
    float FreeSO2Requirement = 0;
    float MolecularSO2Requirement = 0;
    float Amount = 0;        // tablets, grams or millilitres, by the form
    float ShownAddition = 0; // in the addition unit chosen; 0 for one the form does not offer
};

DoseResult ComputeDose(const DoseInputs& in);

// A calculation the main window shows: what it was worked from and what it gave.
struct CalculatedAddition
{
    DoseInputs inputs;
    DoseResult result;

    // The strength of the form used: a tablet's weight or a solution's percentage; none for
    // powder.
    std::optional<double> strength() const;
    // The SO2 in mg/L that the amount shown brings to a batch of the litres given.
    float so2For(float litres) const;
};

} // namespace ardovin
