#pragma once

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
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

// Answers every message box in place of the user, recording what was shown. Questions are
// answered from the script, Yes when it runs out.
class ScriptedAnswers
{
public:
    ScriptedAnswers()
    {
        previous = modProc::SetMessageHandler([this](const modProc::MessageRequest& request) {
            shown.append(request);
            if (request.buttons == modProc::MessageButtons::Ok)
                return modProc::Answer::Ok;
            return script.isEmpty() ? modProc::Answer::Yes : script.takeFirst();
        });
    }
    ~ScriptedAnswers() { modProc::SetMessageHandler(previous); }

    QStringList texts() const
    {
        QStringList list;
        for (const auto& request : shown)
            list << request.text;
        return list;
    }

    QList<modProc::MessageRequest> shown;
    QList<modProc::Answer> script;

private:
    modProc::MessageHandler previous;
};

// A main window started on a program folder of its own, with or without a settings file.
class WindowUnderTest
{
public:
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

    template <typename T = QWidget> T* get(const char* name) const
    {
        T* control = window->findChild<T*>(QString::fromLatin1(name));
        if (!control)
            qFatal("no control %s", name);
        return control;
    }
    QString text(const char* name) const
    {
        QWidget* control = get(name);
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* list = qobject_cast<QComboBox*>(control))
            return list->currentText();
        return get<QLineEdit>(name)->text();
    }
    // Replaces a field's text as a user would: select all, then type.
    void type(const char* name, const QString& text) const
    {
        QLineEdit* field = get<QLineEdit>(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    void calculate() const
    {
        QTest::mouseClick(get<QAbstractButton>("cmdCalculate"), Qt::LeftButton);
    }
    QString focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    QTemporaryDir own;
    std::unique_ptr<frmSulfite> window;
};

// Opens the Default Settings window with the Options command and waits until it is active.
inline frmSettings* OpenOptions(const WindowUnderTest& w)
{
    w.window->findChild<QAction*>("mnuOptions")->trigger();
    auto* dialog = w.window->findChild<frmSettings*>();
    QApplication::setActiveWindow(dialog);
    return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
}

template <typename T = QWidget> T* In(QWidget* window, const char* name)
{
    return ardovin::Control<T>(*window, name);
}

// Every named control as the user meets it: place, state, what it shows, how it is read.
inline QString Described(const QWidget& window)
{
    QStringList lines{window.windowTitle() +
                      QStringLiteral(" %1x%2").arg(window.width()).arg(window.height())};
    for (const QWidget* c : window.findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->objectName().startsWith(u"qt_"))
            continue;
        QString shown;
        if (auto* label = qobject_cast<const QLabel*>(c))
            shown = label->text() + QStringLiteral(" align %1").arg(int(label->alignment()));
        else if (auto* field = qobject_cast<const QLineEdit*>(c))
            shown = field->text();
        else if (auto* button = qobject_cast<const QAbstractButton*>(c))
            shown =
                button->text() + (button->isChecked() ? QStringLiteral(" (checked)") : QString());
        else if (auto* list = qobject_cast<const QComboBox*>(c))
            for (int i = 0; i < list->count(); ++i)
                shown += (i == list->currentIndex() ? u'*' : u'|') + list->itemText(i);
        else if (auto* group = qobject_cast<const QGroupBox*>(c))
            shown = group->title();
        else if (auto* spin = qobject_cast<const QScrollBar*>(c))
            shown = QStringLiteral("%1..%2 at %3")
                        .arg(spin->minimum())
                        .arg(spin->maximum())
                        .arg(spin->value());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(c));
        const QRect g = c->geometry();
        lines << QStringLiteral(
                     "%1 in %2 %3,%4 %5x%6%7%8 \"%9\" tip \"%10\" read \"%11\" / \"%12\"")
                     .arg(c->objectName(), c->parentWidget()->objectName())
                     .arg(g.x())
                     .arg(g.y())
                     .arg(g.width())
                     .arg(g.height())
                     .arg(c->isVisibleTo(&window) ? "" : " hidden",
                          c->isEnabled() ? "" : " disabled", shown, c->toolTip(),
                          a->text(QAccessible::Name), a->text(QAccessible::Description));
    }
    return lines.join(u'\n') + u'\n';
}

// Compares a window with its stored description and picture (tests/ui/snapshots); with
// ARDOVIN_UPDATE_SNAPSHOTS set, stores them instead. The picture depends on the font, so it is
// compared only where the program's font is the one it was drawn with.
inline void CompareSnapshot(QWidget& window, const QString& name)
{
    const QString stored = QStringLiteral(ARDOVIN_SNAPSHOTS "/") + name;
    const QString text = Described(window);
    const QImage picture = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("ARDOVIN_UPDATE_SNAPSHOTS")) {
        QFile file(stored + ".txt");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
        QVERIFY(picture.save(stored + ".png"));
        return;
    }
    QFile file(stored + ".txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList actual = text.split(u'\n');
    for (qsizetype i = 0; i < qMax(expected.size(), actual.size()); ++i)
        QCOMPARE(actual.value(i), expected.value(i));
    if (QFontInfo(modProc::ProgramFont()).family() != u"DejaVu Sans")
        return;
    if (picture != QImage(stored + ".png").convertToFormat(QImage::Format_RGB32)) {
        picture.save(name + ".png");
        QFAIL(
            qPrintable(name + " looks different: see " + QDir::current().filePath(name + ".png")));
    }
}
