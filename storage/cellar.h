#pragma once

#include "core/chemistry.h"
#include "core/wine.h"

#include <functional>
#include <memory>
#include <optional>
#include <QDateTime>
#include <QList>
#include <QString>

namespace ardovin {

// A batch of wine in the cellar book.
struct Batch
{
    qint64 id = 0;      // 0 until it is stored
    qint64 version = 0; // the row's version when it was read; a save on an older one is refused
    QString name;
    double volume = 0;
    BatchUnit unit = BatchUnit::Litre;
    WineColour colour = WineColour::Red;
    WineType type = WineType::Still;
    double residualSugar = 0; // g/L
    LegalRules rules = LegalRules::None;
    std::optional<double> molecularTarget; // mg/L; none: the colour's
    bool archived = false;
    // Read, never saved: when the newest measurement was made.
    std::optional<QDateTime> lastMeasured;

    bool operator==(const Batch&) const = default;
};

enum class EntryKind { Measurement, Addition };

// Each kind of entry with the word a cellar file, database or CSV, holds for it.
struct EntryKindRow
{
    EntryKind kind;
    const char* savedText;
};
inline constexpr std::array EntryKinds{
    EntryKindRow{EntryKind::Measurement, "measurement"},
    EntryKindRow{EntryKind::Addition, "addition"},
};
inline constexpr const EntryKindRow& RowOf(EntryKind kind)
{
    return EntryKinds[std::size_t(kind)];
}

// A dated entry of a batch: a measurement or an addition.
struct Entry
{
    qint64 id = 0;
    qint64 version = 0;
    qint64 batchId = 0;
    QDateTime at; // in UTC
    EntryKind kind = EntryKind::Measurement;
    double volume = 0; // the batch's volume on that date, in the batch's unit
    QString note;
    // A measurement's.
    std::optional<double> ph, freeSO2, totalSO2;
    QString method;
    // An addition's.
    std::optional<SulphiteSource> compound;
    std::optional<SourceForm> form;
    std::optional<double> strength; // the solution's percentage or the tablet's weight
    std::optional<double> amount;
    std::optional<AdditionUnit> amountUnit;
    std::optional<double> so2Added; // mg/L

    bool operator==(const Entry&) const = default;
};

// A batch with its entries, as they are stored or moved together.
struct BatchRecords
{
    Batch batch;
    QList<Entry> entries;

    bool operator==(const BatchRecords&) const = default;
};

// What went wrong with a change, in words for the user that name the file; none when it is
// saved.
using Failure = std::optional<QString>;

// The records read, or why they could not be (then there are none).
template <typename Record> struct Records
{
    QList<Record> list;
    Failure failure;
};

// The cellar book's records, whatever keeps them. Each change is one transaction: saved whole
// or not at all.
class Cellar
{
public:
    virtual ~Cellar() = default;

    // Where the records are, as the user knows it.
    virtual QString location() const = 0;
    // Why the records can only be read; empty where they can be changed.
    virtual QString readOnlyReason() const = 0;
    // How the records are reached, where the user should know it: whether a server's
    // connection is encrypted and the server verified. Empty for a file.
    virtual QString connectionNote() const = 0;
    // Calls `changed` whenever the records may have been changed by another client, where the
    // engine tells of it: a shared cellar's server does, a file does not.
    virtual void watch(std::function<void()> changed) = 0;

    // The batches by name, the archived ones too where asked.
    virtual Records<Batch> batches(bool withArchived) const = 0;
    // A batch's entries, the newest first.
    virtual Records<Entry> entries(qint64 batchId) const = 0;

    // Stores a new batch (giving it its id) or a change to one read before; the version moves on.
    virtual Failure save(Batch& batch) = 0;
    // Removes a batch with its entries.
    virtual Failure remove(const Batch& batch) = 0;
    virtual Failure save(Entry& entry) = 0;
    // Stores new batches with their entries, all or nothing; on a failure they stay as given.
    virtual Failure saveAll(QList<BatchRecords>& batches) = 0;
    virtual Failure remove(const Entry& entry) = 0;
};

// The cellar book's file where the user names none: in the user's data folder.
QString DefaultCellarPath();

// Opens the cellar book in a SQLite file, creating it where there is none. A file from a newer
// Ardovin, or one the user may not write, is opened read-only; one that is not a cellar book or
// is damaged is refused and left as it is. Returns null with the reason in error.
std::unique_ptr<Cellar> OpenSqliteCellar(const QString& path, QString& error);

// A shared cellar's place on a PostgreSQL server: libpq's connection settings, never a
// password. Given as an address (postgresql://user@host:port/database?sslmode=verify-full) or as
// settings (service=winery).
struct ServerAddress
{
    QList<std::pair<QString, QString>> settings; // libpq's keyword and value, in order

    QString value(const QString& keyword) const;
    // The address as the user reads and gives it again.
    QString text() const;
    bool operator==(const ServerAddress&) const = default;
};

// Whether the text names a server rather than a file.
bool IsServerAddress(const QString& text);
// Reads an address; refuses one with a password in it (anyone on the computer can read a
// program's command line) or with a setting libpq does not know, giving the reason.
std::optional<ServerAddress> ReadServerAddress(const QString& text, QString& error);

// Why a shared cellar could not be opened; needsPassword where the server asks for a password
// that was not given, or refused the one that was.
struct OpenFailure
{
    QString reason;
    bool needsPassword = false;
};

// Opens the shared cellar at the address as the role it names, with `password` where one is
// asked for (kept only in memory, to connect again). The schema must be this Ardovin's: one
// from a newer Ardovin, or a role that may only read, opens read-only; an older one, a database
// that holds no cellar book and a role that may not read are refused.
std::unique_ptr<Cellar> OpenSharedCellar(const ServerAddress& address, const QString& password,
                                         OpenFailure& failure);

// Makes the cellar book's schema in the database at the address, or brings it up to this
// Ardovin's version, as its owner does. Returns what was done, or why it could not be.
struct Upgrade
{
    bool done = false;
    QString message;
};
Upgrade UpgradeSharedCellar(const ServerAddress& address, const QString& password);

// How a caller waits for a cellar that works on a thread of its own: given a test of whether the
// work is done, it returns true once it is, or false where the user stopped waiting.
using Waiter = std::function<bool(const std::function<bool()>& done)>;

// Opens the cellar book at the location, as OpenCellar does, on a thread of its own that then
// makes its every call, so that a server slow to answer or out of reach never holds the caller's
// thread: the caller waits through `wait` (none: until the work is done). A call the user
// stopped waiting for is reported as failed; the work goes on and its outcome is not taken.
// Other clients' changes are told on the caller's thread, never amid one of its calls.
std::unique_ptr<Cellar> OpenCellarOnThread(const QString& location, const QString& password,
                                           OpenFailure& failure, Waiter wait);

// Opens the cellar book at a file or a server's address, as OpenSqliteCellar or
// OpenSharedCellar.
std::unique_ptr<Cellar> OpenCellar(const QString& location, const QString& password,
                                   OpenFailure& failure);

} // namespace ardovin
