#pragma once

#include "core/chemistry.h"
#include "core/entry.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <span>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QScrollBar;

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

// One control as the window lays it out: its name, place in twips relative to its container,
// caption (or list items separated by '|'), tooltip and accessible name. Its members are in the
// order a layout row reads, which leaves a few bytes of padding.
struct ControlSpec // NOLINT(clang-analyzer-optin.performance.Padding)
{
    const char* name;
    ControlKind kind;
    const char* container; // nullptr for the window's own client area
    int left, top, width, height;
    const char* caption;
    const char* tooltip;
    const char* accessibleName;       // nullptr: the caption without its access-key marker
    QStringList (*items)() = nullptr; // a list's items, where they come from a table of choices
    int tabIndex = 0; // from 1, the place in the Tab order; 0 in the order of creation
};

// Screen pixels at 96 dots per inch; Qt scales them on high-density screens.
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

// Creates the controls on root in the order given, a container before its controls, then sets
// the Tab order: first the numbered controls by their numbers, then the others as created.
void BuildControls(QWidget& root, std::span<const ControlSpec> entries);

// The grey of disabled target fields and of the result labels.
QColor LightGrey();

// A control of the window, by its name. A name that is misspelt, or a control of another kind,
// ends the program at once, in every build.
template <typename T> T* Control(const QObject& root, const char* name)
{
    T* control = root.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qFatal("%s has no %s named %s", qPrintable(root.objectName()),
               T::staticMetaObject.className(), name);
    return control;
}

// Makes the spin control step the field by the rule.
void ConnectSpinControl(QScrollBar& spin, QLineEdit& field, SpinRule rule);

// A spin control, the field it steps and the rule it steps by.
struct SpinBinding
{
    const char* spin;
    const char* field;
    SpinRule rule;
};

// Makes every spin control step its field.
void ConnectSpinControls(const QWidget& root, std::span<const SpinBinding> bindings);

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

// Puts the window's source-form option buttons in one exclusive group named "grpForm", each
// button keyed by the form it stands for.
QButtonGroup& GroupFormOptions(QWidget& window);

// Enables the solution's controls for a solution, the tablet's for tablets, neither for powder.
void EnableSourceGroups(const QWidget& window, SourceForm form);

} // namespace ardovin
