#include "platform/single_instance.h"
#include "ui/frmSulfite.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Ardovin"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ARDOVIN_APP_ID));
    frmSulfite window(QCoreApplication::applicationDirPath(), ardovin::DefaultLockPath());
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
