#include "gui/toolkit/Pictures.h"

#include "core/ExhibitFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace gui {

Picture loadPicture(const QString& path, const QString& shownName)
{
    Picture picture;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(shownName.isEmpty() ? path : shownName);
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

QString exhibitNotAvailableText()
{
    return QStringLiteral("exhibit not available");
}

QLabel* exhibitNotAvailableLabel(QWidget* parent)
{
    auto* label = new QLabel(exhibitNotAvailableText(), parent);
    label->setObjectName(QStringLiteral("exhibitNotAvailable"));
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x5a, 0x66, 0x73));
    label->setPalette(palette);
    QFont font = label->font();
    font.setItalic(true);
    label->setFont(font);
    label->setVisible(false);
    return label;
}

bool exhibitCanBeShown(const QString& diagram, const QString& databasePath)
{
    return core::exhibitFile(diagram, databasePath).has_value();
}

void offerExhibit(QWidget* button, QLabel* notAvailable, const QString& diagram,
                  const QString& databasePath)
{
    const bool named = !diagram.isEmpty();
    const bool shown = named && exhibitCanBeShown(diagram, databasePath);
    button->setVisible(shown);
    notAvailable->setVisible(named && !shown);
}

} // namespace gui
