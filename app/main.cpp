#include "app/commands.h"
#include "platform/single_instance.h"
#include "storage/cellar.h"
#include "ui/frmSulfite.h"

#include <cstdio>
#include <memory>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// The schema's owner upgrades a shared cellar on a server, where there may be no display: the
// commands need no windows.
std::unique_ptr<QCoreApplication> NewApplication(int& argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--upgrade-cellar") ||
            QByteArray(argv[i]).startsWith("--copy-cellar"))
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
    const QCommandLineOption copy(
        QStringLiteral("copy-cellar"),
        QStringLiteral("Copy every batch of the cellar book <from> (a file or an address) into "
                       "the one given as the argument after it, compare the counts; then leave."),
        QStringLiteral("from"));
    options.addOptions({cellar, upgrade, copy});
    options.addPositionalArgument(QStringLiteral("to"),
                                  QStringLiteral("With --copy-cellar: the cellar book to copy "
                                                 "into."),
                                  QStringLiteral("[to]"));
    options.process(app);
    if (options.isSet(upgrade))
        return commands::UpgradeCellar(options.value(upgrade));
    if (options.isSet(copy)) {
        if (options.positionalArguments().size() != 1)
            options.showHelp(2);
        return commands::CopyCellar(options.value(copy),
                                    options.positionalArguments().constFirst());
    }
    // An address is checked before any window opens: one with a password is refused at once.
    const QString location = options.value(cellar);
    std::optional<ardovin::ServerAddress> address;
    if (ardovin::IsServerAddress(location)) {
        QString error;
        address = ardovin::ReadServerAddress(location, error);
        if (!address) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
    }
    frmSulfite window(QCoreApplication::applicationDirPath(), ardovin::DefaultLockPath());
    if (options.isSet(cellar))
        window.SetCellarPath(address ? address->text() : QFileInfo(location).absoluteFilePath());
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
