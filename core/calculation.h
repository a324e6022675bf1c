#pragma once

#include "core/dose.h"

#include <optional>
#include <QMap>
#include <QString>

namespace ardovin {

// The main window's inputs as the user sees them: a field's text is its value.
struct FormTexts
{
    QMap<InputField, QString> fields; // the numeric fields' texts; a field not given is empty
    QString batchUnit;
    QString targetKind;
    QString source;
    SourceForm form = SourceForm::Powder;
    QString additionUnit;
    QString existMolSO2; // the caption of the existing molecular SO2 label

    QString field(InputField id) const { return fields.value(id); }
};

// Reads the texts into one calculation's inputs: a text that does not read counts as 0, a list
// text that matches nothing as no choice.
DoseInputs ReadDoseInputs(const FormTexts& texts);

// What the main window writes after a calculation, every number in the standard format.
struct DoseDisplay
{
    QString existMolSO2;
    std::optional<QString> targetSO2;    // written for a molecular target
    std::optional<QString> targetMolSO2; // written for a free target
    QString addition;                    // never below zero as shown
    QString so2Requirement;
    QString molSO2Requirement;
};

DoseDisplay DisplayDose(const DoseInputs& inputs, const DoseResult& result);

// The existing molecular SO2 from the free SO2 and pH texts, in the standard format; 0.00 when
// either text does not read.
QString ExistingMolecularText(const QString& existSO2, const QString& ph);

} // namespace ardovin
