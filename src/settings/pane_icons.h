#pragma once
// Icons of the settings pane's toolbar, drawn in code.

#include <QIcon>

namespace qf {

QIcon expandAllIcon();
QIcon runFitIcon();

}  // namespace qf
