#include "Form1.h"

#include "AppIcon.h"
#include "MainBackdrop.h"
#include "Program.h"
#include "frmSplash.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

namespace app {

Form1::Form1(Program& program) : Form(program) {}

QWidget* Form1::createWindow()
{
    const Edition& edition = program().edition();
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
                          void (Form1::*handler)()) {
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
            &Form1::mnuExamsub1_Click);
    addItem(exam, "mnuExamsub2", edition.examMenuCaptions[1], edition.offersExam(2),
            &Form1::mnuExamsub2_Click);
    addItem(exam, "mnuExamsub3", edition.examMenuCaptions[2], edition.offersExam(3),
            &Form1::mnuExamsub3_Click);
    addItem(exam, "mnuFileSubExit", QStringLiteral("&Exit"), true, &Form1::mnuFileSubExit_Click);

    QMenu* review = addMenu("mnuFile", QStringLiteral("&Review"));
    addItem(review, "menuFileSubExam1", edition.reviewMenuCaptions[0], edition.offersExam(1),
            &Form1::menuFileSubExam1_Click);
    addItem(review, "menuFileSubExam2", edition.reviewMenuCaptions[1], edition.offersExam(2),
            &Form1::menuFileSubExam2_Click);
    addItem(review, "menuFileSubExam3", edition.reviewMenuCaptions[2], edition.offersExam(3),
            &Form1::menuFileSubExam3_Click);

    QMenu* help = addMenu("mnuhelp", QStringLiteral("&Help"));
    addItem(help, "mnuHelpsubNavigate", QStringLiteral("&Navigation"), true,
            &Form1::mnuHelpsubNavigate_Click);
    addItem(help, "mnuHelpSubCer", QStringLiteral("&Certification"), true,
            &Form1::mnuHelpSubCer_Click);
    addItem(help, "mnuhelpsubmnureadme", QStringLiteral("&Read Me"), true,
            &Form1::mnuhelpsubmnureadme_Click);
    if (!edition.orderingOnMenuBar)
        addItem(help, "mnuhelpsubmnuorder", QStringLiteral("&Ordering"), true,
                &Form1::mnuhelpsubmnuorder_Click);
    addItem(help, "mnuHelpsubCertification", QStringLiteral("&About "), true,
            &Form1::mnuHelpsubCertification_Click);
    if (edition.orderingOnMenuBar) {
        // A command of its own on the menu bar, after Help.
        addItem(bar, "mnuhelpsubmnuorder", QStringLiteral("&Ordering"), true,
                &Form1::mnuhelpsubmnuorder_Click);
    }
    return window;
}

QAction* Form1::menuItem(const QString& name) const
{
    if (!window())
        return nullptr;
    return window()->findChild<QAction*>(name);
}

void Form1::mnuFileSubExit_Click()
{
    if (program().MsgBox(QStringLiteral("Do you really want to Quit?"), vbYesNoExclamation) ==
        vbYes)
        program().End();
}

bool Form1::queryClose()
{
    mnuFileSubExit_Click();
    // End has unloaded the window already; on No it stays.
    return false;
}

void Form1::mnuExamsub1_Click()
{
    startExam(1);
}
void Form1::mnuExamsub2_Click()
{
    startExam(2);
}
void Form1::mnuExamsub3_Click()
{
    startExam(3);
}
void Form1::menuFileSubExam1_Click()
{
    startReview(1);
}
void Form1::menuFileSubExam2_Click()
{
    startReview(2);
}
void Form1::menuFileSubExam3_Click()
{
    startReview(3);
}

void Form1::startExam(int exam)
{
    RunValues& run = program().run();
    const Edition& edition = program().edition();
    run.ExamCode = exam;
    // A cancelled prompt gives "" and the start goes on with an empty name.
    run.CandidateName =
        program().InputBox(edition.namePrompt, edition.nameTitle, edition.nameDefault);
    program().form<frmSplash>().Show();
}

// The windows behind these items arrive with their own subsystems.
void Form1::startReview(int) {}
void Form1::mnuHelpsubNavigate_Click() {}
void Form1::mnuHelpSubCer_Click() {}
void Form1::mnuhelpsubmnureadme_Click() {}
void Form1::mnuhelpsubmnuorder_Click() {}
void Form1::mnuHelpsubCertification_Click() {}

} // namespace app
