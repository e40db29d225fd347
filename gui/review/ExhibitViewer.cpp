#include "gui/review/ExhibitViewer.h"

#include "core/ExhibitFile.h"
#include "core/ReviewRules.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ReviewExamWindow.h"
#include "gui/review/WrongAnswerReview.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace gui {

ExhibitViewer::ExhibitViewer(Program& program) : Window(program) {}
ExhibitViewer::~ExhibitViewer() = default;

QWidget* ExhibitViewer::createWidget()
{
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form2C"));
    window->setWindowTitle(program().edition().exhibitViewerCaption);

    c.picture = new QLabel;
    c.picture->setObjectName(QStringLiteral("Picture1"));
    c.picture->setAlignment(Qt::AlignCenter);
    c.picture->setAccessibleName(QStringLiteral("Exhibit"));
    c.picture->setBackgroundRole(QPalette::Base);
    c.picture->setAutoFillBackground(true);
    // A picture larger than the window scrolls.
    c.scroll = new QScrollArea(window);
    c.scroll->setWidget(c.picture);
    c.scroll->setWidgetResizable(true);
    c.scroll->setAlignment(Qt::AlignCenter);
    c.problem = new QLabel(window);
    c.problem->setObjectName(QStringLiteral("problem"));
    c.problem->setWordWrap(true);
    // It may name a path from the bank: shown as written, never as markup.
    c.problem->setTextFormat(Qt::PlainText);
    c.problem->setVisible(false);
    c.problem->setStyleSheet(QStringLiteral("QLabel { color: #8b0000; padding: 12px; }"));
    c.returnButton = new QPushButton(QStringLiteral("&Return"), window);
    c.returnButton->setObjectName(QStringLiteral("Command1"));
    c.returnButton->setDefault(true);
    QObject::connect(c.returnButton, &QPushButton::clicked, window, [this] { returnToCaller(); });

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(c.problem);
    layout->addWidget(c.scroll, 1);
    layout->addWidget(c.returnButton, 0, Qt::AlignRight);
    return window;
}

void ExhibitViewer::onLoad()
{
    showPicture();
}

void ExhibitViewer::onUnload()
{
    m_controls.reset();
    m_shownPath.clear();
}

void ExhibitViewer::showPicture()
{
    Controls& c = *m_controls;
    m_shownPath = program().run().exhibitPath;
    Picture picture;
    if (m_shownPath.isEmpty())
        picture = gui::loadPicture(m_shownPath);
    else if (const auto file = core::exhibitFile(m_shownPath, program().databasePath()))
        picture = gui::loadPicture(*file, m_shownPath);
    else
        picture.error = exhibitNotAvailableText(); // and nothing outside the exhibits is opened
    if (picture.isNull()) {
        // A missing or unreadable picture is said in words; the exam goes on.
        c.picture->clear();
        c.problem->setText(picture.error);
        c.problem->setVisible(true);
        c.scroll->setVisible(false);
        widget()->resize(520, 160);
        return;
    }
    c.problem->setVisible(false);
    c.scroll->setVisible(true);
    c.picture->setPixmap(QPixmap::fromImage(picture.image));
    // As large as the picture, within most of the screen.
    const QSize shown = (QSizeF(picture.image.size()) / picture.image.devicePixelRatio()).toSize();
    QSize available(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        available = screen->availableSize() * 0.9;
    widget()->resize(QSize(shown.width() + 40, shown.height() + 80).boundedTo(available));
}

QString ExhibitViewer::problemText() const
{
    return m_controls && m_controls->problem->isVisible() ? m_controls->problem->text() : QString();
}

void ExhibitViewer::present()
{
    if (isLoaded() && m_shownPath != program().run().exhibitPath)
        showPicture();
    show();
}

void ExhibitViewer::offer(Program& program, const QString& diagram, QWidget* button,
                          QLabel* notAvailable)
{
    program.run().exhibitPath = diagram;
    offerExhibit(button, notAvailable, diagram, program.databasePath());
}

void ExhibitViewer::openFrom(Program& program, Window& caller, const QString& diagram)
{
    program.run().exhibitPath = diagram;
    if (!exhibitCanBeShown(diagram, program.databasePath()))
        return;
    program.window<ExhibitViewer>().present();
    if (program.edition().exhibitHidesCaller)
        caller.hide();
}

void ExhibitViewer::returnToCaller()
{
    Program& p = program();
    const core::RunValues& run = p.run();
    // Back to where the candidate came from: a review, the wrong-answer
    // review or the exam. (The demo's callers never went away.)
    if (p.edition().exhibitHidesCaller) {
        Window* caller = nullptr;
        if (core::reviewedExam(run.examCode) != 0)
            caller = p.windows().existing<ReviewExamWindow>();
        else if (run.wrongAnswerExam >= 1 && run.wrongAnswerExam <= 3)
            caller = p.windows().existing<WrongAnswerReview>();
        else if (run.examCode >= 1 && run.examCode <= 3)
            caller = p.windows().existing<ExamWindow>();
        if (caller && caller->isLoaded())
            caller->show();
    }
    hide();
    unload();
    if (!p.edition().exhibitHidesCaller)
        p.windows().discard<ExhibitViewer>();
}

bool ExhibitViewer::queryClose()
{
    returnToCaller();
    return false;
}

} // namespace gui
