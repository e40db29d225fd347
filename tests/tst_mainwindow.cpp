// Start-up, the main window and its menus in both editions, the two edition
// records, and how a program keeps to one copy per database.

#include "ScriptedPrompter.h"
#include "WindowTestChecks.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ProgramMain.h"
#include "gui/shell/SingleInstance.h"
#include "gui/shell/StartUp.h"
#include "gui/toolkit/Program.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using windowchecks::visibleWindows;

// "name caption" of each item, with " (off)" for a disabled one.
QStringList items(const QWidget* owner)
{
    QStringList out;
    for (const QAction* a : owner->actions())
        out << a->objectName() + u' ' + a->text() + (a->isEnabled() ? u""_s : u" (off)"_s);
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void editionRecordsHoldTheirTables();
    void startUpShowsTheMaximizedMainWindowAndItsMenus_data();
    void startUpShowsTheMaximizedMainWindowAndItsMenus();
    void exitEndsOnYesOnly_data();
    void exitEndsOnYesOnly();
    void oneCopyPerDatabase();

private:
    gui::MainWindow& start(bool demo)
    {
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_program = std::make_unique<gui::Program>(demo ? core::demoEdition() : core::fullEdition(),
                                                   *m_prompter);
        m_program->setEndHandler([this] { ++m_ends; });
        m_ends = 0;
        gui::startUp(*m_program);
        return m_program->window<gui::MainWindow>();
    }

    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<gui::Program> m_program;
    int m_ends = 0;
};

void TestMainWindow::cleanup()
{
    const QStringList unexpected = m_prompter ? m_prompter->unexpected() : QStringList();
    m_program.reset();
    m_prompter.reset();
    windowchecks::verifyCleanEnd(unexpected);
}

// What no window test reads back: the menu captions are checked on the real
// menus below, titles and labels on the windows that show them.
void TestMainWindow::editionRecordsHoldTheirTables()
{
    const core::Edition f = core::fullEdition();
    const core::Edition d = core::demoEdition();
    auto numbers = [](const core::Edition& e) {
        return QList<int>{e.questionCount, e.timeLimitMinutes, e.passScore, e.answerColumns,
                          e.categoryLabelSlots};
    };
    QCOMPARE(numbers(f), (QList<int>{83, 120, 700, 4, 19}));
    QCOMPARE(numbers(d), (QList<int>{30, 30, 700, 5, 18}));
    auto texts = [](const core::Edition& e) {
        return QStringList{e.programName,          e.databaseFile,
                           e.namePrompt,           e.nameTitle,
                           e.noticeText,           e.showAnswerCaption,
                           e.reviewCaption(2),     e.wrongAnswerCaption(3),
                           e.exhibitViewerCaption, e.disclaimerLabel};
    };
    QCOMPARE(
        texts(f),
        (QStringList{u"brel"_s, u"qbk09.mdb"_s, u"Please enter your name"_s, u"Name"_s,
                     u"You will have 83 questions and have to answer in 120 minutes or less. "_s,
                     u"Show Answer"_s, u"Review Exam #2"_s, u"Exam #3 wrong answers"_s,
                     u"Exhibit"_s, u"Software Agreement(EULA) and  Disclaimer"_s}));
    QCOMPARE(
        texts(d),
        (QStringList{u"brel_demo"_s, u"qbk009.mdb"_s, u"Please enter your name:"_s, u"Name"_s,
                     u"You will have 30 questions and have to answer in 30 minutes or less. "_s,
                     u"Show Answer!"_s, u"Review - Demo Exam "_s, u"Correct Answers -Demo Exam"_s,
                     u"Image"_s, u"Software Agreement and Disclaimer"_s}));
    QCOMPARE(f.wrongAnswerExhibitCaption, u"Exhibit"_s); // the demo shows pictures instead
    QCOMPARE(f.reviewExhibitCaption, u"E x h i b i t"_s);
    // which exams and switches an edition has, each window's tests drive in both editions
}

void TestMainWindow::startUpShowsTheMaximizedMainWindowAndItsMenus_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QList<QStringList>>("menus"); // the bar, then each of its lists
    const QStringList bar{u"mnuExam &Exam"_s, u"mnuFile &Review"_s, u"mnuhelp &Help"_s};
    const QStringList help{u"mnuHelpsubNavigate &Navigation"_s, u"mnuHelpSubCer &Certification"_s,
                           u"mnuhelpsubmnureadme &Read Me"_s};
    const QString order = u"mnuhelpsubmnuorder &Ordering"_s,
                  about = u"mnuHelpsubCertification &About "_s;
    QTest::newRow("full") << false
                          << QList<QStringList>{bar,
                                                {u"mnuExamsub1 Brel 9x Practice E&xam #1"_s,
                                                 u"mnuExamsub2 Brel 9x Practice E&xam #2"_s,
                                                 u"mnuExamsub3 Brel 9x Practice Ex&am #3"_s,
                                                 u"mnuFileSubExit &Exit"_s},
                                                {u"menuFileSubExam1 Re&view Exam #1"_s,
                                                 u"menuFileSubExam2 Rev&iew Exam #2"_s,
                                                 u"menuFileSubExam3 Revi&ew Exam #3"_s},
                                                help + QStringList{order, about}};
    QTest::newRow("demo") << true
                          << QList<QStringList>{bar + QStringList{order},
                                                {u"mnuExamsub1 Brel 9x &Exam #1 Demo"_s,
                                                 u"mnuExamsub2 Brel 9x  E&xam #2 (off)"_s,
                                                 u"mnuExamsub3 Brel 9x  Ex&am #3 (off)"_s,
                                                 u"mnuFileSubExit &Exit"_s},
                                                {u"menuFileSubExam1 &Review Exam #1 Demo"_s,
                                                 u"menuFileSubExam2 Rev&iew Exam #2 (off)"_s,
                                                 u"menuFileSubExam3 Revi&ew Exam #3 (off)"_s},
                                                help + QStringList{about}};
}

void TestMainWindow::startUpShowsTheMaximizedMainWindowAndItsMenus()
{
    QFETCH(bool, demo);
    QFETCH(QList<QStringList>, menus);
    gui::MainWindow& form1 = start(demo);
    QCOMPARE(m_program->run().questionCount, demo ? 30 : 83);
    QCOMPARE(m_program->run().examCode, 0); // nothing else of the run is set
    QCOMPARE(m_program->run().timeLimitMinutes, 0);
    QCOMPARE(visibleWindows(), QList<QWidget*>{form1.widget()});
    QVERIFY(form1.widget()->windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(m_prompter->shown().isEmpty()); // nothing asked at start-up

    const QMenuBar* bar = qobject_cast<QMainWindow*>(form1.widget())->menuBar();
    QCOMPARE(items(bar), menus.at(0));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(items(bar->actions().at(i)->menu()), menus.at(i + 1));
    if (demo)
        QVERIFY(!bar->actions().at(3)->menu()); // a command of the bar itself, with no list
    QCOMPARE(form1.widget()->findChildren<QAction*>(u"mnuhelpsubmnuorder"_s).size(), 1);
}

void TestMainWindow::exitEndsOnYesOnly_data()
{
    QTest::addColumn<bool>("byFrame"); // closing the main window asks as Exit does
    QTest::addColumn<int>("answer");   // any answer but Yes is a No
    QTest::newRow("Exit, No") << false << int(core::Prompter::No);
    QTest::newRow("Exit, Cancel") << false << int(core::Prompter::Cancel);
    QTest::newRow("Exit, Yes") << false << int(core::Prompter::Yes);
    QTest::newRow("frame, No") << true << int(core::Prompter::No);
    QTest::newRow("frame, Yes") << true << int(core::Prompter::Yes);
}

void TestMainWindow::exitEndsOnYesOnly()
{
    QFETCH(bool, byFrame);
    QFETCH(int, answer);
    gui::MainWindow& form1 = start(byFrame); // both editions, one each way
    QPointer<QWidget> window = form1.widget();

    m_prompter->expect(u"Do you really want to Quit?"_s, answer);
    if (byFrame)
        QCOMPARE(window->close(), false); // refused: on Yes the program ends instead
    else
        form1.menuItem(u"mnuFileSubExit"_s)->trigger();
    QCOMPARE(m_prompter->shown().size(), 1); // nothing else asked
    QCOMPARE(m_prompter->last().style, 52);
    QCOMPARE(m_prompter->last().title, u"Quizmoor"_s);
    QCOMPARE(m_ends, answer == core::Prompter::Yes ? 1 : 0);
    QCOMPARE(form1.isLoaded(),
             answer !=
                 core::Prompter::Yes); // End closes every window: see the window layer's tests
    QCOMPARE(visibleWindows(),
             answer == core::Prompter::Yes ? QList<QWidget*>() : QList<QWidget*>{window});
    if (answer == core::Prompter::Yes)
        QTRY_VERIFY(window.isNull());
}

void TestMainWindow::oneCopyPerDatabase()
{
    QTemporaryDir locks; // the locks go here, not into the system's own folder
    const auto restore =
        qScopeGuard([previous = qgetenv("TMPDIR")] { qputenv("TMPDIR", previous); });
    qputenv("TMPDIR", QFile::encodeName(locks.path()));
    const QString full = locks.filePath(u"bank/qbk09.mdb"_s);
    auto first = std::make_unique<gui::SingleInstance>(full);
    QVERIFY(first->acquired());
    QVERIFY(!gui::SingleInstance(full).acquired());
    QVERIFY(gui::SingleInstance(locks.filePath(u"bank/qbk009.mdb"_s)).acquired());
    const QString lockFile = locks.filePath(QDir(locks.path()).entryList(QDir::Files).value(0));
    first.reset(); // the first copy ends: the next may start
    QVERIFY(gui::SingleInstance(full).acquired());

    // a copy that crashed left its lock behind: it keeps no one out
    QFile stale(lockFile);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("2147483600\nbrel\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    QVERIFY(gui::SingleInstance(full).acquired());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
