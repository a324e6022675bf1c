#pragma once
// The windows under test: started on a folder of their own, every message box answered in the
// user's place, controls reached by their names.
#include "tests/table.h"
#include "ui/controls.h"
#include "ui/frmSettings.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <memory>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
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

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A control of a window, by its name.
template <typename T = QWidget> T* In(const QWidget* window, const QString& name)
{
    T* control = window->findChild<T*>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

// A list's items, the current one marked with *: "*g|oz (av.)|tbsp|tsp".
inline QString Items(const QComboBox& list)
{
    QString items;
    for (int i = 0; i < list.count(); ++i)
        items += (i ? "|" : "") + QString(i == list.currentIndex() ? "*" : "") + list.itemText(i);
    return items;
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

// A main window on a program folder of its own, holding the settings file given, if any.
struct WindowUnderTest
{
    explicit WindowUnderTest(const QByteArray& settings = {})
    {
        QFile file(own.filePath(QStringLiteral("settings.cfg")));
        if (!settings.isNull() && file.open(QIODevice::WriteOnly))
            file.write(settings);
        file.close();
        window = std::make_unique<frmSulfite>(own.path(), own.filePath("ardovin.lock"));
    }

    // Starts the window as the program does and gives it the keyboard.
    bool start()
    {
        if (!window->Form_Load())
            return false;
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }
    template <typename T = QWidget> T* get(const QString& name) const
    {
        return In<T>(window.get(), name);
    }
    QString text(const QString& name) const
    {
        if (auto* label = window->findChild<QLabel*>(name))
            return label->text();
        if (auto* list = window->findChild<QComboBox*>(name))
            return list->currentText();
        return get<QLineEdit>(name)->text();
    }
    // Replaces a field's text as a user does: select all, delete, type.
    void type(const QString& name, const QString& text) const
    {
        auto* field = get<QLineEdit>(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    void click(const QString& name) const { QTest::mouseClick(get(name), Qt::LeftButton); }
    void trigger(const QString& action) const { get<QAction>(action)->trigger(); }
    QString focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    QTemporaryDir own;
    std::unique_ptr<frmSulfite> window;
};

// Every named control as the user meets it: place, state, what it shows, how it is read.
inline QString Described(const QWidget& window)
{
    QString text = QStringLiteral("%1 %2x%3\n")
                       .arg(window.windowTitle())
                       .arg(window.width())
                       .arg(window.height());
    for (const QWidget* c : window.findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->objectName().startsWith(u"qt_"))
            continue;
        QString shown;
        if (auto* label = qobject_cast<const QLabel*>(c))
            shown = label->text() + QStringLiteral(" align %1").arg(int(label->alignment()));
        else if (auto* field = qobject_cast<const QLineEdit*>(c))
            shown = field->text();
        else if (auto* button = qobject_cast<const QAbstractButton*>(c))
            shown = button->text() + (button->isChecked() ? " (checked)" : "");
        else if (auto* list = qobject_cast<const QComboBox*>(c))
            shown = Items(*list);
        else if (auto* group = qobject_cast<const QGroupBox*>(c))
            shown = group->title();
        else if (auto* spin = qobject_cast<const QScrollBar*>(c))
            shown = QStringLiteral("%1..%2 at %3")
                        .arg(spin->minimum())
                        .arg(spin->maximum())
                        .arg(spin->value());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(c));
        const QRect g = c->geometry();
        text +=
            QStringLiteral("%1 in %2 %3,%4 %5x%6%7%8 \"%9\" tip \"%10\" read \"%11\" / \"%12\"\n")
                .arg(c->objectName(), c->parentWidget()->objectName())
                .arg(g.x())
                .arg(g.y())
                .arg(g.width())
                .arg(g.height())
                .arg(c->isVisibleTo(&window) ? "" : " hidden", c->isEnabled() ? "" : " disabled",
                     shown, c->toolTip(), a->text(QAccessible::Name),
                     a->text(QAccessible::Description));
    }
    return text;
}

// Compares a window with its stored description and picture (tests/ui/snapshots); with
// ARDOVIN_UPDATE_SNAPSHOTS set, stores them instead. The picture depends on the font, so it is
// compared only where the program's font is the one it was drawn with.
inline void CompareSnapshot(QWidget& window, const QString& name)
{
    const QString stored = QStringLiteral(ARDOVIN_SNAPSHOTS "/") + name;
    const QImage picture = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QFile file(stored + ".txt");
    if (qEnvironmentVariableIsSet("ARDOVIN_UPDATE_SNAPSHOTS")) {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Described(window).toUtf8()) > 0);
        QVERIFY(picture.save(stored + ".png"));
        return;
    }
    const QStringList expected = QString::fromUtf8(ReadFile(stored + ".txt")).split(u'\n');
    const QStringList actual = Described(window).split(u'\n');
    for (qsizetype i = 0; i < qMax(expected.size(), actual.size()); ++i)
        QCOMPARE(actual.value(i), expected.value(i));
    if (QFontInfo(modProc::ProgramFont()).family() == u"DejaVu Sans" &&
        picture != QImage(stored + ".png").convertToFormat(QImage::Format_RGB32)) {
        picture.save(name + ".png");
        QFAIL(
            qPrintable(name + " looks different: see " + QDir::current().filePath(name + ".png")));
    }
}
