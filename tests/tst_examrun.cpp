#include "ExamAnswers.h"
#include "ExamFixture.h"
#include "SqlFixture.h"
#include "gui/exam/AnswerWindow.h"
#include "gui/exam/ExamNotice.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using examanswers::drawnIds;
using gui::ExamWindow;
using namespace Qt::StringLiterals;

namespace {

const QString endQuestion = u"Do you really wish to end the test?"_s;

// Moves to the question with this ID, from the first question.
void goToId(ExamFixture& f, ExamWindow& w, qint64 id)
{
    while (f.program().run().questionNo > 1)
        w.previousQuestion();
    for (int guard = 0; guard < 200 && f.currentId() != id; ++guard)
        w.nextQuestion();
    QCOMPARE(f.currentId(), id);
}

// Ticks the exam's clock on to this many seconds gone.
void tickUntil(ExamWindow& w, int elapsed)
{
    while (w.elapsedSeconds() < elapsed)
        w.tick();
}

} // namespace

class TestExamRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeRunFullEdition();
    void wholeRunDemoEdition();
    void cancelledStartsLeaveTheMainWindow();
    void answerRowsFollowTheirTexts();
    void ticksUnderABoxCatchUpAfterIt();
    void timeOutWhileAnotherBoxIsOpen();
    void showAnswerDisplaysTheKey();
    void exhibitsFollowTheQuestionAndReturnToIt_data();
    void exhibitsFollowTheQuestionAndReturnToIt();
    void eachExamIsDrawnAfresh();
    void newExamStartsFromCleanChoices();
    void databaseFailureReturnsToMainWindow();
};

void TestExamRun::wholeRunFullEdition()
{
    ExamFixture f(core::fullEdition(), 90);
    gui::Program& p = f.program();
    ExamWindow* w = f.startExam(2, u"Grace Hopper"_s);
    QVERIFY(w && w->isVisible());
    QCOMPARE(p.run().examCode, 2);
    QCOMPARE(p.run().candidateName, u"Grace Hopper"_s);
    QCOMPARE(f.prompter().last().title, u"Name"_s);
    QCOMPARE(f.prompter().last().defaultText, u"Candidate's name"_s);
    QCOMPARE(w->widget()->windowTitle(), u"Exam #2"_s);
    QVERIFY(!p.window<gui::MainWindow>().isVisible());
    QVERIFY(!p.window<gui::ExamInfoWindow>().isVisible());
    QVERIFY(!p.windows().existing<gui::ExamNotice>()->isLoaded());

    // 83 of exam 2's 90 questions, shown in the order drawn; paging stops at both ends
    const QList<qint64> drawn = drawnIds(f.database());
    QCOMPARE(drawn.size(), 83);
    const auto* c = w->controls();
    QCOMPARE(c->question->toPlainText(), u"Question %1 of exam 2"_s.arg(drawn[0]));
    QVERIFY(!c->previousButton->isEnabled() && c->nextButton->isEnabled());
    w->previousQuestion();
    QCOMPARE(f.currentId(), drawn[0]);
    for (int i = 1; i < 83; ++i) {
        w->nextQuestion();
        QCOMPARE(f.currentId(), drawn[i]);
    }
    QCOMPARE(p.run().questionNo, 83);
    QVERIFY(!c->nextButton->isEnabled() && c->previousButton->isEnabled());
    w->previousQuestion();
    QVERIFY(c->nextButton->isEnabled());

    // closing the frame asks as End Exam does; Cancel goes on
    f.prompter().expect(endQuestion, core::Prompter::Cancel);
    w->widget()->close();
    QVERIFY(w->isVisible());
    QCOMPARE(f.prompter().last().style, int(core::Prompter::OkCancelQuestion));
    QCOMPARE(f.prompter().last().title, u"Confirmation"_s);
    f.prompter().expect(endQuestion, core::Prompter::Ok);
    w->endExam();
    QVERIFY(!w->isLoaded());
    QVERIFY(p.windows().existing<gui::ScoreSheet>() &&
            p.windows().existing<gui::ScoreSheet>()->isVisible());
    QVERIFY(!p.window<gui::MainWindow>().isVisible());
}

void TestExamRun::wholeRunDemoEdition()
{
    ExamFixture f(core::demoEdition(), 30);
    gui::Program& p = f.program();
    // exam 2 cannot start in the demo, even when asked for
    p.run().examCode = 2;
    p.window<gui::ExamNotice>().accept();
    QVERIFY(!p.windows().existing<ExamWindow>());

    ExamWindow* w = f.startExam(1);
    QVERIFY(w && w->isVisible());
    QCOMPARE(f.prompter().last().prompt, u"Please enter your name:"_s);
    QCOMPARE(f.prompter().last().defaultText, u"Candidate's Name Here"_s);
    QCOMPARE(w->widget()->windowTitle(), u"Demo Exam"_s);
    // the demo's notice is hidden, not unloaded
    QVERIFY(p.window<gui::ExamNotice>().isLoaded());
    QVERIFY(!p.window<gui::ExamNotice>().isVisible());
    QCOMPARE(p.window<gui::ExamNotice>().controls().text->text(),
             u"You will have 30 questions and have to answer in 30 minutes or less. "_s);
    QCOMPARE(drawnIds(f.database()).size(), 30);
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestExamRun::cancelledStartsLeaveTheMainWindow()
{
    ExamFixture f(core::fullEdition(), 83);
    gui::Program& p = f.program();
    // a cancelled name prompt still shows the information window
    f.prompter().expectInput(p.edition().namePrompt, QString());
    p.window<gui::MainWindow>().startExam(3);
    QCOMPARE(p.run().examCode, 3);
    QCOMPARE(p.run().candidateName, QString());
    gui::ExamInfoWindow& splash = p.window<gui::ExamInfoWindow>();
    QVERIFY(splash.isVisible());
    QCOMPARE(splash.controls()->examName->toPlainText(), u"Temporary test"_s);
    QCOMPARE(splash.controls()->productName->text(), u"Temporary test"_s);
    QCOMPARE(splash.controls()->version->text(), u"Version 9.0.0"_s);
    QCOMPARE(splash.controls()->disclaimerCaption->text(),
             u"Software Agreement(EULA) and  Disclaimer"_s);
    // typing into a text box closes it and abandons the start
    QTest::keyClick(splash.controls()->description, Qt::Key_A);
    QVERIFY(!splash.isLoaded());
    QVERIFY(p.window<gui::MainWindow>().isVisible());

    // the notice's Cancel closes the notice; the main window stays
    f.prompter().expectInput(p.edition().namePrompt, u"Ada"_s);
    p.window<gui::MainWindow>().startExam(1);
    p.window<gui::ExamInfoWindow>().next();
    gui::ExamNotice& notice = p.window<gui::ExamNotice>();
    QVERIFY(notice.isVisible());
    QTest::mouseClick(notice.controls().cancelButton, Qt::LeftButton);
    QVERIFY(!notice.isLoaded());
    QVERIFY(p.window<gui::MainWindow>().isVisible());
    QVERIFY(!p.windows().existing<ExamWindow>());
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestExamRun::answerRowsFollowTheirTexts()
{
    ExamFixture f(core::fullEdition(), 83);
    f.bank().edition().exams[0].questions[0].answers = {u"a"_s, u"b"_s, u"c"_s};
    f.bank().edition().exams[0].questions[3].answers = {u"True"_s, u"False"_s};
    f.bank().edition().exams[0].questions[3].correct = {1};
    f.rewrite();
    // answer 4 empty, answer 5 set: only row 4 hides
    sqlfixture::exec(f.database(),
                     u"UPDATE exam1 SET answer4 = '', answer5 = 'five' WHERE ID = 2"_s);
    sqlfixture::exec(f.database(), u"UPDATE exam1 SET answer5 = '' WHERE ID > 2"_s);
    ExamWindow* w = f.startExam(1);
    // A row shows as its number when its text and a box to choose it show,
    // as "-" when neither does, and as "?" when only one of them does.
    auto rowsShown = [w] {
        QString shown;
        for (std::size_t k = 1; k <= 5; ++k) {
            const bool text = w->controls()->answerTexts[k]->isVisible();
            const bool box =
                w->controls()->options[k]->isVisible() || w->controls()->checks[k]->isVisible();
            shown += text && box ? QString::number(k) : (!text && !box ? u"-"_s : u"?"_s);
        }
        return shown;
    };
    const QHash<qint64, QString> special{{1, u"123--"_s}, {2, u"123-5"_s}, {4, u"12---"_s}};
    for (int i = 0; i < 83; ++i, w->nextQuestion())
        QCOMPARE(rowsShown(), special.value(f.currentId(), u"1234-"_s));
}

void TestExamRun::ticksUnderABoxCatchUpAfterIt()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    gui::RepeatingTimer* timer = w->controls()->timer;
    tickUntil(*w, 100);
    // the candidate thinks about ending for five seconds, then goes on
    f.prompter().expect(endQuestion, core::Prompter::Cancel);
    f.prompter().whileNextBoxIsOpen([&] {
        for (int i = 0; i < 5; ++i)
            timer->intervalElapsed();
        QCOMPARE(w->elapsedSeconds(), 100);
    });
    QTest::mouseClick(w->controls()->endButton, Qt::LeftButton);
    QCOMPARE(w->elapsedSeconds(), 100);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(w->elapsedSeconds(), 105);
    QCOMPARE(w->controls()->clock->text(), u"01:58:15"_s);
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestExamRun::timeOutWhileAnotherBoxIsOpen()
{
    {
        // the time runs out while the candidate's own End Exam question is open
        ExamFixture f(core::fullEdition(), 83);
        ExamWindow* w = f.startExam(1);
        gui::RepeatingTimer* timer = w->controls()->timer;
        tickUntil(*w, 7199);
        f.prompter().expect(endQuestion, core::Prompter::Cancel);
        f.prompter().expect(endQuestion, core::Prompter::Cancel);
        f.prompter().whileNextBoxIsOpen([&] {
            for (int i = 0; i < 3; ++i)
                timer->intervalElapsed();
        });
        w->endExam();
        QCOMPARE(f.prompter().shown().size(), 2); // the name and the candidate's question
        QCoreApplication::sendPostedEvents();
        // the time-out asks once, after the candidate's question, not inside it
        QCOMPARE(f.prompter().shown().size(), 3);
        for (const ScriptedPrompter::Shown& shown : f.prompter().shown())
            QCOMPARE(shown.boxesOpen, 0);
        QCOMPARE(w->elapsedSeconds(), 7200);
        QCOMPARE(w->controls()->clock->text(), u"00:00:00"_s);
        QCOMPARE(timer->heldTicks(), 0);
        // declined: the next second asks again
        f.prompter().expect(endQuestion, core::Prompter::Ok);
        timer->intervalElapsed();
        QVERIFY(!w->isLoaded());
        QVERIFY(f.program().windows().existing<gui::ScoreSheet>()->isVisible());
        QVERIFY(f.prompter().unexpected().isEmpty());
    }
    {
        // the demo's time-out tells, then ends the exam without asking; time
        // that passes under its message ends nothing twice
        ExamFixture f(core::demoEdition(), 30);
        ExamWindow* w = f.startExam(1);
        gui::RepeatingTimer* timer = w->controls()->timer;
        tickUntil(*w, 1799);
        QVERIFY(w->isLoaded());
        f.prompter().expect(u"Sorry! You have exceeded the allowed time! Click OK to continue."_s,
                            core::Prompter::Ok);
        f.prompter().whileNextBoxIsOpen([&] {
            timer->intervalElapsed();
            timer->intervalElapsed();
        });
        timer->intervalElapsed();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(f.prompter().shown().size(), 2); // the name and the message
        QCOMPARE(f.prompter().last().style, int(core::Prompter::OkOnly));
        QVERIFY(!w->isLoaded());
        QVERIFY(f.program().windows().existing<gui::ScoreSheet>()->isVisible());
        QVERIFY(f.prompter().unexpected().isEmpty());
    }
}

void TestExamRun::showAnswerDisplaysTheKey()
{
    for (const core::Edition& edition : {core::fullEdition(), core::demoEdition()}) {
        ExamFixture f(edition, edition.questionCount);
        gui::Program& p = f.program();
        ExamWindow* w = f.startExam(1);
        w->nextQuestion();
        const qint64 first = f.currentId();
        w->showAnswer();
        gui::AnswerWindow* answer = p.windows().existing<gui::AnswerWindow>();
        QVERIFY(answer && answer->isVisible());
        QVERIFY(!w->isVisible());
        QCOMPARE(answer->widget()->windowTitle(), edition.showAnswerCaption);
        auto* c = answer->controls();
        QCOMPARE(c->questionId->toPlainText(), QString::number(first));
        // the key's ticks, display-only
        const int key = f.storedChoices(u"exam11"_s, first);
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(c->checks[std::size_t(k)]->isChecked(), bool(key & (1 << (k - 1))));
        // the fifth row shows only when the question has a fifth answer
        const bool fifth = !f.stored(u"exam11"_s, first, u"answer5"_s).toString().isEmpty();
        QCOMPARE(c->answerTexts[5]->isVisible(), fifth);
        QCOMPARE(c->checks[5]->isVisible(), fifth);
        answer->tick();
        QCOMPARE(c->clock->text(), u"00:00:01"_s);
        answer->returnToExam();
        QVERIFY(w->isVisible());
        QCOMPARE(f.currentId(), first);
        QCOMPARE(f.storedChoices(u"exam11"_s, first), key);
        QCOMPARE(bool(p.windows().existing<gui::AnswerWindow>()),
                 !edition.showAnswerReturnDiscards);

        // a second look-up leaves one row, for the later question
        w->nextQuestion();
        const qint64 second = f.currentId();
        w->showAnswer();
        QCOMPARE(sqlfixture::rows(f.database(), u"SELECT id FROM showans"_s),
                 QStringList{QString::number(second)});
        QCOMPARE(p.windows().existing<gui::AnswerWindow>()->controls()->questionId->toPlainText(),
                 QString::number(second));
        // the window closes with the exam
        f.prompter().expect(endQuestion, core::Prompter::Ok);
        w->endExam();
        QVERIFY(!p.windows().existing<gui::AnswerWindow>());
    }
}

void TestExamRun::exhibitsFollowTheQuestionAndReturnToIt_data()
{
    addEditionRows();
}

void TestExamRun::exhibitsFollowTheQuestionAndReturnToIt()
{
    QFETCH(bool, demo);
    const core::Edition edition = demo ? core::demoEdition() : core::fullEdition();
    ExamFixture f(edition, edition.questionCount);
    QImage picture(1600, 1200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(f.bank().path(u"big@2x.png"_s)));
    QVERIFY(picture.copy(0, 0, 200, 100).save(f.bank().path(u"small.png"_s)));
    f.bank().edition().exams[0].questions[0].exhibit = u"big@2x.png"_s;
    f.bank().edition().exams[0].questions[1].exhibit = u"small.png"_s;
    f.bank().edition().exams[0].questions[2].exhibit = u"small.png"_s;
    f.rewrite();
    sqlfixture::exec(f.database(),
                     u"UPDATE exam1 SET diagram1 = 'exhibits/gone.png' WHERE ID = 3"_s);
    sqlfixture::exec(f.database(), u"UPDATE exam1 SET diagram1 = '' WHERE ID = 4"_s);
    ExamWindow* w = f.startExam(1);
    // the button shows for the questions with a diagram, and only for them
    for (int i = 0; i < edition.questionCount; ++i, w->nextQuestion()) {
        const qint64 id = f.currentId();
        QCOMPARE(w->controls()->exhibitButton->isVisible(), id <= 3);
        QCOMPARE(f.program().run().exhibitPath.isEmpty(), id > 3);
    }
    goToId(f, *w, 4);
    w->showExhibit(); // an empty diagram opens nothing
    QVERIFY(!f.program().windows().existing<gui::ExhibitViewer>());

    goToId(f, *w, 1);
    const int number = f.program().run().questionNo;
    w->showExhibit();
    auto* viewer = f.program().windows().existing<gui::ExhibitViewer>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(w->isVisible(), demo); // the demo's exam window stays in view
    QCOMPARE(viewer->widget()->windowTitle(), edition.exhibitViewerCaption);
    QCOMPARE(viewer->controls()->picture->pixmap().deviceIndependentSize().toSize(),
             QSize(800, 600));

    // another question's exhibit shows its own picture, also with the viewer left open
    if (!demo) {
        QTest::mouseClick(viewer->controls()->returnButton, Qt::LeftButton);
        QVERIFY(!viewer->isLoaded());
        QVERIFY(w->isVisible());
        QCOMPARE(f.currentId(), 1);
        QCOMPARE(f.program().run().questionNo, number);
    }
    goToId(f, *w, 2);
    w->showExhibit();
    viewer = f.program().windows().existing<gui::ExhibitViewer>();
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->controls()->picture->pixmap().deviceIndependentSize().toSize(),
             QSize(200, 100));

    // a missing picture is said in words, naming the file
    goToId(f, *w, 3);
    w->showExhibit();
    viewer = f.program().windows().existing<gui::ExhibitViewer>();
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->problemText().contains(u"gone.png"_s));
    viewer->widget()->close(); // the frame's close is Return
    QVERIFY(w->isVisible());
    QCOMPARE(f.currentId(), 3);
}

void TestExamRun::eachExamIsDrawnAfresh()
{
    // which questions a draw may take is the draw's own test; here each exam of a run is new
    ExamFixture f(core::fullEdition(), 83);
    f.startExam(1);
    QList<qint64> orders[2];
    for (auto& order : orders) {
        f.prompter().expect(endQuestion, core::Prompter::Ok);
        f.program().window<ExamWindow>().endExam();
        f.program().window<gui::ScoreSheet>().exit();
        f.program().windows().collectDiscarded();
        f.startExam(1);
        order = drawnIds(f.database());
    }
    QVERIFY(orders[0] != orders[1]);
    QCOMPARE(f.program().run().questionNo, 1);
}

void TestExamRun::newExamStartsFromCleanChoices()
{
    ExamFixture f(core::fullEdition(), 83);
    // left behind by an exam that never reached the score sheet's Exit
    sqlfixture::exec(f.database(), u"UPDATE exam1 SET correctanswer1 = 1, correctanswer3 = 1"_s);
    sqlfixture::exec(f.database(), u"UPDATE exam2 SET correctanswer2 = 1"_s);
    ExamWindow* w = f.startExam(1);
    QCOMPARE(sqlfixture::scalar(f.database(), u"SELECT sum(correctanswer1 + correctanswer3) "
                                              "FROM exam1 JOIN tblrandom USING (ID)"_s)
                 .toInt(),
             0);
    for (std::size_t k = 1; k <= 5; ++k)
        QVERIFY(!w->controls()->checks[k]->isChecked() && !w->controls()->options[k]->isChecked());
    // another exam's choices are its own business
    QCOMPARE(sqlfixture::scalar(f.database(), u"SELECT sum(correctanswer2) FROM exam2"_s).toInt(),
             83);
}

void TestExamRun::databaseFailureReturnsToMainWindow()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    f.goToQuestionOfType(u"single_answer"_s);
    const qint64 kept = f.currentId();
    w->controls()->optionGroup->setValue(1, true);
    w->nextQuestion();
    QCOMPARE(f.storedChoices(u"exam1"_s, kept), 2);
    // the disk fills up under the exam (a trigger of the window's own
    // connection stands in for it: a bank's triggers never run)
    w->controls()->questions.Database()->Execute(
        u"CREATE TEMP TRIGGER full BEFORE UPDATE ON exam1 BEGIN "
        "SELECT RAISE(ABORT, 'database or disk is full'); END"_s);
    f.goToQuestionOfType(u"single_answer"_s);
    w->controls()->optionGroup->setValue(0, true);
    w->nextQuestion();
    QCOMPARE(f.prompter().unexpected().size(), 1);
    QVERIFY(f.prompter().unexpected().first().contains(u"qbk09.mdb"_s));
    QVERIFY(f.program().window<gui::MainWindow>().isVisible());
    QVERIFY(!f.program().windows().existing<ExamWindow>());
    QCOMPARE(f.program().run().questionNo, 0);
    QCOMPARE(f.storedChoices(u"exam1"_s, kept), 2);

    // a column the exam window shows is missing: told, and no exam window opens
    sqlfixture::exec(f.database(), u"ALTER TABLE exam1 DROP COLUMN diagram1"_s);
    f.prompter().clear();
    QVERIFY(!f.startExam(1));
    QVERIFY(f.prompter().unexpected().first().contains(u"diagram1"_s));
    QVERIFY(f.program().window<gui::MainWindow>().isVisible());
    QCOMPARE(f.program().run().questionNo, 0);

    // a database that went missing is told, and nothing is created in its place
    QFile::remove(f.database());
    f.prompter().clear();
    QVERIFY(!f.startExam(1));
    QVERIFY(!QFile::exists(f.database()));
    QVERIFY(f.prompter().unexpected().first().contains(u"was not found"_s));
}

QTEST_MAIN(TestExamRun)
#include "tst_examrun.moc"
