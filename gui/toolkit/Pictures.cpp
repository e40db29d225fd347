#include "gui/toolkit/Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace gui {

Picture loadPicture(const QString& path)
{
    Picture picture;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (path.isEmpty()) {
        picture.error = QStringLiteral("This question has no exhibit picture.");
        return picture;
    }
    if (!info.isFile()) {
        picture.error = QStringLiteral("The exhibit picture \"%1\" was not found.").arg(shown);
        return picture;
    }
    QImageReader reader(info.absoluteFilePath());
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        picture.error = QStringLiteral("The exhibit picture \"%1\" cannot be read (%2).")
                            .arg(shown, reader.errorString());
        return picture;
    }
    if (info.completeBaseName().endsWith(QLatin1StringView("@2x")))
        image.setDevicePixelRatio(2.0);
    picture.image = std::move(image);
    return picture;
}

} // namespace gui
