#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace ardovin;

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

UserDefaults DialogStore()
{
    UserDefaults store;
    store.set(SettingKey::Source, QStringLiteral("Sodium Bisulphite"));
    store.set(SettingKey::Form, QStringLiteral("Tablet"));
    store.set(SettingKey::BatchUnits, QStringLiteral("Imp. gal."));
    store.set(SettingKey::BatchSize, QStringLiteral("1,234.50"));
    store.set(SettingKey::Solution, QStringLiteral("12.50"));
    store.set(SettingKey::Tablet, QStringLiteral("0.55"));
    store.set(SettingKey::Target, QStringLiteral("Molecular SO2"));
    return store;
}

#ifdef Q_OS_UNIX
// Regular files cannot grow past the limit while it holds: writing beyond it fails, which
// makes a failed save reproducible even for a user whom permissions do not stop.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void path_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("path");

#ifdef Q_OS_WIN
        QTest::newRow("drive root") << "C:\\"
                                    << "C:\\settings.cfg";
        QTest::newRow("slash ended") << "C:/Ardovin/"
                                     << "C:/Ardovin/settings.cfg";
        QTest::newRow("plain") << "C:\\Ardovin"
                               << "C:\\Ardovin\\settings.cfg";
#else
        QTest::newRow("root") << "/"
                              << "/settings.cfg";
        QTest::newRow("plain") << "/opt/ardovin"
                               << "/opt/ardovin/settings.cfg";
        QTest::newRow("separator ended") << "/opt/ardovin/"
                                         << "/opt/ardovin/settings.cfg";
        QTest::newRow("relative") << "ardovin"
                                  << "ardovin/settings.cfg";
#endif
        QTest::newRow("empty") << ""
                               << "settings.cfg";
    }

    void path()
    {
        QFETCH(QString, directory);
        QFETCH(QString, path);
        QCOMPARE(SettingsFilePath(directory), path);
    }

    void savedFileLoadsBack()
    {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString path = SettingsFilePath(directory.path());
        // An older, longer file must be replaced whole, not overwritten in part.
        QVERIFY(WriteBytes(path, QByteArray(10000, 'x')));

        QCOMPARE(SaveSettingsFile(path, DialogStore()), std::nullopt);
        QCOMPARE(ReadBytes(path), SettingsFileBytes(DialogStore()));
        QCOMPARE(Entries(directory.path()), QStringList{"settings.cfg"});

        UserDefaults loaded;
        QCOMPARE(LoadSettingsFile(path, loaded), LoadResult::Loaded);
        QCOMPARE(loaded.size(), 7);
        QCOMPARE(std::get<double>(*loaded.find(SettingKey::BatchSize)), 1234.5);
        QCOMPARE(std::get<double>(*loaded.find(SettingKey::Tablet)), 0.55);
        QCOMPARE(std::get<QString>(*loaded.find(SettingKey::BatchUnits)),
                 QStringLiteral("Imp. gal."));
    }

    void saveCreatesMissingFile()
    {
        QTemporaryDir directory;
        const QString path = SettingsFilePath(directory.path());
        QCOMPARE(SaveSettingsFile(path, UserDefaults()), std::nullopt);
        QCOMPARE(ReadBytes(path), SettingsFileBytes(UserDefaults()));
    }

    void unavailableFiles_data()
    {
        QTest::addColumn<QString>("path");

        QTest::newRow("missing") << "missing/settings.cfg";
        QTest::newRow("directory") << ".";
#ifdef Q_OS_LINUX
        QTest::newRow("read error") << "/proc/self/mem";
#endif
    }

    void unavailableFiles()
    {
        QFETCH(QString, path);
        QTemporaryDir directory;
        UserDefaults store;
        QCOMPARE(LoadSettingsFile(QDir(directory.path()).filePath(path), store),
                 LoadResult::FileUnavailable);
        QVERIFY(store.isEmpty());
    }

    void farTooLargeFileIsRefused()
    {
        QTemporaryDir directory;
        const QString path = SettingsFilePath(directory.path());
        // A valid file, but for its size.
        const QByteArray bytes = SettingsFileBytes(UserDefaults()) + "\"notes\",\"" +
                                 QByteArray(16 * 1024 * 1024, 'n') + "\"\r\n";
        QVERIFY(WriteBytes(path, bytes));
        UserDefaults store;
        QCOMPARE(LoadSettingsFile(path, store), LoadResult::FileUnavailable);
    }

    void saveIntoUnwritableFolderFails()
    {
#ifndef Q_OS_LINUX
        QSKIP("needs /proc");
#endif
        const auto failure = SaveSettingsFile(QStringLiteral("/proc/settings.cfg"), DialogStore());
        QVERIFY(failure);
        QVERIFY(failure->Code != QFileDevice::NoError);
        QVERIFY(!failure->Description.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("/proc/settings.cfg")));
    }

    void saveUnderARegularFileFails()
    {
        QTemporaryDir directory;
        const QString notADirectory = directory.filePath(QStringLiteral("ardovin"));
        QVERIFY(WriteBytes(notADirectory, "plain file"));

        const auto failure = SaveSettingsFile(SettingsFilePath(notADirectory), DialogStore());
        QVERIFY(failure);
        QVERIFY(failure->Code != QFileDevice::NoError);
        QVERIFY(!failure->Description.isEmpty());
        QCOMPARE(ReadBytes(notADirectory), QByteArray("plain file"));
    }

    void saveOverADirectoryFails()
    {
        QTemporaryDir directory;
        const QString path = SettingsFilePath(directory.path());
        QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("settings.cfg")));
        const QString inside = QDir(path).filePath(QStringLiteral("kept"));
        QVERIFY(WriteBytes(inside, "kept"));

        const auto failure = SaveSettingsFile(path, DialogStore());
        QVERIFY(failure);
        QVERIFY(failure->Code != QFileDevice::NoError);
        QVERIFY(!failure->Description.isEmpty());
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(ReadBytes(inside), QByteArray("kept"));
        QCOMPARE(Entries(directory.path()), QStringList{"settings.cfg"});
    }

    void failedWriteKeepsPreviousFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs a file size limit");
#else
        QTemporaryDir directory;
        const QString path = SettingsFilePath(directory.path());
        const QByteArray previous = SettingsFileBytes(UserDefaults());
        QVERIFY(WriteBytes(path, previous));

        std::optional<SaveFailure> failure;
        {
            const FileSizeLimit limit(16);
            failure = SaveSettingsFile(path, DialogStore());
        }
        QVERIFY(failure);
        QVERIFY(failure->Code != QFileDevice::NoError);
        QVERIFY(!failure->Description.isEmpty());
        QCOMPARE(ReadBytes(path), previous);
        QCOMPARE(Entries(directory.path()), QStringList{"settings.cfg"});

        // Nothing is left in the way of the next save.
        QCOMPARE(SaveSettingsFile(path, DialogStore()), std::nullopt);
        QCOMPARE(ReadBytes(path), SettingsFileBytes(DialogStore()));
#endif
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
