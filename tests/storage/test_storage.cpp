// The cellar book's records in real SQLite files and on a real PostgreSQL server: what is saved
// reads back, even from a writer killed mid-save or beside another; a change made on stale data
// is refused; a file, a database or a place Ardovin cannot use is left as it was.
#include "storage/cellar.h"
#include "tests/storage/cellar_writer.h"
#include "tests/storage/test_server.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace ardovin;

namespace {

Batch Merlot()
{
    Batch b;
    b.name = QStringLiteral("Merlot'); DROP TABLE batches;--");
    b.volume = 225;
    b.colour = WineColour::Red;
    b.residualSugar = 2;
    b.rules = LegalRules::EU;
    return b;
}

Entry Dated(qint64 batchId, const QDateTime& at, EntryKind kind)
{
    Entry e;
    e.batchId = batchId;
    e.at = at;
    e.kind = kind;
    e.volume = 225;
    return e;
}

// Runs statements on the file as another program would, outside Ardovin.
QVariant Raw(const QString& path, const QStringList& statements)
{
    QVariant last;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        db.setDatabaseName(path);
        if (!db.open())
            return {};
        QSqlQuery q(db);
        for (const QString& statement : statements)
            if (q.exec(statement) && q.next())
                last = q.value(0);
    }
    QSqlDatabase::removeDatabase("raw");
    return last;
}

// The records cellar_writer reported saved; a line its death cut short is not a report.
struct Reported
{
    QList<Batch> batches;
    QList<Entry> entries;
    int additions = 0;
};

void Collect(const QString& tag, const QByteArray& output, Reported& saved)
{
    QList<QByteArray> lines = output.split('\n');
    lines.removeLast();
    for (const QByteArray& line : lines) {
        const QList<QByteArray> words = line.split(' ');
        const qint64 id = words.value(1).toLongLong();
        if (words[0] == "batch") {
            saved.batches << WriterBatch(tag);
            std::tie(saved.batches.last().id, saved.batches.last().version) = std::pair(id, 1);
        } else if (words[0] == "entry") {
            saved.entries << WriterEntry(saved.batches.last().id, tag, words.value(2).toInt());
            std::tie(saved.entries.last().id, saved.entries.last().version) = std::pair(id, 1);
        } else {
            saved.additions += words[0] == "add";
        }
    }
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString mountPoint;
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<Cellar> Open(const QString& location)
    {
        OpenFailure failure;
        auto cellar = OpenCellar(location, QString(), failure);
        [&] { QVERIFY2(cellar, qPrintable(failure.reason)); }();
        return cellar;
    }

    // Each engine, for the tests that hold for both.
    static void Engines()
    {
        QTest::addColumn<QString>("engine");
        for (const char* engine : {"sqlite", "postgresql"})
            QTest::newRow(engine) << engine;
    }

    // A new, empty cellar book of the row's engine, named for the test; returns where it is.
    QString NewCellar(const char* name)
    {
        QFETCH(QString, engine);
        return engine == u"sqlite" ? Path(name) + ".sqlite"
                                   : test::NewSharedCellar(QString::fromLatin1(name));
    }

    // The file is whole, each writer's batch has at least the entries it was saved with, and
    // each record a writer reported saved reads back as it was saved.
    void CheckReported(const QString& path, const Reported& saved, double& sharedVolume)
    {
        QVERIFY(IsServerAddress(path) || Raw(path, {"PRAGMA integrity_check"}) == "ok");
        auto cellar = Open(path);
        const QList<Batch> batches = cellar->batches(true).list;
        QList<Entry> entries;
        for (const Batch& b : batches) {
            const QList<Entry> own = cellar->entries(b.id).list;
            QVERIFY2(b.name == u"shared" || own.size() >= FirstEntries, qPrintable(b.name));
            entries += own;
            if (b.name == u"shared")
                sharedVolume = b.volume;
        }
        for (const Batch& b : saved.batches)
            QVERIFY2(batches.contains(b), qPrintable(b.name));
        for (const Entry& e : saved.entries)
            QVERIFY2(entries.contains(e), qPrintable(e.note));
    }

    Batch Shared(const QString& path)
    {
        Batch shared = WriterBatch(QStringLiteral("shared"));
        shared.volume = 0;
        [&] { QVERIFY(!Open(path)->save(shared)); }();
        return shared;
    }

private slots:
    void cleanup()
    {
        if (!mountPoint.isEmpty())
            (void)umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        mountPoint.clear();
    }

    // A batch and its two entries, read back by another connection as they were saved, the
    // newest entry first; archived batches only where asked for; a batch removed with its
    // entries.
    void savedReadsBack_data() { Engines(); }
    void savedReadsBack()
    {
        const QString path = NewCellar("saved");
        auto cellar = Open(path);
        Batch batch = Merlot();
        QVERIFY(!cellar->save(batch));
        const QDate day(2026, 9, 1);
        Entry measured =
            Dated(batch.id, QDateTime(day, QTime(8, 30), Qt::UTC), EntryKind::Measurement);
        measured.note = QStringLiteral("after racking, \"tank 3\"");
        std::tie(measured.ph, measured.freeSO2, measured.totalSO2) = std::tuple(3.55, 18.0, 95.0);
        measured.method = QStringLiteral("aeration-oxidation");
        Entry added = Dated(batch.id, QDateTime(day, QTime(9, 0), Qt::UTC), EntryKind::Addition);
        added.compound = SulphiteSource::PotassiumMetabisulphite;
        added.form = SourceForm::Powder;
        std::tie(added.amount, added.amountUnit, added.so2Added) =
            std::tuple(10.0, AdditionUnit::Grams, 25.62);
        QVERIFY(!cellar->save(measured) && !cellar->save(added));
        QCOMPARE(Open(path)->entries(batch.id).list, (QList{added, measured}));
        batch.lastMeasured = measured.at;
        QCOMPARE(Open(path)->batches(false).list, QList{batch});
        batch.archived = true;
        QVERIFY(!cellar->save(batch));
        QCOMPARE(Open(path)->batches(false).list, QList<Batch>());
        QCOMPARE(Open(path)->batches(true).list, QList{batch});
        QVERIFY(!cellar->remove(batch)); // with its entries
        QCOMPARE(Open(path)->entries(batch.id).list, QList<Entry>());
    }

    // Two copies of the same record: the second save made on what the first changed is
    // refused, and so is a removal; an entry needs its batch.
    void staleChangesRefused_data() { Engines(); }
    void staleChangesRefused()
    {
        const QString path = NewCellar("stale");
        auto first = Open(path), second = Open(path);
        Batch mine = Merlot();
        QVERIFY(!first->save(mine));
        Batch theirs = second->batches(false).list.value(0);
        theirs.volume = 220;
        QVERIFY(!second->save(theirs));
        mine.volume = 200;
        QCOMPARE(first->save(mine), "The change could not be saved in " + path +
                                        ": it was changed elsewhere since it was read");
        QCOMPARE(first->remove(mine), "The change could not be saved in " + path +
                                          ": it was changed elsewhere since it was read");
        QVERIFY(!second->remove(theirs));
        QCOMPARE(first->save(mine),
                 "The change could not be saved in " + path + ": it was deleted elsewhere");
        Entry orphan = Dated(theirs.id, QDateTime::currentDateTimeUtc(), EntryKind::Measurement);
        QVERIFY(first->save(orphan).value_or("").contains("foreign key", Qt::CaseInsensitive));
        QCOMPARE(first->batches(true).list, QList<Batch>());
    }

    // Files Ardovin cannot use, another program's database among them, are refused with the
    // reason and left byte for byte.
    void filesRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text") << QByteArray("batch,volume\n") << "is not a cellar book.";
        QTest::newRow("damaged") << QByteArray("SQLite format 3").append('\0').append(4096, 'x')
                                 << "is damaged and is left as it is";
        QTest::newRow("empty") << QByteArray() << "is not a cellar book.";
        const QString other = Path("other program");
        Raw(other, {"CREATE TABLE orders (id INTEGER)"});
        QTest::newRow("another program's") << ReadFile(other) << "is not a cellar book.";
        // A cellar whose table of tables is overwritten past the file's header.
        const QString cellar = Path("whole cellar");
        (void)Open(cellar);
        QTest::newRow("pages damaged") << ReadFile(cellar).replace(100, 12, QByteArray(12, '\xff'))
                                       << "is damaged and is left as it is";
    }

    void filesRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = Path(QTest::currentDataTag());
        QVERIFY(WriteFile(path, bytes));
        QString error;
        QVERIFY(!OpenSqliteCellar(path, error));
        QVERIFY2(error.startsWith(path + u' ' + reason), qPrintable(error));
        QCOMPARE(ReadFile(path), bytes);
        QCOMPARE(QDir(folder.path()).entryList({QString(QTest::currentDataTag()) + '*'}).size(), 1);
    }

    // A file each earlier Ardovin made is brought up to date, copied aside first as it was, and
    // reads back whole: every batch it held was a still wine.
    void earlierFilesBroughtUpToDate()
    {
        const QString path = Path("version1.sqlite");
        const QByteArray earlier = ReadFile(ARDOVIN_TESTS "/storage/cellar-version1.sqlite");
        QVERIFY(WriteFile(path, earlier));
        auto cellar = Open(path);
        QCOMPARE(cellar->readOnlyReason(), "");
        QCOMPARE(ReadFile(path + ".version1"), earlier);
        Batch merlot = Merlot();
        std::tie(merlot.id, merlot.version, merlot.name, merlot.type) =
            std::tuple(1, 3, "Merlot 2026", WineType::Still);
        merlot.lastMeasured = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        QCOMPARE(cellar->batches(false).list, QList{merlot});
        const QList<Entry> entries = cellar->entries(1).list;
        QCOMPARE(entries.size(), 2);
        QCOMPARE(std::tuple(entries[0].amount, entries[0].so2Added, entries[1].totalSO2),
                 std::tuple(std::optional(10.0), std::optional(25.613868), std::optional(95.0)));
        QCOMPARE(Raw(path, {"PRAGMA user_version"}).toInt(), 2);
        QCOMPARE(Raw(path, {"PRAGMA application_id"}).toLongLong(), 0x41524456);
        QCOMPARE(Raw(path, {"PRAGMA journal_mode"}).toString(), "wal");
        merlot.type = WineType::Sparkling;
        QVERIFY(!cellar->save(merlot));
        QCOMPARE(Open(path)->batches(false).list.value(0).type, WineType::Sparkling);
    }

    // A cellar from a newer Ardovin opens read-only: its batches show, no change is made.
    void newerSchemaReadOnly_data() { Engines(); }
    void newerSchemaReadOnly()
    {
        const QString path = NewCellar("newer");
        Batch batch = Merlot();
        QVERIFY(!Open(path)->save(batch));
        if (IsServerAddress(path))
            test::OnServer("newer", "cellar_owner", {"UPDATE ardovin_schema SET version = 3"});
        else
            Raw(path, {"PRAGMA user_version = 3"});
        auto cellar = Open(path);
        QCOMPARE(cellar->readOnlyReason(), "it was made by a newer Ardovin");
        QCOMPARE(cellar->batches(false).list, QList{batch});
        QCOMPARE(cellar->save(batch), path + " can only be read: it was made by a newer Ardovin");
        QCOMPARE(cellar->batches(false).list.value(0).version, 1);
    }

    // A writer killed at twenty moments, a few while it opens the file, most amid saves: the file
    // stays whole, a batch is there with all its first entries or not at all, and each record
    // reported saved is there. Of the shared batch's raises none is lost; one a round may have
    // been saved and killed before it was reported.
    void killedWriterLosesNothingReported_data() { Engines(); }
    void killedWriterLosesNothingReported()
    {
        const QString path = NewCellar("killed");
        const Batch shared = Shared(path);
        Reported saved;
        const int rounds = 20;
        for (int round = 0; round < rounds; ++round) {
            const QString tag = QStringLiteral("round %1").arg(round);
            QProcess writer;
            writer.start(CELLAR_WRITER, {path, tag, "0", QString::number(shared.id)});
            QVERIFY(writer.waitForStarted());
            if (round % 4)
                QVERIFY2(writer.waitForReadyRead(10000), writer.readAllStandardError());
            QTest::qSleep(QRandomGenerator::global()->bounded(80));
            writer.kill();
            QVERIFY(writer.waitForFinished());
            QVERIFY2(writer.exitStatus() == QProcess::CrashExit, writer.readAllStandardError());
            Collect(tag, writer.readAllStandardOutput(), saved);
        }
        QVERIFY2(!saved.entries.isEmpty(), "no writer lived to save an entry");
        double volume = -1;
        CheckReported(path, saved, volume);
        QVERIFY2(
            volume >= saved.additions && volume <= saved.additions + rounds,
            qPrintable(
                QStringLiteral("%1 raises reported, %2 saved").arg(saved.additions).arg(volume)));
    }

    // A save reported is on the disk: each transaction the writer reports is flushed to it
    // (fsync or fdatasync), as a power cut, which a killed process cannot stand for, needs.
    void reportedSavesFlushed()
    {
        const QString path = Path("flushed.sqlite");
        const Batch shared = Shared(path);
        QProcess traced;
        // A leak check cannot run under a tracer; the sanitizer build keeps its other checks.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString options = environment.value("ASAN_OPTIONS");
        environment.insert("ASAN_OPTIONS",
                           options.isEmpty() ? "detect_leaks=0" : options + ":detect_leaks=0");
        traced.setProcessEnvironment(environment);
        traced.start("/usr/bin/strace",
                     {"-f", "-qq", "-e", "trace=fsync,fdatasync", "-o", path + ".trace",
                      CELLAR_WRITER, path, "flushed", "20", QString::number(shared.id)});
        QVERIFY2(traced.waitForFinished(60000) && traced.exitCode() == 0,
                 traced.readAllStandardError());
        // The batch and its first three entries are one transaction; every other line is one.
        const qsizetype transactions = traced.readAllStandardOutput().count('\n') - 3;
        const qsizetype flushes = ReadFile(path + ".trace").count("sync(");
        QVERIFY2(
            transactions == 35 && flushes >= transactions,
            qPrintable(
                QStringLiteral("%1 flushes for %2 transactions").arg(flushes).arg(transactions)));
    }

    // Two writers on one file at once, each raising the shared batch's volume by reading it and
    // saving it again: every record either reported saved is there, and no raise is lost.
    void twoWritersLoseNoUpdate_data() { Engines(); }
    void twoWritersLoseNoUpdate()
    {
        const QString path = NewCellar("two_writers");
        const Batch shared = Shared(path);
        QProcess writers[2];
        for (int i : {0, 1})
            writers[i].start(CELLAR_WRITER,
                             {path, QString::number(i), "40", QString::number(shared.id)});
        Reported saved;
        for (int i : {0, 1}) {
            QVERIFY(writers[i].waitForFinished(60000));
            QVERIFY2(writers[i].exitCode() == 0, writers[i].readAllStandardError());
            Collect(QString::number(i), writers[i].readAllStandardOutput(), saved);
        }
        QCOMPARE(saved.entries.size(), 80);
        double volume = -1;
        CheckReported(path, saved, volume);
        QCOMPARE(volume, double(saved.additions));
    }

    // Places that take no change: a read-only file or folder (root, refused nothing else, gets a
    // read-only mount), a full disk, a file another program holds locked past the wait. The
    // change is refused in words naming the file and why, and the file's bytes are left as they
    // were; what was saved before reads back, there and once the place takes changes again. A
    // file that cannot be read there is not called damaged.
    void placesTakingNoChange_data()
    {
        QTest::addColumn<QString>("reason");
        for (const char* place : {"read-only file", "read-only folder"})
            QTest::newRow(place) << "can only be read: the file or its folder is read-only";
        QTest::newRow("full disk") << "database or disk is full";
        QTest::newRow("locked") << "database is locked";
    }

    void placesTakingNoChange()
    {
        QFETCH(QString, reason);
        const QByteArray place = QTest::currentDataTag(), at = QFile::encodeName(Path(place));
        const QString path = Path(place) + "/cellar.sqlite";
        const bool root = geteuid() == 0, readOnly = place.startsWith("read-only");
        QVERIFY(QDir().mkpath(Path(place)));
        if (!root && place == "full disk")
            QSKIP("a full disk needs a small file system of its own, which only root may mount");
        if (root && place != "locked") {
            static const bool ownMounts =
                unshare(CLONE_NEWNS) == 0 &&
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
            QVERIFY2(ownMounts && ::mount("ardovin-test", at, "tmpfs", MS_NOSUID | MS_NODEV,
                                          "size=256k") == 0,
                     strerror(errno));
            mountPoint = Path(place);
        }
        const auto setReadOnly = [&](bool on) {
            if (root)
                return ::mount(nullptr, at, nullptr,
                               MS_REMOUNT | MS_NOSUID | MS_NODEV | (on ? MS_RDONLY : 0),
                               nullptr) == 0;
            const bool folder = place.endsWith("folder");
            return QFile::setPermissions(folder ? Path(place) : path,
                                         QFile::ReadOwner |
                                             (on ? QFile::Permissions() : QFile::WriteOwner) |
                                             (folder ? QFile::ExeOwner : QFile::Permissions()));
        };
        auto cellar = Open(path);
        QVERIFY(cellar);
        Batch batch = Merlot();
        Entry before = Dated(0, QDateTime(QDate(2026, 9, 1), {}, Qt::UTC), EntryKind::Addition);
        QVERIFY(!cellar->save(batch) && !cellar->save((before.batchId = batch.id, before)));
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        holder.setDatabaseName(path);
        if (readOnly) {
            // A copy taken with its log, which a read-only folder cannot read beside it.
            const bool folder = place.endsWith("folder");
            QVERIFY(!folder || (QFile::copy(path, path + ".copy") &&
                                QFile::copy(path + "-wal", path + ".copy-wal")));
            cellar.reset();
            QVERIFY(setReadOnly(true));
            cellar = Open(path);
            QVERIFY(cellar);
        } else if (place == "full disk") {
            QFile filler(Path(place) + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'x')) > 0) {
            }
        } else {
            QVERIFY(holder.open() && QSqlQuery(holder).exec("BEGIN EXCLUSIVE"));
        }
        const QByteArray bytes = ReadFile(path);
        Entry after = Dated(batch.id, before.at.addDays(1), EntryKind::Addition);
        const Failure failure = cellar->save(after);
        QVERIFY2(failure && failure->contains(path) && failure->contains(reason),
                 qPrintable(failure.value_or("saved")));
        QCOMPARE(cellar->entries(batch.id).list, QList{before});
        QCOMPARE(ReadFile(path), bytes);
        QString error;
        const bool copied = QFile::exists(path + ".copy");
        QVERIFY(!copied || !OpenSqliteCellar(path + ".copy", error));
        QCOMPARE(error, copied ? path + ".copy cannot be read: unable to open database file" : "");
        cellar.reset();
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
        QVERIFY(!readOnly || setReadOnly(false));
        QCOMPARE(Raw(path, {"PRAGMA integrity_check"}).toString(), "ok");
        // The entry refused is kept as the user gave it, and saved once the place allows.
        QCOMPARE(after.id, 0);
        QVERIFY(!Open(path)->save(after));
        QCOMPARE(Open(path)->entries(batch.id).list, (QList{after, before}));
    }
};

QTEST_GUILESS_MAIN(TestStorage)
#include "test_storage.moc"
