#include "app/commands.h"

#include "storage/cellar.h"
#include "storage/cellar_copy.h"

#include <cstdio>
#include <QFileInfo>

using namespace ardovin;

namespace commands {

namespace {

int Finish(bool done, const QString& message)
{
    std::fprintf(done ? stdout : stderr, "%s\n", qPrintable(message));
    return done ? 0 : 1;
}

// A file named from the working folder, or a server's address as given.
QString Location(const QString& given)
{
    return IsServerAddress(given) ? given : QFileInfo(given).absoluteFilePath();
}

} // namespace

int UpgradeCellar(const QString& address)
{
    QString error;
    const std::optional<ServerAddress> server = ReadServerAddress(address, error);
    if (!server)
        return Finish(false, error);
    const Upgrade done = UpgradeSharedCellar(*server, {});
    return Finish(done.done, done.message);
}

int CopyCellar(const QString& from, const QString& to)
{
    OpenFailure failure;
    const std::unique_ptr<Cellar> source = OpenCellar(Location(from), {}, failure);
    if (!source)
        return Finish(false, failure.reason);
    const std::unique_ptr<Cellar> target = OpenCellar(Location(to), {}, failure);
    if (!target)
        return Finish(false, failure.reason);
    const CopyReport report = ardovin::CopyCellar(*source, *target);
    return Finish(report.done, report.message);
}

} // namespace commands
