#include "ExamAnswers.h"
#include "ExamFixture.h"
#include "FileFixture.h"
#include "WindowTestChecks.h"
#include "core/ElapsedClock.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/review/ReviewExamWindow.h"
#include "gui/review/WrongAnswerReview.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"
#include "gui/toolkit/WindowPrinter.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace examanswers;
using namespace Qt::StringLiterals;
using gui::ReviewExamWindow;
using gui::ScoreSheet;
using gui::WrongAnswerReview;

namespace {

// The ID in a generated question's text, "Question 85 of exam 1".
qint64 idIn(const QString& question)
{
    return question.section(u' ', 1, 1).toLongLong();
}

void click(QWidget* exhibit)
{
    if (auto* button = qobject_cast<QPushButton*>(exhibit))
        button->click();
    else
        static_cast<gui::ClickableLabel*>(exhibit)->click();
}

// A picture beside the bank, the exhibit of these questions (exam, index) once the bank is
// written again.
void giveExhibit(ExamFixture& f, const QString& file, QList<std::pair<int, int>> questions)
{
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(f.bank().path(file)));
    for (const auto& [exam, index] : questions)
        f.bank().edition().exams[exam - 1].questions[index].exhibit = file;
}

} // namespace

// The wrong-answer review and the Review menu's review, driven through their
// controls and handlers over real question databases.
class TestReview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void wrongAnswersAreTheDrawsInTheOrderAsked();
    void wrongMeansWhatGradingCounts_data();
    void wrongMeansWhatGradingCounts();
    void pagingAndCounter();
    void noWrongAnswersIsSaidInWords();
    void exhibitAndScoreReportRoundTrip_data();
    void exhibitAndScoreReportRoundTrip();
    void laterExamsReviewTheirOwnTables();
    void reviewShowsTheKey();
    void reviewMenuOpensEachExamAfresh();
    void demoReviewStaysLoaded();
    void reviewClockCountsAndStops();
    void framesCloseLikeTheReturnButtons();
    void neitherWindowWritesTheFile();
    void printingWithoutAPrinterOffersPdf();
    void databaseFailuresReturnToTheCaller_data();
    void databaseFailuresReturnToTheCaller();

private:
    void start(bool demo, int questions);
    // Exam `exam` ended as these statements leave it; its score sheet on show.
    ScoreSheet& finish(int exam, const QStringList& statements)
    {
        return m_f->finishExam(exam, statements);
    }
    WrongAnswerReview& viewWrongAnswers();
    ReviewExamWindow& review(int exam);
    // The questions of the wrong-answer review, paged from the first to the last.
    QList<qint64> pageThrough(WrongAnswerReview& review);
    qint64 shownId(WrongAnswerReview& review);
    gui::Program& program() { return m_f->program(); }
    ScriptedPrompter& prompter() { return m_f->prompter(); }
    template <typename T = QWidget> T* control(gui::Window& window, const char* name)
    {
        return window.widget()->findChild<T*>(QLatin1StringView(name));
    }

    std::unique_ptr<ExamFixture> m_f;
};

void TestReview::cleanup()
{
    windowchecks::endFixture(m_f);
}

void TestReview::start(bool demo, int questions)
{
    m_f =
        std::make_unique<ExamFixture>(demo ? core::demoEdition() : core::fullEdition(), questions);
}

WrongAnswerReview& TestReview::viewWrongAnswers()
{
    ScoreSheet& sheet = program().window<ScoreSheet>();
    control<QPushButton>(sheet, "CmdAnswers")->click();
    return program().window<WrongAnswerReview>();
}

ReviewExamWindow& TestReview::review(int exam)
{
    auto& main = program().window<gui::MainWindow>();
    main.menuItem(u"menuFileSubExam%1"_s.arg(exam))->trigger();
    return program().window<ReviewExamWindow>();
}

qint64 TestReview::shownId(WrongAnswerReview& review)
{
    return idIn(review.controls()->question->toPlainText());
}

QList<qint64> TestReview::pageThrough(WrongAnswerReview& review)
{
    QList<qint64> ids{shownId(review)};
    while (review.controls()->nextButton->isEnabled() && review.currentNo() < review.wrongCount()) {
        review.controls()->nextButton->click();
        ids << shownId(review);
    }
    return ids;
}

void TestReview::wrongAnswersAreTheDrawsInTheOrderAsked()
{
    // 100 questions, 83 of them asked from 90 down to 8; wrong ones also among those never asked
    start(false, 100);
    QList<qint64> asked;
    for (qint64 id = 90; id >= 8; --id)
        asked << id;
    ScoreSheet& sheet = finish(1, draw(asked) + answerCorrectly(1, ids(1, 100)) +
                                      answerWrongly(1, {12, 60, 85, 33, 3, 95, 99}));
    QCOMPARE(sheet.grade()->counted, 83 - 4);

    WrongAnswerReview& review = viewWrongAnswers();
    QVERIFY(review.isVisible() && !sheet.isVisible());
    QCOMPARE(program().run().wrongAnswerExam, 1);
    QCOMPARE(review.wrongCount(), 4);
    QCOMPARE(pageThrough(review), (QList<qint64>{85, 60, 33, 12}));

    // question 12 has two correct answers, 1 and 4; the candidate left out the first
    const WrongAnswerReview::Controls& c = *review.controls();
    QCOMPARE(c.position->text(), u"Question 4 of 4"_s);
    QCOMPARE(c.explanation->toPlainText(), u"Explanation 12."_s);
    QCOMPARE(c.category->text(), u"Category 2"_s);
    QCOMPARE(c.answerTexts[2]->toPlainText(), u"Answer 2 of question 12"_s);
    QList<bool> key, yours;
    for (std::size_t k = 1; k <= 4; ++k) {
        key << c.keyChecks[k]->isChecked();
        yours << c.yourChecks[k]->isChecked();
    }
    QCOMPARE(key, (QList<bool>{true, false, false, true}));
    QCOMPARE(yours, (QList<bool>{false, false, false, true}));
    QVERIFY(!c.answerTexts[5]->isVisible() && !c.keyChecks[5]->isVisible() &&
            !c.yourChecks[5]->isVisible()); // no fifth answer
}

void TestReview::wrongMeansWhatGradingCounts_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QList<qint64>>("wrong");
    // question 20 differs in its fifth choice only: the full edition neither grades nor shows it
    QTest::newRow("full") << false << QList<qint64>{5, 30};
    QTest::newRow("demo") << true << QList<qint64>{5, 20, 30};
}

void TestReview::wrongMeansWhatGradingCounts()
{
    QFETCH(bool, demo);
    QFETCH(QList<qint64>, wrong);
    start(demo, demo ? 30 : 83);
    const int count = program().edition().questionCount;
    ScoreSheet& sheet = finish(1, draw(ids(1, count)) + answerCorrectly(1, ids(1, count)) +
                                      alsoTickChoiceFive(1, {20}) + answerWrongly(1, {30, 5}));
    WrongAnswerReview& review = viewWrongAnswers();
    QCOMPARE(pageThrough(review), wrong);
    QCOMPARE(review.wrongCount(), count - sheet.grade()->counted);
}

void TestReview::pagingAndCounter()
{
    start(false, 83);
    finish(1, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)) + answerWrongly(1, {40}));
    WrongAnswerReview* review = &viewWrongAnswers();
    const auto state = [&] {
        const WrongAnswerReview::Controls& c = *review->controls();
        return u"%1 %2 next:%3 previous:%4"_s.arg(c.position->text())
            .arg(shownId(*review))
            .arg(int(c.nextButton->isEnabled()))
            .arg(int(c.previousButton->isEnabled()));
    };
    // a single wrong answer: Next stays on, as on any first question, and changes nothing
    QCOMPARE(state(), u"Question 1 of 1 40 next:1 previous:0"_s);
    review->nextQuestion();
    QCOMPARE(state(), u"Question 1 of 1 40 next:1 previous:0"_s);
    review->previousQuestion();
    QCOMPARE(state(), u"Question 1 of 1 40 next:1 previous:0"_s);
    QVERIFY(!review->controls()->exhibitButton->isVisible()); // no exhibit, from the first on
    review->returnToScoreReport();

    // a longer list: the last question turns Next off and Previous on
    apply(m_f->database(), answerWrongly(1, {2, 7}));
    program().windows().discard<ScoreSheet>();
    program().windows().discard<WrongAnswerReview>();
    program().window<ScoreSheet>().show();
    review = &viewWrongAnswers();
    QCOMPARE(state(), u"Question 1 of 3 2 next:1 previous:0"_s);
    review->nextQuestion();
    QCOMPARE(state(), u"Question 2 of 3 7 next:1 previous:1"_s);
    review->nextQuestion();
    QCOMPARE(state(), u"Question 3 of 3 40 next:0 previous:1"_s);
    review->nextQuestion();
    QCOMPARE(state(), u"Question 3 of 3 40 next:0 previous:1"_s);
    for (int i = 0; i < 3; ++i)
        review->previousQuestion();
    QCOMPARE(state(), u"Question 1 of 3 2 next:1 previous:0"_s);
}

void TestReview::noWrongAnswersIsSaidInWords()
{
    start(false, 83);
    finish(1, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)));
    WrongAnswerReview& review = viewWrongAnswers();
    const WrongAnswerReview::Controls& c = *review.controls();
    QCOMPARE(review.wrongCount(), 0);
    QVERIFY(c.noneWrong->isVisible());
    QCOMPARE(c.noneWrong->text(), u"No wrong answers in this exam."_s);
    QVERIFY(!c.questionArea->isVisible() && !c.position->isVisible());
    QVERIFY(!c.nextButton->isEnabled() && !c.previousButton->isEnabled());
    review.nextQuestion();
    review.previousQuestion();
    review.showExhibit();
    QVERIFY(review.isVisible() && !program().windows().existing<gui::ExhibitViewer>());
    QVERIFY(prompter().shown().isEmpty());
}

void TestReview::exhibitAndScoreReportRoundTrip_data()
{
    addEditionRows();
}

void TestReview::exhibitAndScoreReportRoundTrip()
{
    QFETCH(bool, demo);
    start(demo, 30);
    giveExhibit(*m_f, u"small.png"_s, {{1, 24}}); // ID 25
    giveExhibit(*m_f, u"other.png"_s, {{1, 9}});  // ID 10
    m_f->rewrite();
    QList<qint64> asked;
    for (qint64 id = 30; id >= 1; --id)
        asked << id;
    if (!demo)
        program().run().questionCount = 30;
    ScoreSheet& sheet =
        finish(1, draw(asked) + answerCorrectly(1, ids(1, 30)) + answerWrongly(1, {25, 18, 10}));
    WrongAnswerReview& review = viewWrongAnswers();
    WrongAnswerReview::Controls* c = review.controls();
    QCOMPARE(review.widget()->windowTitle(),
             demo ? u"Correct Answers -Demo Exam"_s : u"Exam #1 wrong answers"_s);
    QCOMPARE(dynamic_cast<gui::ClickableLabel*>(c->exhibitButton) != nullptr, demo);
    // the first question has an exhibit: the button shows before any move
    QCOMPARE(shownId(review), 25);
    QVERIFY(c->exhibitButton->isVisible());
    review.nextQuestion();
    QVERIFY(!c->exhibitButton->isVisible());
    review.nextQuestion();
    QCOMPARE(shownId(review), 10);
    QVERIFY(c->exhibitButton->isVisible());

    click(c->exhibitButton);
    auto* viewer = program().windows().existing<gui::ExhibitViewer>();
    QVERIFY(viewer && viewer->isVisible());
    QVERIFY(viewer->shownPath().endsWith(u"other.png"_s));
    QCOMPARE(review.isVisible(), demo); // the demo's review stays in view
    viewer->controls()->returnButton->click();
    QVERIFY(review.isVisible());
    QCOMPARE(review.currentNo(), 3);
    QCOMPARE(shownId(review), 10);
    QVERIFY(!program().windows().existing<gui::ExhibitViewer>() ||
            !program().windows().existing<gui::ExhibitViewer>()->isVisible());

    // to the score report and back: the review from its first question
    control<QPushButton>(review, "cmdScoreRep")->click();
    QVERIFY(sheet.isVisible() && !review.isVisible());
    QCOMPARE(program().windows().existing<WrongAnswerReview>() != nullptr, !demo);
    program().windows().collectDiscarded();
    WrongAnswerReview& again = viewWrongAnswers();
    QCOMPARE(shownId(again), 25);
    QCOMPARE(again.controls()->position->text(), u"Question 1 of 3"_s);
}

void TestReview::laterExamsReviewTheirOwnTables()
{
    // each review reads its own exam's tables, not those of the review before it
    start(false, 83);
    for (int exam : {2, 3}) {
        ScoreSheet& sheet = finish(exam, draw(ids(1, 83)) + answerCorrectly(exam, ids(1, 83)) +
                                             answerWrongly(exam, {5, 6}));
        WrongAnswerReview& review = viewWrongAnswers();
        QCOMPARE(review.widget()->windowTitle(), u"Exam #%1 wrong answers"_s.arg(exam));
        QCOMPARE(program().run().wrongAnswerExam, exam);
        const WrongAnswerReview::Controls& c = *review.controls();
        QCOMPARE(c.bindings->dataField(c.keyChecks[1]), u"exam%1%1.correctanswer1"_s.arg(exam));
        QCOMPARE(c.bindings->dataField(c.yourChecks[5]), u"exam%1.correctanswer5"_s.arg(exam));
        QCOMPARE(c.question->toPlainText(), u"Question 5 of exam %1"_s.arg(exam));
        QCOMPARE(c.yourChecks[1]->isChecked(), !c.keyChecks[1]->isChecked());
        review.returnToScoreReport();
        sheet.exit();
    }
}

void TestReview::reviewShowsTheKey()
{
    start(false, 83);
    const QString db = m_f->database();
    sqlfixture::exec(db, u"UPDATE exam11 SET answer5 = 'Fifth, not correct' WHERE ID = 2"_s);
    sqlfixture::exec(db, u"UPDATE exam11 SET answer4 = '' WHERE ID = 5"_s);
    sqlfixture::exec(db, u"UPDATE exam11 SET question_type = '' WHERE ID = 7"_s);
    sqlfixture::exec(db, u"UPDATE exam11 SET answer5 = 'Fifth, correct', correctanswer5 = 1, "
                         "correctanswer4 = 0 WHERE ID = 8"_s);
    ReviewExamWindow& w = review(1);
    QVERIFY(w.isVisible() && !program().window<gui::MainWindow>().isVisible());
    const ReviewExamWindow::Controls& c = *w.controls();
    QCOMPARE(program().run().examCode, 11);
    QCOMPARE(w.widget()->windowTitle(), u"Review Exam #1"_s);
    // what marks the key on the question shown: o = selected option, x = ticked check box,
    // - = a mark on show but not set, . = no mark; then the answer texts on show
    const auto marks = [&]() -> QString {
        QString out;
        for (std::size_t k = 1; k <= 5; ++k) {
            if (c.options[k]->isVisible())
                out += c.options[k]->isChecked() ? u'o' : u'-';
            else if (c.checks[k]->isVisible())
                out += c.checks[k]->isChecked() ? u'x' : u'-';
            else
                out += u'.';
        }
        out += u' ';
        for (std::size_t k = 1; k <= 5; ++k)
            out += c.answerTexts[k]->isVisible() ? QString::number(k) : u"."_s;
        return c.questionId->text() + u' ' + out;
    };
    QCOMPARE(marks(), u"1 o---. 1234."_s); // single answer: the correct option chosen
    QCOMPARE(c.questionNo->text(), u"1"_s);
    QVERIFY(!c.previousButton->isEnabled() && c.nextButton->isEnabled());
    w.nextQuestion();
    QCOMPARE(marks(), u"2 -o--. 12345"_s); // a fifth answer that is not correct: no mark
    w.nextQuestion();
    QCOMPARE(marks(), u"3 --xx. 1234."_s); // multiple answer: the key's ticks
    w.nextQuestion();
    w.nextQuestion();
    QCOMPARE(marks(), u"5 o--.. 123.."_s); // an empty fourth answer hides with its mark
    w.nextQuestion();
    w.nextQuestion();
    QCOMPARE(marks(), u"7 --x-. 1234."_s); // an empty type counts as multiple answer
    w.nextQuestion();
    QCOMPARE(marks(), u"8 ----o 12345"_s); // a correct fifth answer is marked
    QCOMPARE(c.questionNo->text(), u"8"_s);
    QCOMPARE(c.explanation->toPlainText(), u"Explanation 8."_s);
    w.previousQuestion();
    QCOMPARE(marks(), u"7 --x-. 1234."_s);
    QCOMPARE(c.questionNo->text(), u"7"_s);

    // the last of the exam's questions turns Next off; the key has no more rows
    while (w.currentNo() < 83)
        c.nextButton->click();
    QVERIFY(!c.nextButton->isEnabled() && c.previousButton->isEnabled());
    w.nextQuestion();
    QCOMPARE(c.questionNo->text(), u"83"_s);
    QCOMPARE(c.questionId->text(), u"83"_s);
    c.endButton->click();
    QVERIFY(!w.isLoaded() && program().window<gui::MainWindow>().isVisible());
}

void TestReview::reviewMenuOpensEachExamAfresh()
{
    start(false, 83);
    giveExhibit(*m_f, u"two.png"_s, {{2, 0}, {2, 2}}); // exam 2, IDs 1 and 3
    m_f->rewrite();
    sqlfixture::exec(m_f->database(), u"UPDATE exam22 SET question = 'Key of two' WHERE ID = 1"_s);

    ReviewExamWindow* w = &review(2);
    const ReviewExamWindow::Controls* c = w->controls();
    QCOMPARE(program().run().examCode, 22);
    QCOMPARE(w->widget()->windowTitle(), u"Review Exam #2"_s);
    QCOMPARE(c->questionNo->text(), u"1"_s);
    QCOMPARE(c->question->toPlainText(), u"Key of two"_s); // read from exam22
    QCOMPARE(qobject_cast<QPushButton*>(c->exhibitButton)->text(), u"E x h i b i t"_s);
    QVERIFY(c->exhibitButton->isVisible()); // the first question's exhibit, before any move
    w->nextQuestion();
    QVERIFY(!c->exhibitButton->isVisible()); // question 2 has none
    w->nextQuestion();
    QVERIFY(c->exhibitButton->isVisible());
    click(c->exhibitButton);
    QVERIFY(!w->isVisible());
    QVERIFY(program().window<gui::ExhibitViewer>().isVisible());
    program().window<gui::ExhibitViewer>().controls()->returnButton->click();
    QVERIFY(w->isVisible());
    QCOMPARE(c->questionNo->text(), u"3"_s);
    QCOMPARE(c->questionId->text(), u"3"_s);
    w->endReview();

    // opened again, from its first question
    w = &review(2);
    QCOMPARE(w->controls()->questionNo->text(), u"1"_s);
    QCOMPARE(w->controls()->question->toPlainText(), u"Key of two"_s);
}

void TestReview::demoReviewStaysLoaded()
{
    start(true, 30);
    auto& main = program().window<gui::MainWindow>();
    main.startReview(2); // never offered (its menu item is off): nothing happens
    QVERIFY(!program().windows().existing<ReviewExamWindow>() && main.isVisible());

    ReviewExamWindow& w = review(1);
    QCOMPARE(w.widget()->windowTitle(), u"Review - Demo Exam "_s);
    QVERIFY(dynamic_cast<gui::ClickableLabel*>(w.controls()->exhibitButton));
    // the demo's first question has five answers, the first correct
    QCOMPARE(w.controls()->answerTexts[5]->toPlainText(), u"Answer 5 of question 1"_s);
    w.nextQuestion();
    w.nextQuestion();
    w.tick();
    w.endReview();
    QVERIFY(w.isLoaded() && !w.isVisible() && main.isVisible());
    QVERIFY(w.controls()->timer->isRunning());
    w.tick(); // hidden, the demo's clock runs on
    QCOMPARE(w.elapsedClock().seconds(), 2);
    ReviewExamWindow& again = review(1);
    QCOMPARE(&again, &w);
    QCOMPARE(w.controls()->questionNo->text(), u"1"_s);
    QCOMPARE(w.controls()->questionId->text(), u"1"_s);
    QVERIFY(!w.controls()->previousButton->isEnabled());
    w.widget()->close();
    QVERIFY(!w.isVisible() && main.isVisible());
}

void TestReview::reviewClockCountsAndStops()
{
    start(false, 83);
    ReviewExamWindow& w = review(1);
    QLabel* clock = w.controls()->clock;
    QCOMPARE(clock->text(), u"ClockDisplay"_s);
    QCOMPARE(w.controls()->timer->interval(), 1000);
    QVERIFY(w.controls()->timer->isRunning());
    for (int i = 0; i < 65; ++i)
        w.tick();
    QCOMPARE(clock->text(), u"00:01:05"_s);
    while (w.elapsedClock().seconds() < core::ElapsedClock::mostSeconds - 1)
        w.elapsedClock().tick();
    for (int i = 0; i < 3; ++i)
        w.tick();
    QCOMPARE(clock->text(), u"99:59:59"_s);
    QCOMPARE(w.elapsedClock().seconds(), core::ElapsedClock::mostSeconds);
    w.endReview();
    QVERIFY(!w.controls());
    // a new review counts its own time
    review(1);
    QCOMPARE(w.elapsedClock().seconds(), 0);
    w.tick();
    QCOMPARE(w.controls()->clock->text(), u"00:00:01"_s);
    w.endReview();
}

void TestReview::framesCloseLikeTheReturnButtons()
{
    start(false, 83);
    ScoreSheet& sheet =
        finish(1, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)) + answerWrongly(1, {3}));
    WrongAnswerReview& wrong = viewWrongAnswers();
    wrong.widget()->close();
    QVERIFY(!wrong.isLoaded() && sheet.isVisible());
    sheet.exit();

    ReviewExamWindow& w = review(3);
    w.widget()->close();
    QVERIFY(!w.isLoaded());
    QVERIFY(program().window<gui::MainWindow>().isVisible());
}

void TestReview::neitherWindowWritesTheFile()
{
    start(false, 83);
    const QString db = m_f->database();
    ScoreSheet& sheet =
        finish(1, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)) + answerWrongly(1, {3, 4}));
    const QByteArray before = filefixture::contents(db); // graded already
    QVERIFY(!before.isEmpty());

    // every box is clicked by mouse and by a click sent to it; each goes back at once
    const auto clickAll = [](const QList<QAbstractButton*>& boxes) {
        for (QAbstractButton* box : boxes) {
            if (!box->isVisible())
                continue;
            const bool was = box->isChecked();
            QTest::mouseClick(box, Qt::LeftButton);
            QCOMPARE(box->isChecked(), was);
            box->click();
            QCOMPARE(box->isChecked(), was);
        }
    };
    WrongAnswerReview& wrong = viewWrongAnswers();
    for (int move = 0; move < 2; ++move) {
        QList<QAbstractButton*> boxes;
        for (std::size_t k = 1; k <= 5; ++k)
            boxes << wrong.controls()->keyChecks[k] << wrong.controls()->yourChecks[k];
        clickAll(boxes);
        wrong.nextQuestion();
    }
    wrong.previousQuestion();
    QCOMPARE(wrong.controls()->yourChecks[1]->isChecked(),
             !wrong.controls()->keyChecks[1]->isChecked());
    wrong.returnToScoreReport();
    sheet.hide();
    program().window<gui::MainWindow>().show();

    ReviewExamWindow& w = review(1);
    for (int move = 0; move < 3; ++move) {
        QList<QAbstractButton*> boxes;
        for (std::size_t k = 1; k <= 5; ++k)
            boxes << w.controls()->checks[k] << w.controls()->options[k];
        clickAll(boxes);
        w.nextQuestion();
    }
    w.previousQuestion();
    w.endReview();
    QCOMPARE(filefixture::contents(db), before);
}

void TestReview::printingWithoutAPrinterOffersPdf()
{
    if (gui::WindowPrinter::printerAvailable())
        QSKIP("a printer is set up here; the question would go to it");
    start(false, 83);
    finish(1, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)) + answerWrongly(1, {3}));
    WrongAnswerReview& review = viewWrongAnswers();
    // declining and a folder that is not there are the score sheet's test: the same printer
    // serves both
    const QString pdf = QDir::toNativeSeparators(m_f->bank().path(u"question"_s));
    prompter().expect(
        u"No printer is available. Do you want to save the question as a PDF file instead?"_s,
        core::Prompter::Ok);
    prompter().expectInput(u"Save the question as this PDF file:"_s, pdf);
    prompter().expect(u"The question was saved as \"%1.pdf\"."_s.arg(pdf), core::Prompter::Ok);
    control<QPushButton>(review, "cmdPrintQ")->click();
    QFile file(pdf + u".pdf"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(4), QByteArray("%PDF"));
    QVERIFY(!program().hasEnded() && review.isVisible());
}

void TestReview::databaseFailuresReturnToTheCaller_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("movesFirst"); // Next presses before the damage is done
    QTest::addColumn<QString>("told");
    const QString failed = u"The question database \"qbk09.mdb\""_s;
    QTest::newRow("wrong answers: key missing")
        << u"wrong"_s << u"DROP TABLE exam11"_s << -1 << failed;
    QTest::newRow("wrong answers: draw missing")
        << u"wrong"_s << u"DROP TABLE tblrandom"_s << -1 << failed;
    // the Review menu finds it before the window opens
    QTest::newRow("review: key missing") << u"review"_s << u"DROP TABLE exam11"_s << -1
                                         << u"qbk09.mdb cannot be used to review exam 1:"_s;
    QTest::newRow("review: key empty") << u"review"_s << u"DELETE FROM exam11"_s << -1 << failed;
    QTest::newRow("review: key gone while paging")
        << u"review"_s << u"DROP TABLE exam11"_s << 3 << failed;
}

void TestReview::databaseFailuresReturnToTheCaller()
{
    QFETCH(QString, window);
    QFETCH(QString, damage);
    QFETCH(int, movesFirst);
    QFETCH(QString, told);
    start(false, 83);
    const QString db = m_f->database();
    gui::Window* caller = nullptr;
    if (window == u"wrong"_s) {
        caller =
            &finish(1, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)) + answerWrongly(1, {3}));
        sqlfixture::exec(db, damage);
        viewWrongAnswers();
        QVERIFY(!program().window<WrongAnswerReview>().isLoaded());
        QCOMPARE(program().run().wrongAnswerExam, 0);
    } else {
        caller = &program().window<gui::MainWindow>();
        if (movesFirst < 0) {
            sqlfixture::exec(db, damage);
            review(1);
        } else {
            ReviewExamWindow& w = review(1);
            for (int i = 0; i < movesFirst; ++i)
                w.nextQuestion();
            sqlfixture::exec(db, damage); // the window holds no lock that would stop this
            for (int i = 0; i < 40 && w.isLoaded(); ++i)
                w.nextQuestion();
        }
        QVERIFY(!program().window<ReviewExamWindow>().isLoaded());
    }
    QCOMPARE(prompter().shown().size(), 1); // told once
    QVERIFY2(prompter().last().prompt.startsWith(told), qPrintable(prompter().last().prompt));
    prompter().clear();
    QVERIFY(caller->isVisible());
    QCOMPARE(windowchecks::visibleWindows().size(), 1);
    if (window == u"wrong"_s)
        program().window<ScoreSheet>().exit();
}

QTEST_MAIN(TestReview)
#include "tst_review.moc"
