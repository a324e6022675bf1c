#include "storage/sql_cellar.h"

#include <atomic>
#include <iterator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace ardovin::sql {

namespace {

// The schema, one step a version: step N brings a database from version N to N + 1. {id} and
// {real} are the dialect's identity and double columns.
const QStringList Migrations[] = {
    {
        "CREATE TABLE batches (id {id}, version INTEGER NOT NULL, "
        "name TEXT NOT NULL, volume {real} NOT NULL, unit TEXT NOT NULL, colour TEXT NOT NULL, "
        "residual_sugar {real} NOT NULL, rules TEXT NOT NULL, molecular_target {real}, "
        "archived INTEGER NOT NULL)",
        // Times are ISO 8601 text in UTC in either engine: they sort as they read, and no
        // server's time zone comes between what was saved and what is read.
        "CREATE TABLE entries (id {id}, version INTEGER NOT NULL, "
        "batch_id INTEGER NOT NULL REFERENCES batches(id) ON DELETE CASCADE, at TEXT NOT NULL, "
        "kind TEXT NOT NULL, volume {real} NOT NULL, note TEXT NOT NULL, ph {real}, "
        "free_so2 {real}, total_so2 {real}, method TEXT NOT NULL, compound TEXT, form TEXT, "
        "strength {real}, amount {real}, amount_unit TEXT, so2_added {real})",
        "CREATE INDEX entries_by_batch ON entries(batch_id, at)",
        "CREATE INDEX entries_by_kind ON entries(batch_id, kind, at)",
    },
    {
        // The legal limits tell still wines from the others; every batch before was taken as
        // still.
        "ALTER TABLE batches ADD COLUMN wine_type TEXT NOT NULL DEFAULT 'still'",
    },
};

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
// A word the database holds that names no member of the table is read as its first.
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

// What each record stores, in the order of its columns.
QVariantList Values(const Batch& b)
{
    return {Text(b.name),    b.volume,       ListText(b.unit),         Saved(b.colour),
            b.residualSugar, Saved(b.rules), Value(b.molecularTarget), int(b.archived),
            Saved(b.type)};
}
QVariantList Values(const Entry& e)
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

Batch ReadBatch(const QSqlQuery& q)
{
    Batch b;
    std::tie(b.id, b.version) = std::tuple(q.value(0).toLongLong(), q.value(1).toLongLong());
    b.name = q.value(2).toString();
    b.volume = q.value(3).toDouble();
    b.unit = BatchUnitFromText(q.value(4).toString()).value_or(BatchUnit::Litre);
    b.colour = FromSaved(Colours, q.value(5).toString()).colour;
    b.residualSugar = q.value(6).toDouble();
    b.rules = FromSaved(RuleSets, q.value(7).toString()).rules;
    b.molecularTarget = Number(q.value(8));
    b.archived = q.value(9).toInt() != 0;
    b.type = FromSaved(WineTypes, q.value(10).toString()).type;
    if (!q.value(11).isNull())
        b.lastMeasured = QDateTime::fromString(q.value(11).toString(), Qt::ISODateWithMs);
    return b;
}

Entry ReadEntry(const QSqlQuery& q)
{
    Entry e;
    std::tie(e.id, e.version) = std::tuple(q.value(0).toLongLong(), q.value(1).toLongLong());
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
    return e;
}

class SqlCellar final : public Cellar
{
public:
    SqlCellar(const Dialect& dialect, QString connection, QString location, QString readOnly,
              QString note, Reconnect reconnect)
        : Sql(dialect), Connection(std::move(connection)), Location(std::move(location)),
          ReadOnly(std::move(readOnly)), Note(std::move(note)), Again(std::move(reconnect))
    {
    }
    ~SqlCellar() override
    {
        Changed = nullptr;
        QSqlDatabase::removeDatabase(Connection);
    }

    QString location() const override { return Location; }
    QString readOnlyReason() const override { return ReadOnly; }
    QString connectionNote() const override { return Note; }

    void watch(std::function<void()> changed) override
    {
        Changed = std::move(changed);
        Subscribe();
    }

    Records<Batch> batches(bool withArchived) const override
    {
        return Retried([&] {
            QList<Batch> list;
            QSqlQuery q =
                Run(QStringLiteral("SELECT id, version, %1, (SELECT max(at) FROM entries WHERE "
                                   "batch_id = batches.id AND kind = ?) FROM batches "
                                   "WHERE archived = 0 OR ? ORDER BY name, id")
                        .arg(QLatin1StringView(BatchColumns)),
                    {Saved(EntryKind::Measurement), withArchived});
            while (q.next())
                list << ReadBatch(q);
            return Read(q, list);
        });
    }

    Records<Entry> entries(qint64 batchId) const override
    {
        return Retried([&] {
            QList<Entry> list;
            QSqlQuery q = Run(QStringLiteral("SELECT id, version, %1 FROM entries WHERE "
                                             "batch_id = ? ORDER BY at DESC, id DESC")
                                  .arg(QLatin1StringView(EntryColumns)),
                              {batchId});
            while (q.next())
                list << ReadEntry(q);
            return Read(q, list);
        });
    }

    Failure save(Batch& b) override { return Save("batches", BatchColumns, b); }

    Failure remove(const Batch& b) override
    {
        return Change([&] { return Delete("batches", b.id, b.version); });
    }

    Failure save(Entry& e) override { return Save("entries", EntryColumns, e); }

    Failure saveAll(QList<BatchRecords>& batches) override
    {
        QList<BatchRecords> stored;
        Failure failure = Change([&]() -> Failure {
            stored = batches;
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
            return {{},
                    QStringLiteral("%1 could not be read: %2")
                        .arg(Location, q.lastError().text().trimmed())};
        return {list, std::nullopt};
    }

    // A read that failed because the connection was lost is made again on a new one.
    template <typename ReadRecords>
    std::invoke_result_t<ReadRecords> Retried(ReadRecords read) const
    {
        const QString unread = QStringLiteral("%1 could not be read: %2");
        if (Closed() && !Regain())
            return {{}, unread.arg(Location, Unreachable())};
        auto records = read();
        if (records.failure && Lost()) {
            if (Regain())
                records = read();
            else
                records.failure = unread.arg(Location, Unreachable());
        }
        return records;
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

    // Whether the connection to a server is gone (stopped, restarted, out of reach). A file's
    // never is.
    bool Lost() const
    {
        if (!Again)
            return false;
        if (Closed())
            return true;
        QSqlQuery probe(Db());
        return !probe.exec(QStringLiteral("SELECT 1"));
    }

    // A server's connection that could not be made again when it was lost.
    bool Closed() const { return Again && !Db().isOpen(); }

    // Connects again; changes made meanwhile may have been missed, so the watcher is told.
    bool Regain() const
    {
        QSqlDatabase db = Db();
        LostReason = Again(db);
        if (!LostReason.isEmpty())
            return false;
        Subscribed = false;
        Subscribe();
        if (Changed)
            Changed();
        return true;
    }

    QString Unreachable() const
    {
        return QStringLiteral("the server cannot be reached: %1").arg(LostReason);
    }

    void Subscribe() const
    {
        if (!Changed || !*Sql.afterChange || Subscribed)
            return;
        QSqlDriver* driver = Db().driver();
        Subscribed = driver->subscribeToNotification(QString::fromLatin1(ChangesChannel));
        if (!Listening)
            QObject::connect(driver, &QSqlDriver::notification, driver,
                             [this](const QString&, QSqlDriver::NotificationSource source) {
                                 if (source == QSqlDriver::OtherSource && Changed)
                                     Changed();
                             });
        Listening = true;
    }

    // One change, in a transaction of its own: stored when it is reported saved. `change`
    // starts from what it was given each time it runs: a change cut off by a lost connection
    // is made once more on a new one, as the server has undone it.
    Failure Change(const std::function<Failure()>& change)
    {
        if (!ReadOnly.isEmpty())
            return QStringLiteral("%1 can only be read: %2").arg(Location, ReadOnly);
        if (Closed() && !Regain())
            return Described(Unreachable());
        for (int attempt = 0;; ++attempt) {
            QSqlDatabase db = Db();
            bool committing = false;
            Failure failure;
            if (QSqlQuery begin(db); !begin.exec(QString::fromLatin1(Sql.begin)))
                failure = begin.lastError().text();
            failure = failure ? failure : change();
            if (QSqlQuery tell(db);
                !failure && *Sql.afterChange && !tell.exec(QString::fromLatin1(Sql.afterChange)))
                failure = tell.lastError().text();
            if (!failure) {
                committing = true;
                if (!db.commit())
                    failure = db.lastError().text();
            }
            if (!failure)
                return std::nullopt;
            (void)db.rollback(); // the change's own failure is the one to report
            if (!Lost())
                return Described(*failure);
            if (committing)
                return Described(QStringLiteral(
                    "the connection to the server was lost as the change was being stored, so "
                    "it may or may not have been saved. Look for it before saving it again"));
            if (attempt > 0 || !Regain())
                return Described(LostReason.isEmpty() ? *failure : Unreachable());
        }
    }

    QString Described(const QString& reason) const
    {
        return QStringLiteral("The change could not be saved in %1: %2")
            .arg(Location, reason.trimmed());
    }

    // One record in a change of its own. It takes its new id and version only once the change
    // is stored: one rolled back stays as it was, to be saved again.
    template <typename Record> Failure Save(const char* table, const char* columns, Record& r)
    {
        qint64 id = 0, version = 0;
        Failure failure = Change([&] {
            std::tie(id, version) = std::tuple(r.id, r.version);
            return Put(table, columns, Values(r), id, version);
        });
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

    Failure Insert(const char* table, const char* columns, const QVariantList& values, qint64& id,
                   qint64& version)
    {
        QSqlQuery q = Run(QStringLiteral("INSERT INTO %1 (%2, version) VALUES (%3 1) RETURNING id")
                              .arg(QLatin1StringView(table), QLatin1StringView(columns),
                                   QStringLiteral("?, ").repeated(values.size())),
                          values);
        if (q.lastError().isValid())
            return q.lastError().text();
        if (!q.next())
            return QStringLiteral("the database gave the new record no number");
        id = q.value(0).toLongLong();
        version = 1;
        q.finish(); // the statement done, so that the transaction can end
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

    const Dialect& Sql;
    QString Connection;
    QString Location;
    QString ReadOnly;
    QString Note;
    Reconnect Again;
    std::function<void()> Changed;
    mutable QString LostReason;
    mutable bool Subscribed = false, Listening = false;
};

} // namespace

QVariant FirstValue(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    return q.exec(statement) && q.next() ? q.value(0) : QVariant();
}

QString NewConnectionName()
{
    // A shared cellar opens on a thread of its own, maybe while another opens elsewhere.
    static std::atomic<int> opened = 0;
    return QStringLiteral("cellar%1").arg(++opened);
}

qint64 SchemaVersion()
{
    return qint64(std::size(Migrations));
}

QStringList MigrationStep(const Dialect& dialect, qint64 from)
{
    QStringList statements;
    for (QString statement : Migrations[from])
        statements << statement.replace(QStringLiteral("{id}"), QLatin1StringView(dialect.identity))
                          .replace(QStringLiteral("{real}"), QLatin1StringView(dialect.real));
    return statements;
}

QString Migrate(QSqlDatabase& db, const Dialect& dialect, qint64 from, const QStringList& mark)
{
    QSqlQuery q(db);
    bool ok = q.exec(QString::fromLatin1(dialect.begin));
    for (qint64 step = from; ok && step < SchemaVersion(); ++step)
        for (const QString& statement : MigrationStep(dialect, step))
            ok = ok && q.exec(statement);
    for (const QString& statement : mark)
        ok = ok && q.exec(statement);
    ok = ok && q.exec(QStringLiteral("COMMIT"));
    if (ok)
        return {};
    QString reason = q.lastError().text().trimmed();
    (void)q.exec(QStringLiteral("ROLLBACK"));
    return reason;
}

std::unique_ptr<Cellar> NewSqlCellar(const Dialect& dialect, const QString& connection,
                                     const QString& location, const QString& readOnly,
                                     const QString& note, Reconnect reconnect)
{
    return std::make_unique<SqlCellar>(dialect, connection, location, readOnly, note,
                                       std::move(reconnect));
}

} // namespace ardovin::sql
