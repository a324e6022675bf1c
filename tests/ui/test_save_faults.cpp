// Saving the defaults when the file system refuses: through the real dialog, opened from the
// main window's Options command. Whatever the fault, the user sees the critical box with the
// failure's code and description, the dialog stays open with what was typed, and the settings
// file that was there before is left exactly as it was.
#include "settings/settings_file.h"
#include "ui/frmSettings.h"
#include "window_fixture.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <QDir>
#include <QFile>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// What was saved before: not the program defaults, so that a save of the dialog's values
// would show.
const QByteArray PreviousFile = "\"source\",\"Sodium Bisulphite\"\r\n"
                                "\"form\",\"Solution\"\r\n"
                                "\"batchunits\",\"Litres\"\r\n"
                                "\"batchsize\",20\r\n"
                                "\"solution\",8\r\n"
                                "\"tablet\",.5\r\n"
                                "\"target\",\"Total Free SO2\"\r\n";

enum class Fault {
    UnwritableFolder,
    ReadOnlyFileSystem,
    SettingsIsFolder,
    DiskFull,
    FileSizeLimit
};

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString SystemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Fills the file system that holds the folder, so that not one more byte can be written.
bool FillDisk(const QString& folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) > 0) {
    }
    return filler.error() != QFileDevice::NoError;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestSaveFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedAnswers> answers;
    std::unique_ptr<QTemporaryDir> scratch;
    QString mountRefused; // why this run cannot mount, empty when it can
    QString mountPoint;
    rlimit fileSizeLimit{};
    std::function<bool()> liftFault; // takes the fault away again, where it can be

    // A small tmpfs of the test's own; it lives in a mount namespace of the test's own too,
    // so that nothing outside the test ever sees it.
    bool MountScratch(const char* options)
    {
        mountPoint = scratch->filePath(QStringLiteral("mnt"));
        return QDir().mkpath(mountPoint) &&
               ::mount("ardovin-test", QFile::encodeName(mountPoint).constData(), "tmpfs",
                       MS_NOSUID | MS_NODEV, options) == 0;
    }

    bool Remount(unsigned long flags)
    {
        return ::mount(nullptr, QFile::encodeName(mountPoint).constData(), nullptr,
                       MS_REMOUNT | MS_NOSUID | MS_NODEV | flags, nullptr) == 0;
    }

    // Sets the fault up and returns the program folder, or nothing when it cannot be set up.
    std::optional<QString> Prepare(Fault fault, const QByteArray& previous)
    {
        const QString folder = scratch->filePath(QStringLiteral("program"));
        switch (fault) {
        case Fault::UnwritableFolder:
            return QStringLiteral("/proc");
        case Fault::ReadOnlyFileSystem:
            if (!MountScratch("size=64k") ||
                !WriteFile(mountPoint + QStringLiteral("/settings.cfg"), previous) ||
                !Remount(MS_RDONLY))
                return std::nullopt;
            liftFault = [this] { return Remount(0); };
            return mountPoint;
        case Fault::SettingsIsFolder:
            if (!QDir().mkpath(folder + QStringLiteral("/settings.cfg")))
                return std::nullopt;
            liftFault = [folder] { return QDir(folder).rmdir(QStringLiteral("settings.cfg")); };
            return folder;
        case Fault::DiskFull:
            if (!MountScratch("size=64k") ||
                !WriteFile(mountPoint + QStringLiteral("/settings.cfg"), previous) ||
                !FillDisk(mountPoint))
                return std::nullopt;
            liftFault = [this] { return QFile::remove(mountPoint + QStringLiteral("/filler")); };
            return mountPoint;
        case Fault::FileSizeLimit:
            if (!QDir().mkpath(folder) ||
                !WriteFile(folder + QStringLiteral("/settings.cfg"), previous))
                return std::nullopt;
            return folder; // the limit itself is set once the window is up
        }
        return std::nullopt;
    }

    // Every write of this process beyond a few bytes is cut short, then refused.
    void LimitFileSize()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = fileSizeLimit;
        limit.rlim_cur = 40;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        liftFault = [this] { return setrlimit(RLIMIT_FSIZE, &fileSizeLimit) == 0; };
    }

    QStringList EntriesOf(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(getrlimit(RLIMIT_FSIZE, &fileSizeLimit) == 0);
        if (geteuid() != 0)
            mountRefused = QStringLiteral("the test runs as user %1, not as root").arg(geteuid());
        else if (unshare(CLONE_NEWNS) != 0)
            mountRefused = QStringLiteral("no mount namespace of its own: ") + SystemError(errno);
        else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            mountRefused = QStringLiteral("mounts cannot be made private: ") + SystemError(errno);
    }

    void init()
    {
        answers = std::make_unique<ScriptedAnswers>();
        scratch = std::make_unique<QTemporaryDir>();
        QVERIFY(scratch->isValid());
    }

    void cleanup()
    {
        (void)setrlimit(RLIMIT_FSIZE, &fileSizeLimit);
        liftFault = nullptr;
        if (!mountPoint.isEmpty())
            (void)umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        mountPoint.clear();
        scratch.reset();
        answers.reset();
    }

    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QByteArray>("previous"); // the file before, null where there was none
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description"); // part of it, where it is certain
        // The system's reason for /proc depends on who asks: no such file, or no permission.
        QTest::newRow("program folder in /proc")
            << Fault::UnwritableFolder << QByteArray() << int(QFileDevice::OpenError) << QString();
        QTest::newRow("read-only file system")
            << Fault::ReadOnlyFileSystem << PreviousFile << int(QFileDevice::WriteError)
            << QStringLiteral("is not writable");
        QTest::newRow("settings.cfg is a folder")
            << Fault::SettingsIsFolder << QByteArray() << int(QFileDevice::WriteError)
            << QStringLiteral("directory");
        QTest::newRow("disk full") << Fault::DiskFull << PreviousFile
                                   << int(QFileDevice::ResourceError) << SystemError(ENOSPC);
        QTest::newRow("file size limit") << Fault::FileSizeLimit << PreviousFile
                                         << int(QFileDevice::WriteError) << SystemError(EFBIG);
    }

    void failedSaveChangesNothing()
    {
        QFETCH(Fault, fault);
        QFETCH(QByteArray, previous);
        QFETCH(int, code);
        QFETCH(QString, description);
        const bool mounts = fault == Fault::ReadOnlyFileSystem || fault == Fault::DiskFull;
        if (mounts && !mountRefused.isEmpty())
            QSKIP(qPrintable(QStringLiteral("This fault needs a small file system of the test's "
                                            "own, which only root may mount; ") +
                             mountRefused));
        const std::optional<QString> folder = Prepare(fault, previous);
        QVERIFY2(folder, qPrintable(QStringLiteral("the fault could not be set up: ") +
                                    SystemError(errno)));
        const QStringList entriesBefore = EntriesOf(*folder);

        WindowUnderTest w(*folder);
        QVERIFY(w.start());
        answers->shown.clear();
        frmSettings* dialog = OpenOptions(w);
        QVERIFY(dialog);
        In<QLineEdit>(dialog, "txtBatchSize")->setText(QStringLiteral("42"));
        In<QComboBox>(dialog, "cboBatch")->setCurrentText(QStringLiteral("Imp. gal."));
        In<QRadioButton>(dialog, "optTablet")->setChecked(true);
        if (fault == Fault::FileSizeLimit)
            LimitFileSize();
        QTest::mouseClick(In<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);

        // The box: critical, the code, a carriage return, the description.
        QCOMPARE(answers->shown.size(), 1);
        const modProc::MessageRequest box = answers->shown.first();
        QCOMPARE(box.icon, modProc::MessageIcon::Critical);
        QCOMPARE(box.buttons, modProc::MessageButtons::Ok);
        QCOMPARE(box.caption, QStringLiteral("Ardovin"));
        const QStringList parts = box.text.split(u'\r');
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts[0], QString::number(code));
        QVERIFY(!parts[1].trimmed().isEmpty());
        if (!description.isEmpty())
            QVERIFY2(parts[1].contains(description), qPrintable(parts[1]));

        // The dialog, still open with what the user chose.
        QVERIFY(dialog->isVisible());
        QCOMPARE(In<QLineEdit>(dialog, "txtBatchSize")->text(), QStringLiteral("42"));
        QCOMPARE(In<QComboBox>(dialog, "cboBatch")->currentText(), QStringLiteral("Imp. gal."));
        QVERIFY(In<QRadioButton>(dialog, "optTablet")->isChecked());

        // The file as it was, and nothing left beside it.
        const QString path = w.window->settingsFilePath();
        if (!previous.isNull())
            QCOMPARE(ReadFile(path), previous);
        if (fault != Fault::UnwritableFolder)
            QCOMPARE(EntriesOf(*folder), entriesBefore);

        // Once the fault is gone, the next OK saves the whole file and closes the dialog.
        if (!liftFault)
            return;
        QVERIFY(liftFault());
        answers->shown.clear();
        QTest::mouseClick(In<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QCOMPARE(answers->texts(), QStringList());
        QTRY_VERIFY(!w.window->findChild<frmSettings*>());
        const QByteArray saved = ReadFile(path);
        QVERIFY2(saved.contains("\"batchunits\",\"Imp. gal.\"\r\n\"batchsize\",42\r\n") &&
                     saved.contains("\"form\",\"Tablet\"\r\n") && saved.endsWith("\r\n"),
                 saved.constData());
    }

    // A folder that takes no new file, around a settings.cfg that anyone may write: the save
    // rewrites the file in place. Root is refused nothing by permissions, so there the save
    // runs with the file-system rights of an ordinary user.
    void fileIsRewrittenWhereTheFolderTakesNoNewFile()
    {
        const QString folder = scratch->filePath(QStringLiteral("program"));
        const QString path = folder + QStringLiteral("/settings.cfg");
        QVERIFY(QDir().mkpath(folder) && WriteFile(path, PreviousFile));
        constexpr auto ReadAndEnter =
            QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(scratch->path(), ReadAndEnter | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(folder, ReadAndEnter));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadOther | QFile::WriteOther));
        const uid_t ordinaryUser = 65534;
        if (geteuid() == 0) {
            setfsgid(ordinaryUser);
            setfsuid(ordinaryUser);
        }
        ardovin::UserDefaults store;
        store.set(ardovin::SettingKey::BatchSize, QStringLiteral("42"));
        const auto failure = ardovin::SaveSettingsFile(path, store);
        if (geteuid() == 0) {
            setfsuid(0);
            setfsgid(0);
        }
        (void)QFile::setPermissions(folder, ReadAndEnter | QFile::WriteOwner);

        QVERIFY2(!failure, failure ? qPrintable(failure->Description) : "");
        QVERIFY(ReadFile(path).contains("\"batchsize\",42\r\n"));
        QCOMPARE(EntriesOf(folder), QStringList{QStringLiteral("settings.cfg")});
    }
};

QTEST_MAIN(TestSaveFaults)
#include "test_save_faults.moc"
