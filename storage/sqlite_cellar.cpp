#include "storage/cellar.h"

#include <functional>
#include <iterator>
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

// The schema, one step a version: step N brings a file from version N to N + 1. A file is
// copied aside before it is brought up to date.
const QStringList Migrations[] = {
    {
        "CREATE TABLE batches (id INTEGER PRIMARY KEY, version INTEGER NOT NULL, "
        "name TEXT NOT NULL, volume REAL NOT NULL, unit TEXT NOT NULL, colour TEXT NOT NULL, "
        "residual_sugar REAL NOT NULL, rules TEXT NOT NULL, molecular_target REAL, "
        "archived INTEGER NOT NULL)",
        "CREATE TABLE entries (id INTEGER PRIMARY KEY, version INTEGER NOT NULL, "
        "batch_id INTEGER NOT NULL REFERENCES batches(id) ON DELETE CASCADE, at TEXT NOT NULL, "
        "kind TEXT NOT NULL, volume REAL NOT NULL, note TEXT NOT NULL, ph REAL, free_so2 REAL, "
        "total_so2 REAL, method TEXT NOT NULL, compound TEXT, form TEXT, strength REAL, "
        "amount REAL, amount_unit TEXT, so2_added REAL)",
        "CREATE INDEX entries_by_batch ON entries(batch_id, at)",
        "CREATE INDEX entries_by_kind ON entries(batch_id, kind, at)",
    },
    {
        // The legal limits tell still wines from the others; every batch before was taken as
        // still.
        "ALTER TABLE batches ADD COLUMN wine_type TEXT NOT NULL DEFAULT 'still'",
    },
};
constexpr qint64 SchemaVersion = std::size(Migrations);

// The columns each record is stored in besides its id and version, in the order it is read.
constexpr const char* BatchColumns = "name, volume, unit, colour, residual_sugar, rules, "
                                     "molecular_target, archived, wine_type";
constexpr const char* EntryColumns = "batch_id, at, kind, volume, note, ph, free_so2, total_so2, "
                                     "method, compound, form, strength, amount, amount_unit, "
                                     "so2_added";

template <typename Choice> QString Saved(Choice choice)
{
    return QString::fromUtf8(RowOf(choice).savedText);
}
// A word the file holds that names no member of the table is read as its first.
template <typename Row, std::size_t N>
Row FromSaved(const std::array<Row, N>& table, const QString& text)
{
    return RowByText(table, &Row::savedText, text).value_or(table[0]);
}

QVariant Value(const std::optional<double>& number)
{
    return number ? QVariant(*number) : QVariant(QMetaType::fromType<double>());
}

// A text for a column that holds no NULL: Qt SQL binds a null QString as NULL.
QVariant Text(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

std::optional<double> Number(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional(value.toDouble());
}

template <typename Choice> QVariant ChoiceText(const std::optional<Choice>& choice)
{
    return choice ? QVariant(ListText(*choice)) : QVariant(QMetaType::fromType<QString>());
}

class SqliteCellar final : public Cellar
{
public:
    SqliteCellar(QString path, const QString& connection, QString readOnly)
        : Path(std::move(path)), Connection(connection), ReadOnly(std::move(readOnly))
    {
    }
    ~SqliteCellar() override { QSqlDatabase::removeDatabase(Connection); }

    QString location() const override { return Path; }
    QString readOnlyReason() const override { return ReadOnly; }

    Records<Batch> batches(bool withArchived) const override
    {
        QList<Batch> list;
        QSqlQuery q =
            Run(QStringLiteral("SELECT id, version, %1, (SELECT max(at) FROM entries WHERE "
                               "batch_id = batches.id AND kind = ?) FROM batches "
                               "WHERE archived = 0 OR ? ORDER BY name, id")
                    .arg(QLatin1StringView(BatchColumns)),
                {Saved(EntryKind::Measurement), withArchived});
        while (q.next()) {
            Batch b;
            std::tie(b.id, b.version) =
                std::tuple(q.value(0).toLongLong(), q.value(1).toLongLong());
            b.name = q.value(2).toString();
            b.volume = q.value(3).toDouble();
            b.unit = BatchUnitFromText(q.value(4).toString()).value_or(BatchUnit::Litre);
            b.colour = FromSaved(Colours, q.value(5).toString()).colour;
            b.residualSugar = q.value(6).toDouble();
            b.rules = FromSaved(RuleSets, q.value(7).toString()).rules;
            b.molecularTarget = Number(q.value(8));
            b.archived = q.value(9).toBool();
            b.type = FromSaved(WineTypes, q.value(10).toString()).type;
            if (!q.value(11).isNull())
                b.lastMeasured = QDateTime::fromString(q.value(11).toString(), Qt::ISODateWithMs);
            list << b;
        }
        return Read(q, list);
    }

    Records<Entry> entries(qint64 batchId) const override
    {
        QList<Entry> list;
        QSqlQuery q = Run(QStringLiteral("SELECT id, version, %1 FROM entries WHERE batch_id = ? "
                                         "ORDER BY at DESC, id DESC")
                              .arg(QLatin1StringView(EntryColumns)),
                          {batchId});
        while (q.next()) {
            Entry e;
            e.id = q.value(0).toLongLong();
            e.version = q.value(1).toLongLong();
            e.batchId = q.value(2).toLongLong();
            e.at = QDateTime::fromString(q.value(3).toString(), Qt::ISODateWithMs);
            e.kind = FromSaved(EntryKinds, q.value(4).toString()).kind;
            e.volume = q.value(5).toDouble();
            e.note = q.value(6).toString();
            e.ph = Number(q.value(7));
            e.freeSO2 = Number(q.value(8));
            e.totalSO2 = Number(q.value(9));
            e.method = q.value(10).toString();
            e.compound = SourceFromText(q.value(11).toString());
            e.form = FormFromText(q.value(12).toString());
            e.strength = Number(q.value(13));
            e.amount = Number(q.value(14));
            e.amountUnit = AdditionUnitFromText(q.value(15).toString());
            e.so2Added = Number(q.value(16));
            list << e;
        }
        return Read(q, list);
    }

    Failure save(Batch& b) override { return Save("batches", BatchColumns, b); }

    Failure remove(const Batch& b) override
    {
        return Change([&] { return Delete("batches", b.id, b.version); });
    }

    Failure save(Entry& e) override { return Save("entries", EntryColumns, e); }

    Failure saveAll(QList<BatchRecords>& batches) override
    {
        QList<BatchRecords> stored = batches;
        Failure failure = Change([&]() -> Failure {
            for (auto& [batch, entries] : stored) {
                if (Failure f =
                        Put("batches", BatchColumns, Values(batch), batch.id, batch.version))
                    return f;
                for (Entry& e : entries) {
                    e.batchId = batch.id;
                    if (Failure f = Put("entries", EntryColumns, Values(e), e.id, e.version))
                        return f;
                }
            }
            return std::nullopt;
        });
        if (!failure)
            batches = stored;
        return failure;
    }

    Failure remove(const Entry& e) override
    {
        return Change([&] { return Delete("entries", e.id, e.version); });
    }

private:
    template <typename Record>
    Records<Record> Read(const QSqlQuery& q, const QList<Record>& list) const
    {
        if (q.lastError().isValid())
            return {{}, QStringLiteral("%1 could not be read: %2").arg(Path, q.lastError().text())};
        return {list, std::nullopt};
    }

    QSqlDatabase Db() const { return QSqlDatabase::database(Connection, false); }

    QSqlQuery Run(const QString& sql, const QVariantList& values) const
    {
        QSqlQuery q(Db());
        if (q.prepare(sql)) {
            for (const QVariant& value : values)
                q.addBindValue(value);
            (void)q.exec(); // the caller reads q.lastError()
        }
        return q;
    }

    // One change, in a transaction of its own: on disk when it is reported saved.
    Failure Change(const std::function<Failure()>& change)
    {
        if (!ReadOnly.isEmpty())
            return QStringLiteral("%1 can only be read: %2").arg(Path, ReadOnly);
        QSqlDatabase db = Db();
        // IMMEDIATE takes the write lock at once, so that two writers wait rather than fail.
        if (QSqlQuery begin(db); !begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return Described(begin.lastError().text());
        Failure failure = change();
        if (!failure && !db.commit())
            failure = db.lastError().text();
        if (failure) {
            (void)db.rollback(); // the change's own failure is the one to report
            return Described(*failure);
        }
        return std::nullopt;
    }

    QString Described(const QString& reason) const
    {
        return QStringLiteral("The change could not be saved in %1: %2").arg(Path, reason);
    }

    // One record in a change of its own. It takes its new id and version only once the change
    // is on disk: one rolled back stays as it was, to be saved again.
    template <typename Record> Failure Save(const char* table, const char* columns, Record& r)
    {
        qint64 id = r.id, version = r.version;
        Failure failure = Change([&] { return Put(table, columns, Values(r), id, version); });
        if (!failure)
            std::tie(r.id, r.version) = std::tuple(id, version);
        return failure;
    }

    // A new row, given its id; or a row changed only at the version it was read at. Either
    // way the version moves on. Part of a change.
    Failure Put(const char* table, const char* columns, const QVariantList& values, qint64& id,
                qint64& version)
    {
        return id == 0 ? Insert(table, columns, values, id, version)
                       : Update(table, columns, values, id, version);
    }

    // What each record stores, in the order of its columns.
    static QVariantList Values(const Batch& b)
    {
        return {Text(b.name),    b.volume,       ListText(b.unit),         Saved(b.colour),
                b.residualSugar, Saved(b.rules), Value(b.molecularTarget), b.archived,
                Saved(b.type)};
    }
    static QVariantList Values(const Entry& e)
    {
        return {e.batchId,          e.at.toUTC().toString(Qt::ISODateWithMs),
                Saved(e.kind),      e.volume,
                Text(e.note),       Value(e.ph),
                Value(e.freeSO2),   Value(e.totalSO2),
                Text(e.method),     ChoiceText(e.compound),
                ChoiceText(e.form), Value(e.strength),
                Value(e.amount),    ChoiceText(e.amountUnit),
                Value(e.so2Added)};
    }

    Failure Insert(const char* table, const char* columns, const QVariantList& values, qint64& id,
                   qint64& version)
    {
        QSqlQuery q = Run(QStringLiteral("INSERT INTO %1 (%2, version) VALUES (%3 1)")
                              .arg(QLatin1StringView(table), QLatin1StringView(columns),
                                   QStringLiteral("?, ").repeated(values.size())),
                          values);
        if (q.lastError().isValid())
            return q.lastError().text();
        id = q.lastInsertId().toLongLong();
        version = 1;
        return std::nullopt;
    }

    Failure Update(const char* table, const char* columns, QVariantList values, qint64 id,
                   qint64& version)
    {
        const QString assignments = QString::fromLatin1(columns).split(u',').join(u" = ?,");
        values << id << version;
        QSqlQuery q = Run(QStringLiteral("UPDATE %1 SET %2 = ?, version = version + 1 "
                                         "WHERE id = ? AND version = ?")
                              .arg(QLatin1StringView(table), assignments),
                          values);
        if (q.lastError().isValid())
            return q.lastError().text();
        if (q.numRowsAffected() == 0)
            return Stale(table, id);
        ++version;
        return std::nullopt;
    }

    Failure Delete(const char* table, qint64 id, qint64 version)
    {
        QSqlQuery q = Run(QStringLiteral("DELETE FROM %1 WHERE id = ? AND version = ?")
                              .arg(QLatin1StringView(table)),
                          {id, version});
        if (q.lastError().isValid())
            return q.lastError().text();
        return q.numRowsAffected() == 0 ? Failure(Stale(table, id)) : std::nullopt;
    }

    QString Stale(const char* table, qint64 id) const
    {
        QSqlQuery q = Run(
            QStringLiteral("SELECT count(*) FROM %1 WHERE id = ?").arg(QLatin1StringView(table)),
            {id});
        return q.next() && q.value(0).toInt() > 0
                   ? QStringLiteral("it was changed elsewhere since it was read")
                   : QStringLiteral("it was deleted elsewhere");
    }

    QString Path;
    QString Connection;
    QString ReadOnly;
};

QVariant Pragma(const QSqlDatabase& db, const QString& pragma)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("PRAGMA ") + pragma) && q.next() ? q.value(0) : QVariant();
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
    QSqlQuery q(db);
    bool ok = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    for (qint64 step = from; ok && step < SchemaVersion; ++step)
        for (const QString& statement : Migrations[step])
            ok = ok && q.exec(statement);
    ok = ok && q.exec(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId)) &&
         q.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)) &&
         q.exec(QStringLiteral("COMMIT"));
    if (ok)
        return {};
    const QString reason = q.lastError().text();
    (void)q.exec(QStringLiteral("ROLLBACK"));
    return QStringLiteral("%1 could not be brought up to date: %2").arg(path, reason);
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

QString NewConnectionName()
{
    static int opened = 0;
    return QStringLiteral("cellar%1").arg(++opened);
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
    const QString connection = NewConnectionName();
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
    if (version > SchemaVersion) {
        readOnly = QStringLiteral("it was made by a newer Ardovin");
        if (!open(true))
            return refuse(
                QStringLiteral("%1 cannot be opened: %2").arg(path, db.lastError().text()));
    } else if (version < SchemaVersion) {
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
    return std::make_unique<SqliteCellar>(path, connection, readOnly);
}

} // namespace ardovin
