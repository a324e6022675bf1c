#pragma once

#include "core/chemistry.h"
#include "settings/user_defaults.h"

#include <array>
#include <functional>

class QObject;
class QWidget;

// The controls of a window that show the seven defaults, found by the names the settings table
// gives: a list, a field, or the group of source-form option buttons each.
class DefaultsControls
{
public:
    // formChosen runs after an option button is selected, so that what follows the form is always
    // set (an option that was selected already raises no change of its own).
    DefaultsControls(const QWidget& window, std::function<void(ardovin::SourceForm)> formChosen);

    // Shows the stored defaults. False at the first entry that is missing or matches no list
    // item; the controls set before it keep their new values. A form that is none of the three
    // exact texts changes nothing.
    bool ShowUserDefaults(const ardovin::UserDefaults& store) const;
    // Shows the program's own defaults.
    void ShowProgramDefaults() const;
    // Puts what the controls show into the store: list texts trimmed, numbers standard.
    void StoreShown(ardovin::UserDefaults& store) const;

private:
    bool Show(QObject* control, const ardovin::SettingValue& value) const;

    std::array<QObject*, ardovin::DefaultSettings.size()> Controls{};
    std::function<void(ardovin::SourceForm)> FormChosen;
};
