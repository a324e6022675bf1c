#pragma once

#include <QIcon>

namespace ardovin {

// The program's icon, a glass of wine with a drop falling into it, in the sizes a window shows.
QIcon ProgramIcon();

// The sizes in pixels of the icon's square renderings.
QList<int> ProgramIconSizes();

// The renderings a window's icon is made of. The larger ones are for the desktop's menus and
// are installed as files; decoding them at every start would only slow the start down.
QList<int> WindowIconSizes();

} // namespace ardovin
