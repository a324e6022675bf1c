#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// The Cut, Copy and Paste commands of a window's Edit menu, on the control the user was in: a
// field, or a result label's selection (copied, never changed). A button, a list or an option
// button has no text to give: Copy then empties the clipboard.
class EditMenu : public QObject
{
public:
    // cut and copy are the menu's items, enabled as the control's selection allows.
    EditMenu(QWidget& window, QAction& cut, QAction& copy);

    // Enables Cut and Copy as the menu opens.
    void Opening();
    void Cut();
    void Copy();
    // Pasted text is taken as it is; the window judges it when it is used.
    void Paste();

private:
    // The one with the keyboard focus in the window; after a bare Alt, which puts the focus on
    // the menu bar, the one before.
    QWidget* FocusedControl() const;

    QWidget& Window;
    QAction& CutItem;
    QAction& CopyItem;
    QPointer<QWidget> LastFocused;
};
