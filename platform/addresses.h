#pragma once

#include <QString>
#include <QUrl>

namespace ardovin {

// The program's web site and support mail address, as chosen when the program was built.
QString SiteHost();
QString SupportMail();

QUrl ManualAddress();
QUrl ProgramPageAddress();
QUrl TableGeneratorAddress();
QUrl SiteHomeAddress();
QUrl MailAddress();

} // namespace ardovin
