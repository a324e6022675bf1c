#pragma once

#include "core/chemistry.h"
#include "settings/user_defaults.h"

#include <functional>

class QComboBox;
class QLineEdit;
class QRadioButton;

// The seven controls, of the main window or of the settings dialog, that show the defaults.
struct DefaultsControls
{
    QComboBox* cboForm;
    QRadioButton* optPowder;
    QRadioButton* optSolution;
    QRadioButton* optTablet;
    QComboBox* cboBatch;
    QLineEdit* txtSolution;
    QLineEdit* txtTabWeight;
    QLineEdit* txtBatchSize;
    QComboBox* cboTarget;
    // Runs after an option button is selected, so that what follows the form is always set
    // (an option that was selected already raises no change of its own).
    std::function<void(ardovin::SourceForm)> formChosen;
};

// Selects the item that equals the text, letter case ignored; false when none does.
bool SelectListItem(QComboBox& list, const QString& text);

// Puts the stored defaults into the controls in the program's order. False at the first entry
// that is missing or matches no list item; the controls set before it keep their new values.
// A form that is none of the three exact texts changes nothing.
bool ApplyUserDefaults(const ardovin::UserDefaults& store, const DefaultsControls& controls);

// Puts the program's own defaults into the controls.
void ApplyProgramDefaults(const DefaultsControls& controls);

// The option button of a form.
QRadioButton* OptionFor(const DefaultsControls& controls, ardovin::SourceForm form);
