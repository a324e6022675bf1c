#pragma once

#include "core/chemistry.h"
#include "settings/user_defaults.h"

#include <array>
#include <functional>

class QObject;

// The controls of a window that show the defaults, in the settings table's order: a
// list, a field, or the group of source-form option buttons each.
class DefaultsControls
{
public:
    using Controls = std::array<QObject*, ardovin::DefaultSettings.size()>;

    // formChosen runs after an option button is selected, so that what follows the form is always
    // set (an option that was selected already raises no change of its own). A setting without
    // a control ends the program at once, in every build.
    DefaultsControls(const Controls& controls, std::function<void(ardovin::SourceForm)> formChosen);

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

    Controls Shown;
    std::function<void(ardovin::SourceForm)> FormChosen;
};
