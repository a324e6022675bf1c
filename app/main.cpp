#include "platform/single_instance.h"
#include "storage/cellar.h"
#include "ui/frmSulfite.h"

#include <cstdio>
#include <memory>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// The schema's owner upgrades a shared cellar on a server, where there may be no display: that
// command needs no windows.
std::unique_ptr<QCoreApplication> NewApplication(int& argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--upgrade-cellar"))
            return std::make_unique<QCoreApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> application = NewApplication(argc, argv);
    QCoreApplication& app = *application;
    app.setApplicationName(QStringLiteral("Ardovin"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ARDOVIN_APP_ID));
    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption cellar(
        QStringLiteral("cellar"),
        QStringLiteral("Keep the cellar book in <file>, or use the shared cellar at a PostgreSQL "
                       "address (postgresql://host/database?user=role, or service=name)."),
        QStringLiteral("file or address"));
    const QCommandLineOption upgrade(
        QStringLiteral("upgrade-cellar"),
        QStringLiteral("Make the shared cellar's schema at <address>, or bring it up to date, "
                       "as its owner; then leave."),
        QStringLiteral("address"));
    options.addOptions({cellar, upgrade});
    options.process(app);
    QString location;
    if (options.isSet(upgrade))
        location = options.value(upgrade);
    else if (options.isSet(cellar))
        location = options.value(cellar);
    // An address is checked before any window opens: one with a password is refused at once.
    std::optional<ardovin::ServerAddress> address;
    if (ardovin::IsServerAddress(location)) {
        QString error;
        address = ardovin::ReadServerAddress(location, error);
        if (!address) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
    }
    if (options.isSet(upgrade)) {
        const ardovin::Upgrade done =
            address ? ardovin::UpgradeSharedCellar(*address, {})
                    : ardovin::Upgrade{
                          false,
                          QStringLiteral("\"%1\" is not a shared cellar's address.").arg(location)};
        std::fprintf(done.done ? stdout : stderr, "%s\n", qPrintable(done.message));
        return done.done ? 0 : 1;
    }
    frmSulfite window(QCoreApplication::applicationDirPath(), ardovin::DefaultLockPath());
    if (options.isSet(cellar))
        window.SetCellarPath(address ? address->text() : QFileInfo(location).absoluteFilePath());
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
