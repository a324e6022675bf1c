#include "core/validation.h"

#include "core/numbers.h"

#include <functional>

namespace ardovin {

namespace {

using Test = std::function<bool(float)>;

// A comparison that meets a number beyond single precision cannot be made and counts as met,
// so the check fails (or the question is asked).
bool Compares(const QString& text, const Test& test)
{
    const std::optional<float> value = ReadSingle(text);
    return !value || test(*value);
}

std::optional<QString> SolutionProblem(const QString& text)
{
    if (!IsNumeric(text))
        return QStringLiteral("Solution percentage must be numeric.");
    if (Compares(text, [](float v) { return v < 1 || v > 100; }))
        return QStringLiteral("Solution % must be between 1 and 100.");
    return std::nullopt;
}

std::optional<QString> TabletWeightProblem(const QString& text)
{
    if (!IsNumeric(text))
        return QStringLiteral("Tablet weight must be numeric.");
    if (Compares(text, [](float v) { return v <= 0; }))
        return QStringLiteral("Tablet weight must be greater than 0.");
    return std::nullopt;
}

std::optional<QString> BatchSizeProblem(const QString& text)
{
    if (!IsNumeric(text))
        return QStringLiteral("Batch size must be numeric.");
    if (Compares(text, [](float v) { return v <= 0; }))
        return QStringLiteral("Batch size must be greater than 0.");
    return std::nullopt;
}

std::optional<InputProblem> At(const std::optional<QString>& message, InputField field)
{
    if (!message)
        return std::nullopt;
    return InputProblem{*message, field};
}

// Existing above target, compared in single precision.
bool ExceedsTarget(const QString& existing, const QString& target)
{
    const std::optional<float> e = ReadSingle(existing);
    const std::optional<float> t = ReadSingle(target);
    return !e || !t || *e > *t;
}

std::optional<InputProblem> PhProblem(const FormTexts& t, bool molecular)
{
    // The pH must read whatever the target: with a free target an unreadable pH would be
    // taken as 0 and the molecular levels shown would be wrong.
    if (!IsNumeric(t.field(InputField::Ph)))
        return InputProblem{QStringLiteral("pH must be numeric."), InputField::Ph};
    if (molecular && Compares(t.field(InputField::Ph), [](float v) { return v < 1 || v > 14; }))
        return InputProblem{QStringLiteral("pH must be between 1 and 14."), InputField::Ph};
    return std::nullopt;
}

std::optional<InputProblem> TargetProblem(const FormTexts& t, bool free, bool molecular)
{
    static const QString notNumeric = QStringLiteral("Target SO2 must be numeric.");
    static const QString aboveTarget =
        QStringLiteral("Existing SO2 cannot be greater than target SO2.");
    if (free && !IsNumeric(t.field(InputField::TargetSO2)))
        return InputProblem{notNumeric, InputField::TargetSO2};
    if (molecular && t.field(InputField::TargetMolSO2).isEmpty())
        return InputProblem{QStringLiteral("Please enter target SO2."), InputField::TargetMolSO2};
    if (molecular && !IsNumeric(t.field(InputField::TargetMolSO2)))
        return InputProblem{notNumeric, InputField::TargetMolSO2};
    if (free && ExceedsTarget(t.field(InputField::ExistSO2), t.field(InputField::TargetSO2)))
        return InputProblem{aboveTarget, InputField::TargetSO2};
    // The shown molecular level reads 0.00 for an existing level too large to convert: the
    // comparison must meet that level itself, and it cannot be made.
    if (molecular && (!ReadSingle(t.field(InputField::ExistSO2)) ||
                      ExceedsTarget(t.existMolSO2, t.field(InputField::TargetMolSO2))))
        return InputProblem{aboveTarget, InputField::TargetMolSO2};
    return std::nullopt;
}

// The target kind as the checks see it: the list text exactly, untrimmed.
bool IsKind(const FormTexts& t, TargetKind kind)
{
    return t.targetKind == ListText(kind);
}

} // namespace

std::optional<InputProblem> FirstAmountError(const FormTexts& t)
{
    if (t.form == SourceForm::Solution)
        if (auto problem = At(SolutionProblem(t.field(InputField::Solution)), InputField::Solution))
            return problem;
    if (t.form == SourceForm::Tablet)
        if (auto problem =
                At(TabletWeightProblem(t.field(InputField::TabWeight)), InputField::TabWeight))
            return problem;
    return At(BatchSizeProblem(t.field(InputField::BatchSize)), InputField::BatchSize);
}

std::optional<InputProblem> FirstInputError(const FormTexts& t)
{
    const bool free = IsKind(t, TargetKind::TotalFree);
    const bool molecular = IsKind(t, TargetKind::Molecular);
    if (auto problem = FirstAmountError(t))
        return problem;
    if (auto problem = PhProblem(t, molecular))
        return problem;
    if (!IsNumeric(t.field(InputField::ExistSO2)))
        return InputProblem{QStringLiteral("Existing SO2 must be numeric."), InputField::ExistSO2};
    return TargetProblem(t, free, molecular);
}

std::vector<Confirmation> Confirmations(const FormTexts& t)
{
    std::vector<Confirmation> questions;
    if (t.form == SourceForm::Tablet &&
        Compares(t.field(InputField::TabWeight), [](float v) { return v > 1; }))
        questions.push_back(
            {QStringLiteral("Tablet weight appears high. Are you sure it is correct?"),
             InputField::TabWeight});
    if (t.form == SourceForm::Solution &&
        Compares(t.field(InputField::Solution), [](float v) { return v > 50; }))
        questions.push_back(
            {QStringLiteral("Solution percentage appears high. Are you sure it is correct?"),
             InputField::Solution});
    if (IsKind(t, TargetKind::Molecular)) {
        // At most one pH question: a low pH cannot also be high.
        if (Compares(t.field(InputField::Ph), [](float v) { return v < 2; }))
            questions.push_back(
                {QStringLiteral("pH appears low. Are you sure it is correct?"), InputField::Ph});
        else if (Compares(t.field(InputField::Ph), [](float v) { return v > 5; }))
            questions.push_back(
                {QStringLiteral("pH appears high. Are you sure it is correct?"), InputField::Ph});
    }
    return questions;
}

std::optional<InputProblem> FirstDefaultsError(const QString& solution, const QString& tabWeight,
                                               const QString& batchSize)
{
    if (auto problem = At(SolutionProblem(solution), InputField::Solution))
        return problem;
    if (auto problem = At(TabletWeightProblem(tabWeight), InputField::TabWeight))
        return problem;
    return At(BatchSizeProblem(batchSize), InputField::BatchSize);
}

} // namespace ardovin
