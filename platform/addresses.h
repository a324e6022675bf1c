#pragma once

#include <QString>
#include <QUrl>

namespace ardovin {

// The program's web site and support mail address, as chosen when the program was built.
QString SiteHost();
QString SupportMail();

QUrl ManualAddress();
// The manual installed beside the program, as a file address, or the manual on the web site
// where none is installed there (a program run from its build folder).
QUrl ManualAddress(const QString& programDirectory);
QUrl ProgramPageAddress();
QUrl TableGeneratorAddress();
QUrl SiteHomeAddress();
QUrl MailAddress();

} // namespace ardovin
