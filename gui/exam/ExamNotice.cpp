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

ExamNotice::ExamNotice(gui::Program& program) : Window(program) {}
ExamNotice::~ExamNotice() = default;

QWidget* ExamNotice::createWindow()
{
    auto* window = new QWidget(nullptr, Qt::Dialog);
    window->setObjectName(QStringLiteral("Dialog"));
    window->setWindowTitle(QStringLiteral("Please Note..."));
    m_controls.Label1 = new QLabel(program().edition().noticeText, window);
    m_controls.Label1->setObjectName(QStringLiteral("Label1"));
    m_controls.Label1->setWordWrap(true);
    m_controls.Label1->setMinimumWidth(360);
    auto* icon = new QLabel(window);
    icon->setPixmap(window->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_controls.OKButton = new QPushButton(QStringLiteral("OK"), window);
    m_controls.OKButton->setObjectName(QStringLiteral("OKButton"));
    m_controls.OKButton->setDefault(true);
    m_controls.CancelButton = new QPushButton(QStringLiteral("Cancel"), window);
    m_controls.CancelButton->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(m_controls.OKButton, &QPushButton::clicked, window,
                     [this] { OKButton_Click(); });
    QObject::connect(m_controls.CancelButton, &QPushButton::clicked, window,
                     [this] { CancelButton_Click(); });

    auto* text = new QHBoxLayout;
    text->addWidget(icon, 0, Qt::AlignTop);
    text->addWidget(m_controls.Label1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_controls.OKButton);
    buttons->addWidget(m_controls.CancelButton);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    window->setFixedSize(window->sizeHint());
    // OK first in the tab order
    QWidget::setTabOrder(m_controls.OKButton, m_controls.CancelButton);
    m_controls.OKButton->setFocus();
    return window;
}

void ExamNotice::OKButton_Click()
{
    gui::Program& p = program();
    const int exam = p.run().ExamCode;
    if (!p.edition().noticeOkStartsAnyExam && exam != 1)
        return;
    if (!p.edition().offersExam(exam))
        return;
    // Creating the exam window draws the questions; a draw that cannot be
    // made has told the candidate so and leaves no exam window behind.
    ExamWindow& window = p.form<ExamWindow>();
    window.Show();
    if (!window.isLoaded()) {
        p.forms().discard<ExamWindow>();
        if (auto* splash = p.forms().existing<gui::ExamInfoWindow>())
            splash->Hide();
        Unload();
        p.form<gui::MainWindow>().Show();
        return;
    }
    if (auto* splash = p.forms().existing<gui::ExamInfoWindow>())
        splash->Hide();
    if (auto* main = p.forms().existing<gui::MainWindow>())
        main->Hide();
    if (p.edition().noticeOkUnloads)
        Unload();
    else
        Hide();
}

void ExamNotice::CancelButton_Click()
{
    // Cancel abandons the start: the notice goes and the main window is there.
    Unload();
    program().form<gui::MainWindow>().Show();
}

bool ExamNotice::queryClose()
{
    CancelButton_Click();
    return false;
}

} // namespace gui
