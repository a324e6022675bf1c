#pragma once
// What the window tests share: every message box answered in the user's place, controls reached
// and used by their names, a window compared with its stored picture and description.
#include "tests/support.h"
#include "ui/controls.h"
#include "ui/frmSettings.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

// Records every box; a question is answered from the script, Yes when it runs out.
struct ScriptedAnswers
{
    ScriptedAnswers()
    {
        previous = modProc::SetMessageHandler([this](const modProc::MessageRequest& request) {
            shown << request;
            texts << request.text;
            if (request.buttons == modProc::MessageButtons::Ok)
                return modProc::Answer::Ok;
            return script.isEmpty() ? modProc::Answer::Yes : script.takeFirst();
        });
    }
    ~ScriptedAnswers() { modProc::SetMessageHandler(previous); }

    QList<modProc::MessageRequest> shown;
    QStringList texts;
    QList<modProc::Answer> script;
    modProc::MessageHandler previous;
};

// A control of a window, by its name.
template <typename T = QWidget> T* In(const QWidget* window, const QString& name)
{
    T* control = window->findChild<T*>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

// What the named controls show (a list its current item), separated by blanks.
inline QString Texts(const QWidget* window, const QStringList& names)
{
    QStringList texts;
    for (const QString& name : names) {
        const QWidget* c = In(window, name);
        texts << c->property(qobject_cast<const QComboBox*>(c) ? "currentText" : "text").toString();
    }
    return texts.join(u' ');
}

// Which of the named controls are enabled.
inline QString Enabled(const QWidget* window, const QStringList& names)
{
    QStringList enabled;
    for (const QString& name : names)
        if (In(window, name)->isEnabled())
            enabled << name;
    return enabled.join(u' ');
}

// A list's items, the current one marked with *: "*g,oz (av.),tbsp,tsp".
inline QString Items(const QWidget* window, const QString& name)
{
    QStringList items;
    const auto* list = In<QComboBox>(window, name);
    for (int i = 0; i < list->count(); ++i)
        items << (i == list->currentIndex() ? "*" : "") + list->itemText(i);
    return items.join(u',');
}

inline QString Focused()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

inline void Click(const QWidget* window, const QString& name)
{
    QTest::mouseClick(In(window, name), Qt::LeftButton);
}

// Makes the edits "name=text ..." as a user does: types into a field (after selecting all and
// deleting; "á" composed), picks a list's item (_ for a blank), clicks a button; "name:text" pastes
// into a field, letters and signs included; "vsbName-1" presses a spin control's up arrow,
// "vsbName1" its down arrow.
inline void Edit(const QWidget* window, const QString& edits)
{
    for (const Change& e : Changes(edits, QStringLiteral("[=:]|-?1$"))) {
        auto* field = window->findChild<QLineEdit*>(e.name);
        if (auto* list = window->findChild<QComboBox*>(e.name)) {
            list->setCurrentText(e.text);
        } else if (auto* spin = window->findChild<QScrollBar*>(e.name)) {
            spin->triggerAction(e.separator == u'-' ? QAbstractSlider::SliderSingleStepSub
                                                    : QAbstractSlider::SliderSingleStepAdd);
        } else if (!field) {
            Click(window, e.name);
        } else if (e.separator == u':') {
            field->setText(e.text);
        } else {
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            for (const QChar c : e.text) {
                if (c.unicode() < 128) {
                    QTest::keyClick(field, c.toLatin1());
                    continue;
                }
                QInputMethodEvent composed; // beyond ASCII, as a dead key composes it
                composed.setCommitString(c);
                QApplication::sendEvent(field, &composed);
            }
        }
    }
}

// What the picture of a window cannot show: each named control's place in the window's tree,
// a menu's commands, the tooltip, how a screen reader names and describes the control, and the
// order the Tab key takes through the controls.
inline QString Described(const QWidget& window)
{
    QString text = window.windowTitle() + u'\n';
    for (QWidget* c : window.findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->objectName().startsWith(u"qt_"))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        QString items; // a menu's commands
        for (const QAction* action : c->actions())
            items += action->text() + u' ' + action->objectName() + u';';
        text += QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6\n")
                    .arg(c->objectName(), c->parentWidget()->objectName(), items, c->toolTip(),
                         a->text(QAccessible::Name), a->text(QAccessible::Description));
    }
    QStringList order; // the way the Tab key goes
    for (QWidget* c = window.nextInFocusChain(); c != &window; c = c->nextInFocusChain())
        if ((c->focusPolicy() & Qt::TabFocus) && !c->objectName().isEmpty())
            order << c->objectName();
    return text + "Tab: " + order.join(u' ') + u'\n';
}

// Compares a window with its stored description and picture (tests/ui/snapshots); what differs
// is written to the current folder, where scripts/update_snapshots.sh takes it from. A picture is
// compared only in the font it was drawn with; in any other, the test says so.
inline void CompareSnapshot(QWidget& window, const QString& name)
{
    const QString stored = QStringLiteral(ARDOVIN_SNAPSHOTS "/") + name;
    const QByteArray described = Described(window).toUtf8();
    const QImage picture = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString font = QFontInfo(modProc::ProgramFont()).family();
    if (font != u"DejaVu Sans")
        qWarning("%s: picture not compared, drawn in DejaVu Sans, shown in %s", qPrintable(name),
                 qPrintable(font));
    const bool same = described == ReadFile(stored + ".txt") &&
                      (font != u"DejaVu Sans" ||
                       picture == QImage(stored + ".png").convertToFormat(QImage::Format_RGB32));
    if (!same && WriteFile(name + ".txt", described) && picture.save(name + ".png"))
        QFAIL(qPrintable(name + " differs: see " + QDir::current().filePath(name + ".*")));
    QVERIFY(same);
}
