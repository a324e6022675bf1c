#pragma once

#include "core/calculation.h"
#include "core/chemistry.h"
#include "core/entry.h"
#include "settings/user_defaults.h"
#include "ui/modProc.h"

#include <map>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <span>
#include <type_traits>
#include <variant>
#include <vector>

namespace ardovin {

// The kinds of control the windows are built from.
enum class ControlKind {
    Panel,       // plain panel holding other controls
    Frame,       // captioned group
    Label,       // caption, left-aligned
    RightLabel,  // caption, right-aligned against its column
    ResultLabel, // bordered grey label the program writes
    TextField,   // single-line numeric field
    Spin,        // spin control of the field to its left
    List,        // drop-down list, items in the order given
    Option,      // option button of its container's group
    Button,      // command button
};

// The member of the window that a layout row puts its control in, typed as the control is; or
// none, for a control the window's code never reaches.
template <typename Window>
using ControlMember =
    std::variant<std::monostate, QWidget * Window::*, QLabel * Window::*, QLineEdit * Window::*,
                 QComboBox * Window::*, QScrollBar * Window::*, QPushButton * Window::*>;

// A row's member and name, from one spelling: ARDOVIN_BOUND(frmSulfite, txtPh).
#define ARDOVIN_BOUND(Window, member) ::ardovin::ControlMember<Window>(&Window::member), #member
// A row that fills no member, with its control's name: ARDOVIN_NAMED("Label5").
#define ARDOVIN_NAMED(name) {}, name

// One control as the window lays it out: the member it fills and its name, its place in twips
// relative to its container, caption (or list items separated by '|'), tooltip and accessible
// name, and what the window does with it besides.
template <typename Window> struct ControlSpec // NOLINT(clang-analyzer-optin.performance.Padding)
{
    ControlMember<Window> member;
    const char* name;
    ControlKind kind;
    QWidget* Window::*container; // nullptr for the window's own client area
    int left, top, width, height;
    const char* caption;
    const char* tooltip;
    const char* accessibleName;       // nullptr: the caption without its access-key marker
    QStringList (*items)() = nullptr; // a list's items, where they come from a table of choices
    int tabIndex = 0; // from 1, the place in the Tab order; 0 in the order of creation
    // A list's caption on screen, which a screen reader reads as its name; where the layout has
    // none, the list gets a caption of its accessible name that only a screen reader meets.
    QLabel* Window::*label = nullptr;
    std::optional<SourceForm> form = std::nullopt; // an option button's source form
    const char* setting = nullptr; // the key of the default setting a list or option shows
    // The numeric field that a field, its spin control or the unit beside it belong to; a
    // field's rule for its spin control, and whether Calculate writes 0.00 into it when empty.
    std::optional<InputField> field = std::nullopt;
    SpinRule rule = {};
    bool zeroFilledByCalculate = false;
};

// A numeric field as built, with its spin control, rule and unit.
struct FieldControls
{
    InputField id;
    QLineEdit* field = nullptr;
    QScrollBar* spin = nullptr;
    QLabel* unit = nullptr;
    SpinRule rule = {};
    bool zeroFilledByCalculate = false;
};

// What the window's code takes from its built controls besides its members.
struct BuiltControls
{
    QButtonGroup* forms = nullptr; // the source-form option buttons, each keyed by its form
    // The control that shows each default setting, in the settings table's order; the form's
    // is the group of option buttons.
    std::array<QObject*, DefaultSettings.size()> defaults{};
    std::vector<FieldControls> fields; // in the layout's order
};

// Screen pixels at 96 dots per inch; Qt scales them on high-density screens.
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

// Creates one control of a layout row, named, placed, captioned and described.
QWidget* CreateControl(ControlKind kind, const char* name, QWidget* parent, QRect twips,
                       const char* caption, const char* tooltip, const char* accessibleName,
                       QStringList (*items)(), const QFont& font);

// Gives a list the caption a screen reader names it by: the label on screen, or else a hidden
// label of its accessible name.
void NameList(QComboBox& list, QLabel* caption);

// Puts each control in the Tab order its number gives, after one another.
void SetTabOrder(const std::map<int, QWidget*>& numbered);

// The index of a setting's key in the settings table; the program ends for a key it lacks.
std::size_t SettingIndex(const char* key);

// Adds a numeric field, its spin control or its unit to the field it belongs to; a field row
// gives the rule and the zero fill.
void AddToField(BuiltControls& built, InputField id, QWidget* control, SpinRule rule,
                bool zeroFilledByCalculate);

// Puts in the defaults' controls the window's fields that show the numeric settings.
void FindDefaultFields(BuiltControls& built);

// Puts the control in the member, which must be of the control's own type: a row that binds
// another kind ends the program at once, in every build.
template <typename Window>
void BindControl(Window& window, const ControlMember<Window>& member, QWidget* control)
{
    std::visit(
        [&]<typename Member>(Member bound) {
            if constexpr (!std::is_same_v<Member, std::monostate>) {
                using Control = std::remove_pointer_t<
                    std::remove_reference_t<decltype(std::declval<Window&>().*bound)>>;
                auto* typed = qobject_cast<Control*>(control);
                if (!typed)
                    qFatal("%s is no %s", qPrintable(control->objectName()),
                           Control::staticMetaObject.className());
                window.*bound = typed;
            }
        },
        member);
}

// Creates the controls on root in the order given, a container before its controls, fills
// the window's members, then sets the Tab order: first the numbered controls by their numbers,
// then the others as created.
template <typename Window>
BuiltControls BuildControls(Window& window, QWidget& root,
                            std::span<const ControlSpec<Window>> rows)
{
    BuiltControls built;
    std::map<int, QWidget*> tabOrder;
    const QFont font = modProc::ProgramFont(); // looked up once: it asks the system's font database
    for (const ControlSpec<Window>& row : rows) {
        QWidget* parent = row.container ? window.*row.container : &root;
        QWidget* control = CreateControl(
            row.kind, row.name, parent, QRect(row.left, row.top, row.width, row.height),
            row.caption, row.tooltip, row.accessibleName, row.items, font);
        BindControl(window, row.member, control);
        if (auto* list = qobject_cast<QComboBox*>(control))
            NameList(*list, row.label ? window.*row.label : nullptr);
        if (row.form) {
            if (!built.forms)
                built.forms = new QButtonGroup(&root);
            built.forms->addButton(qobject_cast<QAbstractButton*>(control), int(*row.form));
        }
        if (row.setting)
            built.defaults[SettingIndex(row.setting)] =
                row.form ? static_cast<QObject*>(built.forms) : control;
        if (row.field)
            AddToField(built, *row.field, control, row.rule, row.zeroFilledByCalculate);
        if (row.tabIndex > 0)
            tabOrder[row.tabIndex] = control;
    }
    SetTabOrder(tabOrder);
    FindDefaultFields(built);
    return built;
}

// The grey of disabled target fields and of the result labels.
QColor LightGrey();

// Makes the spin control step the field by the rule.
void ConnectSpinControl(QScrollBar& spin, QLineEdit& field, SpinRule rule);

// Makes every field's spin control step it.
void ConnectSpinControls(const std::vector<FieldControls>& fields);

// A field by what it holds; the program ends for one the window lacks.
QLineEdit* FieldOf(const std::vector<FieldControls>& fields, InputField id);

// Enables, with its spin control and unit, the field that each form's amount needs, while that
// form is chosen.
void EnableAmountFields(const std::vector<FieldControls>& fields, SourceForm chosen);

// Fills a list with its items, none chosen, in the list font that shows the longest whole.
void FillList(QComboBox& list, const QStringList& items);

// The list texts of every member, in order: ListTexts(AllSources).
template <typename Choices> QStringList ListTexts(const Choices& all)
{
    QStringList texts;
    for (const auto choice : all)
        texts << ListText(choice);
    return texts;
}

// The items of the lists of compounds, of batch units and of targets.
inline QStringList SourceItems()
{
    return ListTexts(AllSources);
}
inline QStringList BatchUnitItems()
{
    return ListTexts(AllBatchUnits);
}
inline QStringList TargetItems()
{
    return ListTexts(AllTargetKinds);
}

// The list texts batch units have in the settings file and the Default Settings window.
QStringList SavedBatchUnitItems();

} // namespace ardovin
