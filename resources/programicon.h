#pragma once

#include <QIcon>

namespace ardovin {

// The program's icon, a glass of wine with a drop falling into it, in every size built.
QIcon ProgramIcon();

// The sizes in pixels of the icon's square renderings.
QList<int> ProgramIconSizes();

} // namespace ardovin
