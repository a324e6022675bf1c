#include "scenario_player.h"

#include "settings/last_cellar.h"
#include "storage/cellar.h"
#include "tests/storage/test_server.h"
#include "ui/cellarChart.h"
#include "ui/cellarTexts.h"
#include "ui/freeSO2Chart.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaEnum>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>

using namespace ardovin;

namespace {

constexpr const char* Schemes[] = {"http", "https", "mailto", "file"};

// A text as the transcript writes it: quoted, its line ends, tabs and backslashes escaped.
QString Quoted(QString text)
{
    text.replace(u'\\', "\\\\").replace(u'\r', "\\r").replace(u'\n', "\\n").replace(u'\t', "\\t");
    return u'"' + text + u'"';
}

QString EnumName(const QMetaEnum& names, int value)
{
    return QString::fromLatin1(names.valueToKey(value));
}

// A key as a scenario names it: "Tab", "Shift+A", "AltGr+q" (Windows reports AltGr as Ctrl+Alt),
// "5", "á" (composed, as a dead key makes it).
void SendKey(QWidget* to, QString key)
{
    key.replace("AltGr+", "Ctrl+Alt+");
    const qsizetype last = key.size() == 1 ? -1 : key.lastIndexOf(u'+', key.size() - 2);
    const QKeySequence modifiers(last < 0 ? QString() : key.left(last) + "+A");
    const Qt::KeyboardModifiers held =
        modifiers.isEmpty() ? Qt::NoModifier : modifiers[0].keyboardModifiers();
    key = key.mid(last + 1);
    if (key.size() == 1 && key[0].unicode() >= 128) {
        QInputMethodEvent composed;
        composed.setCommitString(key);
        QApplication::sendEvent(to, &composed);
        return;
    }
    const Qt::Key code = QKeySequence(key.size() == 1 ? key.toUpper() : key)[0].key();
    const QMap<Qt::Key, QString> typed{{Qt::Key_Return, "\r"},
                                       {Qt::Key_Escape, "\x1b"},
                                       {Qt::Key_Tab, "\t"},
                                       {Qt::Key_Backspace, "\b"},
                                       {Qt::Key_Space, " "}};
    const QString text = key.size() > 1             ? typed.value(code)
                         : held & Qt::ShiftModifier ? key.toUpper()
                                                    : key.toLower();
    QTest::sendKeyEvent(QTest::Click, to, code, text, held);
}

QString Flags(const QWidget* control)
{
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return QString(control->isEnabled() ? "" : " disabled") +
           (control->isVisibleTo(control->window()) ? "" : " hidden") +
           (button && button->isChecked() ? " checked" : "") +
           (QApplication::focusWidget() == control ? " focus" : "");
}

// What one control shows: its text or items, a table's cells, a chart's description.
QString Shown(const QWidget* control)
{
    if (const auto* field = qobject_cast<const QLineEdit*>(control)) {
        const QColor base = field->palette().color(QPalette::Base);
        return Quoted(field->text()) +
               (base == QApplication::palette().color(QPalette::Base) ? "" : " on " + base.name());
    }
    if (qobject_cast<const FreeSO2Chart*>(control) || qobject_cast<const CellarChart*>(control))
        return Quoted(control->accessibleDescription());
    for (const char* shown : {"text", "title", "value"}) // labels and buttons, frames, spins
        if (const QVariant value = control->property(shown); value.isValid())
            return value.typeId() == QMetaType::QString ? Quoted(value.toString())
                                                        : value.toString();
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << (i == list->currentIndex() ? "*" : "") + list->itemText(i);
        return u'[' + items.join(u'|') + u']';
    }
    if (const auto* table = qobject_cast<const QTableView*>(control)) {
        const QAbstractItemModel* model = table->model();
        QString cells;
        for (int row = -1; row < model->rowCount(); ++row) {
            QStringList line;
            for (int column = 0; column < model->columnCount(); ++column)
                line << (row < 0 ? model->headerData(column, Qt::Horizontal)
                                 : model->index(row, column).data())
                            .toString();
            cells += "\n      " + line.join(" | ");
        }
        return cells;
    }
    return {};
}

// The controls a window is built from, in the order they were made: named ones, Qt's own aside.
QList<QWidget*> Controls(const QWidget* window)
{
    QList<QWidget*> named;
    for (QWidget* c : window->findChildren<QWidget*>())
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(u"qt_") &&
            !qobject_cast<QMenu*>(c) && c->window() == window)
            named << c;
    return named;
}

QString Accessible(const QObject* object)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(const_cast<QObject*>(object));
    QString text = EnumName(QMetaEnum::fromType<QAccessible::Role>(), a->role()) + u' ' +
                   Quoted(a->text(QAccessible::Name));
    if (!a->text(QAccessible::Description).isEmpty())
        text += " described " + Quoted(a->text(QAccessible::Description));
    for (const auto& [label, relation] : a->relations(QAccessible::Label))
        text += " labelled-by " + label->object()->objectName();
    return text;
}

// A cellar book holding one batch, as a later Ardovin with a schema of its own leaves it.
void MakeNewerCellar(const QString& path)
{
    {
        QString error;
        const std::unique_ptr<Cellar> cellar = OpenSqliteCellar(path, error);
        Batch batch;
        std::tie(batch.name, batch.volume) = std::tuple(QStringLiteral("Old Vine Zinfandel"), 300);
        QVERIFY(cellar && !cellar->save(batch));
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(path);
        QVERIFY(db.open() && QSqlQuery(db).exec("PRAGMA user_version = 99"));
    }
    QSqlDatabase::removeDatabase("newer");
}

} // namespace

QList<Scenario> ReadScenarios(const QString& text)
{
    QList<Scenario> scenarios;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u"== ")) {
            scenarios << Scenario{trimmed.mid(3), {}, {}};
        } else if (trimmed.isEmpty() || trimmed.startsWith(u'#') || scenarios.isEmpty()) {
            continue;
        } else if (const QRegularExpressionMatch setting =
                       QRegularExpression("^(\\w+): *(.*)$").match(trimmed);
                   setting.hasMatch() && scenarios.last().steps.isEmpty()) {
            scenarios.last().start[setting.captured(1)] = setting.captured(2);
        } else {
            scenarios.last().steps << trimmed;
        }
    }
    return scenarios;
}

QString Slug(const QString& name)
{
    return name.toLower()
        .replace(QRegularExpression("[^a-z0-9]+"), "-")
        .remove(QRegularExpression("^-|-$"));
}

ScenarioPlayer::ScenarioPlayer(const QString& home)
    : Home(home), Scheme(QApplication::palette()), Path(qgetenv("PATH"))
{
    Previous =
        modProc::SetMessageHandler([this](const auto& request) { return AnswerBoxFor(request); });
    for (const char* scheme : Schemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

ScenarioPlayer::~ScenarioPlayer()
{
    Main.reset();
    if (Holding)
        QSqlDatabase::database("holder", false).rollback();
    QSqlDatabase::removeDatabase("holder");
    for (const char* scheme : Schemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    modProc::SetMessageHandler(Previous);
    QApplication::setPalette(Scheme);
    qputenv("PATH", Path);
    QDir::setCurrent(Home);
}

QString ScenarioPlayer::Play(const Scenario& scenario)
{
    Played = scenario;
    Start();
    RunSteps(nullptr);
    QString transcript = Transcript;
    transcript.replace(Program->path(), "<program>").replace(Elsewhere->path(), "<elsewhere>");
    transcript.replace(QStringLiteral(SUPPORT_MAIL), "<mail>").replace(SITE_HOST, "<site>");
    if (Played.start.contains("shared"))
        transcript.replace(test::ServerFolder(), "<server>");
    return transcript.replace(Home, "<home>");
}

// The program started as its options say: from the shipped settings file, in American English,
// from its own folder, no other copy running, no calculator, no manual installed, a light scheme.
void ScenarioPlayer::Start()
{
    const auto option = [this](const char* key, const char* otherwise) {
        return Played.start.value(QString::fromLatin1(key), QString::fromLatin1(otherwise));
    };
    const QStringList options{"locale", "settings", "manual", "calculators", "from",
                              "scheme", "lock",     "cellar", "shared"};
    for (const QString& key : Played.start.keys())
        QVERIFY2(options.contains(key), qPrintable("no such option: " + key));
    QLocale::setDefault(QLocale(option("locale", "en_US")));
    Program = std::make_unique<QTemporaryDir>();
    Elsewhere = std::make_unique<QTemporaryDir>();
    Runtime = std::make_unique<QTemporaryDir>();
    Bin = std::make_unique<QTemporaryDir>();
    DataPath = Program->filePath("cellar data");
    QVERIFY(QDir().mkpath(DataPath));
    // The cellar book's clock stands still, so that its days and dates read the same each run.
    cellar::SetClock([] { return QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC); });
    if (option("cellar", "new") == u"not a cellar")
        QVERIFY(WriteFile(DataPath + "/cellar.sqlite", "batch,volume\n"));
    if (option("cellar", "new") == u"from a newer Ardovin")
        MakeNewerCellar(DataPath + "/cellar.sqlite");
    // No shared cellar opened before: the cellar book opens the given file.
    QVERIFY(RememberCellar(QString()));
    // A shared cellar made on the suite's server, as its owner makes one, for the steps to open.
    if (const QString shared = option("shared", ""); !shared.isEmpty())
        test::NewSharedCellar(shared);
    CellarFiles = QDir(DataPath).entryList({"*.sqlite", "*.sqlite.*"}, QDir::Files);
    const QString settings = option("settings", "shipped");
    const QByteArray file =
        ReadFile(settings == u"shipped" ? QStringLiteral(ARDOVIN_SHIPPED_SETTINGS)
                                        : ARDOVIN_SCENARIOS "/settings/" + settings + ".cfg");
    if (settings != u"none")
        QVERIFY(!file.isEmpty() && WriteFile(Program->filePath("settings.cfg"), file));
    if (option("manual", "none") == u"installed") {
        const QString manual = Program->filePath(INSTALLED_MANUAL);
        QVERIFY(QDir().mkpath(QFileInfo(manual).path()) && WriteFile(manual, "<html>"));
    }
    for (const QString& calculator : option("calculators", "").split(u' ', Qt::SkipEmptyParts)) {
        const QString program = Bin->filePath(calculator);
        QVERIFY(WriteFile(program, ("#!/bin/sh\n/usr/bin/touch '" + program + ".ran'\n").toUtf8()));
        QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    qputenv("PATH", Bin->path().toLocal8Bit());
    QDir::setCurrent(option("from", "its folder") == u"elsewhere" ? Elsewhere->path()
                                                                  : Program->path());
    // Named from the working folder, as the cellar book shows where its file is: the same in
    // every run, and in every run side by side.
    CellarFile = QDir::current().relativeFilePath(DataPath + "/cellar.sqlite");
    if (option("scheme", "light") == u"dark") // from a button and a window colour, as desktops do
        QApplication::setPalette(QPalette(QColor(53, 53, 53), QColor(45, 45, 45)));
    QString lock = Runtime->filePath("ardovin.lock");
    if (option("lock", "free") == u"unavailable")
        lock = Runtime->filePath("missing/ardovin.lock");
    if (option("lock", "free") == u"held") {
        OtherCopy = std::make_unique<SingleInstanceLock>(lock);
        QCOMPARE(OtherCopy->tryAcquire(), SingleInstanceLock::Result::Acquired);
    }
    QApplication::clipboard()->clear();
    Written = Files();
    Transcript += "> start\n";
    LockFile = lock;
    StartProgram();
    NoteEffects();
}

void ScenarioPlayer::StartProgram()
{
    Main = std::make_unique<frmSulfite>(Program->path(), LockFile);
    Main->SetCellarPath(CellarFile);
    if (Main->Form_Load()) {
        Main->show();
    } else {
        Note("the program ends");
        Main.reset();
    }
}

// Plays the steps in turn; a step that opens a modal window waits in it, and the steps after it
// are played inside that window until it closes.
void ScenarioPlayer::RunSteps(const QPointer<QWidget>& until)
{
    while (Next < Played.steps.size() && (!until || until->isVisible())) {
        const QString step = Played.steps[Next++];
        RunStep(step);
        // The server let go, the window waiting for it closes by itself once this returns.
        if (until && until->objectName() == u"frmWaiting" && step == u"release")
            return;
    }
    if (until && until->isVisible()) {
        Note("left open: " + until->objectName());
        until->close();
    }
}

void ScenarioPlayer::RunStep(const QString& step)
{
    Transcript += "> " + step + u'\n';
    QWidget* modalBefore = QApplication::activeModalWidget();
    QTimer inside;
    inside.setSingleShot(true);
    connect(&inside, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != modalBefore && !qobject_cast<QMessageBox*>(modal)) {
            QApplication::setActiveWindow(modal); // as a window manager brings it to the front
            RunSteps(modal);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && !BoxShown) {
            // A box of Qt's own, shown past the message seam: written down and closed, so that
            // the transcript shows it rather than the run waiting for it.
            Note(QStringLiteral("Qt's own box %1 %2, closed")
                     .arg(Quoted(box->windowTitle()), Quoted(box->text())));
            box->reject();
        }
        // A step may open one window after another: each, in turn, takes the steps after it.
        inside.start(5);
    });
    inside.start(0);
    const QStringList words = step.split(u' ', Qt::SkipEmptyParts);
    Do(words[0], words, step);
    inside.stop();
    NoteEffects();
}

void ScenarioPlayer::Do(const QString& verb, const QStringList& words, const QString& step)
{
    const QString name = words.value(1);
    const QString rest = step.section(u' ', 2);
    if (verb == u"type") { // the whole text of a field, typed over what it held
        auto* field = qobject_cast<QLineEdit*>(Find(name));
        if (!field->isEnabled())
            Note("the field is disabled");
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        const QString typed = Played.start.contains("shared")
                                  ? QString(rest).replace("<server>", test::ServerFolder())
                                  : rest;
        for (const QChar c : typed)
            SendKey(field, c.isUpper() ? "Shift+" + QString(c) : QString(c));
    } else if (verb == u"keys") { // keys pressed in the control that has the focus
        for (const QString& key : words.mid(1)) {
            QWidget* to = QApplication::focusWidget();
            if (!to)
                to = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                       : QApplication::activeWindow();
            if (!to)
                return Note("no window takes the keys");
            SendKey(to, key);
        }
    } else if (verb == u"click") {
        QWidget* control = Find(name);
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(3, control->height() / 2));
    } else if (verb == u"pick") { // an item chosen from a list
        auto* list = qobject_cast<QComboBox*>(Find(name));
        if (list->findText(rest) < 0)
            Note("no such item");
        list->setCurrentText(rest);
    } else if (verb == u"popup") { // a list's pop-up opened and keys pressed in it
        auto* list = qobject_cast<QComboBox*>(Find(name));
        list->setFocus();
        list->showPopup();
        QVERIFY(QTest::qWaitForWindowExposed(list->view()->window()));
        for (const QString& key : words.mid(2))
            SendKey(list->view(), key);
    } else if (verb == u"restart") { // the program left and started again; "empty": no cellar
        Main->close();
        Main.reset();
        if (name == u"empty")
            for (const QString& file : QDir(DataPath).entryList(QDir::Files))
                QVERIFY(QFile::remove(DataPath + u'/' + file));
        StartProgram();
    } else if (verb == u"row") { // a table's row clicked, counted from 1
        auto* table = qobject_cast<QTableView*>(Find(name));
        const QModelIndex cell = table->model()->index(words.value(2).toInt() - 1, 0);
        if (!cell.isValid())
            return Note("no such row");
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    } else if (verb == u"elsewhere") { // another Ardovin's change to the shared cellar's rows
        test::OnServer(Played.start.value("shared"), "cellar_user",
                       {"BEGIN", step.section(u' ', 1), "NOTIFY ardovin_cellar", "COMMIT"});
        // The server tells the window at once; the window takes it in as the event loop runs.
        QTest::qWait(1000);
    } else if (verb == u"hold") { // another client holds the entries: no entry is added
        test::Holding(Played.start.value("shared"), "LOCK TABLE entries IN EXCLUSIVE MODE");
        Holding = true;
    } else if (verb == u"release") { // and lets them go
        QVERIFY(QSqlDatabase::database("holder", false).commit());
        QSqlDatabase::database("holder", false).close();
        Holding = false;
    } else if (verb == u"server") { // the suite's server stopped at once, or started again
        test::Server(qPrintable(name));
    } else if (verb == u"spin") { // a spin control's up or down arrow
        qobject_cast<QScrollBar*>(Find(name))
            ->triggerAction(words.value(2) == u"up" ? QAbstractSlider::SliderSingleStepSub
                                                    : QAbstractSlider::SliderSingleStepAdd);
    } else if (verb == u"menu") { // a menu opened, and its item chosen where it is enabled
        auto* action = Main->findChild<QAction*>(name);
        for (QObject* menu : action->associatedObjects())
            if (auto* opened = qobject_cast<QMenu*>(menu))
                emit opened->aboutToShow();
        if (action->isEnabled())
            action->trigger();
        else
            Note("the item is disabled");
        if (!QDir(Bin->path()).isEmpty()) // a program the command started runs on its own
            (void)QTest::qWaitFor(
                [this] { return !QDir(Bin->path()).entryList({"*.ran"}).isEmpty(); }, 500);
    } else if (verb == u"select") { // a span of a field's or a result's text
        QWidget* control = Find(name);
        control->setFocus();
        if (auto* field = qobject_cast<QLineEdit*>(control))
            field->setSelection(words.value(2).toInt(), words.value(3).toInt());
        else
            qobject_cast<QLabel*>(control)->setSelection(words.value(2).toInt(),
                                                         words.value(3).toInt());
    } else if (verb == u"clipboard") { // text another program put on the clipboard
        QApplication::clipboard()->setText(step.section(u' ', 1));
        Clipboard = QApplication::clipboard()->text();
    } else if (verb == u"answer") { // the keys, or the button, that answer the next box
        Answers << words.mid(1);
    } else if (verb == u"file") { // the name given in the file dialog that is open
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        Note(QStringLiteral("file dialog %1 in %2 offering %3 as %4")
                 .arg(Quoted(dialog->windowTitle()), Quoted(dialog->directory().path()),
                      Quoted(dialog->findChild<QLineEdit*>("fileNameEdit")->text()),
                      Quoted(dialog->nameFilters().join(u'|'))));
        // The folder first, then the name in it, as a user goes; the dialog lists a folder on a
        // thread of its own, and a file it has not listed yet would be "not found".
        const QFileInfo file(name.startsWith(u'/') ? name : Program->filePath(name));
        QSignalSpy listed(dialog->findChild<QFileSystemModel*>(),
                          &QFileSystemModel::directoryLoaded);
        const bool moving = dialog->directory() != file.absoluteDir();
        dialog->setDirectory(file.absolutePath());
        if (moving)
            (void)listed.wait(2000); // a folder listed before may not be listed again
        // Typed into the name box, which keeps what is typed while it has the focus.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(file.fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    } else if (verb == u"activate") { // another window brought to the front
        QApplication::setActiveWindow(Find(name)->window());
        QVERIFY(QTest::qWaitForWindowActive(Find(name)->window()));
    } else if (verb == u"close") {
        Find(name)->window()->close();
    } else if (verb == u"uninstall") { // a calculator taken off the system
        QVERIFY(QFile::remove(Bin->filePath(name)));
    } else if (verb == u"block") { // a folder where the program would write a file
        QVERIFY(QFile::remove(Program->filePath(name)) && QDir(Program->path()).mkdir(name));
        Written = Files();
    } else if (verb == u"show") { // every window's whole state, or the named controls'
        Transcript += Show(words.mid(1));
    } else if (verb == u"describe") { // every window, or the windows named
        Transcript += Describe(words.mid(1));
    } else if (verb == u"picture") {
        const QImage picture =
            Find(name)->window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto same = std::count_if(Taken.begin(), Taken.end(), [&](const auto& taken) {
            return taken.first.startsWith(name);
        });
        Taken << std::pair{same ? name + u'-' + QString::number(same + 1) : name, picture};
        Note(QStringLiteral("picture %1x%2").arg(picture.width()).arg(picture.height()));
    } else {
        QFAIL(qPrintable("no such step: " + verb));
    }
}

// What a step brought about beyond the windows: addresses handed to the desktop, programs
// started, the clipboard, files written.
void ScenarioPlayer::NoteEffects()
{
    // Between two steps of a user the event loop runs, and closed windows are deleted.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    if (BoxShown && QApplication::focusWidget())
        Note("focus " + QApplication::focusWidget()->objectName());
    BoxShown = false;
    for (const QString& address : std::exchange(Opened, {}))
        Note("opened " + address);
    if (QApplication::clipboard()->text() != Clipboard) {
        Clipboard = QApplication::clipboard()->text();
        Note("clipboard, line by line:");
        for (const QString& line : Clipboard.split(u'\n'))
            Note(QStringLiteral("  ") + Quoted(line));
    }
    const QMap<QString, QByteArray> files = Files();
    for (const QFileInfo& started : QDir(Bin->path()).entryInfoList({"*.ran"}))
        if (QFile::remove(started.filePath()))
            Note("started " + started.completeBaseName());

    for (auto file = files.begin(); file != files.end(); ++file) {
        if (Written.value(file.key()) == file.value() && Written.contains(file.key()))
            continue;
        const QImage picture = QImage::fromData(file.value());
        Note("wrote " + file.key() + u' ' +
             (picture.isNull()
                  ? Quoted(QString::fromUtf8(file.value()))
                  : QStringLiteral("picture %1x%2").arg(picture.width()).arg(picture.height())));
    }
    Written = files;
    // The cellar book's file is a database: that it is made, and when, is what a user sees.
    const QStringList cellarFiles =
        QDir(DataPath).entryList({"*.sqlite", "*.sqlite.*"}, QDir::Files);
    if (cellarFiles != CellarFiles)
        Note("cellar folder holds " + cellarFiles.join(u' '));
    CellarFiles = cellarFiles;
}

// Every box is shown for real and answered with the keys the scenario gave, Enter where it
// gave none; what it showed and what it gave back are written down.
modProc::Answer ScenarioPlayer::AnswerBoxFor(const modProc::MessageRequest& request)
{
    const QStringList keys = Answers.isEmpty() ? QStringList{"Return"} : Answers.takeFirst();
    QTimer::singleShot(0, this, [this, keys] { AnswerBox(keys); });
    BoxShown = true;
    const modProc::MessageHandler self = modProc::SetMessageHandler({});
    const QPointer<QWidget> active = QApplication::activeWindow();
    const modProc::Answer answer = modProc::ShowMessage(request);
    modProc::SetMessageHandler(self);
    if (active) // the window under the box comes back to the front, as a window manager brings it
        QApplication::setActiveWindow(active);
    Note(QStringLiteral("  -> %1").arg(QStringList{"OK", "Yes", "No"}.value(int(answer))));
    return answer;
}

void ScenarioPlayer::AnswerBox(const QStringList& keys)
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return Note("no box to answer");
    QStringList buttons;
    for (const QAbstractButton* button : box->buttons())
        buttons << button->text().remove(u'&');
    Note(QStringLiteral("box %1 %2 %3 [%4], answered %5")
             .arg(EnumName(QMetaEnum::fromType<QMessageBox::Icon>(), box->icon()),
                  Quoted(box->windowTitle()), Quoted(box->text()), buttons.join(u' '),
                  keys.join(u' ')));
    for (const QString& key : keys) {
        QAbstractButton* button = nullptr;
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove(u'&') == key)
                button = b;
        if (button)
            button->click();
        else
            SendKey(box, key);
    }
    if (box->isVisible()) {
        Note("  the box stays open");
        box->done(-1);
    }
}

// A control by its name: in the modal window, else the active one, else any window shown.
QWidget* ScenarioPlayer::Find(const QString& name) const
{
    QList<QWidget*> windows{QApplication::activeModalWidget(), QApplication::activeWindow()};
    windows << Windows();
    for (const QWidget* window : windows) {
        if (!window)
            continue;
        if (window->objectName() == name)
            return const_cast<QWidget*>(window);
        if (auto* control = window->findChild<QWidget*>(name))
            return control;
    }
    qFatal("no control %s", qPrintable(name));
}

// The windows shown, the main window first.
QList<QWidget*> ScenarioPlayer::Windows() const
{
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->objectName().isEmpty() && !qobject_cast<QMenu*>(w))
            shown << w;
    std::sort(shown.begin(), shown.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->objectName() != u"frmSulfite", a->objectName()) <
               std::pair(b->objectName() != u"frmSulfite", b->objectName());
    });
    return shown;
}

// Each window shown: its title and every control's state, its menus' items with those disabled;
// or only the controls named.
QString ScenarioPlayer::Show(const QStringList& only) const
{
    QString text;
    for (const QWidget* window : Windows()) {
        if (only.isEmpty() || only.contains(window->objectName()))
            text += QStringLiteral("  ") + window->objectName() + u' ' +
                    Quoted(window->windowTitle()) + u'\n';
        for (const QWidget* c : Controls(window)) {
            if (!only.isEmpty() && !only.contains(c->objectName()) &&
                !only.contains(window->objectName()))
                continue;
            QString line = c->objectName() + u' ' + Shown(c) + Flags(c);
            const QString name = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(c))
                                     ->text(QAccessible::Name);
            if (qobject_cast<const QLabel*>(c) && name != c->property("text").toString())
                line += " read as " + Quoted(name);
            text += (only.isEmpty() ? QStringLiteral("    ")
                                    : QStringLiteral("  ") + window->objectName() + u'.') +
                    line + u'\n';
        }
        if (const auto* bar = window->findChild<QMenuBar*>(); bar && only.isEmpty())
            for (const QAction* menu : bar->actions()) {
                QStringList items;
                for (const QAction* item :
                     menu->menu() ? menu->menu()->actions() : QList{const_cast<QAction*>(menu)})
                    items << (item->isSeparator() ? "-"
                              : item->isEnabled() ? item->text()
                                                  : item->text() + " (disabled)");
                text +=
                    QStringLiteral("    ") + menu->objectName() + " [" + items.join(u'|') + "]\n";
            }
    }
    return text;
}

// What the pictures cannot show of each window: how a screen reader names each control, its
// tooltip, the menus' commands and keys, the order the Tab key takes.
QString ScenarioPlayer::Describe(const QStringList& only) const
{
    QString text;
    for (const QWidget* window : Windows()) {
        if (!only.isEmpty() && !only.contains(window->objectName()))
            continue;
        text += QStringLiteral("  ") + window->objectName() + u' ' + Accessible(window) + u'\n';
        for (const QWidget* c : Controls(window))
            text += QStringLiteral("    ") + c->objectName() + u' ' + Accessible(c) +
                    (c->toolTip().isEmpty() ? "" : " tip " + Quoted(c->toolTip())) + u'\n';
        for (const QAction* a : window->findChildren<QAction*>())
            if (!a->objectName().isEmpty() && !a->isSeparator())
                text += QStringLiteral("    ") + a->objectName() + u' ' + Quoted(a->text()) +
                        (a->shortcut().isEmpty() ? "" : u' ' + a->shortcut().toString()) + u'\n';
        QStringList order;
        for (QWidget* c = window->nextInFocusChain(); c != window; c = c->nextInFocusChain())
            if ((c->focusPolicy() & Qt::TabFocus) && !c->objectName().isEmpty() &&
                !c->objectName().startsWith(u"qt_") && c->isVisibleTo(const_cast<QWidget*>(window)))
                order << c->objectName();
        text += "    Tab: " + order.join(u' ') + u'\n';
    }
    return text;
}

// The files in the program's folder, the folder it was started from and the user's Pictures.
QMap<QString, QByteArray> ScenarioPlayer::Files() const
{
    QMap<QString, QByteArray> files;
    for (const QString& folder : {Program->path(), Elsewhere->path(), Home + "/Pictures"})
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
            files[file.filePath()] = ReadFile(file.filePath());
    return files;
}
