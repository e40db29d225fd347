#pragma once

#include <QPixmap>

namespace gui {

// The small built-in picture that reads "Exhibit", sharp at any scale.
QPixmap exhibitButtonPicture(qreal devicePixelRatio);

} // namespace gui
