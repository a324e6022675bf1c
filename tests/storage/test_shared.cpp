// A shared cellar on the suite's own PostgreSQL server, as a winery sets it up: addresses read
// and refused, the schema made and upgraded only by its owner, each role given what it may do,
// the server stopped under a save and back, and other clients' changes told.
#include "storage/cellar_copy.h"
#include "storage/sql_cellar.h"
#include "tests/storage/test_server.h"

using namespace ardovin;
using namespace ardovin::test;

namespace {

Batch Riesling()
{
    Batch b;
    b.name = QStringLiteral("Riesling 2026");
    b.volume = 1200;
    b.colour = WineColour::White;
    b.rules = LegalRules::EU;
    return b;
}

std::unique_ptr<Cellar> Open(const QString& address, const QString& password = {})
{
    OpenFailure failure;
    auto cellar = OpenCellar(address, password, failure);
    [&] { QVERIFY2(cellar, qPrintable(failure.reason)); }();
    return cellar;
}

ServerAddress Address(const QString& text)
{
    QString error;
    const std::optional<ServerAddress> address = ReadServerAddress(text, error);
    [&] { QVERIFY2(address, qPrintable(error)); }();
    return address.value_or(ServerAddress());
}

// Another client's change to the batches, left uncommitted: their rows stay locked.
const QString HoldBatches = QStringLiteral("UPDATE batches SET name = name");

} // namespace

class TestShared : public QObject
{
    Q_OBJECT

private slots:
    // Each address is read as a file or a server, and a server's is written back as it is read;
    // one with a password, or a setting Ardovin does not pass on, is refused.
    void addresses_data() { AddRows({"given", "read"}, ARDOVIN_TESTS "/storage/addresses.rows"); }
    void addresses()
    {
        const auto [given, read] = Cells("given", "read");
        QString error;
        QCOMPARE(IsServerAddress(given), read != u"file");
        const std::optional<ServerAddress> address =
            IsServerAddress(given) ? ReadServerAddress(given, error) : std::nullopt;
        QCOMPARE(address ? address->text() : error.isEmpty() ? u"file"_qs : error, read);
        QVERIFY(!address || ReadServerAddress(address->text(), error) == address);
    }

    // What keeps a shared cellar from opening, in the user's words; where it is a password,
    // the window knows to ask for one.
    void refused_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("needsPassword");
        const QString upgrade = "ardovin --upgrade-cellar \"<address>\"";
        QTest::newRow("not a cellar") << "cellar_user"
                                      << ""
                                      << "The database of <address> is not a cellar book." << false;
        QTest::newRow("no cellar yet")
            << "cellar_user"
            << ""
            << "The database of <address> holds no cellar book yet. Its owner makes one with:\n" +
                   upgrade
            << false;
        QTest::newRow("earlier schema")
            << "cellar_user"
            << ""
            << "The shared cellar <address> was made by an earlier Ardovin. The owner of its "
               "schema must bring it up to date with:\n" +
                   upgrade
            << false;
        QTest::newRow("no grants")
            << "cellar_user"
            << ""
            << "The role cellar_user may not read the shared cellar <address>: its owner grants it."
            << false;
        QTest::newRow("no database")
            << "cellar_user"
            << ""
            << "The shared cellar <address> cannot be opened: connection to server on socket "
               "\"<server>/.s.PGSQL.5432\" failed: FATAL:  database \"no_database\" does not exist"
            << false;
        QTest::newRow("no server")
            << "cellar_user"
            << ""
            << "The shared cellar <address> cannot be opened: connection to server on socket "
               "\"<server>/.s.PGSQL.5432\" failed: No such file or directory"
            << false;
        QTest::newRow("no password given")
            << "cellar_password"
            << ""
            << "The shared cellar <address> cannot be opened: connection to server on socket "
               "\"<server>/.s.PGSQL.5432\" failed: fe_sendauth: no password supplied"
            << true;
        QTest::newRow("wrong password")
            << "cellar_password"
            << "grape"
            << "The shared cellar <address> cannot be opened: connection to server on socket "
               "\"<server>/.s.PGSQL.5432\" failed: FATAL:  password authentication failed for "
               "user \"cellar_password\""
            << true;
    }
    void refused()
    {
        QFETCH(QString, role);
        QFETCH(QString, password);
        QFETCH(QString, reason);
        QFETCH(bool, needsPassword);
        const QByteArray row = QTest::currentDataTag();
        const QString database = QString::fromLatin1(row).replace(u' ', u'_');
        QString server = ServerFolder(), address = SharedAddress(database, role);
        if (row == "no server") {
            address.replace(server, server + "/gone");
            server += "/gone";
        } else if (row == "no grants")
            OnServer("postgres", "admin",
                     {"DROP DATABASE IF EXISTS " + database,
                      "CREATE DATABASE " + database + " OWNER cellar_owner"});
        else if (row != "no database")
            NewDatabase(database);
        if (row == "not a cellar")
            OnServer(database, "cellar_owner", {"CREATE TABLE orders (id INTEGER)"});
        if (row == "earlier schema" || row == "no grants")
            QVERIFY(UpgradeSharedCellar(Address(SharedAddress(database, "cellar_owner")), {}).done);
        if (row == "earlier schema")
            OnServer(database, "cellar_owner", {"UPDATE ardovin_schema SET version = 1"});
        OpenFailure failure;
        QVERIFY(!OpenCellar(address, password, failure));
        const QString expected =
            reason.replace("<address>", Address(address).text()).replace("<server>", server);
        QVERIFY2(failure.reason.startsWith(expected),
                 qPrintable(failure.reason + "\nnot\n" + expected));
        QCOMPARE(failure.needsPassword, needsPassword);
    }

    // A reader sees the records and changes none; a role with a password opens with it, which
    // its address never shows.
    void roles()
    {
        const QString address = NewSharedCellar("roles");
        Batch riesling = Riesling();
        QVERIFY(!Open(address)->save(riesling));
        const QString reading = SharedAddress("roles", "cellar_reader");
        auto reader = Open(reading);
        QCOMPARE(reader->readOnlyReason(), "the role cellar_reader may only read it");
        QCOMPARE(reader->batches(false).list, QList{riesling});
        QCOMPARE(reader->save(riesling),
                 reading + " can only be read: the role cellar_reader may only read it");
        auto withPassword = Open(SharedAddress("roles", "cellar_password"), "grape must");
        QCOMPARE(withPassword->location(), SharedAddress("roles", "cellar_password"));
        QCOMPARE(withPassword->connectionNote(),
                 "connected through this computer's own socket, which needs no encryption");
        riesling.volume = 1150;
        QVERIFY(!withPassword->save(riesling));
        QCOMPARE(Open(address)->batches(false).list, QList{riesling});
    }

    // Only the schema's owner upgrades it, keeping every record; another role's attempt leaves
    // it as it was, and an up-to-date schema is left alone.
    void upgradedByItsOwner()
    {
        NewDatabase("earlier");
        QStringList version1 = sql::MigrationStep(sql::Postgres, 0);
        version1 << "CREATE TABLE ardovin_schema (application TEXT NOT NULL, version INTEGER "
                    "NOT NULL)"
                 << "INSERT INTO ardovin_schema VALUES ('Ardovin cellar book', 1)"
                 << "INSERT INTO batches (version, name, volume, unit, colour, residual_sugar, "
                    "rules, archived) VALUES (1, 'Merlot 2025', 225, 'L', 'red', 2, 'EU', 0)";
        OnServer("earlier", "cellar_owner", version1);
        const QString owner = SharedAddress("earlier", "cellar_owner");
        const Upgrade byUser =
            UpgradeSharedCellar(Address(SharedAddress("earlier", "cellar_user")), {});
        QVERIFY(!byUser.done);
        QVERIFY2(byUser.message.contains("must be owner of table batches"),
                 qPrintable(byUser.message));
        QCOMPARE(OnServer("earlier", "cellar_owner", {"SELECT version FROM ardovin_schema"}), 1);
        QCOMPARE(UpgradeSharedCellar(Address(owner), {}).message,
                 "The shared cellar " + owner + " was brought from version 1 to 2.");
        const QList<Batch> batches =
            Open(SharedAddress("earlier", "cellar_user"))->batches(false).list;
        QCOMPARE(batches.size(), 1);
        QCOMPARE(std::tuple(batches[0].name, batches[0].type, batches[0].volume),
                 std::tuple(QString("Merlot 2025"), WineType::Still, 225.0));
        QCOMPARE(UpgradeSharedCellar(Address(owner), {}).message,
                 "The shared cellar " + owner + " is up to date (version 2).");
        OnServer("earlier", "cellar_owner", {"UPDATE ardovin_schema SET version = 3"});
        const Upgrade newer = UpgradeSharedCellar(Address(owner), {});
        QCOMPARE(std::tuple(newer.done, newer.message),
                 std::tuple(false, "The shared cellar " + owner +
                                       " is at version 3, newer than this Ardovin's 2; it is "
                                       "left as it is."));
        NewDatabase("made");
        QCOMPARE(UpgradeSharedCellar(Address(SharedAddress("made", "cellar_owner")), {}).message,
                 "The shared cellar " + SharedAddress("made", "cellar_owner") +
                     " was made (version 2).");
    }

    // The server stops at once while a save waits inside its transaction: the save is refused,
    // the record keeps what was typed and is not taken for saved, reading says the server is out
    // of reach; once the server is back the same cellar saves it, without opening it again.
    void serverStoppedAndBack()
    {
        const QString address = NewSharedCellar("stopped");
        auto cellar = Open(address);
        Batch riesling = Riesling();
        QVERIFY(!cellar->save(riesling));
        {
            QSqlDatabase holder = Holding("stopped", HoldBatches);
            QProcess stopper;
            stopper.start("sh", {"-c", "sleep 1; exec \"$0\" kill \"$1\"", TEST_SERVER_SCRIPT,
                                 TEST_SERVER_STATE});
            riesling.volume = 1150;
            const Failure failure = cellar->save(riesling);
            QVERIFY(stopper.waitForFinished(60000) && stopper.exitCode() == 0);
            QVERIFY2(failure && failure->startsWith("The change could not be saved in " + address +
                                                    ": the server cannot be reached: "),
                     qPrintable(failure.value_or("saved")));
        }
        QCOMPARE(std::tuple(riesling.version, riesling.volume), std::tuple(1, 1150.0));
        const Records<Batch> read = cellar->batches(false);
        QVERIFY2(read.failure &&
                     read.failure->startsWith(address +
                                              " could not be read: the server cannot be reached: "),
                 qPrintable(read.failure.value_or("read")));
        Server("restart");
        QVERIFY(!cellar->save(riesling));
        QCOMPARE(Open(address)->batches(false).list, QList{riesling});
    }

    // Another client's change is told at once; the cellar's own is not. A cellar that connects
    // again after the server was restarted tells of the changes it may have missed, and hears
    // of the next ones. The same for a cellar on a thread of its own, which tells them on the
    // caller's thread.
    void othersChangesTold_data()
    {
        QTest::addColumn<bool>("threaded");
        QTest::newRow("direct") << false;
        QTest::newRow("on a thread") << true;
    }
    void othersChangesTold()
    {
        QFETCH(bool, threaded);
        const QString address = NewSharedCellar("told");
        OpenFailure failure;
        auto watched = threaded ? OpenCellarOnThread(address, {}, failure, {}) : Open(address);
        auto other = Open(address);
        QVERIFY2(watched, qPrintable(failure.reason));
        int told = 0;
        watched->watch([&] { ++told; });
        Batch riesling = Riesling();
        QVERIFY(!watched->save(riesling));
        QTest::qWait(300);
        QCOMPARE(told, 0);
        riesling.volume = 1100;
        QVERIFY(!other->save(riesling));
        QTRY_COMPARE(told, 1);
        Server("kill");
        Server("restart");
        QVERIFY(!watched->batches(false).failure);
        QTRY_COMPARE(told, 2);
        QVERIFY(!other->remove(riesling));
        QTRY_COMPARE(told, 3);
    }

    // A change another client makes while a call is under way is told once that call is done,
    // never amid it, where the window is in the middle of something.
    void toldBetweenCalls()
    {
        const QString address = NewSharedCellar("between");
        auto other = Open(address);
        int told = 0, toldAmidCall = -1;
        bool changeAmidCall = false;
        OpenFailure failure;
        auto watched = OpenCellarOnThread(address, {}, failure, [&](const auto& done) {
            while (!done())
                QThread::msleep(1);
            if (std::exchange(changeAmidCall, false)) {
                Batch riesling = Riesling();
                [&] { QVERIFY(!other->save(riesling)); }();
                QTest::qWait(500); // the server's notice comes in while the call is under way
                toldAmidCall = told;
            }
            return true;
        });
        QVERIFY2(watched, qPrintable(failure.reason));
        watched->watch([&] { ++told; });
        changeAmidCall = true;
        QVERIFY(!watched->batches(false).failure);
        QCOMPARE(toldAmidCall, 0);
        QTRY_COMPARE(told, 1);
    }

    // A cellar on a thread of its own leaves the caller's thread free while the server holds a
    // save back (here, on a row another client holds), and the save goes through after.
    void waitingLeavesTheCallerFree()
    {
        const QString address = NewSharedCellar("waiting");
        Batch riesling = Riesling();
        QVERIFY(!Open(address)->save(riesling));
        QSqlDatabase holder = Holding("waiting", HoldBatches);
        int turns = 0;
        bool holding = false;
        OpenFailure failure;
        auto cellar = OpenCellarOnThread(address, {}, failure, [&](const auto& done) {
            while (!done()) {
                if (holding && ++turns == 20)
                    holding = !holder.commit();
                QThread::msleep(5);
            }
            return true;
        });
        QVERIFY2(cellar, qPrintable(failure.reason));
        holding = true;
        riesling.volume = 1150;
        QVERIFY(!cellar->save(riesling));
        QCOMPARE(std::tuple(turns, holding, riesling.version), std::tuple(20, false, 2));
        QCOMPARE(Open(address)->batches(false).list, QList{riesling});
    }

    // No statement waits on the server longer than its time limit: a save held back by another
    // client's open transaction gives up, is reported, and is not taken for saved.
    void heldSaveGivesUp()
    {
        const QString address = NewSharedCellar("held");
        auto cellar = Open(address);
        Batch riesling = Riesling();
        QVERIFY(!cellar->save(riesling));
        QSqlDatabase holder = Holding("held", HoldBatches);
        riesling.volume = 1100;
        const Failure failure = cellar->save(riesling);
        QVERIFY2(failure && failure->contains("canceling statement due to"),
                 qPrintable(failure.value_or("saved")));
        QCOMPARE(riesling.version, 1);
        QVERIFY(holder.rollback());
    }

    // Stopping to wait reports the save as not made and leaves the record as typed; closing
    // the cellar then does not wait for the server either. The server still makes the change
    // once the row is let go, as the message says it may.
    void stoppedWaiting()
    {
        const QString address = NewSharedCellar("stopped_waiting");
        Batch riesling = Riesling();
        QVERIFY(!Open(address)->save(riesling));
        bool stop = false;
        OpenFailure failure;
        auto cellar = OpenCellarOnThread(address, {}, failure, [&](const auto& done) {
            while (!stop && !done())
                QThread::msleep(1);
            return !stop;
        });
        QVERIFY2(cellar, qPrintable(failure.reason));
        QSqlDatabase holder = Holding("stopped_waiting", HoldBatches);
        stop = true;
        riesling.volume = 1100;
        QCOMPARE(cellar->save(riesling),
                 "You stopped waiting for the server. What was asked of it may still be done: the "
                 "window reads the records again when the server answers. Look there before asking "
                 "again.");
        QCOMPARE(riesling.version, 1);
        cellar.reset();
        // Closed at once: the save still waits on the row, however soon it reached the server.
        QTRY_COMPARE(OnServer("stopped_waiting", "admin",
                              {"SELECT count(*) FROM pg_stat_activity WHERE datname = "
                               "'stopped_waiting' AND wait_event_type = 'Lock'"})
                         .toInt(),
                     1);
        QVERIFY(holder.commit());
        QTRY_COMPARE(Open(address)->batches(false).list.value(0).volume, 1100.0);
    }

    // A local cellar book copied to a shared one and back holds the same records, archived
    // batches too, each entry as it was; the counts read back are shown. A name taken where it
    // is copied to gets a number.
    void copiedThereAndBack()
    {
        QTemporaryDir folder;
        const QString local = folder.filePath("cellar.sqlite"),
                      back = folder.filePath("back.sqlite");
        QList<BatchRecords> records{{Riesling(), {}}, {Riesling(), {}}};
        std::tie(records[1].batch.name, records[1].batch.archived) =
            std::tuple("Merlot 2024", true);
        for (int n = 0; n < 3; ++n) {
            Entry e;
            e.at = QDateTime(QDate(2026, 10, 1 + n), QTime(8, 15), Qt::UTC);
            e.kind = n == 1 ? EntryKind::Addition : EntryKind::Measurement;
            e.volume = 1200 - n;
            std::tie(e.ph, e.freeSO2, e.note) = std::tuple(3.31 + n / 100.0, 21.5, "tank \"4\"");
            if (n == 1)
                std::tie(e.compound, e.form, e.amount, e.amountUnit, e.so2Added) =
                    std::tuple(SulphiteSource::PotassiumMetabisulphite, SourceForm::Powder, 60.0,
                               AdditionUnit::Grams, 28.46);
            records[0].entries.prepend(e);
        }
        QVERIFY(!Open(local)->saveAll(records));
        const QString shared = NewSharedCellar("copied");
        const CopyReport there = CopyCellar(*Open(local), *Open(shared));
        QCOMPARE(there.message, "Copied 2 batches with 3 entries from " + local + " to " + shared +
                                    ". Read back from " + shared +
                                    ": 2 batches with 3 entries, as in " + local + ".");
        QVERIFY(there.done);
        QVERIFY(CopyCellar(*Open(shared), *Open(back)).done);
        const auto same = [](const QString& a, const QString& b) {
            const auto strip = [](const QString& location) {
                auto cellar = Open(location);
                QList<BatchRecords> all;
                for (Batch batch : cellar->batches(true).list) {
                    QList<Entry> entries = cellar->entries(batch.id).list;
                    for (Entry& e : entries)
                        std::tie(e.id, e.version, e.batchId) = std::tuple(0, 0, 0);
                    std::tie(batch.id, batch.version) = std::tuple(0, 0);
                    all << BatchRecords{batch, entries};
                }
                return all;
            };
            return strip(a) == strip(b);
        };
        QVERIFY(same(local, shared));
        QVERIFY(same(local, back));
        const CopyReport again = CopyCellar(*Open(local), *Open(back));
        QVERIFY(again.done);
        QVERIFY2(again.message.contains(
                     " 2 of them took a number after their names, as the names were taken."),
                 qPrintable(again.message));
        QCOMPARE(Open(back)->batches(true).list.size(), 4);
        const QString one = folder.filePath("one.sqlite");
        Entry first = records[0].entries.first();
        std::tie(first.id, first.version, first.batchId) = std::tuple(0, 0, 0);
        QList<BatchRecords> single{{Riesling(), {first}}};
        QVERIFY(!Open(one)->saveAll(single));
        QVERIFY(CopyCellar(*Open(one), *Open(shared))
                    .message.contains(": 1 batch with 1 entry, as in "));
    }

    void cleanup() { QSqlDatabase::removeDatabase("holder"); }
};

QTEST_GUILESS_MAIN(TestShared)
#include "test_shared.moc"
