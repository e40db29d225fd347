#include "ExamAnswers.h"
#include "ExamFixture.h"
#include "WindowTestChecks.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/review/WrongAnswerReview.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/WindowPrinter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace examanswers;
using namespace Qt::StringLiterals;
using gui::ScoreSheet;

// The score sheet driven through its controls and handlers, over real
// question databases in the current folder, where the programs look.
class TestScoreSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void fromResultToExit_data();
    void fromResultToExit();
    void gridsListEveryCategoryReadOnly();
    void printsToPdfWithoutAPrinter();
    void unusableDatabaseReturnsToTheMainWindow_data();
    void unusableDatabaseReturnsToTheMainWindow();

private:
    // A program of that edition, its exam 1 just ended: the run values as the
    // exam window leaves them, the main window hidden.
    void start(bool demo);
    // Stores the candidate's exam and shows the sheet, as the exam window does when the exam ends.
    ScoreSheet& finish(const QStringList& statements) { return m_f->finishExam(1, statements); }
    gui::Program& program() { return m_f->program(); }
    ScriptedPrompter& prompter() { return m_f->prompter(); }
    template <typename T = QLabel> T* control(const char* name)
    {
        return program().window<ScoreSheet>().widget()->findChild<T*>(QLatin1StringView(name));
    }

    std::unique_ptr<ExamFixture> m_f;
};

void TestScoreSheet::cleanup()
{
    QLocale::setDefault(QLocale::c());
    windowchecks::endFixture(m_f);
}

void TestScoreSheet::start(bool demo)
{
    m_f = std::make_unique<ExamFixture>(demo ? core::demoEdition() : core::fullEdition(),
                                        demo ? 30 : 83);
    core::RunValues& run = program().run();
    run.examCode = 1;
    run.candidateName = u"Ada Example"_s;
    run.questionNo = 7;
    run.wrongAnswerExam = 1;
    program().window<gui::MainWindow>().hide();
}

void TestScoreSheet::fromResultToExit_data()
{
    QTest::addColumn<bool>("demo"); // leaves by the frame's close button, the full edition by Exit
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("score");
    QTest::addColumn<bool>("passed");
    QTest::newRow("full, 59 of 83") << false << 59 << u"710/1000"_s << true;
    QTest::newRow("full, 58 of 83") << false << 58 << u"698/1000"_s << false;
    QTest::newRow("demo, 21 of 30") << true << 21 << u"700/1000"_s << true;
}

void TestScoreSheet::fromResultToExit()
{
    QFETCH(bool, demo);
    QFETCH(int, right);
    QFETCH(QString, score);
    QFETCH(bool, passed);
    const QLocale regional(QLocale::German, QLocale::Germany);
    QLocale::setDefault(regional);
    start(demo);
    const QString db = m_f->database();
    const int questions = program().edition().questionCount;
    QStringList finished = draw(ids(1, questions)) + answerCorrectly(1, ids(1, right)) +
                           answerWrongly(1, ids(right + 1, questions - right));
    if (!demo)
        finished += answerCorrectly(2, ids(1, 10)); // another exam's choices, which stay
    program().window<gui::ExamWindow>();
    program().window<gui::ExhibitViewer>();
    ScoreSheet& sheet = finish(finished);

    QCOMPARE(control("lblCandName")->text(), u"Ada Example"_s);
    QVERIFY(qAbs(sheet.gradedAt().secsTo(QDateTime::currentDateTime())) < 60);
    QCOMPARE(control("lblExamDate")->text(),
             regional.toString(sheet.gradedAt().date(), QLocale::ShortFormat));
    QCOMPARE(control("lblExamTime")->text(),
             regional.toString(sheet.gradedAt().time(), QLocale::ShortFormat));
    QCOMPARE(control("lblScoreObtained")->text(), score);
    QCOMPARE(control("lblPassScore")->text(), u"700/1000"_s);
    QCOMPARE(control("Label1")->text(),
             passed ? u"Congratulations!"_s : u"Sorry, please try again!"_s);
    // the verdict's colour as the eye sees it, in the window's image
    const QImage image = sheet.widget()->grab().toImage();
    const QPoint inside =
        control("Label1")->mapTo(sheet.widget(), QPoint(3, 3)) * image.devicePixelRatio();
    QCOMPARE(QColor(image.pixel(inside)),
             passed ? QColor(0x80, 0xff, 0x80) : QColor(0xff, 0xc0, 0xc0));

    // to the wrong answers and back: the same sheet, not graded again
    const QStringList rows = categoryScores(db);
    // grading again would show this; choice 5 is left to the demo's Exit
    apply(db, answerCorrectly(1, ids(1, questions)) + alsoTickChoiceFive(1, {2, 3, 4}));
    for (int trip = 0; trip < 3; ++trip) {
        control<QPushButton>("CmdAnswers")->click();
        QVERIFY(!sheet.isVisible());
        program().window<gui::WrongAnswerReview>().returnToScoreReport();
        program().windows().collectDiscarded();
    }
    QVERIFY(sheet.isVisible());
    QCOMPARE(program().windows().existing<ScoreSheet>(), &sheet);
    QCOMPARE(control("lblScoreObtained")->text(), score);
    QCOMPARE(categoryScores(db), rows);

    // leaving clears this exam's graded choices (the full edition's four, the demo's five) and the
    // run values
    if (demo)
        sheet.widget()->close();
    else
        control<QPushButton>("CmdExit")->click();
    QCOMPARE(sqlfixture::rows(
                 db,
                 u"SELECT sum(correctanswer1 + correctanswer2 + correctanswer3 + correctanswer4), "
                 "sum(correctanswer5) FROM exam1"_s),
             QStringList{demo ? u"0|0"_s : u"0|3"_s});
    if (!demo)
        QCOMPARE(sqlfixture::scalar(
                     db, u"SELECT count(*) FROM exam2 WHERE correctanswer1 + correctanswer2 + "
                         "correctanswer3 + correctanswer4"_s)
                     .toInt(),
                 10);
    const core::RunValues& run = program().run();
    QCOMPARE((QList<int>{run.questionNo, run.wrongAnswerExam, run.examCode}),
             (QList<int>{0, 0, demo ? 1 : 0}));
    const gui::WindowRegistry& forms = program().windows();
    QVERIFY(!forms.existing<ScoreSheet>() && !forms.existing<gui::ExamWindow>() &&
            !forms.existing<gui::ExhibitViewer>() && !forms.existing<gui::WrongAnswerReview>());
    QVERIFY(program().window<gui::MainWindow>().isVisible());
}

void TestScoreSheet::gridsListEveryCategoryReadOnly()
{
    // 21 categories, more than the sheet's 19 slots; category 20 holds
    // questions 21, 42 and 63; category 19's questions are not drawn
    start(false);
    finish(
        QStringList{u"WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 20) "
                    "INSERT INTO cat (sl_no, cat_desc) SELECT i + 1, 'Category ' || i FROM n"_s,
                    u"UPDATE exam1 SET catid = (ID - 1) % 21"_s} +
        draw(ids(1, 83)) + answerCorrectly(1, {21, 42}) +
        QStringList{u"DELETE FROM tblrandom WHERE ID IN (20, 41, 62, 83)"_s});

    auto* categories = control<QTableWidget>("DBGrid1");
    auto* results = control<QTableWidget>("DBGrid2");
    QCOMPARE((QList<int>{categories->rowCount(), results->rowCount()}), (QList<int>{21, 21}));
    QCOMPARE(categories->item(20, 0)->text() + u' ' + categories->item(20, 1)->text(),
             u"21 Category 20"_s);
    QCOMPARE(results->item(20, 0)->text() + u' ' + results->item(20, 1)->text(), u"66% 2"_s);
    QCOMPARE(results->item(19, 0)->text(), u"0%"_s); // none of its questions asked
    for (QTableWidget* grid : {categories, results}) {
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                QVERIFY(!(grid->item(r, c)->flags() & Qt::ItemIsEditable));
    }
}

void TestScoreSheet::printsToPdfWithoutAPrinter()
{
    start(false);
    if (gui::WindowPrinter::printerAvailable())
        QSKIP("a printer is set up here; the sheet would go to it");
    ScoreSheet& sheet = finish(draw(ids(1, 83)) + answerCorrectly(1, ids(1, 70)));

    const QString offer =
        u"No printer is available. Do you want to save the score sheet as a PDF file instead?"_s;
    // declined: no file name asked for
    prompter().expect(offer, core::Prompter::Cancel);
    sheet.print();
    QCOMPARE(prompter().last().style, int(core::Prompter::OkCancelQuestion));

    const QString nowhere =
        QDir::toNativeSeparators(m_f->bank().path(u"no such folder/sheet.pdf"_s));
    prompter().expect(offer, core::Prompter::Ok);
    prompter().expectInput(u"Save the score sheet as this PDF file:"_s, nowhere);
    prompter().expect(
        u"The score sheet could not be saved as \"%1\". Check that the folder exists and can be written."_s
            .arg(nowhere),
        core::Prompter::Ok);
    sheet.print();
    QVERIFY(!program().hasEnded());

    const QString pdf = QDir::toNativeSeparators(m_f->bank().path(u"sheet"_s));
    prompter().expect(offer, core::Prompter::Ok);
    prompter().expectInput(u"Save the score sheet as this PDF file:"_s, pdf);
    prompter().expect(u"The score sheet was saved as \"%1.pdf\"."_s.arg(pdf), core::Prompter::Ok);
    control<QPushButton>("cmdPrint")->click();
    QVERIFY(prompter()
                .shown()
                .at(prompter().shown().size() - 2)
                .defaultText.endsWith(
                    u"Score Sheet %1.pdf"_s.arg(QDate::currentDate().toString(Qt::ISODate))));
    QFile file(pdf + u".pdf"_s);
    QVERIFY(file.open(QIODevice::ReadOnly) && file.size() > 10000); // the sheet's picture is in it
    QCOMPARE(file.read(4), QByteArray("%PDF"));
    QVERIFY(sheet.isVisible());
}

void TestScoreSheet::unusableDatabaseReturnsToTheMainWindow_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("atExit"); // done while the sheet is up, then Exit
    QTest::addColumn<QString>("message");
    const QString notGraded = u"Your exam could not be graded, so no score can be shown."_s;
    QTest::newRow("file missing") << u"remove"_s << false << notGraded;
    QTest::newRow("answer key missing") << u"DROP TABLE exam11"_s << false << notGraded;
    QTest::newRow("no exam taken")
        << u"no exam"_s << false << u"There is no finished exam to grade."_s;
    QTest::newRow("file gone before Exit")
        << u"remove"_s << true
        << u"The answers of this exam could not be cleared from the question database."_s;
}

void TestScoreSheet::unusableDatabaseReturnsToTheMainWindow()
{
    QFETCH(QString, damage);
    QFETCH(bool, atExit);
    QFETCH(QString, message);
    start(false);
    const QString db = m_f->database();
    program().window<gui::ExamWindow>();
    apply(db, draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)));
    if (atExit)
        finish({});
    if (damage == u"remove"_s)
        QVERIFY(QFile::remove(db));
    else if (damage == u"no exam"_s)
        program().run().examCode = 0;
    else
        sqlfixture::exec(db, damage);

    ScoreSheet& sheet = program().window<ScoreSheet>();
    atExit ? sheet.exit() : sheet.show();
    QCOMPARE(prompter().shown().size(), 1); // told once
    QVERIFY(prompter().last().prompt.startsWith(message));
    prompter().clear();
    QVERIFY(!program().windows().existing<ScoreSheet>() &&
            !program().windows().existing<gui::ExamWindow>());
    QCOMPARE((QList<int>{program().run().questionNo, program().run().examCode}),
             (QList<int>{0, 0}));
    QVERIFY(program().window<gui::MainWindow>().isVisible());
    QVERIFY(damage != u"remove"_s || !QFile::exists(db)); // nothing created in its place
    QVERIFY(!windowchecks::visibleWindowNames().contains(u"Form3"_s));
}

QTEST_MAIN(TestScoreSheet)
#include "tst_scoresheet.moc"
