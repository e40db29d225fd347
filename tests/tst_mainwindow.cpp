// Start-up, the main window and its menus in both editions, the two edition
// records, and how a program finds its database and keeps to one copy.

#include "Edition.h"
#include "Form1.h"
#include "Module2.h"
#include "Program.h"
#include "ProgramMain.h"
#include "ScriptedPrompter.h"
#include "SingleInstance.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString quitPrompt = QStringLiteral("Do you really want to Quit?");

app::Edition editionNamed(const QString& name)
{
    return name == QLatin1StringView("demo") ? app::demoEdition() : app::fullEdition();
}

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            shown << w;
    }
    return shown;
}

// Another window of the program, open beside the main window.
class SideWindow final : public app::Form {
public:
    using Form::Form;

protected:
    QWidget* createWindow() override { return new QWidget; }
};

// Caption of each action of a menu (or of the menu bar), "-" for a separator.
QStringList captions(const QWidget* owner)
{
    QStringList out;
    for (const QAction* a : owner->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QStringList names(const QWidget* owner)
{
    QStringList out;
    for (const QAction* a : owner->actions())
        out << a->objectName();
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void editionRecordsHoldTheirTables_data();
    void editionRecordsHoldTheirTables();

    void startUpShowsOnlyTheMaximizedMainWindow_data();
    void startUpShowsOnlyTheMaximizedMainWindow();
    void menuTreeOfEachEdition_data();
    void menuTreeOfEachEdition();
    void demoItemsThatAreOffCannotBeChosen();

    void exitAnsweredNoChangesNothing_data();
    void exitAnsweredNoChangesNothing();
    void exitAnsweredYesEndsWithEveryWindowClosed();
    void closingTheMainWindowAsksAsExitDoes();

    void databaseFolder_data();
    void databaseFolder();
    void oneCopyPerDatabase();

private:
    void start(const QString& edition);

    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<app::Program> m_program;
    int m_ends = 0;
};

void TestMainWindow::start(const QString& edition)
{
    m_ends = 0;
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_program = std::make_unique<app::Program>(editionNamed(edition), *m_prompter);
    m_program->setEndHandler([this] { ++m_ends; });
    app::Main(*m_program);
}

void TestMainWindow::cleanup()
{
    const QStringList unexpected = m_prompter ? m_prompter->unexpected() : QStringList();
    m_program.reset();
    m_prompter.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u'\n')));
}

// --- edition records ------------------------------------------------------------

void TestMainWindow::editionRecordsHoldTheirTables_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("full");
    QTest::addColumn<QVariant>("demo");
    auto row = [](const char* field, QVariant full, QVariant demo) {
        QTest::newRow(field) << QString::fromLatin1(field) << full << demo;
    };
    auto text = [](const char* s) { return QVariant(QString::fromUtf8(s)); };

    // constants
    row("programName", text("brel"), text("brel_demo"));
    row("databaseFile", text("qbk09.mdb"), text("qbk009.mdb"));
    row("questionCount", 83, 30);
    row("timeLimitMinutes", 120, 30);
    row("passScore", 700, 700);
    row("applicationTitle", text("Quizmoor"), text("Quizmoor"));
    row("version", text("Version 9.0.0"), text("Version 9.0.0"));
    row("exams offered", text("1 2 3"), text("1"));
    row("answerColumns", 4, 5);
    row("scoreSheetTitle", text("Brel 9x Practice Exam"), text("Corvane(R) Brel 9x Practice Exam Demo"));
    row("categoryLabelSlots", 19, 18);

    // texts
    row("exam menu 1", text("Brel 9x Practice E&xam #1"), text("Brel 9x &Exam #1 Demo"));
    row("exam menu 2", text("Brel 9x Practice E&xam #2"), text("Brel 9x  E&xam #2"));
    row("exam menu 3", text("Brel 9x Practice Ex&am #3"), text("Brel 9x  Ex&am #3"));
    row("review menu 1", text("Re&view Exam #1"), text("&Review Exam #1 Demo"));
    row("review menu 2", text("Rev&iew Exam #2"), text("Rev&iew Exam #2"));
    row("review menu 3", text("Revi&ew Exam #3"), text("Revi&ew Exam #3"));
    row("orderingOnMenuBar", false, true);
    row("namePrompt", text("Please enter your name"), text("Please enter your name:"));
    row("nameTitle", text("Name"), text("Name"));
    row("nameDefault", text("Candidate's name"), text("Candidate's Name Here"));
    row("noticeText", text("You will have 83 questions and have to answer in 120 minutes or less. "),
        text("You will have 30 questions and have to answer in 30 minutes or less. "));
    row("exam captions", text("Exam #1|Exam #2|Exam #3"), text("Demo Exam|Demo Exam|Demo Exam"));
    row("showAnswerCaption", text("Show Answer"), text("Show Answer!"));
    row("review captions", text("Review Exam #1|Review Exam #2|Review Exam #3"),
        text("Review - Demo Exam |Review - Demo Exam |Review - Demo Exam "));
    row("wrong-answer captions", text("Exam #1 wrong answers|Exam #2 wrong answers|Exam #3 wrong answers"),
        text("Correct Answers -Demo Exam|Correct Answers -Demo Exam|Correct Answers -Demo Exam"));
    row("exhibitViewerCaption", text("Exhibit"), text("Image"));
    row("exhibitButtonsArePictures", false, true);
    row("wrongAnswerExhibitCaption", text("Exhibit"), QVariant());
    row("reviewExhibitCaption", text("E x h i b i t"), QVariant());
    row("disclaimerLabel", text("Software Agreement(EULA) and  Disclaimer"), text("Software Agreement and Disclaimer"));
    row("aboutDescription",
        text("Each Exam contains 80+ questions and you have to answer in 120 minutes or less. The practice "
             "tests for Brel 9x exam covers stated exam objectives.  "),
        text("The Demo Exam contains 30 questions and you have to answer in 30 minutes or less. Full version "
             "contains 3 individual tests with atleast 80 questions each. The practice exams cover Corvane (R) "
             "Brel 9x  Exam Objectives.  "));
    row("scoreDateLabel", text("Date"), text("Date:"));
    row("scoreNameLabel", text("Name"), text("Name:"));

    // behaviours
    row("noticeOkStartsAnyExam", true, false);
    row("noticeOkUnloads", true, false);
    row("timeOutAsksToEnd", true, false);
    row("timeOutMessage", QVariant(), text("Sorry! You have exceeded the allowed time! Click OK to continue."));
    row("showAnswerHidesExamFirst", true, false);
    row("showAnswerReturnDiscards", true, false);
    row("exhibitHidesCaller", true, false);
    row("reviewEndUnloads", true, false);
    row("reviewReappliesModeOnActivate", true, false);
    row("wrongAnswerReturnUnloads", true, false);
}

void TestMainWindow::editionRecordsHoldTheirTables()
{
    QFETCH(QString, field);
    QFETCH(QVariant, full);
    QFETCH(QVariant, demo);

    using app::Edition;
    auto three = [](const Edition& e, QString (Edition::*caption)(int) const) {
        return QVariant((e.*caption)(1) + u'|' + (e.*caption)(2) + u'|' + (e.*caption)(3));
    };
    auto optionalText = [](const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); };
    const std::map<QString, std::function<QVariant(const Edition&)>> fields = {
        {QStringLiteral("programName"), [](const Edition& e) { return QVariant(e.programName); }},
        {QStringLiteral("databaseFile"), [](const Edition& e) { return QVariant(e.databaseFile); }},
        {QStringLiteral("questionCount"), [](const Edition& e) { return QVariant(e.questionCount); }},
        {QStringLiteral("timeLimitMinutes"), [](const Edition& e) { return QVariant(e.timeLimitMinutes); }},
        {QStringLiteral("passScore"), [](const Edition& e) { return QVariant(e.passScore); }},
        {QStringLiteral("applicationTitle"), [](const Edition& e) { return QVariant(e.applicationTitle); }},
        {QStringLiteral("version"), [](const Edition& e) { return QVariant(e.version()); }},
        {QStringLiteral("exams offered"),
         [](const Edition& e) {
             QStringList offered;
             for (int exam = 0; exam <= 4; ++exam) {
                 if (e.offersExam(exam))
                     offered << QString::number(exam);
             }
             return QVariant(offered.join(u' '));
         }},
        {QStringLiteral("answerColumns"), [](const Edition& e) { return QVariant(e.answerColumns); }},
        {QStringLiteral("scoreSheetTitle"), [](const Edition& e) { return QVariant(e.scoreSheetTitle); }},
        {QStringLiteral("categoryLabelSlots"), [](const Edition& e) { return QVariant(e.categoryLabelSlots); }},
        {QStringLiteral("exam menu 1"), [](const Edition& e) { return QVariant(e.examMenuCaptions[0]); }},
        {QStringLiteral("exam menu 2"), [](const Edition& e) { return QVariant(e.examMenuCaptions[1]); }},
        {QStringLiteral("exam menu 3"), [](const Edition& e) { return QVariant(e.examMenuCaptions[2]); }},
        {QStringLiteral("review menu 1"), [](const Edition& e) { return QVariant(e.reviewMenuCaptions[0]); }},
        {QStringLiteral("review menu 2"), [](const Edition& e) { return QVariant(e.reviewMenuCaptions[1]); }},
        {QStringLiteral("review menu 3"), [](const Edition& e) { return QVariant(e.reviewMenuCaptions[2]); }},
        {QStringLiteral("orderingOnMenuBar"), [](const Edition& e) { return QVariant(e.orderingOnMenuBar); }},
        {QStringLiteral("namePrompt"), [](const Edition& e) { return QVariant(e.namePrompt); }},
        {QStringLiteral("nameTitle"), [](const Edition& e) { return QVariant(e.nameTitle); }},
        {QStringLiteral("nameDefault"), [](const Edition& e) { return QVariant(e.nameDefault); }},
        {QStringLiteral("noticeText"), [](const Edition& e) { return QVariant(e.noticeText); }},
        {QStringLiteral("exam captions"), [three](const Edition& e) { return three(e, &Edition::examCaption); }},
        {QStringLiteral("showAnswerCaption"), [](const Edition& e) { return QVariant(e.showAnswerCaption); }},
        {QStringLiteral("review captions"), [three](const Edition& e) { return three(e, &Edition::reviewCaption); }},
        {QStringLiteral("wrong-answer captions"),
         [three](const Edition& e) { return three(e, &Edition::wrongAnswerCaption); }},
        {QStringLiteral("exhibitViewerCaption"), [](const Edition& e) { return QVariant(e.exhibitViewerCaption); }},
        {QStringLiteral("exhibitButtonsArePictures"),
         [](const Edition& e) { return QVariant(e.exhibitButtonsArePictures); }},
        {QStringLiteral("wrongAnswerExhibitCaption"),
         [optionalText](const Edition& e) { return optionalText(e.wrongAnswerExhibitCaption); }},
        {QStringLiteral("reviewExhibitCaption"),
         [optionalText](const Edition& e) { return optionalText(e.reviewExhibitCaption); }},
        {QStringLiteral("disclaimerLabel"), [](const Edition& e) { return QVariant(e.disclaimerLabel); }},
        {QStringLiteral("aboutDescription"), [](const Edition& e) { return QVariant(e.aboutDescription); }},
        {QStringLiteral("scoreDateLabel"), [](const Edition& e) { return QVariant(e.scoreDateLabel); }},
        {QStringLiteral("scoreNameLabel"), [](const Edition& e) { return QVariant(e.scoreNameLabel); }},
        {QStringLiteral("noticeOkStartsAnyExam"), [](const Edition& e) { return QVariant(e.noticeOkStartsAnyExam); }},
        {QStringLiteral("noticeOkUnloads"), [](const Edition& e) { return QVariant(e.noticeOkUnloads); }},
        {QStringLiteral("timeOutAsksToEnd"), [](const Edition& e) { return QVariant(e.timeOutAsksToEnd); }},
        {QStringLiteral("timeOutMessage"), [optionalText](const Edition& e) { return optionalText(e.timeOutMessage); }},
        {QStringLiteral("showAnswerHidesExamFirst"),
         [](const Edition& e) { return QVariant(e.showAnswerHidesExamFirst); }},
        {QStringLiteral("showAnswerReturnDiscards"),
         [](const Edition& e) { return QVariant(e.showAnswerReturnDiscards); }},
        {QStringLiteral("exhibitHidesCaller"), [](const Edition& e) { return QVariant(e.exhibitHidesCaller); }},
        {QStringLiteral("reviewEndUnloads"), [](const Edition& e) { return QVariant(e.reviewEndUnloads); }},
        {QStringLiteral("reviewReappliesModeOnActivate"),
         [](const Edition& e) { return QVariant(e.reviewReappliesModeOnActivate); }},
        {QStringLiteral("wrongAnswerReturnUnloads"),
         [](const Edition& e) { return QVariant(e.wrongAnswerReturnUnloads); }},
    };
    const auto get = fields.find(field);
    QVERIFY2(get != fields.end(), qPrintable(field));
    QCOMPARE(get->second(app::fullEdition()), full);
    QCOMPARE(get->second(app::demoEdition()), demo);
}

// --- start-up and the menu tree ---------------------------------------------------

void TestMainWindow::startUpShowsOnlyTheMaximizedMainWindow_data()
{
    QTest::addColumn<QString>("edition");
    QTest::addColumn<int>("questionCount");
    QTest::newRow("full") << QStringLiteral("full") << 83;
    QTest::newRow("demo") << QStringLiteral("demo") << 30;
}

void TestMainWindow::startUpShowsOnlyTheMaximizedMainWindow()
{
    QFETCH(QString, edition);
    QFETCH(int, questionCount);
    start(edition);

    QCOMPARE(m_program->run().QuestionCount, questionCount);
    // nothing else of the run is set yet
    QCOMPARE(m_program->run().ExamCode, 0);
    QCOMPARE(m_program->run().TimeLimitMinutes, 0);
    QVERIFY(m_program->run().CandidateName.isEmpty());

    app::Form1* form1 = m_program->forms().existing<app::Form1>();
    QVERIFY(form1);
    QVERIFY(form1->isVisible());
    QCOMPARE(visibleWindows(), QList<QWidget*>{form1->window()});
    QVERIFY(form1->window()->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(form1->window()->windowTitle(), QStringLiteral("Quizmoor"));
    QVERIFY(!form1->window()->isModal());
    QVERIFY(m_prompter->shown().isEmpty()); // nothing asked at start-up
}

void TestMainWindow::menuTreeOfEachEdition_data()
{
    QTest::addColumn<QString>("edition");
    QTest::addColumn<QStringList>("bar");
    QTest::addColumn<QStringList>("barNames");
    QTest::addColumn<QStringList>("exam");
    QTest::addColumn<QStringList>("review");
    QTest::addColumn<QStringList>("help");
    QTest::addColumn<QStringList>("helpNames");
    QTest::addColumn<QStringList>("disabled");

    QTest::newRow("full") << QStringLiteral("full")
                          << QStringList{QStringLiteral("&Exam"), QStringLiteral("&Review"), QStringLiteral("&Help")}
                          << QStringList{QStringLiteral("mnuExam"), QStringLiteral("mnuFile"), QStringLiteral("mnuhelp")}
                          << QStringList{QStringLiteral("Brel 9x Practice E&xam #1"),
                                         QStringLiteral("Brel 9x Practice E&xam #2"),
                                         QStringLiteral("Brel 9x Practice Ex&am #3"), QStringLiteral("&Exit")}
                          << QStringList{QStringLiteral("Re&view Exam #1"), QStringLiteral("Rev&iew Exam #2"),
                                         QStringLiteral("Revi&ew Exam #3")}
                          << QStringList{QStringLiteral("&Navigation"), QStringLiteral("&Certification"),
                                         QStringLiteral("&Read Me"), QStringLiteral("&Ordering"),
                                         QStringLiteral("&About ")}
                          << QStringList{QStringLiteral("mnuHelpsubNavigate"), QStringLiteral("mnuHelpSubCer"),
                                         QStringLiteral("mnuhelpsubmnureadme"), QStringLiteral("mnuhelpsubmnuorder"),
                                         QStringLiteral("mnuHelpsubCertification")}
                          << QStringList();
    QTest::newRow("demo") << QStringLiteral("demo")
                          << QStringList{QStringLiteral("&Exam"), QStringLiteral("&Review"), QStringLiteral("&Help"),
                                         QStringLiteral("&Ordering")}
                          << QStringList{QStringLiteral("mnuExam"), QStringLiteral("mnuFile"), QStringLiteral("mnuhelp"),
                                         QStringLiteral("mnuhelpsubmnuorder")}
                          << QStringList{QStringLiteral("Brel 9x &Exam #1 Demo"), QStringLiteral("Brel 9x  E&xam #2"),
                                         QStringLiteral("Brel 9x  Ex&am #3"), QStringLiteral("&Exit")}
                          << QStringList{QStringLiteral("&Review Exam #1 Demo"), QStringLiteral("Rev&iew Exam #2"),
                                         QStringLiteral("Revi&ew Exam #3")}
                          << QStringList{QStringLiteral("&Navigation"), QStringLiteral("&Certification"),
                                         QStringLiteral("&Read Me"), QStringLiteral("&About ")}
                          << QStringList{QStringLiteral("mnuHelpsubNavigate"), QStringLiteral("mnuHelpSubCer"),
                                         QStringLiteral("mnuhelpsubmnureadme"), QStringLiteral("mnuHelpsubCertification")}
                          << QStringList{QStringLiteral("mnuExamsub2"), QStringLiteral("mnuExamsub3"),
                                         QStringLiteral("menuFileSubExam2"), QStringLiteral("menuFileSubExam3")};
}

void TestMainWindow::menuTreeOfEachEdition()
{
    QFETCH(QString, edition);
    QFETCH(QStringList, bar);
    QFETCH(QStringList, barNames);
    QFETCH(QStringList, exam);
    QFETCH(QStringList, review);
    QFETCH(QStringList, help);
    QFETCH(QStringList, helpNames);
    QFETCH(QStringList, disabled);
    start(edition);

    auto* window = qobject_cast<QMainWindow*>(m_program->form<app::Form1>().window());
    QVERIFY(window);
    QMenuBar* menuBar = window->menuBar();
    QCOMPARE(captions(menuBar), bar);
    QCOMPARE(names(menuBar), barNames);

    const QList<QAction*> top = menuBar->actions();
    QMenu* examMenu = top.at(0)->menu();
    QMenu* reviewMenu = top.at(1)->menu();
    QMenu* helpMenu = top.at(2)->menu();
    QVERIFY(examMenu && reviewMenu && helpMenu);
    QCOMPARE(captions(examMenu), exam);
    QCOMPARE(names(examMenu), (QStringList{QStringLiteral("mnuExamsub1"), QStringLiteral("mnuExamsub2"),
                                           QStringLiteral("mnuExamsub3"), QStringLiteral("mnuFileSubExit")}));
    QCOMPARE(captions(reviewMenu), review);
    QCOMPARE(names(reviewMenu), (QStringList{QStringLiteral("menuFileSubExam1"), QStringLiteral("menuFileSubExam2"),
                                             QStringLiteral("menuFileSubExam3")}));
    QCOMPARE(captions(helpMenu), help);
    QCOMPARE(names(helpMenu), helpNames);

    // "&Ordering" of the demo is a command of the bar, with no list of its own
    if (top.size() > 3) {
        QAction* ordering = top.at(3);
        QVERIFY(!ordering->menu());
        QVERIFY(ordering->isEnabled());
        QVERIFY(!helpMenu->actions().contains(ordering));
    }
    // every item is found by its name, once
    auto* form1 = &m_program->form<app::Form1>();
    for (const QString& name : names(examMenu) + names(reviewMenu) + names(helpMenu))
        QVERIFY2(form1->menuItem(name), qPrintable(name));
    QCOMPARE(window->findChildren<QAction*>(QStringLiteral("mnuhelpsubmnuorder")).size(), 1);

    // enabled state as designed
    for (QMenu* menu : {examMenu, reviewMenu, helpMenu}) {
        QVERIFY(menu->menuAction()->isEnabled());
        for (QAction* item : menu->actions())
            QCOMPARE(item->isEnabled(), !disabled.contains(item->objectName()));
    }
}

void TestMainWindow::demoItemsThatAreOffCannotBeChosen()
{
    start(QStringLiteral("demo"));
    app::Form1& form1 = m_program->form<app::Form1>();
    const QStringList off = {QStringLiteral("mnuExamsub2"), QStringLiteral("mnuExamsub3"),
                             QStringLiteral("menuFileSubExam2"), QStringLiteral("menuFileSubExam3")};
    for (const QString& name : off) {
        QAction* item = form1.menuItem(name);
        QVERIFY2(item && !item->isEnabled(), qPrintable(name));
        int fired = 0;
        connect(item, &QAction::triggered, this, [&fired] { ++fired; });
        item->trigger();
        QCOMPARE(fired, 0);
    }
    // nothing started: no question asked, no exam chosen, no other window
    QVERIFY(m_prompter->shown().isEmpty());
    QCOMPARE(m_program->run().ExamCode, 0);
    QCOMPARE(visibleWindows(), QList<QWidget*>{form1.window()});

    // nor through the access keys of the open list: "x" and "a" belong to the items that are off
    auto* window = qobject_cast<QMainWindow*>(form1.window());
    QMenu* examMenu = window->menuBar()->actions().at(0)->menu();
    int chosen = 0;
    connect(examMenu, &QMenu::triggered, this, [&chosen] { ++chosen; });
    examMenu->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(examMenu));
    QTest::keyClick(examMenu, Qt::Key_X);
    QTest::keyClick(examMenu, Qt::Key_A);
    QCOMPARE(chosen, 0);
    examMenu->hide();
    QVERIFY(m_prompter->shown().isEmpty());
}

// --- Exit --------------------------------------------------------------------------

void TestMainWindow::exitAnsweredNoChangesNothing_data()
{
    QTest::addColumn<QString>("edition");
    QTest::newRow("full") << QStringLiteral("full");
    QTest::newRow("demo") << QStringLiteral("demo");
}

void TestMainWindow::exitAnsweredNoChangesNothing()
{
    QFETCH(QString, edition);
    start(edition);
    app::Form1& form1 = m_program->form<app::Form1>();
    SideWindow& side = m_program->form<SideWindow>();
    side.Show();
    const QList<QWidget*> before = visibleWindows();

    m_prompter->expect(quitPrompt, app::vbNo);
    form1.menuItem(QStringLiteral("mnuFileSubExit"))->trigger();
    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(m_prompter->last().prompt, quitPrompt);
    QCOMPARE(m_prompter->last().style, 52);
    QCOMPARE(m_prompter->last().title, QStringLiteral("Quizmoor"));
    QVERIFY(!m_program->hasEnded());
    QCOMPARE(m_ends, 0);
    QCOMPARE(visibleWindows(), before);
    QVERIFY(form1.isLoaded() && side.isLoaded());

    // any answer but Yes is a No
    m_prompter->expect(quitPrompt, app::vbCancel);
    form1.mnuFileSubExit_Click();
    QVERIFY(!m_program->hasEnded());
    QCOMPARE(visibleWindows(), before);
}

void TestMainWindow::exitAnsweredYesEndsWithEveryWindowClosed()
{
    start(QStringLiteral("full"));
    app::Form1& form1 = m_program->form<app::Form1>();
    SideWindow& side = m_program->form<SideWindow>();
    side.Show();
    form1.Hide(); // as while an exam runs
    form1.Show();

    m_prompter->expect(quitPrompt, app::vbYes);
    form1.menuItem(QStringLiteral("mnuFileSubExit"))->trigger();
    QVERIFY(m_program->hasEnded());
    QCOMPARE(m_ends, 1);
    QVERIFY(!form1.isLoaded());
    QVERIFY(!side.isLoaded());
    QVERIFY(visibleWindows().isEmpty());
    QCOMPARE(m_prompter->shown().size(), 1); // nothing else asked
}

void TestMainWindow::closingTheMainWindowAsksAsExitDoes()
{
    start(QStringLiteral("demo"));
    app::Form1& form1 = m_program->form<app::Form1>();
    QPointer<QWidget> window = form1.window();

    m_prompter->expect(quitPrompt, app::vbNo);
    QVERIFY(!window->close());
    QCOMPARE(m_prompter->last().prompt, quitPrompt);
    QCOMPARE(m_prompter->last().style, 52);
    QCOMPARE(m_prompter->last().title, QStringLiteral("Quizmoor"));
    QVERIFY(window && window->isVisible());
    QCOMPARE(form1.window(), window.data());
    QVERIFY(!m_program->hasEnded());

    m_prompter->expect(quitPrompt, app::vbYes);
    window->close();
    QVERIFY(m_program->hasEnded());
    QCOMPARE(m_ends, 1);
    QVERIFY(!form1.isLoaded());
    QTRY_VERIFY(window.isNull());
    QVERIFY(m_prompter->unused().isEmpty());
}

// --- finding the database, one copy at a time ----------------------------------------

void TestMainWindow::databaseFolder_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QStringList>("inCurrent");
    QTest::addColumn<QStringList>("besideProgram");
    QTest::addColumn<bool>("movesToProgram");
    const QString full = QStringLiteral("qbk09.mdb");
    const QString demo = QStringLiteral("qbk009.mdb");
    QTest::newRow("in the current folder") << full << QStringList{full} << QStringList{full} << false;
    QTest::newRow("beside the program only") << full << QStringList() << QStringList{full} << true;
    QTest::newRow("nowhere") << full << QStringList() << QStringList() << false;
    QTest::newRow("demo beside the full edition's file") << demo << QStringList() << QStringList{full} << false;
    QTest::newRow("demo, the full edition's file here") << demo << QStringList{full} << QStringList{demo} << true;
    QTest::newRow("full beside the demo's file") << full << QStringList{demo} << QStringList{demo} << false;
}

void TestMainWindow::databaseFolder()
{
    QFETCH(QString, wanted);
    QFETCH(QStringList, inCurrent);
    QFETCH(QStringList, besideProgram);
    QFETCH(bool, movesToProgram);

    QTemporaryDir current;
    QTemporaryDir program;
    auto place = [](const QTemporaryDir& dir, const QStringList& files) {
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    };
    place(current, inCurrent);
    place(program, besideProgram);

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    const QString chosen = app::findDatabaseFolder(wanted, program.path());
    const QString after = QDir::currentPath();
    QDir::setCurrent(previous);

    const QString expected = QFileInfo(movesToProgram ? program.path() : current.path()).canonicalFilePath();
    QCOMPARE(QFileInfo(after).canonicalFilePath(), expected);
    QCOMPARE(QFileInfo(chosen).canonicalFilePath(), expected);
    // looking creates nothing
    QCOMPARE(QDir(current.path()).entryList(QDir::Files), inCurrent);
    QCOMPARE(QDir(program.path()).entryList(QDir::Files), besideProgram);
}

void TestMainWindow::oneCopyPerDatabase()
{
    QTemporaryDir locks; // where the locks go, not the system's own folder
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(locks.path()));
    const QString full = locks.filePath(QStringLiteral("bank/qbk09.mdb"));
    const QString demo = locks.filePath(QStringLiteral("bank/qbk009.mdb"));
    {
        auto first = std::make_unique<app::SingleInstance>(full);
        QVERIFY(first->acquired());
        app::SingleInstance second(full);
        QVERIFY(!second.acquired());
        app::SingleInstance otherEdition(demo);
        QVERIFY(otherEdition.acquired());

        // the first copy ends: the next one may start
        first.reset();
        app::SingleInstance next(full);
        QVERIFY(next.acquired());
    }

    // a copy that crashed left its lock behind: it does not keep the next one out
    QStringList lockFiles;
    {
        app::SingleInstance held(full);
        QVERIFY(held.acquired());
        lockFiles = QDir(locks.path()).entryList(QDir::Files);
    }
    QCOMPARE(lockFiles.size(), 1);
    QFile stale(locks.filePath(lockFiles.first()));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("2147483600\nbrel\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    {
        app::SingleInstance afterCrash(full);
        QVERIFY(afterCrash.acquired());
    }
    if (previous.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previous);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
