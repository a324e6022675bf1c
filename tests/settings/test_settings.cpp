// settings.cfg: what is read from any bytes, what is written, saving where the system refuses.
#include "settings/last_cellar.h"
#include "settings/settings_file.h"
#include "settings/settings_format.h"
#include "tests/support.h"

#include <QDir>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace ardovin;

namespace {

const QByteArray DefaultFile = "\"source\",\"Potassium Metabisulphite\"\r\n\"form\",\"Powder\"\r\n"
                               "\"batchunits\",\"U.S. Gal.\"\r\n\"batchsize\",5\r\n"
                               "\"solution\",10\r\n\"tablet\",.44\r\n"
                               "\"target\",\"Total Free SO2\"\r\n";

// The store's entries for the keys "key=value ..." names, in order: texts quoted, numbers bare.
QString Described(const UserDefaults& store, const QString& expected)
{
    QStringList entries;
    for (const Change& entry : Changes(expected)) {
        const SettingValue value = store.find(entry.name).value_or(QStringLiteral("?"));
        const double* number = std::get_if<double>(&value);
        entries << entry.name + u'=' +
                       (number ? QString::number(*number, 'g', 15)
                               : "'" + std::get<QString>(value) + "'");
    }
    return entries.join(u' ');
}

UserDefaults Store(const QString& key, const SettingValue& value)
{
    UserDefaults store;
    store.set(key, value);
    return store;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    QString mountPoint;

private slots:
    void cleanup()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        if (!mountPoint.isEmpty())
            (void)umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        mountPoint.clear();
    }

    // The bytes (% a quote, ~ CR LF, ` LF, ^ CR); the result (0 loaded, 2 key repeated, 3 key
    // without value); what was read (_ a blank).
    void reading_data()
    {
        AddRows({"bytes", "result", "entries"}, ARDOVIN_TESTS "/settings/reading.rows");
    }

    void reading()
    {
        auto [bytes, result, entries] = Cells("bytes", "result", "entries");
        bytes.replace(u'%', u'"').replace(u'~', "\r\n").replace(u'`', u'\n').replace(u'^', u'\r');
        UserDefaults store;
        QCOMPARE(int(ParseSettings(bytes.toLatin1(), store)), result.toInt());
        entries.replace(u'~', "\r\n");
        QCOMPARE(Described(store, entries), QString(entries).replace(u'_', u' '));
        QCOMPARE(store.size(), entries.count(u'='));
    }

    // One setting stored (a text as the dialog stores it, or a number), the line it writes; the
    // other lines are the program defaults. A number has seven significant digits at most, an
    // exponent only where needed, no zero before the point.
    void writing_data()
    {
        AddRows({"locale", "key", "value", "line"}, ARDOVIN_TESTS "/settings/writing.rows");
    }

    void writing()
    {
        auto [locale, key, value, line] = Cells("locale", "key", "value", "line");
        QLocale::setDefault(QLocale(locale));
        const QByteArray file = SettingsFileBytes(
            Store(key, value.startsWith(u'\'') ? SettingValue(value.mid(1)) : value.toDouble()));
        QByteArray expected = DefaultFile;
        const QByteArray start = line.section(u',', 0, 0).toLatin1() + ',';
        const qsizetype at = expected.indexOf(start);
        expected.replace(at, expected.indexOf('\r', at) - at, line.toLatin1());
        QCOMPARE(file, expected);
    }

    // A field shows a stored number or number text in the user's locale.
    void fieldText()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(FieldText(0.44) + u' ' + FieldText(QStringLiteral("1.234")), "0,44 1.234,00");
    }

    // The file Ardovin ships is the program defaults, as the settings table writes them.
    void shippedFile()
    {
        QCOMPARE(ReadFile(ARDOVIN_SHIPPED_SETTINGS), DefaultFile);
        QCOMPARE(SettingsFileBytes(UserDefaults()), DefaultFile);
    }

    void files()
    {
        QCOMPARE(SettingsFilePath("/opt/a") + SettingsFilePath("/opt/a/") + SettingsFilePath(""),
                 "/opt/a/settings.cfg/opt/a/settings.cfgsettings.cfg");
        const QString path = scratch.filePath(QStringLiteral("settings.cfg"));
        QVERIFY(!SaveSettingsFile(path, Store("batchsize", 42.0)));
        QCOMPARE(ReadFile(path), QByteArray(DefaultFile).replace(",5\r", ",42\r"));
        UserDefaults read;
        QVERIFY(WriteFile(scratch.filePath("large"), QByteArray(17 * 1024 * 1024, ' ')));
        for (const char* unavailable : {"", "missing", "large"})
            QCOMPARE(LoadSettingsFile(scratch.filePath(unavailable), read),
                     LoadResult::FileUnavailable);
    }

    // A failed save names the reason (a QFileDevice error code, and for a full disk the system's
    // message) and leaves the file that was there as it was, alone.
    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<int>("code");
        for (const auto& [fault, code] : {std::pair{"folder in /proc", 5},
                                          {"settings.cfg a folder", 2},
                                          {"read-only", 2},
                                          {"disk full", 4}})
            QTest::newRow(fault) << code;
    }

    void failedSaveChangesNothing()
    {
        const QByteArray fault = QTest::currentDataTag();
        QString folder = scratch.filePath(fault);
        QVERIFY(QDir().mkpath(folder) && WriteFile(folder + "/settings.cfg", DefaultFile));
        if (fault.contains("proc")) {
            folder = QStringLiteral("/proc");
        } else if (fault.contains("a folder")) {
            QVERIFY(QFile::remove(folder + "/settings.cfg") && QDir(folder).mkdir("settings.cfg"));
        } else {
            if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                QSKIP("only root can mount the small file system this fault needs");
            mountPoint = folder;
            const QByteArray at = QFile::encodeName(folder);
            QVERIFY(::mount("ardovin-test", at, "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0);
            QVERIFY(WriteFile(folder + "/settings.cfg", DefaultFile));
            QFile filler(folder + "/filler");
            if (fault.contains("full") && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                while (filler.write(QByteArray(4096, 'x')) > 0) {
                }
            else
                QVERIFY(::mount(nullptr, at, nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                                nullptr) == 0);
        }
        const QByteArray before = ReadFile(folder + "/settings.cfg");
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        const auto failure = SaveSettingsFile(SettingsFilePath(folder), Store("batchsize", 42.0));
        QVERIFY(failure && !failure->Description.isEmpty());
        QCOMPARE(int(failure->Code), *static_cast<int*>(QTest::qData("code", QMetaType::Int)));
        QVERIFY2(!fault.contains("full") || failure->Description.contains(strerror(ENOSPC)),
                 qPrintable(failure->Description));
        QCOMPARE(ReadFile(folder + "/settings.cfg"), before);
        if (folder != u"/proc")
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), entries);
    }

    // A folder that takes no new file, around a settings.cfg that anyone may write: the file is
    // rewritten in place. Root is refused nothing, so the save runs with a user's rights.
    // The shared cellar opened last is kept whole in a file of its own; one that cannot be kept
    // (its folder taken by a file) leaves the last one kept as it was.
    void lastCellarKept()
    {
        QCoreApplication::setApplicationName("Ardovin");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath("config")));
        QCOMPARE(LastCellar(), "");
        const QString address = "postgresql://k%C3%BCfer@cellar.example.org/Weingut M\u00fcller";
        QVERIFY(RememberCellar(address));
        QCOMPARE(LastCellar(), address);
        QVERIFY(RememberCellar(""));
        QCOMPARE(LastCellar(), "");
        QVERIFY(RememberCellar("service=winery"));
        const QString folder = scratch.filePath("config/Ardovin");
        QVERIFY(QDir(folder).removeRecursively() && WriteFile(folder, "a file"));
        QVERIFY(!RememberCellar("service=other"));
        QCOMPARE(ReadFile(folder), "a file");
    }

    void fileIsRewrittenWhereTheFolderTakesNoNewFile()
    {
        const QString folder = scratch.filePath("shared"), path = folder + "/settings.cfg";
        QVERIFY(QDir().mkpath(folder) && WriteFile(path, DefaultFile));
        QVERIFY(QFile::setPermissions(scratch.path(),
                                      QFile::permissions(scratch.path()) | QFile::ExeOther));
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::WriteOther));
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ExeOther));
        const bool root = geteuid() == 0;
        if (root)
            setfsgid(65534), setfsuid(65534);
        const auto failure = SaveSettingsFile(path, Store("batchsize", 42.0));
        if (root)
            setfsuid(0), setfsgid(0);
        QVERIFY2(!failure, failure ? qPrintable(failure->Description) : "");
        QVERIFY(ReadFile(path).contains("\"batchsize\",42\r\n"));
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
