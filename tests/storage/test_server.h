#pragma once
// The suite's private PostgreSQL server, which CTest starts before the tests that need it and
// removes after: its socket folder, and shared cellars made on it as a winery makes them.
#include "storage/cellar.h"
#include "tests/support.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace ardovin::test {

// The folder of the server's socket; empty (and the test failing) where CTest started none.
inline QString ServerFolder()
{
    const QString folder = QString::fromUtf8(ReadFile(TEST_SERVER_STATE)).trimmed();
    [&] {
        QVERIFY2(!folder.isEmpty(), "the test server is not running: run the tests by ctest");
    }();
    return folder;
}

// A connection of another client's to a database, as a role, under a name of its own.
inline QSqlDatabase Connected(const QString& name, const QString& database, const QString& role)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(ServerFolder());
    db.setDatabaseName(database);
    db.setUserName(role);
    [&] { QVERIFY2(db.open(), qPrintable(db.lastError().text())); }();
    return db;
}

// Another client, as cellar_user, in a transaction left open after `statement`: what it locks
// stays locked until the connection "holder" commits or rolls back.
inline QSqlDatabase Holding(const QString& database, const QString& statement)
{
    QSqlDatabase holder = Connected("holder", database, "cellar_user");
    [&] { QVERIFY(holder.transaction() && QSqlQuery(holder).exec(statement)); }();
    return holder;
}

// Runs statements on a database as a role, outside Ardovin; returns the last one's first value.
inline QVariant OnServer(const QString& database, const QString& role,
                         const QStringList& statements)
{
    QVariant last;
    {
        QSqlDatabase db = Connected("server", database, role);
        QSqlQuery q(db);
        for (const QString& statement : statements) {
            [&] { QVERIFY2(q.exec(statement), qPrintable(statement + q.lastError().text())); }();
            last = q.next() ? q.value(0) : QVariant();
        }
    }
    QSqlDatabase::removeDatabase("server");
    return last;
}

// The address of a database on the server, as the role.
inline QString SharedAddress(const QString& database, const QString& role)
{
    return QStringLiteral("postgresql://%1@/%2?host=%3").arg(role, database, ServerFolder());
}

// A new, empty database that cellar_owner owns, with the grants the manual sets up: cellar_user
// and cellar_password read and write rows, cellar_reader reads them.
inline void NewDatabase(const QString& database)
{
    OnServer("postgres", "admin",
             {"DROP DATABASE IF EXISTS " + database,
              "CREATE DATABASE " + database + " OWNER cellar_owner"});
    OnServer(database, "cellar_owner",
             {"ALTER DEFAULT PRIVILEGES GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO "
              "cellar_user, cellar_password",
              "ALTER DEFAULT PRIVILEGES GRANT USAGE ON SEQUENCES TO cellar_user, cellar_password",
              "ALTER DEFAULT PRIVILEGES GRANT SELECT ON TABLES TO cellar_reader"});
}

// A new shared cellar, its schema made by its owner's command; returns its address as
// cellar_user.
inline QString NewSharedCellar(const QString& database)
{
    NewDatabase(database);
    QString error;
    const Upgrade made = UpgradeSharedCellar(
        *ReadServerAddress(SharedAddress(database, "cellar_owner"), error), QString());
    [&] { QVERIFY2(made.done, qPrintable(made.message)); }();
    return SharedAddress(database, "cellar_user");
}

// Stops the server at once, as a power cut does, or starts it again.
inline void Server(const char* command)
{
    QProcess script;
    // The system's own programs, whatever PATH a test has set for the program it tests.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", "/usr/sbin:/usr/bin:/sbin:/bin");
    script.setProcessEnvironment(environment);
    script.start(TEST_SERVER_SCRIPT, {command, TEST_SERVER_STATE});
    [&] {
        QVERIFY2(script.waitForFinished(60000) && script.exitCode() == 0,
                 script.readAllStandardError());
    }();
}

} // namespace ardovin::test
