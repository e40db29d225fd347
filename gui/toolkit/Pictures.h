#pragma once

#include <QImage>
#include <QString>

namespace gui {

struct Picture {
    QImage image;  // null when the file could not be read
    QString error; // why, in the program's words
    bool isNull() const { return image.isNull(); }
};

// A picture from a file path, relative to the current folder. A name ending
// in "@2x" holds twice the pixels and is shown at half size, sharp on HiDPI.
Picture loadPicture(const QString& path);

} // namespace gui
