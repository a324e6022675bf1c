// settings.cfg: what is read from any bytes, what is written, and saving when the file system
// refuses.
#include "settings/settings_file.h"
#include "settings/settings_format.h"
#include "tests/table.h"

#include <cfloat>
#include <csignal>
#include <cstring>
#include <functional>
#include <QDir>
#include <QtTest>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace ardovin;

namespace {

const QByteArray DefaultFile = "\"source\",\"Potassium Metabisulphite\"\r\n\"form\",\"Powder\"\r\n"
                               "\"batchunits\",\"U.S. Gal.\"\r\n\"batchsize\",5\r\n"
                               "\"solution\",10\r\n\"tablet\",.44\r\n"
                               "\"target\",\"Total Free SO2\"\r\n";
// The store as "key=value" in key order, a text quoted with ', a number bare.
QString Described(const UserDefaults& store, const QStringList& keys)
{
    QStringList entries;
    for (const QString& key : keys) {
        const SettingValue value = *store.find(key);
        const double* number = std::get_if<double>(&value);
        entries << key + u'=' +
                       (number ? QString::number(*number, 'g', 15)
                               : u'\'' + std::get<QString>(value) + u'\'');
    }
    entries.sort();
    return entries.join(u' ');
}

// The keys an expected description names.
QStringList KeysOf(const QString& entries)
{
    QStringList keys;
    for (const auto& match : QRegularExpression("(?:^| )([^ =']+)=").globalMatch(entries))
        keys << match.captured(1);
    return keys;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    QString mountPoint;
    rlimit fileSizeLimit{};

    bool Mount(unsigned long flags)
    {
        mountPoint = scratch.filePath(QStringLiteral("mnt"));
        const QByteArray at = QFile::encodeName(mountPoint);
        return QDir().mkpath(mountPoint) &&
               ::mount("ardovin-test", at, "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0 &&
               WriteFile(mountPoint + QStringLiteral("/settings.cfg"), DefaultFile) &&
               (!flags || ::mount(nullptr, at, nullptr, MS_REMOUNT | flags, nullptr) == 0);
    }

private slots:
    void initTestCase() { QVERIFY(getrlimit(RLIMIT_FSIZE, &fileSizeLimit) == 0); }
    void cleanup()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        (void)setrlimit(RLIMIT_FSIZE, &fileSizeLimit);
        if (!mountPoint.isEmpty())
            (void)umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        mountPoint.clear();
    }

    // The bytes (% a quote, ~ CR LF); the result (0 loaded, 2 key repeated, 3 key without
    // value); what was read, a text quoted with ', a number bare.
    void reading_data()
    {
        AddRows({"bytes", "result", "entries"}, R"(
mixed case, unknown keys    | %BatchUnits%,%Litres%~%vintage%,2019~ | 0 | BatchUnits='Litres' vintage=2019
quoted commas, line ends    | %a%,%x, y~z%                         | 0 | a='x, y~z'
pairs on a line, on two     | %a%,1,b,%t%~%c%~u~                   | 0 | a=1 b='t' c='u'
numbers                     | a,.44~b,0.440~c,2.5E+01~d,+2e-1~e,-.5~f,5. | 0 | a=0.44 b=0.44 c=25 d=0.2 e=-0.5 f=5
number-like texts           | a,1.2.3~b,e5~c,5e~d,inf~e,0x10~f,nan~g,1 2~h,.~i,1e999 | 0 | a='1.2.3' b='e5' c='5e' d='inf' e='0x10' f='nan' g='1 2' h='.' i='1e999'
quoted number stays text    | %batchsize%,%5%                       | 0 | batchsize='5'
blanks around fields        |  	%a%, 	5 	~	b ,  text here  ~      | 0 | a=5 b='text here'
text after closing quote    | %a%xyz,%b% junk %c%~                  | 0 | a='b'
LF and CR line ends         | a,1`b,2^c,3                           | 0 | a=1 b=2 c=3
empty value                 | %a%,~                                 | 0 | a=''
unclosed quote to the end   | %a%,%open~rest                        | 0 | a='open~rest'
empty file                  |                                       | 0 |
key in two cases            | %a%,1~%b%,2~%A%,3~                    | 2 | a=1 b=2
key without value           | %a%,1~%b%~                            | 3 | a=1
trailing empty line         | %a%,1~~                               | 3 | a=1
)");
    }

    void reading()
    {
        QFETCH(QString, bytes);
        QFETCH(QString, result);
        QFETCH(QString, entries);
        bytes.replace(u'%', u'"').replace(u'~', "\r\n").replace(u'`', u'\n').replace(u'^', u'\r');
        entries.replace(u'~', "\r\n");
        UserDefaults store;
        QCOMPARE(int(ParseSettings(bytes.toLatin1(), store)), result.toInt());
        const QStringList keys = KeysOf(entries);
        QCOMPARE(Described(store, keys), entries);
        QCOMPARE(store.size(), keys.size());
    }

    // Seven significant digits at most, an exponent only where needed, no zero before the point.
    // Seven significant digits at most, an exponent only where needed, no zero before the point.
    void numberForm_data()
    {
        AddRows({"value", "text"}, R"(
5      | 5         | 5
2.5    | 2.5       | 2.5
0.44   | 0.44      | .44
-0.5   | -0.5      | -.5
-0     | -0        | 0
7 digits | 123456.78 | 123456.8
largest plain | 9999999 | 9999999
1e7    | 1e7       | 1E+07
9 digits | 123456789 | 1.234568E+08
negative large | -3e9 | -3E+09
small plain | 0.0001 | .0001
1e-5   | 1e-5      | 1E-05
largest | 3.4028234663852886e38 | 3.402823E+38
)");
    }

    void numberForm()
    {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QCOMPARE(FileNumberText(value.toFloat()), text.toLatin1());
    }

    void writing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("entries"); // key, value: a number where it reads as one
        QTest::addColumn<QByteArray>("replaced"); // in the default file: before, after
        QTest::newRow("empty store") << "en_US" << QStringList() << QByteArray();
        QTest::newRow("as the dialog stores")
            << "en_US" << QStringList{"batchsize", "'5.00", "tablet", "'0.44", "Colour", "'red"}
            << QByteArray();
        QTest::newRow("grouped English")
            << "en_US" << QStringList{"BATCHSIZE", "'1,234.50"} << QByteArray("5\r|1234.5\r");
        QTest::newRow("grouped German")
            << "de_DE" << QStringList{"batchsize", "'1.234,50"} << QByteArray("5\r|1234.5\r");
        QTest::newRow("number text that does not read")
            << "en_US" << QStringList{"batchsize", "'lots"} << QByteArray("5\r|\"lots\"\r");
        QTest::newRow("texts unchanged") << "en_US" << QStringList{"batchunits", "'Imp. gal."}
                                         << QByteArray("U.S. Gal.|Imp. gal.");
        QTest::newRow("beyond single precision")
            << "en_US" << QStringList{"tablet", "1e39"} << QByteArray(".44|1E+39");
    }

    void writing()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, replaced);
        QLocale::setDefault(QLocale(locale));
        UserDefaults store;
        for (qsizetype i = 0; i < entries.size(); i += 2) {
            const QString& value = entries[i + 1];
            if (value.startsWith(u'\''))
                store.set(entries[i], value.mid(1));
            else
                store.set(entries[i], value.toDouble());
        }
        QByteArray expected = DefaultFile;
        if (!replaced.isEmpty())
            expected.replace(replaced.split('|')[0], replaced.split('|')[1]);
        QCOMPARE(SettingsFileBytes(store), expected);
    }

    void store()
    {
        UserDefaults store;
        QVERIFY(store.add(u"Tablet", 0.5) && !store.add(u"TABLET", 1.0));
        QCOMPARE(std::get<double>(*store.find(u"tablet")), 0.5);
        store.set(u"tablet", QStringLiteral("x"));
        QCOMPARE(std::get<QString>(*store.find(u"TaBlEt")), QStringLiteral("x"));
        QVERIFY(!store.find(u"tablets") && store.size() == 1);
        QVERIFY(IsNumberSetting(u"Solution") && !IsNumberSetting(u"solutions"));
        QVERIFY(!IsNumberSetting(u"source") && IsNumberSetting(u"BATCHSIZE"));
        QStringList defaults;
        for (const QLatin1StringView key : SettingKeysInFileOrder)
            defaults << FieldText(*ProgramDefault(QString(key).toUpper()));
        QCOMPARE(defaults.join(u'|'), QStringLiteral("Potassium Metabisulphite|Powder|U.S. Gal.|"
                                                     "5.00|10.00|0.44|Total Free SO2"));
        QVERIFY(!ProgramDefault(u"colour"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(FieldText(0.44) + FieldText(QStringLiteral("1.234")),
                 QStringLiteral("0,441.234,00"));
    }

    void paths()
    {
        QCOMPARE(SettingsFilePath("/opt/ardovin"), QStringLiteral("/opt/ardovin/settings.cfg"));
        QCOMPARE(SettingsFilePath("/opt/ardovin/"), QStringLiteral("/opt/ardovin/settings.cfg"));
        QCOMPARE(SettingsFilePath(""), QStringLiteral("settings.cfg"));
    }

    void savedFileLoadsBack()
    {
        const QString path = scratch.filePath(QStringLiteral("settings.cfg"));
        UserDefaults store;
        store.set(SettingKey::BatchSize, 42.0);
        QVERIFY(!SaveSettingsFile(path, store));
        QCOMPARE(ReadFile(path), QByteArray(DefaultFile).replace(",5\r", ",42\r"));
        UserDefaults read;
        QCOMPARE(LoadSettingsFile(path, read), LoadResult::Loaded);
        QCOMPARE(std::get<double>(*read.find(SettingKey::BatchSize)), 42.0);
        for (const QString& unavailable : {scratch.path(), scratch.filePath("missing")}) {
            QCOMPARE(LoadSettingsFile(unavailable, read), LoadResult::FileUnavailable);
        }
        QVERIFY(WriteFile(path, QByteArray(17 * 1024 * 1024, ' ')));
        QCOMPARE(LoadSettingsFile(path, read), LoadResult::FileUnavailable);
    }

    // A failed save names the reason and leaves the file that was there as it was.
    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("systemError"); // 0 where the system's words may vary
        QTest::newRow("folder in /proc") << "proc" << int(QFileDevice::OpenError) << 0;
        QTest::newRow("settings.cfg is a folder") << "folder" << int(QFileDevice::WriteError) << 0;
        QTest::newRow("read-only file system") << "readonly" << int(QFileDevice::WriteError) << 0;
        QTest::newRow("disk full") << "full" << int(QFileDevice::ResourceError) << ENOSPC;
        QTest::newRow("file size limit") << "limit" << int(QFileDevice::WriteError) << EFBIG;
    }

    void failedSaveChangesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(int, code);
        QFETCH(int, systemError);
        QString folder = scratch.filePath(fault);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteFile(folder + QStringLiteral("/settings.cfg"), DefaultFile));
        if (fault == u"proc") {
            folder = QStringLiteral("/proc");
        } else if (fault == u"folder") {
            QVERIFY(QFile::remove(folder + "/settings.cfg") && QDir(folder).mkdir("settings.cfg"));
        } else if (fault == u"readonly" || fault == u"full") {
            if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                QSKIP("only root can mount the small file system this fault needs");
            QVERIFY(Mount(fault == u"readonly" ? MS_RDONLY | MS_NOSUID | MS_NODEV : 0));
            folder = mountPoint;
            QFile filler(folder + QStringLiteral("/filler"));
            if (fault == u"full" && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                while (filler.write(QByteArray(4096, 'x')) > 0) {
                }
        } else {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit = fileSizeLimit;
            limit.rlim_cur = 40;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }
        const QByteArray before = ReadFile(folder + QStringLiteral("/settings.cfg"));
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        UserDefaults store;
        store.set(SettingKey::BatchSize, 42.0);
        const auto failure = SaveSettingsFile(SettingsFilePath(folder), store);
        QVERIFY(failure);
        QCOMPARE(failure->Code, code);
        QVERIFY(!failure->Description.isEmpty());
        if (systemError)
            QVERIFY2(failure->Description.contains(QString::fromLocal8Bit(strerror(systemError))),
                     qPrintable(failure->Description));
        QCOMPARE(ReadFile(folder + QStringLiteral("/settings.cfg")), before);
        if (fault != u"proc")
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), entries);
    }

    // A folder that takes no new file, around a settings.cfg that anyone may write: the file is
    // rewritten in place. Root is refused nothing, so the save runs with an ordinary user's
    // file-system rights.
    void fileIsRewrittenWhereTheFolderTakesNoNewFile()
    {
        QVERIFY(QFile::setPermissions(scratch.path(),
                                      QFile::permissions(scratch.path()) | QFileDevice::ExeOther));
        const QString folder = scratch.filePath(QStringLiteral("shared"));
        const QString path = folder + QStringLiteral("/settings.cfg");
        QVERIFY(QDir().mkpath(folder) && WriteFile(path, DefaultFile));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOther | QFileDevice::WriteOther |
                                                QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOther | QFileDevice::ExeOther |
                                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool root = geteuid() == 0;
        if (root) {
            setfsgid(65534);
            setfsuid(65534);
        }
        UserDefaults store;
        store.set(SettingKey::BatchSize, 42.0);
        const auto failure = SaveSettingsFile(path, store);
        if (root) {
            setfsuid(0);
            setfsgid(0);
        }
        QVERIFY2(!failure, failure ? qPrintable(failure->Description) : "");
        QVERIFY(ReadFile(path).contains("\"batchsize\",42\r\n"));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
