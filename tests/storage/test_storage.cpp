// The cellar book's records in real SQLite files: what is saved reads back from the file, a
// change made on stale data is refused, and a file Ardovin cannot use is left as it was.
#include "storage/cellar.h"
#include "tests/support.h"

#include <QSqlDatabase>
#include <QSqlQuery>

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

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<Cellar> Open(const QString& path)
    {
        QString error;
        auto cellar = OpenSqliteCellar(path, error);
        [&] { QVERIFY2(cellar, qPrintable(error)); }();
        return cellar;
    }

private slots:
    // A batch and its two entries, read back by another connection as they were saved, the
    // newest entry first; archived batches only where asked for; a batch removed with its
    // entries.
    void savedReadsBack()
    {
        const QString path = Path("cellar.sqlite");
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
        QCOMPARE(Open(path)->batches(false).list, QList{batch});
        QCOMPARE(Open(path)->entries(batch.id).list, (QList{added, measured}));
        batch.archived = true;
        QVERIFY(!cellar->save(batch));
        QCOMPARE(Open(path)->batches(false).list, QList<Batch>());
        QCOMPARE(Open(path)->batches(true).list, QList{batch});
        QCOMPARE(Raw(path, {"PRAGMA user_version"}).toInt(), 1);
        QCOMPARE(Raw(path, {"PRAGMA application_id"}).toLongLong(), 0x41524456);
        QCOMPARE(Raw(path, {"PRAGMA journal_mode"}).toString(), "wal");
        QVERIFY(!cellar->remove(batch)); // with its entries
        QCOMPARE(Raw(path, {"SELECT count(*) FROM entries"}).toInt(), 0);
    }

    // Two copies of the same record: the second save made on what the first changed is
    // refused, and so is a removal; an entry needs its batch.
    void staleChangesRefused()
    {
        const QString path = Path("shared.sqlite");
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
        QVERIFY(first->save(orphan).value_or("").contains("FOREIGN KEY"));
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

    // A file from a newer Ardovin opens read-only: its batches show, no change is made.
    void newerFileReadOnly()
    {
        const QString path = Path("newer.sqlite");
        Batch batch = Merlot();
        QVERIFY(!Open(path)->save(batch));
        Raw(path, {"PRAGMA user_version = 2"});
        auto cellar = Open(path);
        QCOMPARE(cellar->readOnlyReason(), "it was made by a newer Ardovin");
        QCOMPARE(cellar->batches(false).list, QList{batch});
        QCOMPARE(cellar->save(batch), path + " can only be read: it was made by a newer Ardovin");
        QCOMPARE(Raw(path, {"SELECT version FROM batches"}).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestStorage)
#include "test_storage.moc"
