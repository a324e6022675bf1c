// A shared cellar book on a PostgreSQL server: its address, connecting to it as a role, and
// the schema its owner makes and upgrades.
#include "storage/sql_cellar.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

namespace ardovin {

namespace {

// The libpq settings an address may give. A password is never one of them.
// In the order an address is written in.
constexpr std::array AddressKeywords{
    "service", "host",     "hostaddr",         "port",           "dbname",
    "user",    "sslmode",  "sslcert",          "sslrootcert",    "sslcrl",
    "sslkey",  "passfile", "application_name", "sslcompression",
};
// Given by Ardovin's own QSqlDatabase settings rather than as options.
constexpr std::array OwnSettings{"host", "port", "dbname", "user"};

// Connecting and every statement end within a few seconds, however the server or the network
// fails: a lost network is noticed by the system's TCP timeout rather than minutes later.
constexpr const char* ConnectionLimits = "connect_timeout=5;tcp_user_timeout=5000;"
                                         "keepalives_idle=10;keepalives_interval=5;"
                                         "keepalives_count=2";
const QStringList StatementLimits{QStringLiteral("SET statement_timeout = 5000"),
                                  QStringLiteral("SET lock_timeout = 5000")};

// The table naming a database as a cellar book, with its schema's version.
constexpr const char* SchemaTable = "ardovin_schema";
constexpr const char* Application = "Ardovin cellar book";

const QString PasswordRefused = QStringLiteral(
    "An address with a password in it is refused: anyone on this computer can read it in the "
    "list of programs running. Keep the password in ~/.pgpass or a service file, or leave it "
    "out and Ardovin asks for it.");

bool Known(const QString& keyword)
{
    return std::find(AddressKeywords.begin(), AddressKeywords.end(), keyword) !=
           AddressKeywords.end();
}

// libpq's quoting of a setting's value, where it needs any.
QString Quoted(const QString& value)
{
    if (!value.isEmpty() && !value.contains(QRegularExpression(QStringLiteral("[\\s'\\\\]"))))
        return value;
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

std::size_t KeywordOrder(const QString& keyword)
{
    return std::size_t(std::find(AddressKeywords.begin(), AddressKeywords.end(), keyword) -
                       AddressKeywords.begin());
}

// An address's settings in one order, however they were given, so that two ways of writing
// one address read as the same.
std::optional<ServerAddress> Checked(ServerAddress address, QString& error)
{
    std::stable_sort(
        address.settings.begin(), address.settings.end(),
        [](const auto& a, const auto& b) { return KeywordOrder(a.first) < KeywordOrder(b.first); });
    for (const auto& [keyword, value] : address.settings) {
        if (keyword == u"password") {
            error = PasswordRefused;
            return std::nullopt;
        }
        if (!Known(keyword)) {
            error = QStringLiteral("\"%1\" is not a setting of a shared cellar's address.")
                        .arg(keyword);
            return std::nullopt;
        }
        // Qt SQL passes the settings on with ";" between them.
        if (value.contains(u';')) {
            error = QStringLiteral("The setting %1 cannot hold \";\".").arg(keyword);
            return std::nullopt;
        }
    }
    return address;
}

std::optional<ServerAddress> FromUri(const QString& text, QString& error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().contains(u',')) {
        error = QStringLiteral("\"%1\" is not an address Ardovin can read.").arg(text);
        return std::nullopt;
    }
    if (!url.password().isEmpty() || url.authority().section(u'@', 0, -2).contains(u':')) {
        error = PasswordRefused;
        return std::nullopt;
    }
    ServerAddress address;
    const auto add = [&](const char* keyword, const QString& value) {
        if (!value.isEmpty())
            address.settings.append({QString::fromLatin1(keyword), value});
    };
    add("user", url.userName());
    add("host", url.host());
    add("port", url.port() < 0 ? QString() : QString::number(url.port()));
    add("dbname", url.path().mid(1));
    for (const auto& [keyword, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        address.settings.append({keyword, value});
    return Checked(address, error);
}

// "keyword=value keyword='a value'", as libpq reads its settings.
std::optional<ServerAddress> FromSettings(const QString& text, QString& error)
{
    static const QRegularExpression setting(
        QStringLiteral("\\G\\s*(\\w+)\\s*=\\s*(?:'((?:[^'\\\\]|\\\\.)*)'|([^\\s']*))\\s*"));
    ServerAddress address;
    qsizetype at = 0;
    for (auto m = setting.match(text); m.hasMatch() && at < text.size();
         m = setting.match(text, at)) {
        QString value = m.captured(3);
        if (m.capturedStart(2) >= 0)
            value = m.captured(2).replace(QRegularExpression(QStringLiteral("\\\\(.)")),
                                          QStringLiteral("\\1"));
        address.settings.append({m.captured(1), value});
        at = m.capturedEnd(0);
    }
    if (at < text.size() || address.settings.isEmpty()) {
        error = QStringLiteral("\"%1\" is not an address Ardovin can read.").arg(text);
        return std::nullopt;
    }
    return Checked(address, error);
}

void Configure(QSqlDatabase& db, const ServerAddress& address, const QString& password)
{
    db.setHostName(address.value(QStringLiteral("host")));
    const int port = address.value(QStringLiteral("port")).toInt();
    db.setPort(port > 0 ? port : -1);
    db.setDatabaseName(address.value(QStringLiteral("dbname")));
    db.setUserName(address.value(QStringLiteral("user")));
    db.setPassword(password);
    QStringList options{QStringLiteral("application_name=Ardovin"),
                        QString::fromLatin1(ConnectionLimits)};
    for (const auto& [keyword, value] : address.settings)
        if (std::find(OwnSettings.begin(), OwnSettings.end(), keyword) == OwnSettings.end())
            options << keyword + u'=' + Quoted(value);
    db.setConnectOptions(options.join(u';'));
}

// Opens the connection, with every statement's time limit; returns why it could not.
QString Connect(QSqlDatabase& db)
{
    db.close();
    if (!db.open())
        return db.lastError().databaseText().trimmed();
    QSqlQuery q(db);
    for (const QString& limit : StatementLimits)
        if (!q.exec(limit))
            return q.lastError().databaseText().trimmed();
    return {};
}

struct Schema
{
    enum { None, Foreign, Forbidden, Cellar } kind = None;
    qint64 version = 0;
};

// What the database holds: no tables, another program's, or a cellar book at its version.
std::optional<Schema> ReadSchema(QSqlDatabase& db, QString& error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL, (SELECT count(*) FROM "
                               "pg_tables WHERE schemaname = current_schema())")
                    .arg(QLatin1StringView(SchemaTable))) ||
        !q.next()) {
        error = q.lastError().databaseText().trimmed();
        return std::nullopt;
    }
    if (!q.value(0).toBool())
        return Schema{q.value(1).toLongLong() > 0 ? Schema::Foreign : Schema::None, 0};
    if (!sql::FirstValue(db, QStringLiteral("SELECT has_table_privilege('%1', 'SELECT')")
                                 .arg(QLatin1StringView(SchemaTable)))
             .toBool())
        return Schema{Schema::Forbidden, 0};
    if (!q.exec(QStringLiteral("SELECT application, version FROM %1")
                    .arg(QLatin1StringView(SchemaTable)))) {
        error = q.lastError().databaseText().trimmed();
        return std::nullopt;
    }
    if (!q.next() || q.value(0).toString() != QLatin1StringView(Application))
        return Schema{Schema::Foreign, 0};
    return Schema{Schema::Cellar, q.value(1).toLongLong()};
}

bool Allowed(const QSqlDatabase& db, const QString& privilege)
{
    return sql::FirstValue(db, QStringLiteral("SELECT has_table_privilege('batches', '%1') AND "
                                              "has_table_privilege('entries', '%1')")
                                   .arg(privilege))
        .toBool();
}

// Why the role can only read the records, or empty where it may change them too.
QString ReadOnlyRole(const QSqlDatabase& db, const QString& role)
{
    for (const char* privilege : {"INSERT", "UPDATE", "DELETE"})
        if (!Allowed(db, QString::fromLatin1(privilege)))
            return QStringLiteral("the role %1 may only read it").arg(role);
    return {};
}

// Whether the connection is encrypted, and whether the server was verified.
QString ConnectionNote(QSqlDatabase& db, const ServerAddress& address)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT inet_server_addr() IS NULL, (SELECT ssl FROM pg_stat_ssl "
                               "WHERE pid = pg_backend_pid())")) ||
        !q.next())
        return {};
    if (q.value(0).toBool())
        return QStringLiteral("connected through this computer's own socket, which needs no "
                              "encryption");
    if (!q.value(1).toBool())
        return QStringLiteral("not encrypted: the records cross the network as they are");
    return address.value(QStringLiteral("sslmode")) == u"verify-full"
               ? QStringLiteral("encrypted; the server was verified by its certificate")
               : QStringLiteral("encrypted; the server was not verified (choose to verify it "
                                "where you have its certificate authority)");
}

QString RoleOf(const QSqlDatabase& db)
{
    return sql::FirstValue(db, QStringLiteral("SELECT current_user")).toString();
}

// A connection of its own, removed with it unless it is handed on.
class Connection
{
public:
    explicit Connection(const ServerAddress& address, const QString& password)
        : Name(sql::NewConnectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Name);
        Configure(db, address, password);
    }
    ~Connection()
    {
        if (!Name.isEmpty())
            QSqlDatabase::removeDatabase(Name);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase Db() const { return QSqlDatabase::database(Name, false); }
    QString HandOn() { return std::exchange(Name, QString()); }

private:
    QString Name;
};

QString NotReached(const ServerAddress& address, const QString& reason, OpenFailure& failure)
{
    failure.needsPassword = reason.contains(QStringLiteral("no password supplied")) ||
                            reason.contains(QStringLiteral("password authentication failed"));
    return QStringLiteral("The shared cellar %1 cannot be opened: %2").arg(address.text(), reason);
}

QString UpgradeCommand(const ServerAddress& address)
{
    return QStringLiteral("ardovin --upgrade-cellar \"%1\"").arg(address.text());
}

} // namespace

QString ServerAddress::value(const QString& keyword) const
{
    QString found;
    for (const auto& [key, given] : settings)
        if (key == keyword)
            found = given; // the last one counts, as in libpq
    return found;
}

QString ServerAddress::text() const
{
    if (!value(QStringLiteral("service")).isEmpty()) {
        QStringList words;
        for (const auto& [keyword, given] : settings)
            words << keyword + u'=' + Quoted(given);
        return words.join(u' ');
    }
    // A socket folder or a certificate's file reads as a path.
    const auto encoded = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text, "/"));
    };
    QString authority, path = QStringLiteral("/");
    QStringList query;
    for (const auto& [keyword, given] : settings)
        if (keyword == u"user")
            authority.prepend(encoded(given) + u'@');
        else if (keyword == u"host" && !given.startsWith(u'/'))
            authority += given.contains(u':') ? u'[' + given + u']' : given;
        else if (keyword == u"port")
            authority += u':' + given;
        else if (keyword == u"dbname")
            path += encoded(given);
        else
            query << encoded(keyword) + u'=' + encoded(given);
    return QStringLiteral("postgresql://") + authority + path +
           (query.isEmpty() ? QString() : u'?' + query.join(u'&'));
}

bool IsServerAddress(const QString& text)
{
    static const QRegularExpression firstSetting(QStringLiteral("^\\s*(\\w+)\\s*="));
    const QRegularExpressionMatch setting = firstSetting.match(text);
    // A file may be named "tank=3.sqlite"; settings start with one libpq knows.
    return text.startsWith(QStringLiteral("postgresql://")) ||
           text.startsWith(QStringLiteral("postgres://")) ||
           (setting.hasMatch() &&
            (Known(setting.captured(1)) || setting.captured(1) == u"password"));
}

std::optional<ServerAddress> ReadServerAddress(const QString& text, QString& error)
{
    return text.contains(QStringLiteral("://")) ? FromUri(text.trimmed(), error)
                                                : FromSettings(text, error);
}

std::unique_ptr<Cellar> OpenSharedCellar(const ServerAddress& address, const QString& password,
                                         OpenFailure& failure)
{
    Connection connection(address, password);
    QSqlDatabase db = connection.Db();
    if (const QString reason = Connect(db); !reason.isEmpty()) {
        failure.reason = NotReached(address, reason, failure);
        return nullptr;
    }
    const auto refuse = [&](const QString& reason) {
        failure.reason = reason;
        return nullptr;
    };
    QString error;
    const std::optional<Schema> schema = ReadSchema(db, error);
    if (!schema)
        return refuse(
            QStringLiteral("The shared cellar %1 cannot be read: %2").arg(address.text(), error));
    if (schema->kind == Schema::Foreign)
        return refuse(
            QStringLiteral("The database of %1 is not a cellar book.").arg(address.text()));
    if (schema->kind == Schema::None)
        return refuse(QStringLiteral("The database of %1 holds no cellar book yet. Its owner "
                                     "makes one with:\n%2")
                          .arg(address.text(), UpgradeCommand(address)));
    const QString role = RoleOf(db);
    if (schema->kind == Schema::Forbidden || !Allowed(db, QStringLiteral("SELECT")))
        return refuse(
            QStringLiteral("The role %1 may not read the shared cellar %2: its owner grants it.")
                .arg(role, address.text()));
    if (schema->version < sql::SchemaVersion())
        return refuse(QStringLiteral("The shared cellar %1 was made by an earlier Ardovin. The "
                                     "owner of its schema must bring it up to date with:\n%2")
                          .arg(address.text(), UpgradeCommand(address)));
    const QString readOnly = schema->version > sql::SchemaVersion()
                                 ? QStringLiteral("it was made by a newer Ardovin")
                                 : ReadOnlyRole(db, role);
    const QString note = ConnectionNote(db, address);
    db = QSqlDatabase();
    return sql::NewSqlCellar(sql::Postgres, connection.HandOn(), address.text(), readOnly, note,
                             [](QSqlDatabase& again) { return Connect(again); });
}

Upgrade UpgradeSharedCellar(const ServerAddress& address, const QString& password)
{
    Connection connection(address, password);
    QSqlDatabase db = connection.Db();
    OpenFailure failure;
    if (const QString reason = Connect(db); !reason.isEmpty())
        return {false, NotReached(address, reason, failure)};
    QString error;
    const std::optional<Schema> schema = ReadSchema(db, error);
    if (!schema || schema->kind == Schema::Foreign || schema->kind == Schema::Forbidden)
        return {false, !schema ? error
                       : schema->kind == Schema::Foreign
                           ? QStringLiteral("The database of %1 is not a cellar book; it is left "
                                            "as it is.")
                                 .arg(address.text())
                           : QStringLiteral("The role %1 may not read the shared cellar %2, and "
                                            "so cannot be its owner.")
                                 .arg(RoleOf(db), address.text())};
    const qint64 from = schema->version, to = sql::SchemaVersion();
    if (from > to)
        return {false, QStringLiteral("The shared cellar %1 is at version %2, newer than this "
                                      "Ardovin's %3; it is left as it is.")
                           .arg(address.text())
                           .arg(from)
                           .arg(to)};
    if (from == to)
        return {true, QStringLiteral("The shared cellar %1 is up to date (version %2).")
                          .arg(address.text())
                          .arg(to)};
    const QString table = QLatin1StringView(SchemaTable);
    const QStringList mark =
        from == 0 ? QStringList{QStringLiteral("CREATE TABLE %1 (application TEXT NOT NULL, "
                                               "version INTEGER NOT NULL)")
                                    .arg(table),
                                QStringLiteral("INSERT INTO %1 VALUES ('%2', %3)")
                                    .arg(table, QLatin1StringView(Application))
                                    .arg(to)}
                  : QStringList{QStringLiteral("UPDATE %1 SET version = %2").arg(table).arg(to)};
    if (const QString reason = sql::Migrate(db, sql::Postgres, from, mark); !reason.isEmpty())
        return {false, QStringLiteral("The shared cellar %1 could not be brought up to date, and "
                                      "is left as it was: %2")
                           .arg(address.text(), reason)};
    return {true, from == 0 ? QStringLiteral("The shared cellar %1 was made (version %2).")
                                  .arg(address.text())
                                  .arg(to)
                            : QStringLiteral("The shared cellar %1 was brought from version %2 to "
                                             "%3.")
                                  .arg(address.text())
                                  .arg(from)
                                  .arg(to)};
}

std::unique_ptr<Cellar> OpenCellar(const QString& location, const QString& password,
                                   OpenFailure& failure)
{
    if (!IsServerAddress(location))
        return OpenSqliteCellar(location, failure.reason);
    const std::optional<ServerAddress> address = ReadServerAddress(location, failure.reason);
    return address ? OpenSharedCellar(*address, password, failure) : nullptr;
}

} // namespace ardovin
