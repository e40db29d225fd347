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

namespace {

const QString endQuestion = QStringLiteral("Do you really wish to end the test?");

// Moves to the question with this ID, from the first question.
void goToId(ExamFixture& f, ExamWindow& w, qint64 id)
{
    while (f.program().run().questionNo > 1)
        w.previousQuestion();
    for (int guard = 0; guard < 200 && f.currentId() != id; ++guard)
        w.nextQuestion();
    QCOMPARE(f.currentId(), id);
}

} // namespace

class TestExamRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeRunFullEdition();
    void wholeRunDemoEdition();
    void cancelledStartsLeaveTheMainWindow();
    void buttonStatesAtFirstAndLastQuestion();
    void answerRowsFollowTheirTexts();
    void exhibitButtonFollowsDiagram();
    void clockCountsDownPausesAndTimesOut();
    void ticksUnderABoxCatchUpAfterIt();
    void timeOutWhileAnotherBoxIsOpen();
    void showAnswerDisplaysTheKey();
    void exhibitViewerReturnsToTheSameQuestion_data();
    void exhibitViewerReturnsToTheSameQuestion();
    void eachExamIsDrawnAfresh();
    void drawWithTooFewQuestionsReturnsToMainWindow();
    void newExamStartsFromCleanChoices();
    void databaseFailureReturnsToMainWindow();
};

void TestExamRun::wholeRunFullEdition()
{
    ExamFixture f(core::fullEdition(), 83);
    gui::Program& p = f.program();
    QCOMPARE(p.run().questionCount, 83);
    ExamWindow* w = f.startExam(2, QStringLiteral("Grace Hopper"));
    QVERIFY(w && w->isVisible());
    QCOMPARE(p.run().examCode, 2);
    QCOMPARE(p.run().candidateName, QStringLiteral("Grace Hopper"));
    QCOMPARE(f.prompter().last().title, QStringLiteral("Name"));
    QCOMPARE(f.prompter().last().defaultText, QStringLiteral("Candidate's name"));
    QCOMPARE(w->widget()->windowTitle(), QStringLiteral("Exam #2"));
    QVERIFY(!p.window<gui::MainWindow>().isVisible());
    QVERIFY(!p.window<gui::ExamInfoWindow>().isVisible());
    QVERIFY(!p.windows().existing<gui::ExamNotice>()->isLoaded());

    // 83 distinct questions of exam 2, presented in the order drawn
    const QList<qint64> drawn = drawnIds(f.database());
    QCOMPARE(drawn.size(), 83);
    QCOMPARE(QSet<qint64>(drawn.begin(), drawn.end()).size(), 83);
    QCOMPARE(f.currentId(), drawn[0]);
    QCOMPARE(w->controls()->question->toPlainText(),
             QStringLiteral("Question %1 of exam 2").arg(drawn[0]));
    w->nextQuestion();
    QCOMPARE(f.currentId(), drawn[1]);
    QCOMPARE(w->controls()->questionNo->text(), QStringLiteral("2"));

    // closing the frame asks as End Exam does; Cancel goes on
    f.prompter().expect(endQuestion, core::Prompter::Cancel);
    w->widget()->close();
    QVERIFY(w->isVisible());
    QCOMPARE(f.prompter().last().style, int(core::Prompter::OkCancelQuestion));
    QCOMPARE(f.prompter().last().title, QStringLiteral("Confirmation"));
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
    QCOMPARE(p.run().questionCount, 30);
    // exam 2 cannot start in the demo, even when asked for
    p.run().examCode = 2;
    p.window<gui::ExamNotice>().accept();
    QVERIFY(!p.windows().existing<ExamWindow>());

    ExamWindow* w = f.startExam(1);
    QVERIFY(w && w->isVisible());
    QCOMPARE(f.prompter().shown().last().prompt, QStringLiteral("Please enter your name:"));
    QCOMPARE(f.prompter().shown().last().defaultText, QStringLiteral("Candidate's Name Here"));
    QCOMPARE(w->widget()->windowTitle(), QStringLiteral("Demo Exam"));
    // the demo's notice is hidden, not unloaded
    QVERIFY(p.window<gui::ExamNotice>().isLoaded());
    QVERIFY(!p.window<gui::ExamNotice>().isVisible());
    QCOMPARE(
        p.window<gui::ExamNotice>().controls().text->text(),
        QStringLiteral("You will have 30 questions and have to answer in 30 minutes or less. "));
    QCOMPARE(drawnIds(f.database()).size(), 30);
    w->tick();
    QCOMPARE(w->controls()->clock->text(), QStringLiteral("00:29:59"));
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
    QCOMPARE(splash.controls()->examName->toPlainText(), QStringLiteral("Temporary test"));
    QCOMPARE(splash.controls()->productName->text(), QStringLiteral("Temporary test"));
    QCOMPARE(splash.controls()->version->text(), QStringLiteral("Version 9.0.0"));
    QCOMPARE(splash.controls()->disclaimerCaption->text(),
             QStringLiteral("Software Agreement(EULA) and  Disclaimer"));
    // typing into a text box closes it and abandons the start
    QTest::keyClick(splash.controls()->description, Qt::Key_A);
    QVERIFY(!splash.isLoaded());
    QVERIFY(p.window<gui::MainWindow>().isVisible());

    // the notice's Cancel closes the notice; the main window stays
    f.prompter().expectInput(p.edition().namePrompt, QStringLiteral("Ada"));
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

void TestExamRun::buttonStatesAtFirstAndLastQuestion()
{
    ExamFixture f(core::fullEdition(), 90);
    ExamWindow* w = f.startExam(1);
    auto* c = w->controls();
    QVERIFY(!c->previousButton->isEnabled());
    QVERIFY(c->nextButton->isEnabled());
    w->previousQuestion(); // nothing before the first
    QCOMPARE(f.program().run().questionNo, 1);
    for (int i = 1; i < 83; ++i)
        w->nextQuestion();
    QCOMPARE(f.program().run().questionNo, 83);
    QVERIFY(!c->nextButton->isEnabled());
    QVERIFY(c->previousButton->isEnabled());
    QCOMPARE(f.currentId(), drawnIds(f.database()).last());
    w->previousQuestion();
    QVERIFY(c->nextButton->isEnabled());
}

void TestExamRun::answerRowsFollowTheirTexts()
{
    ExamFixture f(core::fullEdition(), 83);
    f.bank().edition().exams[0].questions[0].answers = {QStringLiteral("a"), QStringLiteral("b"),
                                                        QStringLiteral("c")};
    f.bank().edition().exams[0].questions[3].answers = {QStringLiteral("True"),
                                                        QStringLiteral("False")};
    f.bank().edition().exams[0].questions[3].correct = {1};
    f.rewrite();
    // answer 4 empty, answer 5 set: only row 4 hides
    sqlfixture::exec(
        f.database(),
        QStringLiteral("UPDATE exam1 SET answer4 = '', answer5 = 'five' WHERE ID = 2"));
    sqlfixture::exec(f.database(), QStringLiteral("UPDATE exam1 SET answer5 = '' WHERE ID > 2"));
    ExamWindow* w = f.startExam(1);
    // A row shows as its number when its text and a box to choose it show,
    // as "-" when neither does, and as "?" when only one of them does.
    auto rowsShown = [w] {
        QString shown;
        for (int k = 1; k <= 5; ++k) {
            const auto i = std::size_t(k);
            const bool text = w->controls()->answerTexts[i]->isVisible();
            const bool box =
                w->controls()->options[i]->isVisible() || w->controls()->checks[i]->isVisible();
            shown += text && box ? QString::number(k)
                                 : (!text && !box ? QStringLiteral("-") : QStringLiteral("?"));
        }
        return shown;
    };
    QSet<qint64> seen;
    for (int i = 0; i < 83; ++i) {
        const qint64 id = f.currentId();
        seen << id;
        if (id == 1)
            QCOMPARE(rowsShown(), QStringLiteral("123--"));
        else if (id == 2)
            QCOMPARE(rowsShown(), QStringLiteral("123-5"));
        else if (id == 4)
            QCOMPARE(rowsShown(), QStringLiteral("12---"));
        else
            QCOMPARE(rowsShown(), QStringLiteral("1234-"));
        w->nextQuestion();
    }
    QVERIFY(seen.contains(1) && seen.contains(2) && seen.contains(4));
}

void TestExamRun::exhibitButtonFollowsDiagram()
{
    ExamFixture f(core::fullEdition(), 83);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(f.bank().path(QStringLiteral("net.png"))));
    f.bank().edition().exams[0].questions[0].exhibit = QStringLiteral("net.png");
    f.rewrite();
    sqlfixture::exec(f.database(), QStringLiteral("UPDATE exam1 SET diagram1 = '' WHERE ID = 2"));
    ExamWindow* w = f.startExam(1);
    for (int i = 0; i < 83; ++i) {
        const qint64 id = f.currentId();
        QCOMPARE(w->controls()->exhibitButton->isVisible(), id == 1);
        QCOMPARE(f.program().run().exhibitPath,
                 id == 1 ? QStringLiteral("exhibits/net.png") : QString());
        if (id == 2) {
            w->showExhibit(); // an empty diagram opens nothing
            QVERIFY(!f.program().windows().existing<gui::ExhibitViewer>());
        }
        w->nextQuestion();
    }
}

void TestExamRun::clockCountsDownPausesAndTimesOut()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    QLabel* clock = w->controls()->clock;
    QCOMPARE(clock->text(), QStringLiteral("ClockDisplay"));
    w->tick();
    QCOMPARE(clock->text(), QStringLiteral("01:59:59"));
    QCOMPARE(f.program().run().timeLimitMinutes, 120);
    while (w->elapsedSeconds() < 1800)
        w->tick();
    QCOMPARE(clock->text(), QStringLiteral("01:30:00"));
    w->togglePause();
    QCOMPARE(w->controls()->pauseLink->text(), QStringLiteral("Restart Timer"));
    QVERIFY(!w->controls()->timer->isEnabled());
    w->togglePause();
    QCOMPARE(w->controls()->pauseLink->text(), QStringLiteral("Pause Timer"));
    QVERIFY(w->controls()->timer->isRunning());
    w->tick();
    QCOMPARE(clock->text(), QStringLiteral("01:29:59"));
    while (w->elapsedSeconds() < 7199)
        w->tick();
    QVERIFY(f.prompter().shown().isEmpty() || f.prompter().last().prompt != endQuestion);

    // the time-out asks; Cancel goes on and the question comes back each second
    f.prompter().expect(endQuestion, core::Prompter::Cancel);
    w->tick();
    QCOMPARE(clock->text(), QStringLiteral("00:00:00"));
    QVERIFY(w->isVisible());
    f.prompter().expect(endQuestion, core::Prompter::Cancel);
    w->tick();
    QCOMPARE(clock->text(), QStringLiteral("00:00:00")); // never below zero
    QCOMPARE(f.prompter().shown().size(), 3);            // name, and two questions
    f.prompter().expect(endQuestion, core::Prompter::Ok);
    w->tick();
    QVERIFY(!w->isLoaded());
    QVERIFY(f.program().windows().existing<gui::ScoreSheet>()->isVisible());
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestExamRun::ticksUnderABoxCatchUpAfterIt()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    gui::RepeatingTimer* timer = w->controls()->timer;
    while (w->elapsedSeconds() < 100)
        w->tick();
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
    QCOMPARE(w->controls()->clock->text(), QStringLiteral("01:58:15"));
    QCOMPARE(w->controls()->clock->accessibleName(),
             QStringLiteral("Time left: 1 hour 58 minutes 15 seconds"));
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestExamRun::timeOutWhileAnotherBoxIsOpen()
{
    {
        // the time runs out while the candidate's own End Exam question is open
        ExamFixture f(core::fullEdition(), 83);
        ExamWindow* w = f.startExam(1);
        gui::RepeatingTimer* timer = w->controls()->timer;
        while (w->elapsedSeconds() < 7199)
            w->tick();
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
        QCOMPARE(w->controls()->clock->text(), QStringLiteral("00:00:00"));
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
        while (w->elapsedSeconds() < 1799)
            w->tick();
        QVERIFY(w->isLoaded());
        const QString message =
            QStringLiteral("Sorry! You have exceeded the allowed time! Click OK to continue.");
        f.prompter().expect(message, core::Prompter::Ok);
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
        const int key = f.storedChoices(QStringLiteral("exam11"), first);
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(c->checks[std::size_t(k)]->isChecked(), bool(key & (1 << (k - 1))));
        // the fifth row shows only when the question has a fifth answer
        const bool fifth = !f.stored(QStringLiteral("exam11"), first, QStringLiteral("answer5"))
                                .toString()
                                .isEmpty();
        QCOMPARE(c->answerTexts[5]->isVisible(), fifth);
        QCOMPARE(c->checks[5]->isVisible(), fifth);
        answer->tick();
        QCOMPARE(c->clock->text(), QStringLiteral("00:00:01"));
        answer->returnToExam();
        QVERIFY(w->isVisible());
        QCOMPARE(f.currentId(), first);
        QCOMPARE(f.storedChoices(QStringLiteral("exam11"), first), key);
        QCOMPARE(bool(p.windows().existing<gui::AnswerWindow>()),
                 !edition.showAnswerReturnDiscards);

        // a second look-up leaves one row, for the later question
        w->nextQuestion();
        const qint64 second = f.currentId();
        w->showAnswer();
        QCOMPARE(sqlfixture::rows(f.database(), QStringLiteral("SELECT id FROM showans")),
                 QStringList{QString::number(second)});
        QCOMPARE(p.windows().existing<gui::AnswerWindow>()->controls()->questionId->toPlainText(),
                 QString::number(second));
        // the window closes with the exam
        f.prompter().expect(endQuestion, core::Prompter::Ok);
        w->endExam();
        QVERIFY(!p.windows().existing<gui::AnswerWindow>());
    }
}

void TestExamRun::exhibitViewerReturnsToTheSameQuestion_data()
{
    addEditionRows();
}

void TestExamRun::exhibitViewerReturnsToTheSameQuestion()
{
    QFETCH(bool, demo);
    const core::Edition edition = demo ? core::demoEdition() : core::fullEdition();
    ExamFixture f(edition, edition.questionCount);
    QImage picture(1600, 1200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(f.bank().path(QStringLiteral("big@2x.png"))));
    QVERIFY(picture.copy(0, 0, 200, 100).save(f.bank().path(QStringLiteral("small.png"))));
    f.bank().edition().exams[0].questions[0].exhibit = QStringLiteral("big@2x.png");
    f.bank().edition().exams[0].questions[1].exhibit = QStringLiteral("small.png");
    f.bank().edition().exams[0].questions[2].exhibit = QStringLiteral("small.png");
    f.rewrite();
    sqlfixture::exec(
        f.database(),
        QStringLiteral("UPDATE exam1 SET diagram1 = 'exhibits/gone.png' WHERE ID = 3"));
    ExamWindow* w = f.startExam(1);
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
    QVERIFY(viewer->problemText().contains(QLatin1StringView("gone.png")));
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

void TestExamRun::drawWithTooFewQuestionsReturnsToMainWindow()
{
    ExamFixture f(core::fullEdition(), 82);
    const QString tooFew = QStringLiteral("Request is greated than the total number of records.");
    f.prompter().expect(tooFew, core::Prompter::Ok);
    ExamWindow* w = f.startExam(1);
    QVERIFY(!w);
    QCOMPARE(f.prompter().last().prompt, tooFew);
    QCOMPARE(f.prompter().last().title, QStringLiteral("Quizmoor"));
    QCOMPARE(
        sqlfixture::scalar(f.database(), QStringLiteral("SELECT count(*) FROM tblrandom")).toInt(),
        0);
    QVERIFY(f.program().window<gui::MainWindow>().isVisible());
    QCOMPARE(f.program().run().questionNo, 0);
    QVERIFY(f.prompter().unexpected().isEmpty());
}

void TestExamRun::newExamStartsFromCleanChoices()
{
    ExamFixture f(core::fullEdition(), 83);
    // left behind by an exam that never reached the score sheet's Exit
    sqlfixture::exec(f.database(),
                     QStringLiteral("UPDATE exam1 SET correctanswer1 = 1, correctanswer3 = 1"));
    sqlfixture::exec(f.database(), QStringLiteral("UPDATE exam2 SET correctanswer2 = 1"));
    ExamWindow* w = f.startExam(1);
    QCOMPARE(sqlfixture::scalar(f.database(),
                                QStringLiteral("SELECT sum(correctanswer1 + correctanswer3) "
                                               "FROM exam1 JOIN tblrandom USING (ID)"))
                 .toInt(),
             0);
    for (int k = 1; k <= 5; ++k) {
        QVERIFY(!w->controls()->checks[std::size_t(k)]->isChecked());
        QVERIFY(!w->controls()->options[std::size_t(k)]->isChecked());
    }
    // another exam's choices are its own business
    QCOMPARE(
        sqlfixture::scalar(f.database(), QStringLiteral("SELECT sum(correctanswer2) FROM exam2"))
            .toInt(),
        83);
}

void TestExamRun::databaseFailureReturnsToMainWindow()
{
    ExamFixture f(core::fullEdition(), 83);
    ExamWindow* w = f.startExam(1);
    f.goToQuestionOfType(QStringLiteral("single_answer"));
    const qint64 kept = f.currentId();
    w->controls()->optionGroup->setValue(1, true);
    w->nextQuestion();
    QCOMPARE(f.storedChoices(QStringLiteral("exam1"), kept), 2);
    // the disk fills up under the exam (a trigger of the window's own
    // connection stands in for it: a bank's triggers never run)
    w->controls()->questions.Database()->Execute(
        QStringLiteral("CREATE TEMP TRIGGER full BEFORE UPDATE ON exam1 BEGIN "
                       "SELECT RAISE(ABORT, 'database or disk is full'); END"));
    f.goToQuestionOfType(QStringLiteral("single_answer"));
    w->controls()->optionGroup->setValue(0, true);
    w->nextQuestion();
    QCOMPARE(f.prompter().unexpected().size(), 1);
    QVERIFY(f.prompter().unexpected().first().contains(QLatin1StringView("qbk09.mdb")));
    QVERIFY(f.program().window<gui::MainWindow>().isVisible());
    QVERIFY(!f.program().windows().existing<ExamWindow>());
    QCOMPARE(f.program().run().questionNo, 0);
    QCOMPARE(f.storedChoices(QStringLiteral("exam1"), kept), 2);

    // a column the exam window shows is missing: told, and no exam window opens
    sqlfixture::exec(f.database(), QStringLiteral("ALTER TABLE exam1 DROP COLUMN diagram1"));
    f.prompter().clear();
    QVERIFY(!f.startExam(1));
    QVERIFY(f.prompter().unexpected().first().contains(QLatin1StringView("diagram1")));
    QVERIFY(f.program().window<gui::MainWindow>().isVisible());
    QCOMPARE(f.program().run().questionNo, 0);

    // a database that went missing is told, and nothing is created in its place
    QFile::remove(f.database());
    f.prompter().clear();
    QVERIFY(!f.startExam(1));
    QVERIFY(!QFile::exists(f.database()));
    QVERIFY(f.prompter().unexpected().first().contains(QLatin1StringView("was not found")));
}

QTEST_MAIN(TestExamRun)
#include "tst_examrun.moc"
