#pragma once

#include <QIcon>

namespace trovanel {

// The program's icon: the SVG installed for the desktop's menu entry, built into the executable and drawn
// at the sizes a desktop asks for, so it shows whether the program was installed or not.
QIcon iconoPrograma();

// Every window carries that icon and names the desktop entry (trovanel.desktop), so the desktop shows the
// menu's icon for the windows and groups them under it.
void presentarAplicacion();

} // namespace trovanel
