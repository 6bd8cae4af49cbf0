#pragma once
// Toolbar and menu icons, drawn in code so that they look the same on every
// desktop theme and need no resource files.

#include <QIcon>
#include <QPixmap>

#include "app/commands.h"

namespace qf {

// A null icon for CommandIcon::None.
QIcon commandIcon(CommandIcon icon);

// One rendering at size x size pixels (the drawing is made for 16 and scales).
QPixmap commandPixmap(CommandIcon icon, int size);

// The window icon: a small chart with a fitted curve.
QIcon applicationIcon();

}  // namespace qf
