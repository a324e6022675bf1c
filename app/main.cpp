#include "platform/single_instance.h"
#include "ui/frmSulfite.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Ardovin"));
    frmSulfite window(QCoreApplication::applicationDirPath(), ardovin::DefaultLockPath());
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
