#include "gui/toolkit/WindowParts.h"

#include "core/ExamRules.h"
#include "gui/toolkit/ClickableLabel.h"
#include "gui/toolkit/ExhibitButtonPicture.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace gui {

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    return label;
}

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text,
                         std::function<void()> clicked)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1StringView(name));
    QObject::connect(button, &QPushButton::clicked, button, std::move(clicked));
    return button;
}

QLineEdit* readOnlyField(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1StringView(name));
    field->setReadOnly(true);
    field->setAccessibleName(accessibleName);
    return field;
}

QPlainTextEdit* readOnlyText(QWidget* parent, const QString& name, int lines)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * lines + 10);
    return box;
}

void limitToLines(QPlainTextEdit* box, int lines)
{
    box->setMaximumHeight(box->fontMetrics().lineSpacing() * lines + 10);
}

QPlainTextEdit* answerLine(QWidget* parent, const QString& name, const QString& accessibleName)
{
    QPlainTextEdit* line = readOnlyText(parent, name, 2);
    line->setFrameShape(QFrame::NoFrame);
    line->setBackgroundRole(QPalette::Window);
    line->viewport()->setAutoFillBackground(false);
    line->setMaximumHeight(line->minimumHeight());
    line->setAccessibleName(accessibleName);
    return line;
}

QString numberedAnswerName(int k)
{
    static constexpr std::array<int, 6> box{0, 1, 2, 4, 5, 3};
    return QStringLiteral("text2_%1").arg(box[std::size_t(k)]);
}

void setClockFont(QLabel* clock, qreal scale)
{
    QFont font = clock->font();
    font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    font.setBold(true);
    if (scale != 1.0)
        font.setPointSizeF(font.pointSizeF() * scale);
    clock->setFont(font);
}

void enlargeFont(QWidget* widget, qreal scale, bool bold)
{
    QFont font = widget->font();
    if (bold)
        font.setBold(true);
    if (scale != 1.0)
        font.setPointSizeF(font.pointSizeF() * scale);
    widget->setFont(font);
}

QFrame* horizontalRule(QWidget* parent)
{
    auto* rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

namespace {

void nameExhibitButton(QWidget* button)
{
    button->setObjectName(QStringLiteral("Picture1"));
    button->setAccessibleName(QStringLiteral("Exhibit"));
    button->setToolTip(QStringLiteral("Show the exhibit of this question"));
}

} // namespace

ClickableLabel* exhibitPictureButton(QWidget* parent, std::function<void()> clicked)
{
    auto* picture = new ClickableLabel(parent);
    picture->setPixmap(exhibitButtonPicture(parent->devicePixelRatioF()));
    picture->setFixedSize(104, 33);
    picture->setClickHandler(std::move(clicked));
    nameExhibitButton(picture);
    return picture;
}

QWidget* exhibitButton(QWidget* parent, bool asPicture, const QString& caption,
                       std::function<void()> clicked)
{
    if (asPicture)
        return exhibitPictureButton(parent, std::move(clicked));
    auto* button = new QPushButton(caption, parent);
    QObject::connect(button, &QPushButton::clicked, button, std::move(clicked));
    nameExhibitButton(button);
    return button;
}

void enablePaging(QPushButton* previous, QPushButton* next, const core::PagingButtons& buttons)
{
    next->setEnabled(buttons.nextEnabled);
    previous->setEnabled(buttons.previousEnabled);
}

} // namespace gui
