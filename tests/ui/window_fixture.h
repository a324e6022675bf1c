#pragma once

#include "ui/controls.h"
#include "ui/frmSettings.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <memory>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

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

// A main window started on a program folder of its own.
class WindowUnderTest
{
public:
    explicit WindowUnderTest(const QString& programFolder = {})
        : folder(programFolder.isEmpty() ? own.path() : programFolder),
          window(std::make_unique<frmSulfite>(folder, own.path() + QStringLiteral("/ardovin.lock")))
    {
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
    QLineEdit* field(const char* name) const { return get<QLineEdit>(name); }
    QString text(const char* name) const
    {
        if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
        if (auto* list = window->findChild<QComboBox*>(QString::fromLatin1(name)))
            return list->currentText();
        return field(name)->text();
    }

    // Replaces a field's text as a user would: select all, then type.
    void type(const char* name, const QString& text) const
    {
        QLineEdit* target = field(name);
        target->setFocus();
        target->selectAll();
        if (text.isEmpty())
            QTest::keyClick(target, Qt::Key_Delete);
        else
            QTest::keyClicks(target, text);
    }
    // Text the keyboard cannot type (signs, letters) arrives by pasting.
    void paste(const char* name, const QString& text) const { field(name)->setText(text); }
    void choose(const char* list, const QString& item) const
    {
        get<QComboBox>(list)->setCurrentText(item);
    }
    void select(const char* option) const
    {
        QTest::mouseClick(get<QRadioButton>(option), Qt::LeftButton);
    }
    void calculate() const { QTest::mouseClick(get<QPushButton>("cmdCalculate"), Qt::LeftButton); }
    QString focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    QTemporaryDir own;
    QString folder;
    std::unique_ptr<frmSulfite> window;
};

// Opens the Default Settings window with the Options command and waits until it is active.
inline frmSettings* OpenOptions(const WindowUnderTest& w)
{
    w.window->findChild<QAction*>("mnuOptions")->trigger();
    auto* dialog = w.window->findChild<frmSettings*>();
    if (dialog)
        (void)QTest::qWaitForWindowActive(dialog);
    return dialog;
}

// A control of the Default Settings window.
template <typename T = QWidget> T* In(frmSettings* dialog, const char* name)
{
    return ardovin::Control<T>(*dialog, name);
}

// A test case that starts a fresh main window before each test function, with every message
// answered in the user's place; what start-up said is cleared, as it is its own test's business.
class MainWindowTestCase : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<WindowUnderTest> w;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init()
    {
        answers = std::make_unique<ScriptedAnswers>();
        w = std::make_unique<WindowUnderTest>();
        QVERIFY(w->start());
        answers->shown.clear();
    }

    void cleanup()
    {
        w.reset();
        answers.reset();
    }
};
