#include "storage/sql_cellar.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>

namespace ardovin {

namespace {

// Marks a SQLite file as a cellar book ("ARDV"), so that another program's database is told
// apart from an empty one.
constexpr qint64 ApplicationId = 0x41524456;

QVariant Pragma(const QSqlDatabase& db, const QString& pragma)
{
    return sql::FirstValue(db, QStringLiteral("PRAGMA ") + pragma);
}

// Brings the file from its version to the program's, the file copied aside first.
QString Migrate(QSqlDatabase& db, const QString& path, qint64 from)
{
    if (from > 0) {
        const QString aside = QStringLiteral("%1.version%2").arg(path).arg(from);
        if (!QFile::exists(aside) && !QFile::copy(path, aside))
            return QStringLiteral("%1 could not be copied aside to %2 before it is brought up to "
                                  "date; it is left as it was.")
                .arg(path, aside);
    }
    const QString failure =
        sql::Migrate(db, sql::Sqlite, from,
                     {QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId),
                      QStringLiteral("PRAGMA user_version = %1").arg(sql::SchemaVersion())});
    return failure.isEmpty()
               ? failure
               : QStringLiteral("%1 could not be brought up to date: %2").arg(path, failure);
}

// Why the file's pages cannot be read, or empty where they can.
QString Unreadable(const QSqlDatabase& db, const QString& path)
{
    QSqlQuery check(db);
    const QString damaged = QStringLiteral("%1 is damaged and is left as it is: %2");
    if (check.exec(QStringLiteral("PRAGMA quick_check")) && check.next())
        return check.value(0).toString() == QLatin1StringView("ok")
                   ? QString()
                   : damaged.arg(path, check.value(0).toString());
    // Only a file SQLite finds no database in, or finds corrupt (SQLITE_NOTADB, SQLITE_CORRUPT),
    // is damaged; a lock another program holds, or the system refusing it, says nothing of it.
    const int code = check.lastError().nativeErrorCode().toInt() & 0xff;
    return (code == 26 || code == 11 ? damaged : QStringLiteral("%1 cannot be read: %2"))
        .arg(path, check.lastError().databaseText());
}

// The reason a file is not a cellar book to open, or empty: it is one, or there is no file.
QString NotACellar(const QFileInfo& file)
{
    if (!file.exists())
        return {};
    if (!file.isFile())
        return QStringLiteral("%1 is not a file.").arg(file.filePath());
    QFile bytes(file.filePath());
    if (!bytes.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 cannot be read: %2").arg(file.filePath(), bytes.errorString());
    if (bytes.read(16) != QByteArray("SQLite format 3", 16))
        return QStringLiteral("%1 is not a cellar book.").arg(file.filePath());
    return {};
}

} // namespace

QString DefaultCellarPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/cellar.sqlite");
}

std::unique_ptr<Cellar> OpenSqliteCellar(const QString& path, QString& error)
{
    const QFileInfo file(path);
    error = NotACellar(file);
    if (!error.isEmpty())
        return nullptr;
    if (!file.exists() && !QDir().mkpath(file.absolutePath())) {
        error = QStringLiteral("The folder of %1 cannot be made.").arg(path);
        return nullptr;
    }
    const bool writable =
        QFileInfo(file.absolutePath()).isWritable() && (!file.exists() || file.isWritable());
    QString readOnly = writable ? QString() : QStringLiteral("the file or its folder is read-only");
    if (!file.exists() && !writable) {
        error = QStringLiteral("%1 cannot be made: its folder is read-only.").arg(path);
        return nullptr;
    }
    const QString connection = sql::NewConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    // SQLite reads a file kept with a write-ahead log only beside the log and its index, which a
    // read-only folder cannot take. Where there is no log the file holds every change, and no
    // change can be made in such a folder: the file is read as one that does not change.
    const bool unchanging = !QFileInfo(file.absolutePath()).isWritable() &&
                            !QFile::exists(path + QStringLiteral("-wal"));
    db.setDatabaseName(
        unchanging ? QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                         QStringLiteral("?immutable=1")
                   : path);
    const auto open = [&](bool readOnlyMode) {
        db.close();
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000") +
                             (readOnlyMode ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()) +
                             (unchanging ? QStringLiteral(";QSQLITE_OPEN_URI") : QString()));
        return db.open();
    };
    const auto refuse = [&](const QString& reason) {
        error = reason;
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
        return nullptr;
    };
    if (!open(!writable))
        return refuse(QStringLiteral("%1 cannot be opened: %2").arg(path, db.lastError().text()));
    if (const QString reason = Unreadable(db, path); !reason.isEmpty())
        return refuse(reason);
    const qint64 application = Pragma(db, QStringLiteral("application_id")).toLongLong();
    const qint64 version = Pragma(db, QStringLiteral("user_version")).toLongLong();
    QSqlQuery tables(db);
    const bool empty = tables.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
                       tables.next() && tables.value(0).toInt() == 0;
    tables.finish();
    if (!(empty && application == 0) && application != ApplicationId)
        return refuse(QStringLiteral("%1 is not a cellar book.").arg(path));
    if (version > sql::SchemaVersion()) {
        readOnly = QStringLiteral("it was made by a newer Ardovin");
        if (!open(true))
            return refuse(
                QStringLiteral("%1 cannot be opened: %2").arg(path, db.lastError().text()));
    } else if (version < sql::SchemaVersion()) {
        if (!readOnly.isEmpty())
            return refuse(
                QStringLiteral("%1 needs to be brought up to date, but %2.").arg(path, readOnly));
        if (const QString failure = Migrate(db, path, version); !failure.isEmpty())
            return refuse(failure);
    }
    if (readOnly.isEmpty()) {
        // A change reported saved is on disk, and a reader never waits for a writer.
        (void)Pragma(db, QStringLiteral("journal_mode = WAL"));
        (void)Pragma(db, QStringLiteral("synchronous = FULL"));
    }
    (void)Pragma(db, QStringLiteral("foreign_keys = ON"));
    return sql::NewSqlCellar(sql::Sqlite, connection, path, readOnly);
}

} // namespace ardovin
