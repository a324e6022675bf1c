#include "platform/addresses.h"

#include <QDir>
#include <QFileInfo>

#ifndef ARDOVIN_SITE_HOST
#error "ARDOVIN_SITE_HOST must be defined by the build"
#endif
#ifndef ARDOVIN_MANUAL_PATH
#error "ARDOVIN_MANUAL_PATH must be defined by the build"
#endif
#ifndef ARDOVIN_SUPPORT_MAIL
#error "ARDOVIN_SUPPORT_MAIL must be defined by the build"
#endif

namespace ardovin {

namespace {

QUrl SitePage(const QString& path)
{
    return QUrl(QStringLiteral("http://") + SiteHost() + path, QUrl::StrictMode);
}

} // namespace

QString SiteHost()
{
    return QStringLiteral(ARDOVIN_SITE_HOST);
}

QString SupportMail()
{
    return QStringLiteral(ARDOVIN_SUPPORT_MAIL);
}

QUrl ManualAddress()
{
    return SitePage(QStringLiteral("/sulphManual.html"));
}

QUrl ManualAddress(const QString& programDirectory)
{
    const QString installed = QDir(programDirectory).filePath(QStringLiteral(ARDOVIN_MANUAL_PATH));
    return QFileInfo(installed).isFile() ? QUrl::fromLocalFile(installed) : ManualAddress();
}

QUrl ProgramPageAddress()
{
    return SitePage(QStringLiteral("/sulphite.html"));
}

QUrl TableGeneratorAddress()
{
    return SitePage(QStringLiteral("/sulphtable.php"));
}

QUrl SiteHomeAddress()
{
    return SitePage(QString());
}

QUrl MailAddress()
{
    return QUrl(QStringLiteral("mailto:") + SupportMail(), QUrl::StrictMode);
}

} // namespace ardovin
