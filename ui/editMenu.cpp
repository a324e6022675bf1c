#include "ui/editMenu.h"

#include "platform/clipboard.h"

#include <optional>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

using namespace ardovin;

namespace {

// The selected text of a control that has one: a field's, or a selectable label's. Nothing for
// a button, a list or an option button.
std::optional<QString> SelText(const QWidget* control)
{
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->selectedText();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->selectedText();
    return std::nullopt;
}

bool IsMenuBar(const QWidget* control)
{
    return qobject_cast<const QMenuBar*>(control) != nullptr;
}

} // namespace

EditMenu::EditMenu(QWidget& window, QAction& cut, QAction& copy)
    : QObject(&window), Window(window), CutItem(cut), CopyItem(copy)
{
    CutItem.setEnabled(false);
    CopyItem.setEnabled(false);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == &Window && !IsMenuBar(now))
            LastFocused = now;
    });
}

QWidget* EditMenu::FocusedControl() const
{
    QWidget* control = Window.focusWidget();
    return control && !IsMenuBar(control) ? control : LastFocused.data();
}

void EditMenu::Opening()
{
    const std::optional<QString> selected = SelText(FocusedControl());
    const bool enable = !selected || !selected->isEmpty();
    CutItem.setEnabled(enable);
    CopyItem.setEnabled(enable);
}

void EditMenu::Copy()
{
    ClearClipboard();
    if (const auto selected = SelText(FocusedControl()))
        SetClipboardText(*selected);
}

void EditMenu::Cut()
{
    Copy();
    if (auto* field = qobject_cast<QLineEdit*>(FocusedControl()))
        field->insert(QString());
}

void EditMenu::Paste()
{
    if (auto* field = qobject_cast<QLineEdit*>(FocusedControl()))
        field->insert(ClipboardText());
}
