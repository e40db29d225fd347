#include "gui/review/ExhibitViewer.h"

#include "gui/exam/ExamWindow.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace gui {

ExhibitViewer::ExhibitViewer(gui::Program& program) : Window(program) {}
ExhibitViewer::~ExhibitViewer() = default;

QWidget* ExhibitViewer::createWindow()
{
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form2C"));
    window->setWindowTitle(program().edition().exhibitViewerCaption);

    c.Picture1 = new QLabel;
    c.Picture1->setObjectName(QStringLiteral("Picture1"));
    c.Picture1->setAlignment(Qt::AlignCenter);
    c.Picture1->setAccessibleName(QStringLiteral("Exhibit"));
    c.Picture1->setBackgroundRole(QPalette::Base);
    c.Picture1->setAutoFillBackground(true);
    // A picture larger than the window scrolls.
    c.scroll = new QScrollArea(window);
    c.scroll->setWidget(c.Picture1);
    c.scroll->setWidgetResizable(true);
    c.scroll->setAlignment(Qt::AlignCenter);
    c.problem = new QLabel(window);
    c.problem->setObjectName(QStringLiteral("problem"));
    c.problem->setWordWrap(true);
    c.problem->setVisible(false);
    c.problem->setStyleSheet(QStringLiteral("QLabel { color: #8b0000; padding: 12px; }"));
    c.Command1 = new QPushButton(QStringLiteral("&Return"), window);
    c.Command1->setObjectName(QStringLiteral("Command1"));
    c.Command1->setDefault(true);
    QObject::connect(c.Command1, &QPushButton::clicked, window, [this] { Command1_Click(); });

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(c.problem);
    layout->addWidget(c.scroll, 1);
    layout->addWidget(c.Command1, 0, Qt::AlignRight);
    return window;
}

void ExhibitViewer::Form_Load()
{
    loadPicture();
}

void ExhibitViewer::Form_Unload()
{
    m_controls.reset();
    m_shownPath.clear();
}

void ExhibitViewer::loadPicture()
{
    Controls& c = *m_controls;
    m_shownPath = program().run().ExhibitPath;
    const gui::Picture picture = gui::LoadPicture(m_shownPath);
    if (picture.isNull()) {
        // A missing or unreadable picture is said in words; the exam goes on.
        c.Picture1->clear();
        c.problem->setText(picture.error);
        c.problem->setVisible(true);
        c.scroll->setVisible(false);
        window()->resize(520, 160);
        return;
    }
    c.problem->setVisible(false);
    c.scroll->setVisible(true);
    c.Picture1->setPixmap(QPixmap::fromImage(picture.image));
    // As large as the picture, within most of the screen.
    const QSize shown = (QSizeF(picture.image.size()) / picture.image.devicePixelRatio()).toSize();
    QSize available(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        available = screen->availableSize() * 0.9;
    window()->resize(QSize(shown.width() + 40, shown.height() + 80).boundedTo(available));
}

QString ExhibitViewer::problemText() const
{
    return m_controls && m_controls->problem->isVisible() ? m_controls->problem->text() : QString();
}

void ExhibitViewer::present()
{
    if (isLoaded() && m_shownPath != program().run().ExhibitPath)
        loadPicture();
    Show();
}

void ExhibitViewer::Command1_Click()
{
    gui::Program& p = program();
    const core::RunValues& run = p.run();
    // Back to where the candidate came from: a review, the wrong-answer
    // review or the exam. The review windows arrive with their own
    // subsystem; until then only the exam window is brought back.
    if (p.edition().exhibitHidesCaller && run.ExamCode >= 1 && run.ExamCode <= 3) {
        if (auto* exam = p.forms().existing<gui::ExamWindow>(); exam && exam->isLoaded())
            exam->Show();
    }
    Hide();
    Unload();
    if (!p.edition().exhibitHidesCaller)
        p.forms().discard<ExhibitViewer>();
}

bool ExhibitViewer::queryClose()
{
    Command1_Click();
    return false;
}

} // namespace gui
