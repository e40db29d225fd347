#pragma once

#include <QIcon>

namespace app {

// The program's emblem, drawn rather than shipped, sharp at every size.
QIcon applicationIcon();

} // namespace app
