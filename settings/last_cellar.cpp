#include "settings/last_cellar.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace ardovin {

namespace {

QString LastCellarPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/last-cellar");
}

} // namespace

QString LastCellar()
{
    QFile file(LastCellarPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

bool RememberCellar(const QString& address)
{
    if (!QDir().mkpath(QFileInfo(LastCellarPath()).absolutePath()))
        return false;
    QSaveFile file(LastCellarPath());
    return file.open(QIODevice::WriteOnly) && file.write(address.toUtf8() + '\n') >= 0 &&
           file.commit();
}

} // namespace ardovin
