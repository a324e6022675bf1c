#include "ui/frmSharedCellar.h"

#include "ui/cellarForms.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace ardovin;
using namespace cellarForms;

namespace {

// How the connection is secured, each with the libpq sslmode it sets (none: libpq's default,
// encrypted where the server offers it).
struct SecurityRow
{
    const char* listText;
    const char* sslmode;
};
constexpr std::array Securities{
    SecurityRow{"As the server offers (libpq's default)", ""},
    SecurityRow{"Encrypted, the server verified (verify-full)", "verify-full"},
};

} // namespace

frmSharedCellar::frmSharedCellar(const std::optional<ServerAddress>& shown, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSharedCellar"));
    setWindowTitle(QStringLiteral("Open Shared Cellar"));
    const auto value = [&](const char* keyword) {
        return shown ? shown->value(QString::fromLatin1(keyword)) : QString();
    };
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* intro = new QLabel(
        QStringLiteral("A cellar book on a PostgreSQL server, shared by everyone who works on "
                       "the same tanks. Give a service name, or the server, database and user. "
                       "The password comes from your password file or service file, or Ardovin "
                       "asks for it; it is never saved."),
        this);
    intro->setWordWrap(true);
    column->addWidget(intro);
    column->addLayout(form);
    txtService = AddField(*form, QStringLiteral("txtService"), QStringLiteral("Ser&vice:"),
                          QStringLiteral("A service named in your pg_service.conf, which gives "
                                         "the rest. Leave it empty to give the server below."),
                          value("service"));
    txtHost = AddField(*form, QStringLiteral("txtHost"), QStringLiteral("&Host or socket folder:"),
                       QStringLiteral("The server's name or address, or the folder of its socket "
                                      "on this computer (starting with /)."),
                       value("host"));
    txtPort = AddField(*form, QStringLiteral("txtPort"), QStringLiteral("&Port:"),
                       QStringLiteral("The server's port; empty for PostgreSQL's usual 5432."),
                       value("port"));
    txtDatabase =
        AddField(*form, QStringLiteral("txtDatabase"), QStringLiteral("&Database:"),
                 QStringLiteral("The database that holds the cellar book."), value("dbname"));
    txtUser = AddField(*form, QStringLiteral("txtUser"), QStringLiteral("&User:"),
                       QStringLiteral("The role you connect as; empty for your own login name."),
                       value("user"));
    QStringList securities;
    int chosen = 0;
    for (const SecurityRow& row : Securities) {
        if (value("sslmode") == QLatin1StringView(row.sslmode))
            chosen = int(securities.size());
        securities << QString::fromUtf8(row.listText);
    }
    cboSecurity = AddList(*form, QStringLiteral("cboSecurity"), QStringLiteral("&Encryption:"),
                          QStringLiteral("Verify the server where you have the certificate of "
                                         "the authority that signed its certificate."),
                          securities, chosen);
    txtAuthority =
        AddField(*form, QStringLiteral("txtAuthority"), QStringLiteral("Certificate &authority:"),
                 QStringLiteral("The file of the certificate authority that signed the server's "
                                "certificate; empty for ~/.postgresql/root.crt."),
                 value("sslrootcert"));
    lblAddress = new QLabel(this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setWordWrap(true);
    lblAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(lblAddress);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    QPushButton* local =
        buttons->addButton(QStringLiteral("Use &Local Cellar"), QDialogButtonBox::ResetRole);
    Name(*local, QStringLiteral("cmdUseLocal"), local->text(),
         QStringLiteral("Go back to the cellar book kept in a file on this computer."));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(local, &QPushButton::clicked, this, [this] { done(UseLocal); });
    column->addWidget(buttons);
    for (QLineEdit* field : {txtService, txtHost, txtPort, txtDatabase, txtUser, txtAuthority})
        connect(field, &QLineEdit::textChanged, this, &frmSharedCellar::ShowAddress);
    connect(cboSecurity, &QComboBox::currentIndexChanged, this, &frmSharedCellar::ShowAddress);
    ShowAddress();
    // Wide enough for an address; as tall as the wrapped texts need at that width.
    setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

std::optional<ServerAddress> frmSharedCellar::FieldsAddress(QString& error) const
{
    ServerAddress fields;
    const auto add = [&](const char* keyword, const QString& value) {
        if (!value.trimmed().isEmpty())
            fields.settings.append({QString::fromLatin1(keyword), value.trimmed()});
    };
    add("service", txtService->text());
    add("host", txtHost->text());
    add("port", txtPort->text());
    add("dbname", txtDatabase->text());
    add("user", txtUser->text());
    add("sslmode",
        QString::fromLatin1(Securities[std::size_t(cboSecurity->currentIndex())].sslmode));
    add("sslrootcert", txtAuthority->text());
    if (fields.settings.isEmpty()) {
        error = QStringLiteral("Give a service, or the server and its database.");
        return std::nullopt;
    }
    if (!fields.value(QStringLiteral("port")).isEmpty() &&
        !(fields.value(QStringLiteral("port")).toInt() > 0 &&
          fields.value(QStringLiteral("port")).toInt() < 65536)) {
        error = QStringLiteral("The port must be a number from 1 to 65535.");
        return std::nullopt;
    }
    // Read as the command line would read it: the same address, refused alike.
    return ReadServerAddress(fields.text(), error);
}

void frmSharedCellar::ShowAddress()
{
    txtAuthority->setEnabled(cboSecurity->currentIndex() != 0);
    QString error;
    const std::optional<ServerAddress> address = FieldsAddress(error);
    lblAddress->setText(address ? QStringLiteral("Address: %1").arg(address->text()) : error);
}

void frmSharedCellar::done(int result)
{
    if (result == QDialog::Accepted) {
        QString error;
        const std::optional<ServerAddress> address = FieldsAddress(error);
        if (!address)
            return Tell(error);
        Chosen = *address;
    }
    QDialog::done(result);
}
