// One start of a program, ended as soon as its window is on the screen: Ardovin's main window
// as a user starts it (a settings.cfg beside it, its lock in the runtime folder), or the floor:
// the same window with no logic (floor_window.h), the least Qt can show of it.
// Two bare windows of the same size show what Qt costs below that: one empty, the least a Qt
// Widgets program can show, and one holding a caption, the cost of drawing any text at all.
// Usage: startup_app ardovin <program folder> | floor | minimal | caption
#include "floor_window.h"
#include "platform/single_instance.h"
#include "ui/frmSulfite.h"

#include <cstring>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWindow>

namespace {

// Quits once the window has been exposed, that is once the user could see it.
class QuitWhenExposed : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

int ShowUntilExposed(QWidget& window)
{
    window.show();
    QuitWhenExposed quitter;
    window.windowHandle()->installEventFilter(&quitter);
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "ardovin") == 0) {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        frmSulfite window(folder, ardovin::DefaultLockPath());
        if (!window.Form_Load())
            return 1;
        return ShowUntilExposed(window);
    }
    if (argc == 2 && std::strcmp(argv[1], "floor") == 0)
        return ShowUntilExposed(*FloorWindow());
    if (argc == 2 && std::strcmp(argv[1], "minimal") == 0) {
        QWidget window;
        window.resize(510, 274);
        return ShowUntilExposed(window);
    }
    if (argc == 2 && std::strcmp(argv[1], "caption") == 0) {
        QLabel window(QStringLiteral("Ardovin"));
        window.resize(510, 274);
        return ShowUntilExposed(window);
    }
    return 2;
}
