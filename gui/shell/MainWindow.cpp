#include "gui/shell/MainWindow.h"

#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainBackdrop.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

namespace gui {

MainWindow::MainWindow(Program& program) : Window(program) {}

QWidget* MainWindow::createWindow()
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
    auto addItem = [this](QWidget* owner, const char* name, const QString& caption, bool enabled,
                          void (MainWindow::*handler)()) {
        auto* action = new QAction(caption, owner);
        action->setObjectName(QLatin1StringView(name));
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, owner,
                         [this, handler] { (this->*handler)(); });
        owner->addAction(action);
        return action;
    };

    QMenu* exam = addMenu("mnuExam", QStringLiteral("&Exam"));
    addItem(exam, "mnuExamsub1", edition.examMenuCaptions[0], edition.offersExam(1),
            &MainWindow::mnuExamsub1_Click);
    addItem(exam, "mnuExamsub2", edition.examMenuCaptions[1], edition.offersExam(2),
            &MainWindow::mnuExamsub2_Click);
    addItem(exam, "mnuExamsub3", edition.examMenuCaptions[2], edition.offersExam(3),
            &MainWindow::mnuExamsub3_Click);
    addItem(exam, "mnuFileSubExit", QStringLiteral("&Exit"), true,
            &MainWindow::mnuFileSubExit_Click);

    QMenu* review = addMenu("mnuFile", QStringLiteral("&Review"));
    addItem(review, "menuFileSubExam1", edition.reviewMenuCaptions[0], edition.offersExam(1),
            &MainWindow::menuFileSubExam1_Click);
    addItem(review, "menuFileSubExam2", edition.reviewMenuCaptions[1], edition.offersExam(2),
            &MainWindow::menuFileSubExam2_Click);
    addItem(review, "menuFileSubExam3", edition.reviewMenuCaptions[2], edition.offersExam(3),
            &MainWindow::menuFileSubExam3_Click);

    QMenu* help = addMenu("mnuhelp", QStringLiteral("&Help"));
    addItem(help, "mnuHelpsubNavigate", QStringLiteral("&Navigation"), true,
            &MainWindow::mnuHelpsubNavigate_Click);
    addItem(help, "mnuHelpSubCer", QStringLiteral("&Certification"), true,
            &MainWindow::mnuHelpSubCer_Click);
    addItem(help, "mnuhelpsubmnureadme", QStringLiteral("&Read Me"), true,
            &MainWindow::mnuhelpsubmnureadme_Click);
    if (!edition.orderingOnMenuBar)
        addItem(help, "mnuhelpsubmnuorder", QStringLiteral("&Ordering"), true,
                &MainWindow::mnuhelpsubmnuorder_Click);
    addItem(help, "mnuHelpsubCertification", QStringLiteral("&About "), true,
            &MainWindow::mnuHelpsubCertification_Click);
    if (edition.orderingOnMenuBar) {
        // A command of its own on the menu bar, after Help.
        addItem(bar, "mnuhelpsubmnuorder", QStringLiteral("&Ordering"), true,
                &MainWindow::mnuhelpsubmnuorder_Click);
    }
    return window;
}

QAction* MainWindow::menuItem(const QString& name) const
{
    if (!window())
        return nullptr;
    return window()->findChild<QAction*>(name);
}

void MainWindow::mnuFileSubExit_Click()
{
    if (program().MsgBox(QStringLiteral("Do you really want to Quit?"),
                         core::Prompter::YesNoWarning) == core::Prompter::Yes)
        program().End();
}

bool MainWindow::queryClose()
{
    mnuFileSubExit_Click();
    // End has unloaded the window already; on No it stays.
    return false;
}

void MainWindow::mnuExamsub1_Click()
{
    startExam(1);
}
void MainWindow::mnuExamsub2_Click()
{
    startExam(2);
}
void MainWindow::mnuExamsub3_Click()
{
    startExam(3);
}
void MainWindow::menuFileSubExam1_Click()
{
    startReview(1);
}
void MainWindow::menuFileSubExam2_Click()
{
    startReview(2);
}
void MainWindow::menuFileSubExam3_Click()
{
    startReview(3);
}

void MainWindow::startExam(int exam)
{
    core::RunValues& run = program().run();
    const core::Edition& edition = program().edition();
    run.ExamCode = exam;
    // A cancelled prompt gives "" and the start goes on with an empty name.
    run.CandidateName =
        program().InputBox(edition.namePrompt, edition.nameTitle, edition.nameDefault);
    program().form<ExamInfoWindow>().Show();
}

// The windows behind these items arrive with their own subsystems.
void MainWindow::startReview(int) {}
void MainWindow::mnuHelpsubNavigate_Click() {}
void MainWindow::mnuHelpSubCer_Click() {}
void MainWindow::mnuhelpsubmnureadme_Click() {}
void MainWindow::mnuhelpsubmnuorder_Click() {}
void MainWindow::mnuHelpsubCertification_Click() {}

} // namespace gui
