#include "platform/calculator.h"

#include <QProcess>
#include <QStandardPaths>

namespace ardovin {

QStringList CalculatorPrograms()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("mate-calc"),        QStringLiteral("galculator"),
            QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
}

#if defined(Q_OS_WIN)

bool StartCalculator([[maybe_unused]] const QStringList& searchPaths)
{
    return QProcess::startDetached(QStringLiteral("Calc.Exe"), {});
}

#elif defined(Q_OS_MACOS)

bool StartCalculator([[maybe_unused]] const QStringList& searchPaths)
{
    // open returns at once; only its exit code tells whether the application exists.
    return QProcess::execute(QStringLiteral("/usr/bin/open"),
                             {QStringLiteral("-a"), QStringLiteral("Calculator")}) == 0;
}

#else

bool StartCalculator(const QStringList& searchPaths)
{
    for (const QString& name : CalculatorPrograms()) {
        const QString program = QStandardPaths::findExecutable(name, searchPaths);
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return true;
    }
    return false;
}

#endif

} // namespace ardovin
