#pragma once

#include <QIcon>

namespace gui {

// The program's emblem, drawn rather than shipped, sharp at every size.
QIcon applicationIcon();

} // namespace gui
