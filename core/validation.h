#pragma once

#include "core/calculation.h"

#include <optional>
#include <QString>
#include <vector>

namespace ardovin {

struct InputProblem
{
    QString message;
    InputField field;
};

struct Confirmation
{
    QString question;
    InputField fieldOnNo;
};

// The first of the numbers an amount is worked out from that fails its check: the solution
// percentage or the tablet weight where that form is chosen, then the batch size. The main
// window checks these first.
std::optional<InputProblem> FirstAmountError(const FormTexts& texts);

// The first input the main window cannot calculate with, checked in the program's fixed order.
std::optional<InputProblem> FirstInputError(const FormTexts& texts);

// The unusual values to confirm, in the order they are asked; a No to any stops the calculation.
std::vector<Confirmation> Confirmations(const FormTexts& texts);

// The default-settings dialog's checks: all three fields, whatever form is chosen.
std::optional<InputProblem> FirstDefaultsError(const QString& solution, const QString& tabWeight,
                                               const QString& batchSize);

} // namespace ardovin
