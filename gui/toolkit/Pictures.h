#pragma once

#include <QImage>
#include <QString>

class QLabel;
class QWidget;

namespace gui {

struct Picture {
    QImage image;  // null when the file could not be read
    QString error; // why, in the program's words
    bool isNull() const { return image.isNull(); }
};

// A picture from a file path, relative to the current folder. A name ending
// in "@2x" holds twice the pixels and is shown at half size, sharp on HiDPI.
// Messages name the file as `shownName` when one is given.
Picture loadPicture(const QString& path, const QString& shownName = QString());

// What a question shows in place of its exhibit button when the picture its
// diagram1 names lies outside the exhibits folder beside the question bank
// (see core::exhibitFile): nothing of it is opened.
QString exhibitNotAvailableText();
QLabel* exhibitNotAvailableLabel(QWidget* parent);
// Whether `diagram` names an exhibit the viewer may open.
bool exhibitCanBeShown(const QString& diagram, const QString& databasePath);
// After a move: the exhibit button when the question names a picture that
// can be shown, the "not available" label when it names one that cannot,
// neither when it names none.
void offerExhibit(QWidget* button, QLabel* notAvailable, const QString& diagram,
                  const QString& databasePath);

} // namespace gui
