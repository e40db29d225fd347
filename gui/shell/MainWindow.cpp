#include "gui/shell/MainWindow.h"

#include "core/ExamRules.h"
#include "core/ReviewRules.h"
#include "gui/help/AboutBox.h"
#include "gui/help/HelpWindow.h"
#include "gui/review/ReviewExamWindow.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainBackdrop.h"
#include "gui/shell/UnusableBank.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <functional>

namespace gui {

MainWindow::MainWindow(Program& program) : Window(program) {}

QWidget* MainWindow::createWidget()
{
    const core::Edition& edition = program().edition();
    auto* window = new QMainWindow;
    window->setObjectName(QStringLiteral("Form1"));
    window->setWindowTitle(edition.applicationTitle);
    window->setWindowIcon(applicationIcon());
    window->setCentralWidget(new MainBackdrop(edition.applicationTitle));
    window->resize(1024, 720);
    window->setWindowState(Qt::WindowMaximized);

    QMenuBar* bar = window->menuBar();
    auto addMenu = [bar](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1StringView(name));
        menu->menuAction()->setObjectName(QLatin1StringView(name));
        return menu;
    };
    auto addItem = [](QWidget* owner, const char* name, const QString& caption, bool enabled,
                      std::function<void()> handler) {
        auto* action = new QAction(caption, owner);
        action->setObjectName(QLatin1StringView(name));
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, owner, std::move(handler));
        owner->addAction(action);
        return action;
    };

    QMenu* exam = addMenu("mnuExam", QStringLiteral("&Exam"));
    addItem(exam, "mnuExamsub1", edition.examMenuCaptions[0], edition.offersExam(1),
            [this] { startExam(1); });
    addItem(exam, "mnuExamsub2", edition.examMenuCaptions[1], edition.offersExam(2),
            [this] { startExam(2); });
    addItem(exam, "mnuExamsub3", edition.examMenuCaptions[2], edition.offersExam(3),
            [this] { startExam(3); });
    addItem(exam, "mnuFileSubExit", QStringLiteral("&Exit"), true, [this] { exitProgram(); });

    QMenu* review = addMenu("mnuFile", QStringLiteral("&Review"));
    addItem(review, "menuFileSubExam1", edition.reviewMenuCaptions[0], edition.offersExam(1),
            [this] { startReview(1); });
    addItem(review, "menuFileSubExam2", edition.reviewMenuCaptions[1], edition.offersExam(2),
            [this] { startReview(2); });
    addItem(review, "menuFileSubExam3", edition.reviewMenuCaptions[2], edition.offersExam(3),
            [this] { startReview(3); });

    QMenu* help = addMenu("mnuhelp", QStringLiteral("&Help"));
    addItem(help, "mnuHelpsubNavigate", QStringLiteral("&Navigation"), true,
            [this] { showNavigationHelp(); });
    addItem(help, "mnuHelpSubCer", QStringLiteral("&Certification"), true,
            [this] { showCertificationHelp(); });
    addItem(help, "mnuhelpsubmnureadme", QStringLiteral("&Read Me"), true,
            [this] { showReadMe(); });
    if (!edition.orderingOnMenuBar)
        addItem(help, "mnuhelpsubmnuorder", QStringLiteral("&Ordering"), true,
                [this] { showOrdering(); });
    addItem(help, "mnuHelpsubCertification", QStringLiteral("&About "), true,
            [this] { showAbout(); });
    if (edition.orderingOnMenuBar) {
        // A command of its own on the menu bar, after Help.
        addItem(bar, "mnuhelpsubmnuorder", QStringLiteral("&Ordering"), true,
                [this] { showOrdering(); });
    }
    return window;
}

QAction* MainWindow::menuItem(const QString& name) const
{
    if (!widget())
        return nullptr;
    return widget()->findChild<QAction*>(name);
}

void MainWindow::exitProgram()
{
    if (program().msgBox(QStringLiteral("Do you really want to Quit?"),
                         core::Prompter::YesNoWarning) == core::Prompter::Yes)
        program().end();
}

bool MainWindow::queryClose()
{
    exitProgram();
    // End has unloaded the window already; on No it stays.
    return false;
}

void MainWindow::startExam(int exam)
{
    core::RunValues& run = program().run();
    const core::Edition& edition = program().edition();
    // A bank that could not carry the exam to its score and review is
    // refused now, before anything is asked or written, not after the exam.
    if (!bankReadyFor(program(), core::examTables(edition, exam), core::BankUse::Exam))
        return;
    run.examCode = exam;
    // A cancelled prompt gives "" and the start goes on with an empty name.
    run.candidateName =
        program().inputBox(edition.namePrompt, edition.nameTitle, edition.nameDefault);
    program().window<ExamInfoWindow>().show();
}

void MainWindow::startReview(int exam)
{
    if (!program().edition().offersExam(exam))
        return;
    if (!bankReadyFor(program(), exam, core::BankUse::Review))
        return;
    program().run().examCode = core::reviewCode(exam);
    ReviewExamWindow& review = program().window<ReviewExamWindow>();
    review.show();
    // A review that could not open has said why; the menu stays in view.
    if (review.isVisible())
        hide();
}

// The main window stays where it is behind the help windows and the About box.
void MainWindow::showNavigationHelp()
{
    showHelp(program(), HelpTopic::Navigation);
}

void MainWindow::showCertificationHelp()
{
    showHelp(program(), HelpTopic::Certification);
}

void MainWindow::showReadMe()
{
    showHelp(program(), HelpTopic::ReadMe);
}

void MainWindow::showOrdering()
{
    showHelp(program(), HelpTopic::Ordering);
}

void MainWindow::showAbout()
{
    program().window<AboutBox>().show();
}

} // namespace gui
