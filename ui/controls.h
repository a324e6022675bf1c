#pragma once

#include "core/chemistry.h"
#include "core/entry.h"

#include <initializer_list>
#include <QColor>
#include <QString>
#include <QWidget>
#include <span>

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
// caption (or list items separated by '|'), tooltip and accessible name.
struct ControlSpec
{
    const char* name;
    ControlKind kind;
    const char* container; // nullptr for the window's own client area
    int left, top, width, height;
    const char* caption;
    const char* tooltip;
    const char* accessibleName; // nullptr: the caption without its access-key marker
};

// Screen pixels at 96 dots per inch; Qt scales them on high-density screens.
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

// Creates the controls on root in the order given; a container must come before its controls.
void BuildControls(QWidget& root, std::span<const ControlSpec> entries);

// The grey of disabled target fields and of the result labels.
QColor LightGrey();

// A control built from the table, by its name.
template <typename T> T* Control(const QWidget& root, const char* name)
{
    T* control = root.findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(control);
    return control;
}

// A spin control, the field it steps and the rule it steps by.
struct SpinBinding
{
    const char* spin;
    const char* field;
    SpinRule rule;
};

// Makes every spin control step its field.
void ConnectSpinControls(const QWidget& root, std::span<const SpinBinding> bindings);

// Enables the solution group for a solution, the tablet group for tablets, neither for powder.
void EnableSourceGroups(SourceForm form, std::initializer_list<QWidget*> solutionGroup,
                        std::initializer_list<QWidget*> tabletGroup);

} // namespace ardovin
