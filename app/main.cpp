#include "platform/single_instance.h"
#include "ui/frmSulfite.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Ardovin"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ARDOVIN_APP_ID));
    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption cellar(QStringLiteral("cellar"),
                                    QStringLiteral("Keep the cellar book in <file>."),
                                    QStringLiteral("file"));
    options.addOption(cellar);
    options.process(app);
    frmSulfite window(QCoreApplication::applicationDirPath(), ardovin::DefaultLockPath());
    if (options.isSet(cellar))
        window.SetCellarPath(QFileInfo(options.value(cellar)).absoluteFilePath());
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
