// Start-up, the main window and its menus in both editions, the two edition
// records, and how a program finds its database and keeps to one copy.

#include "Form1.h"
#include "Module2.h"
#include "Program.h"
#include "ProgramMain.h"
#include "ScriptedPrompter.h"
#include "SingleInstance.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString quitPrompt = u"Do you really want to Quit?"_s;

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> shown = QApplication::topLevelWidgets();
    shown.removeIf([](QWidget* w) { return !w->isVisible(); });
    return shown;
}

// Another window of the program, open beside the main window.
class SideWindow final : public app::Form {
public:
    using Form::Form;

protected:
    QWidget* createWindow() override { return new QWidget; }
};

QStringList captions(const QWidget* owner)
{
    QStringList out;
    for (const QAction* a : owner->actions())
        out << a->text();
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

    void editionRecordsHoldTheirTables();

    void startUpShowsOnlyTheMaximizedMainWindow_data() { editions(); }
    void startUpShowsOnlyTheMaximizedMainWindow();
    void menuTreeOfEachEdition_data();
    void menuTreeOfEachEdition();
    void demoItemsThatAreOffCannotBeChosen();

    void exitAnsweredNoChangesNothing_data() { editions(); }
    void exitAnsweredNoChangesNothing();
    void exitAnsweredYesEndsWithEveryWindowClosed();
    void closingTheMainWindowAsksAsExitDoes();

    void databaseFolder_data();
    void databaseFolder();
    void oneCopyPerDatabase();

private:
    static void editions()
    {
        QTest::addColumn<bool>("demo");
        QTest::newRow("full") << false;
        QTest::newRow("demo") << true;
    }
    app::Form1& start(bool demo)
    {
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_program = std::make_unique<app::Program>(demo ? app::demoEdition() : app::fullEdition(), *m_prompter);
        m_program->setEndHandler([this] { ++m_ends; });
        m_ends = 0;
        app::Main(*m_program);
        return m_program->form<app::Form1>();
    }

    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<app::Program> m_program;
    int m_ends = 0;
};

void TestMainWindow::cleanup()
{
    const QStringList unexpected = m_prompter ? m_prompter->unexpected() : QStringList();
    m_program.reset();
    m_prompter.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u'\n')));
}

void TestMainWindow::editionRecordsHoldTheirTables()
{
    const app::Edition f = app::fullEdition();
    const app::Edition d = app::demoEdition();
#define BOTH(field, full, demo) \
    do { \
        QCOMPARE(f.field, full); \
        QCOMPARE(d.field, demo); \
    } while (false)
    auto three = [](const app::Edition& e, QString (app::Edition::*caption)(int) const) {
        return QStringList{(e.*caption)(1), (e.*caption)(2), (e.*caption)(3)};
    };
    auto offered = [](const app::Edition& e) {
        QList<int> exams;
        for (int exam = 0; exam <= 4; ++exam) {
            if (e.offersExam(exam))
                exams << exam;
        }
        return exams;
    };

    // constants
    BOTH(programName, u"brel"_s, u"brel_demo"_s);
    BOTH(databaseFile, u"qbk09.mdb"_s, u"qbk009.mdb"_s);
    BOTH(questionCount, 83, 30);
    BOTH(timeLimitMinutes, 120, 30);
    BOTH(passScore, 700, 700);
    BOTH(applicationTitle, u"Quizmoor"_s, u"Quizmoor"_s);
    BOTH(version(), u"Version 9.0.0"_s, u"Version 9.0.0"_s);
    QCOMPARE(offered(f), (QList<int>{1, 2, 3}));
    QCOMPARE(offered(d), QList<int>{1});
    BOTH(answerColumns, 4, 5);
    BOTH(scoreSheetTitle, u"Brel 9x Practice Exam"_s, u"Corvane(R) Brel 9x Practice Exam Demo"_s);
    BOTH(categoryLabelSlots, 19, 18);

    // texts
    BOTH(examMenuCaptions[0], u"Brel 9x Practice E&xam #1"_s, u"Brel 9x &Exam #1 Demo"_s);
    BOTH(examMenuCaptions[1], u"Brel 9x Practice E&xam #2"_s, u"Brel 9x  E&xam #2"_s);
    BOTH(examMenuCaptions[2], u"Brel 9x Practice Ex&am #3"_s, u"Brel 9x  Ex&am #3"_s);
    BOTH(reviewMenuCaptions[0], u"Re&view Exam #1"_s, u"&Review Exam #1 Demo"_s);
    BOTH(reviewMenuCaptions[1], u"Rev&iew Exam #2"_s, u"Rev&iew Exam #2"_s);
    BOTH(reviewMenuCaptions[2], u"Revi&ew Exam #3"_s, u"Revi&ew Exam #3"_s);
    BOTH(orderingOnMenuBar, false, true);
    BOTH(namePrompt, u"Please enter your name"_s, u"Please enter your name:"_s);
    BOTH(nameTitle, u"Name"_s, u"Name"_s);
    BOTH(nameDefault, u"Candidate's name"_s, u"Candidate's Name Here"_s);
    BOTH(noticeText, u"You will have 83 questions and have to answer in 120 minutes or less. "_s,
         u"You will have 30 questions and have to answer in 30 minutes or less. "_s);
    QCOMPARE(three(f, &app::Edition::examCaption), (QStringList{u"Exam #1"_s, u"Exam #2"_s, u"Exam #3"_s}));
    QCOMPARE(three(d, &app::Edition::examCaption), QStringList(3, u"Demo Exam"_s));
    BOTH(showAnswerCaption, u"Show Answer"_s, u"Show Answer!"_s);
    QCOMPARE(three(f, &app::Edition::reviewCaption),
             (QStringList{u"Review Exam #1"_s, u"Review Exam #2"_s, u"Review Exam #3"_s}));
    QCOMPARE(three(d, &app::Edition::reviewCaption), QStringList(3, u"Review - Demo Exam "_s));
    QCOMPARE(three(f, &app::Edition::wrongAnswerCaption),
             (QStringList{u"Exam #1 wrong answers"_s, u"Exam #2 wrong answers"_s, u"Exam #3 wrong answers"_s}));
    QCOMPARE(three(d, &app::Edition::wrongAnswerCaption), QStringList(3, u"Correct Answers -Demo Exam"_s));
    BOTH(exhibitViewerCaption, u"Exhibit"_s, u"Image"_s);
    BOTH(exhibitButtonsArePictures, false, true);
    QCOMPARE(f.wrongAnswerExhibitCaption, u"Exhibit"_s);
    QCOMPARE(f.reviewExhibitCaption, u"E x h i b i t"_s);
    BOTH(disclaimerLabel, u"Software Agreement(EULA) and  Disclaimer"_s, u"Software Agreement and Disclaimer"_s);
    BOTH(aboutDescription,
         u"Each Exam contains 80+ questions and you have to answer in 120 minutes or less. The practice tests "
         "for Brel 9x exam covers stated exam objectives.  "_s,
         u"The Demo Exam contains 30 questions and you have to answer in 30 minutes or less. Full version "
         "contains 3 individual tests with atleast 80 questions each. The practice exams cover Corvane (R) "
         "Brel 9x  Exam Objectives.  "_s);
    BOTH(scoreDateLabel, u"Date"_s, u"Date:"_s);
    BOTH(scoreNameLabel, u"Name"_s, u"Name:"_s);

    // behaviours
    BOTH(noticeOkStartsAnyExam, true, false);
    BOTH(noticeOkUnloads, true, false);
    BOTH(timeOutAsksToEnd, true, false);
    QCOMPARE(d.timeOutMessage, u"Sorry! You have exceeded the allowed time! Click OK to continue."_s);
    BOTH(showAnswerHidesExamFirst, true, false);
    BOTH(showAnswerReturnDiscards, true, false);
    BOTH(exhibitHidesCaller, true, false);
    BOTH(reviewEndUnloads, true, false);
    BOTH(reviewReappliesModeOnActivate, true, false);
    BOTH(wrongAnswerReturnUnloads, true, false);
#undef BOTH
}

void TestMainWindow::startUpShowsOnlyTheMaximizedMainWindow()
{
    QFETCH(bool, demo);
    app::Form1& form1 = start(demo);
    QCOMPARE(m_program->run().QuestionCount, demo ? 30 : 83);
    QCOMPARE(m_program->run().ExamCode, 0); // nothing else of the run is set
    QCOMPARE(m_program->run().TimeLimitMinutes, 0);
    QCOMPARE(visibleWindows(), QList<QWidget*>{form1.window()});
    QVERIFY(form1.window()->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(form1.window()->windowTitle(), u"Quizmoor"_s);
    QVERIFY(m_prompter->shown().isEmpty()); // nothing asked at start-up
}

void TestMainWindow::menuTreeOfEachEdition_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QStringList>("bar");
    QTest::addColumn<QStringList>("exam");
    QTest::addColumn<QStringList>("review");
    QTest::addColumn<QStringList>("help");
    QTest::addColumn<QStringList>("off");
    const QStringList review = {u"Re&view Exam #1"_s, u"Rev&iew Exam #2"_s, u"Revi&ew Exam #3"_s};
    QTest::newRow("full") << false << QStringList{u"&Exam"_s, u"&Review"_s, u"&Help"_s}
                          << QStringList{u"Brel 9x Practice E&xam #1"_s, u"Brel 9x Practice E&xam #2"_s,
                                         u"Brel 9x Practice Ex&am #3"_s, u"&Exit"_s}
                          << review
                          << QStringList{u"&Navigation"_s, u"&Certification"_s, u"&Read Me"_s, u"&Ordering"_s,
                                         u"&About "_s}
                          << QStringList();
    QTest::newRow("demo") << true << QStringList{u"&Exam"_s, u"&Review"_s, u"&Help"_s, u"&Ordering"_s}
                          << QStringList{u"Brel 9x &Exam #1 Demo"_s, u"Brel 9x  E&xam #2"_s, u"Brel 9x  Ex&am #3"_s,
                                         u"&Exit"_s}
                          << QStringList{u"&Review Exam #1 Demo"_s, review[1], review[2]}
                          << QStringList{u"&Navigation"_s, u"&Certification"_s, u"&Read Me"_s, u"&About "_s}
                          << QStringList{u"mnuExamsub2"_s, u"mnuExamsub3"_s, u"menuFileSubExam2"_s,
                                         u"menuFileSubExam3"_s};
}

void TestMainWindow::menuTreeOfEachEdition()
{
    QFETCH(bool, demo);
    QFETCH(QStringList, bar);
    QFETCH(QStringList, exam);
    QFETCH(QStringList, review);
    QFETCH(QStringList, help);
    QFETCH(QStringList, off);
    app::Form1& form1 = start(demo);
    auto* window = qobject_cast<QMainWindow*>(form1.window());
    QVERIFY(window);

    const QList<QAction*> top = window->menuBar()->actions();
    QCOMPARE(captions(window->menuBar()), bar);
    QStringList barNames{u"mnuExam"_s, u"mnuFile"_s, u"mnuhelp"_s};
    QStringList helpNames{u"mnuHelpsubNavigate"_s, u"mnuHelpSubCer"_s, u"mnuhelpsubmnureadme"_s,
                          u"mnuhelpsubmnuorder"_s, u"mnuHelpsubCertification"_s};
    if (demo)
        barNames << helpNames.takeAt(3);
    QCOMPARE(names(window->menuBar()), barNames);
    QMenu* examMenu = top.at(0)->menu();
    QMenu* reviewMenu = top.at(1)->menu();
    QMenu* helpMenu = top.at(2)->menu();
    QVERIFY(examMenu && reviewMenu && helpMenu);
    QCOMPARE(captions(examMenu), exam);
    QCOMPARE(names(examMenu), (QStringList{u"mnuExamsub1"_s, u"mnuExamsub2"_s, u"mnuExamsub3"_s, u"mnuFileSubExit"_s}));
    QCOMPARE(captions(reviewMenu), review);
    QCOMPARE(names(reviewMenu), (QStringList{u"menuFileSubExam1"_s, u"menuFileSubExam2"_s, u"menuFileSubExam3"_s}));
    QCOMPARE(captions(helpMenu), help);
    QCOMPARE(names(helpMenu), helpNames);
    if (demo)
        QVERIFY(!top.at(3)->menu()); // a command of the bar itself, with no list
    QCOMPARE(window->findChildren<QAction*>(u"mnuhelpsubmnuorder"_s).size(), 1);

    for (QMenu* menu : {examMenu, reviewMenu, helpMenu}) {
        QVERIFY(menu->menuAction()->isEnabled());
        for (QAction* item : menu->actions()) {
            QCOMPARE(item->isEnabled(), !off.contains(item->objectName()));
            QCOMPARE(form1.menuItem(item->objectName()), item);
        }
    }
}

void TestMainWindow::demoItemsThatAreOffCannotBeChosen()
{
    app::Form1& form1 = start(true);
    int fired = 0;
    for (const QString& name : {u"mnuExamsub2"_s, u"mnuExamsub3"_s, u"menuFileSubExam2"_s, u"menuFileSubExam3"_s}) {
        QAction* item = form1.menuItem(name);
        connect(item, &QAction::triggered, this, [&fired] { ++fired; });
        item->trigger();
    }
    // nor by the access keys of the open list: "x" and "a" are those of items 2 and 3
    QMenu* examMenu = qobject_cast<QMainWindow*>(form1.window())->menuBar()->actions().at(0)->menu();
    connect(examMenu, &QMenu::triggered, this, [&fired] { ++fired; });
    examMenu->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(examMenu));
    QTest::keyClick(examMenu, Qt::Key_X);
    QTest::keyClick(examMenu, Qt::Key_A);
    examMenu->hide();
    QCOMPARE(fired, 0);
    QVERIFY(m_prompter->shown().isEmpty()); // nothing started
    QCOMPARE(m_program->run().ExamCode, 0);
    QCOMPARE(visibleWindows(), QList<QWidget*>{form1.window()});
}

void TestMainWindow::exitAnsweredNoChangesNothing()
{
    QFETCH(bool, demo);
    app::Form1& form1 = start(demo);
    m_program->form<SideWindow>().Show();
    const QList<QWidget*> before = visibleWindows();

    m_prompter->expect(quitPrompt, app::vbNo);
    form1.menuItem(u"mnuFileSubExit"_s)->trigger();
    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(m_prompter->last().style, 52);
    QCOMPARE(m_prompter->last().title, u"Quizmoor"_s);
    m_prompter->expect(quitPrompt, app::vbCancel); // any answer but Yes is a No
    form1.mnuFileSubExit_Click();
    QVERIFY(!m_program->hasEnded());
    QCOMPARE(m_ends, 0);
    QCOMPARE(visibleWindows(), before);
}

void TestMainWindow::exitAnsweredYesEndsWithEveryWindowClosed()
{
    app::Form1& form1 = start(false);
    SideWindow& side = m_program->form<SideWindow>();
    side.Show();
    m_prompter->expect(quitPrompt, app::vbYes);
    form1.menuItem(u"mnuFileSubExit"_s)->trigger();
    QCOMPARE(m_ends, 1);
    QVERIFY(!form1.isLoaded() && !side.isLoaded());
    QVERIFY(visibleWindows().isEmpty());
    QCOMPARE(m_prompter->shown().size(), 1); // nothing else asked
}

void TestMainWindow::closingTheMainWindowAsksAsExitDoes()
{
    app::Form1& form1 = start(true);
    QPointer<QWidget> window = form1.window();
    m_prompter->expect(quitPrompt, app::vbNo);
    QVERIFY(!window->close());
    QCOMPARE(m_prompter->last().style, 52);
    QCOMPARE(m_prompter->last().title, u"Quizmoor"_s);
    QVERIFY(window && window->isVisible() && form1.window() == window);
    QCOMPARE(m_ends, 0);

    m_prompter->expect(quitPrompt, app::vbYes);
    window->close();
    QCOMPARE(m_ends, 1);
    QVERIFY(!form1.isLoaded());
    QTRY_VERIFY(window.isNull());
}

void TestMainWindow::databaseFolder_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QStringList>("here");
    QTest::addColumn<QStringList>("besideProgram");
    QTest::addColumn<bool>("moves");
    const QString full = u"qbk09.mdb"_s;
    const QString demo = u"qbk009.mdb"_s;
    QTest::newRow("in the current folder") << full << QStringList{full} << QStringList{full} << false;
    QTest::newRow("beside the program only") << full << QStringList() << QStringList{full} << true;
    QTest::newRow("nowhere") << full << QStringList() << QStringList() << false;
    QTest::newRow("demo beside the full edition's file") << demo << QStringList() << QStringList{full} << false;
    QTest::newRow("demo, the full edition's file here") << demo << QStringList{full} << QStringList{demo} << true;
}

void TestMainWindow::databaseFolder()
{
    QFETCH(QString, wanted);
    QFETCH(QStringList, here);
    QFETCH(QStringList, besideProgram);
    QFETCH(bool, moves);
    QTemporaryDir current, program;
    for (const auto& [dir, files] : {std::pair{&current, here}, std::pair{&program, besideProgram}}) {
        for (const QString& name : files)
            QVERIFY(QFile(dir->filePath(name)).open(QIODevice::WriteOnly));
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(current.path());
    const QString chosen = app::findDatabaseFolder(wanted, program.path());
    const QString after = QDir::currentPath();
    QDir::setCurrent(previous);

    const QString expected = QFileInfo(moves ? program.path() : current.path()).canonicalFilePath();
    QCOMPARE(QFileInfo(after).canonicalFilePath(), expected);
    QCOMPARE(QFileInfo(chosen).canonicalFilePath(), expected);
    QCOMPARE(QDir(current.path()).entryList(QDir::Files), here); // looking creates nothing
    QCOMPARE(QDir(program.path()).entryList(QDir::Files), besideProgram);
}

void TestMainWindow::oneCopyPerDatabase()
{
    QTemporaryDir locks; // the locks go here, not into the system's own folder
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(locks.path()));
    const QString full = locks.filePath(u"bank/qbk09.mdb"_s);
    {
        auto first = std::make_unique<app::SingleInstance>(full);
        QVERIFY(first->acquired());
        QVERIFY(!app::SingleInstance(full).acquired());
        QVERIFY(app::SingleInstance(locks.filePath(u"bank/qbk009.mdb"_s)).acquired());
        first.reset(); // the first copy ends: the next may start
        QVERIFY(app::SingleInstance(full).acquired());
    }
    // a copy that crashed left its lock behind: it keeps no one out
    QString lockFile;
    {
        const app::SingleInstance held(full);
        lockFile = locks.filePath(QDir(locks.path()).entryList(QDir::Files).value(0));
    }
    QFile stale(lockFile);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("2147483600\nbrel\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    QVERIFY(app::SingleInstance(full).acquired());
    if (previous.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previous);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
