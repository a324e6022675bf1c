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

} // namespace ardovin
