#pragma once

#include <QPlainTextEdit>
#include <QString>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace core {
struct PagingButtons;
}

namespace gui {

class ClickableLabel;

// The pieces the question windows (the exam, its answer window and the two
// reviews) are built from. Each control takes its name in the design as its
// objectName, which tests and printing look up.

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text);
QPushButton* namedButton(QWidget* parent, const char* name, const QString& text,
                         std::function<void()> clicked);
// A one-line field the candidate reads but cannot change.
QLineEdit* readOnlyField(QWidget* parent, const char* name, const QString& accessibleName);
// A box of text the candidate reads but cannot change, at least `lines`
// lines high; Tab moves on rather than typing a tab.
QPlainTextEdit* readOnlyText(QWidget* parent, const QString& name, int lines);
// At most `lines` lines high: a longer text scrolls.
void limitToLines(QPlainTextEdit* box, int lines);
// An answer's text, two lines high, read as a line beside its boxes rather
// than as a field.
QPlainTextEdit* answerLine(QWidget* parent, const QString& name, const QString& accessibleName);
// A check box or option button of an answer's row.
template <typename Box>
Box* answerBox(QWidget* parent, const QString& name, const QString& accessibleName,
               const QString& text = QString())
{
    auto* box = new Box(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    return box;
}
// The design numbers the question's text box 0 and the answers' boxes so
// that answer k (1..5) is box 1, 2, 4, 5, 3; the boxes keep those numbers in
// their names ("text2_4" is answer 3).
QString numberedAnswerName(int k);

// A clock's digits: fixed-pitch and bold, `scale` times the label's size.
void setClockFont(QLabel* clock, qreal scale = 1.0);
// The widget's font, `scale` times as large, and bold when asked.
void enlargeFont(QWidget* widget, qreal scale, bool bold = false);
QFrame* horizontalRule(QWidget* parent);

// The built-in "Exhibit" picture, clicked as a button.
ClickableLabel* exhibitPictureButton(QWidget* parent, std::function<void()> clicked);
// The exhibit button as the edition draws it: that picture, or a push button
// reading `caption`.
QWidget* exhibitButton(QWidget* parent, bool asPicture, const QString& caption,
                       std::function<void()> clicked);

// Next and Previous as `buttons` allows.
void enablePaging(QPushButton* previous, QPushButton* next, const core::PagingButtons& buttons);

// The five answers of a question, 1..5 (0 unused), each a line of text with
// the boxes of its row: an answer's line shows only when it has a text.
template <typename T> using AnswerRow = std::array<T*, 6>;

// The boxes beside an empty line hide with it; beside a line with a text
// they are left as the answer mode set them.
template <typename... Box>
void hideEmptyAnswerRows(const AnswerRow<QPlainTextEdit>& lines, const AnswerRow<Box>&... boxes)
{
    for (std::size_t k = 1; k <= 5; ++k) {
        const bool answered = !lines[k]->toPlainText().isEmpty();
        lines[k]->setVisible(answered);
        if (!answered)
            (boxes[k]->setVisible(false), ...);
    }
}

// The boxes of a row show exactly when its line does.
template <typename... Box>
void showAnsweredRows(const AnswerRow<QPlainTextEdit>& lines, const AnswerRow<Box>&... boxes)
{
    for (std::size_t k = 1; k <= 5; ++k) {
        const bool answered = !lines[k]->toPlainText().isEmpty();
        lines[k]->setVisible(answered);
        (boxes[k]->setVisible(answered), ...);
    }
}

} // namespace gui
