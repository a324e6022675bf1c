// Prints the text on the X clipboard, so that the desktop test can read back what the program
// copied there.
#include <QClipboard>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream(stdout) << QGuiApplication::clipboard()->text();
    return 0;
}
