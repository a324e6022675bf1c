#include "resources/programicon.h"

namespace ardovin {

QList<int> ProgramIconSizes()
{
    return {16, 32, 48, 64, 128, 256};
}

QList<int> WindowIconSizes()
{
    return {16, 32, 48, 64};
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : WindowIconSizes())
        icon.addFile(QStringLiteral(":/ardovin/icon%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace ardovin
