#include "gui/exam/ExamNotice.h"

#include "gui/exam/ExamWindow.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/Program.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace gui {

ExamNotice::ExamNotice(Program& program) : Window(program) {}
ExamNotice::~ExamNotice() = default;

QWidget* ExamNotice::createWidget()
{
    auto* window = new QWidget(nullptr, Qt::Dialog);
    window->setObjectName(QStringLiteral("Dialog"));
    window->setWindowTitle(QStringLiteral("Please Note..."));
    m_controls.text = new QLabel(program().edition().noticeText, window);
    m_controls.text->setObjectName(QStringLiteral("Label1"));
    m_controls.text->setWordWrap(true);
    m_controls.text->setMinimumWidth(360);
    auto* icon = new QLabel(window);
    icon->setPixmap(window->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_controls.okButton = new QPushButton(QStringLiteral("OK"), window);
    m_controls.okButton->setObjectName(QStringLiteral("OKButton"));
    m_controls.okButton->setDefault(true);
    m_controls.cancelButton = new QPushButton(QStringLiteral("Cancel"), window);
    m_controls.cancelButton->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(m_controls.okButton, &QPushButton::clicked, window, [this] { accept(); });
    QObject::connect(m_controls.cancelButton, &QPushButton::clicked, window, [this] { cancel(); });

    auto* text = new QHBoxLayout;
    text->addWidget(icon, 0, Qt::AlignTop);
    text->addWidget(m_controls.text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_controls.okButton);
    buttons->addWidget(m_controls.cancelButton);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    window->setFixedSize(window->sizeHint());
    // OK first in the tab order
    QWidget::setTabOrder(m_controls.okButton, m_controls.cancelButton);
    m_controls.okButton->setFocus();
    return window;
}

void ExamNotice::accept()
{
    Program& p = program();
    const int exam = p.run().examCode;
    if (!p.edition().noticeOkStartsAnyExam && exam != 1)
        return;
    if (!p.edition().offersExam(exam))
        return;
    // Creating the exam window draws the questions; a draw that cannot be
    // made has told the candidate so and leaves no exam window behind.
    ExamWindow& window = p.window<ExamWindow>();
    window.show();
    if (!window.isLoaded()) {
        p.windows().discard<ExamWindow>();
        if (auto* splash = p.windows().existing<ExamInfoWindow>())
            splash->hide();
        unload();
        p.window<MainWindow>().show();
        return;
    }
    if (auto* splash = p.windows().existing<ExamInfoWindow>())
        splash->hide();
    if (auto* main = p.windows().existing<MainWindow>())
        main->hide();
    if (p.edition().noticeOkUnloads)
        unload();
    else
        hide();
}

void ExamNotice::cancel()
{
    // Cancel abandons the start: the notice goes and the main window is there.
    unload();
    program().window<MainWindow>().show();
}

bool ExamNotice::queryClose()
{
    cancel();
    return false;
}

} // namespace gui
