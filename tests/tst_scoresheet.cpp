#include "ExamAnswers.h"
#include "Form1.h"
#include "Form211.h"
#include "Form2C.h"
#include "Form3.h"
#include "Program.h"
#include "ScriptedPrompter.h"
#include "SheetPrinter.h"
#include "TempBank.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace examanswers;
using namespace Qt::StringLiterals;
using scoring::Form3;
using scoring::SheetPrinter;

// The score sheet driven through its controls and handlers, over real
// question databases in the current folder, where the programs look.
class TestScoreSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void showsTheResult_data();
    void showsTheResult();
    void gridsListEveryCategoryReadOnly();
    void comingBackFromTheReviewShowsTheSameSheet();

    void exitClearsTheExamAndReturns_data();
    void exitClearsTheExamAndReturns();
    void fromOneExamWindowToTheNext();

    void printsToPdfWithoutAPrinter();

    void unusableDatabaseReturnsToTheMainWindow_data();
    void unusableDatabaseReturnsToTheMainWindow();
    void failedResetIsToldOnce();

private:
    // A program of that edition over a copy of `bank` (or its shared one).
    void start(bool demo, const TempBank* bank = nullptr);
    QString bankPath() const { return m_dir->filePath(m_program->edition().databaseFile); }
    // As the exam window does when the exam ends.
    Form3& showSheet();
    template <typename T = QLabel> T* control(const char* name) const;
    QString text(const char* name) const { return control(name)->text(); }
    bool mainWindowShown() const;

    TempBank m_fullBank{4, 3};
    TempBank m_demoBank{5, 3};
    QString m_startFolder;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<app::Program> m_program;
};

void TestScoreSheet::initTestCase()
{
    m_startFolder = QDir::currentPath();
    for (int exam : {1, 2, 3})
        m_fullBank.addExam(exam, 83);
    m_fullBank.write(u"qbk09.mdb"_s);
    m_demoBank.addExam(1, 30);
    m_demoBank.write(u"qbk009.mdb"_s);
}

void TestScoreSheet::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(m_dir->path());
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void TestScoreSheet::cleanup()
{
    m_program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QLocale::setDefault(QLocale::c());
    QDir::setCurrent(m_startFolder);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName() + u" is still open"_s));
    QVERIFY2(m_prompter->unexpected().isEmpty(), qPrintable(m_prompter->unexpected().join(u'\n')));
    QVERIFY2(m_prompter->unused().isEmpty(), qPrintable(m_prompter->unused().join(u'\n')));
}

void TestScoreSheet::start(bool demo, const TempBank* bank)
{
    const app::Edition edition = demo ? app::demoEdition() : app::fullEdition();
    if (!bank)
        bank = demo ? &m_demoBank : &m_fullBank;
    QVERIFY(QFile::copy(bank->path(edition.databaseFile), m_dir->filePath(edition.databaseFile)));
    m_program = std::make_unique<app::Program>(edition, *m_prompter);
    app::RunValues& run = m_program->run();
    run.QuestionCount = edition.questionCount;
    run.ExamCode = 1;
    run.CandidateName = u"Ada Example"_s;
    run.QuestionNo = 7;
    run.WrongAnswerExam = 1;
}

Form3& TestScoreSheet::showSheet()
{
    Form3& sheet = m_program->form<Form3>();
    sheet.Show();
    return sheet;
}

template <typename T> T* TestScoreSheet::control(const char* name) const
{
    Form3* sheet = m_program->forms().existing<Form3>();
    T* found = sheet && sheet->window() ? sheet->window()->findChild<T*>(QLatin1StringView(name)) : nullptr;
    if (!found)
        qFatal("the score sheet has no control %s on screen", name);
    return found;
}

bool TestScoreSheet::mainWindowShown() const
{
    const app::Form1* main = m_program->forms().existing<app::Form1>();
    return main && main->isVisible();
}

// ---- what the sheet shows ----------------------------------------------------

void TestScoreSheet::showsTheResult_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("score");
    QTest::addColumn<bool>("passed");
    QTest::newRow("full, 59 of 83") << false << 59 << u"710/1000"_s << true;
    QTest::newRow("full, 58 of 83") << false << 58 << u"698/1000"_s << false;
    QTest::newRow("demo, 21 of 30") << true << 21 << u"700/1000"_s << true;
}

void TestScoreSheet::showsTheResult()
{
    QFETCH(bool, demo);
    QFETCH(int, right);
    QFETCH(QString, score);
    QFETCH(bool, passed);
    const QLocale regional(QLocale::German, QLocale::Germany);
    QLocale::setDefault(regional);
    start(demo);
    const int questions = m_program->edition().questionCount;
    apply(bankPath(), draw(ids(1, questions)) + answerCorrectly(1, ids(1, right)) +
                          answerWrongly(1, ids(right + 1, questions - right)));

    Form3& sheet = showSheet();
    QVERIFY(sheet.isVisible());
    QCOMPARE(sheet.window()->windowTitle(), u"Score Sheet"_s);
    QCOMPARE(text("lblExamTitle"), demo ? u"Corvane(R) Brel 9x Practice Exam Demo"_s : u"Brel 9x Practice Exam"_s);
    QCOMPARE(text("lblDate"), demo ? u"Date:"_s : u"Date"_s);
    QCOMPARE(text("Label4"), demo ? u"Name:"_s : u"Name"_s);
    QCOMPARE(text("lblCandName"), u"Ada Example"_s);
    QVERIFY(qAbs(sheet.gradedAt().secsTo(QDateTime::currentDateTime())) < 60);
    QCOMPARE(text("lblExamDate"), regional.toString(sheet.gradedAt().date(), QLocale::ShortFormat));
    QCOMPARE(text("lblExamTime"), regional.toString(sheet.gradedAt().time(), QLocale::ShortFormat));
    QCOMPARE(text("lblScoreObtained"), score);
    QCOMPARE(text("lblPassScore"), u"700/1000"_s);
    QCOMPARE(m_program->run().PassScore, 700);
    QCOMPARE(text("Label1"), passed ? u"Congratulations!"_s : u"Sorry, please try again!"_s);
    // the verdict's colour as the eye sees it, in the window's image
    QLabel* verdict = control("Label1");
    const QImage image = sheet.window()->grab().toImage();
    const QPoint inside = verdict->mapTo(sheet.window(), QPoint(3, 3)) * image.devicePixelRatio();
    QCOMPARE(QColor(image.pixel(inside)), passed ? QColor(0x80, 0xff, 0x80) : QColor(0xff, 0xc0, 0xc0));
    sheet.CmdExit_Click();
}

void TestScoreSheet::gridsListEveryCategoryReadOnly()
{
    // 21 categories, more than the sheet's 19 slots; category 20 holds
    // questions 21, 42 and 63; category 19's questions are not drawn
    TempBank wide(4, 21);
    wide.addExam(1, 83);
    wide.write(u"qbk09.mdb"_s);
    start(false, &wide);
    QList<qint64> drawn = ids(1, 83);
    for (qint64 id : {20, 41, 62, 83})
        drawn.removeOne(id);
    apply(bankPath(), draw(drawn) + answerCorrectly(1, {21, 42}));
    Form3& sheet = showSheet();

    auto* categories = control<QTableWidget>("DBGrid1");
    auto* results = control<QTableWidget>("DBGrid2");
    QCOMPARE(categories->rowCount(), 21);
    QCOMPARE(results->rowCount(), 21);
    QCOMPARE(categories->horizontalHeaderItem(0)->text(), QString());
    QCOMPARE(categories->horizontalHeaderItem(1)->text(), u"cat_desc"_s);
    QCOMPARE(results->horizontalHeaderItem(0)->text(), u"Cat_correct"_s);
    QCOMPARE(results->horizontalHeaderItem(1)->text(), u"cat_scores"_s);
    QCOMPARE(categories->item(20, 0)->text(), u"21"_s); // sl_no
    QCOMPARE(categories->item(20, 1)->text(), u"Category 20"_s);
    QCOMPARE(results->item(20, 0)->text(), u"66%"_s);
    QCOMPARE(results->item(20, 1)->text(), u"2"_s);
    QCOMPARE(results->item(19, 0)->text(), u"0%"_s);
    QCOMPARE(sheet.Lbl_sc_totals().size(), std::size_t(21));

    for (QTableWidget* grid : {categories, results}) {
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                QVERIFY(!(grid->item(r, c)->flags() & Qt::ItemIsEditable));
    }
    // the two grids scroll as one table
    QScrollBar* bar = results->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QCOMPARE(categories->rowAt(categories->viewport()->height() - 2), 20);
    sheet.CmdExit_Click();
}

void TestScoreSheet::comingBackFromTheReviewShowsTheSameSheet()
{
    start(false);
    apply(bankPath(), draw(ids(1, 83)) + answerCorrectly(1, ids(1, 60)));
    Form3& sheet = showSheet();
    const QString score = text("lblScoreObtained");
    const QStringList rows = categoryScores(bankPath());

    apply(bankPath(), answerCorrectly(1, ids(1, 83))); // grading again would show this
    for (int trip = 0; trip < 3; ++trip) {
        control<QPushButton>("CmdAnswers")->click();
        QVERIFY(sheet.isVisible());
    }
    QCOMPARE(m_program->forms().existing<Form3>(), &sheet);
    QCOMPARE(text("lblScoreObtained"), score);
    QCOMPARE(categoryScores(bankPath()), rows);
    sheet.CmdExit_Click();
}

// ---- leaving it --------------------------------------------------------------

void TestScoreSheet::exitClearsTheExamAndReturns_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<int>("examCodeAfter");
    QTest::addColumn<int>("choiceFiveLeft");
    QTest::newRow("full edition, Exit") << false << 0 << 3;
    QTest::newRow("demo, the frame's close button") << true << 1 << 0;
}

void TestScoreSheet::exitClearsTheExamAndReturns()
{
    QFETCH(bool, demo);
    QFETCH(int, examCodeAfter);
    QFETCH(int, choiceFiveLeft);
    start(demo);
    QStringList finished = draw(ids(1, 20)) + answerCorrectly(1, ids(1, 20)) + alsoTickChoiceFive(1, {2, 3, 4});
    if (!demo)
        finished += answerCorrectly(2, ids(1, 10)); // another exam's choices stay
    apply(bankPath(), finished);
    m_program->form<exam::Form211>();
    m_program->form<review::Form2C>();
    Form3& sheet = showSheet();

    if (demo)
        sheet.window()->close();
    else
        control<QPushButton>("CmdExit")->click();
    auto sum = [this](const char* sql) { return sqlfixture::scalar(bankPath(), QLatin1StringView(sql)).toInt(); };
    QCOMPARE(sum("SELECT sum(correctanswer1 + correctanswer2 + correctanswer3 + correctanswer4) FROM exam1"), 0);
    QCOMPARE(sum("SELECT sum(correctanswer5) FROM exam1"), choiceFiveLeft);
    if (!demo)
        QCOMPARE(sum("SELECT count(*) FROM exam2 WHERE correctanswer1 + correctanswer2 + correctanswer3 + "
                     "correctanswer4 > 0"),
                 10);
    const app::RunValues& run = m_program->run();
    QCOMPARE(run.QuestionNo, 0);
    QCOMPARE(run.WrongAnswerExam, 0);
    QCOMPARE(run.ExamCode, examCodeAfter);
    QVERIFY(!sheet.isVisible());
    QVERIFY(!m_program->forms().existing<Form3>());
    QVERIFY(!m_program->forms().existing<exam::Form211>());
    QVERIFY(!m_program->forms().existing<review::Form2C>());
    QVERIFY(mainWindowShown());
}

void TestScoreSheet::fromOneExamWindowToTheNext()
{
    start(false);
    app::RunValues& run = m_program->run();
    run.QuestionNo = 0;
    exam::Form211* examWindow = &m_program->form<exam::Form211>();
    examWindow->Show();
    QCOMPARE(run.QuestionNo, 1);
    // the candidate ticks the key's choices of the first question only, then ends
    const qint64 first = sqlfixture::scalar(bankPath(), u"SELECT ID FROM tblrandom ORDER BY sl_no LIMIT 1"_s).toLongLong();
    const QStringList key = sqlfixture::rows(
        bankPath(), u"SELECT correctanswer1, correctanswer2, correctanswer3, correctanswer4 FROM exam11 WHERE ID = "_s +
                        QString::number(first));
    for (int k = 1; k <= 4; ++k)
        examWindow->window()->findChild<QCheckBox*>(u"Check%1"_s.arg(k))->setChecked(key.first().split(u'|')[k - 1] == u"1");
    m_prompter->expect(u"Do you really wish to end the test?"_s, app::vbOK);
    examWindow->cmdEndExam_Click();
    QCOMPARE(text("lblScoreObtained"), u"12/1000"_s); // 1 of 83

    m_program->forms().existing<Form3>()->CmdExit_Click();
    m_program->forms().collectDiscarded();
    run.ExamCode = 1;
    examWindow = &m_program->form<exam::Form211>();
    examWindow->Show();
    QVERIFY(examWindow->isVisible());
    QCOMPARE(run.QuestionNo, 1);
    m_prompter->expect(u"Do you really wish to end the test?"_s, app::vbOK);
    examWindow->cmdEndExam_Click();
    QCOMPARE(text("lblScoreObtained"), u"0/1000"_s); // graded anew, the old choices cleared
    m_program->forms().existing<Form3>()->CmdExit_Click();
}

// ---- printing ----------------------------------------------------------------

void TestScoreSheet::printsToPdfWithoutAPrinter()
{
    if (SheetPrinter::printerAvailable())
        QSKIP("a printer is set up here; the sheet would go to it");
    start(false);
    apply(bankPath(), draw(ids(1, 83)) + answerCorrectly(1, ids(1, 70)));
    Form3& sheet = showSheet();

    m_prompter->expect(SheetPrinter::noPrinterPrompt(), app::vbCancel);
    sheet.cmdPrint_Click();
    QCOMPARE(m_prompter->shown().size(), 1); // declined: no file name asked for
    QCOMPARE(m_prompter->shown().first().style, int(app::vbOKCancelQuestion));

    const QString nowhere = QDir::toNativeSeparators(m_dir->filePath(u"no such folder/sheet.pdf"_s));
    m_prompter->expect(SheetPrinter::noPrinterPrompt(), app::vbOK);
    m_prompter->expectInput(SheetPrinter::pdfNamePrompt(), nowhere);
    m_prompter->expect(u"The score sheet could not be saved as \"%1\". Check that the folder exists and can be "
                       "written."_s.arg(nowhere),
                       app::vbOK);
    sheet.cmdPrint_Click();
    QVERIFY(!m_program->hasEnded());

    const QString pdf = QDir::toNativeSeparators(m_dir->filePath(u"sheet"_s));
    m_prompter->expect(SheetPrinter::noPrinterPrompt(), app::vbOK);
    m_prompter->expectInput(SheetPrinter::pdfNamePrompt(), pdf);
    m_prompter->expect(u"The score sheet was saved as \"%1.pdf\"."_s.arg(pdf), app::vbOK);
    control<QPushButton>("cmdPrint")->click();
    QVERIFY(m_prompter->shown().last().prompt.startsWith(u"The score sheet was saved"_s));
    QVERIFY(m_prompter->shown().at(m_prompter->shown().size() - 2).defaultText.endsWith(
        u"Score Sheet %1.pdf"_s.arg(QDate::currentDate().toString(Qt::ISODate))));
    QFile file(pdf + u".pdf"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(4), QByteArray("%PDF"));
    QVERIFY(file.size() > 10000); // the sheet's picture is in it
    QVERIFY(sheet.isVisible());
    sheet.CmdExit_Click();
}

// ---- failures ----------------------------------------------------------------

void TestScoreSheet::unusableDatabaseReturnsToTheMainWindow_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    const QString notGraded = u"Your exam could not be graded, so no score can be shown."_s;
    QTest::newRow("file missing") << u"remove"_s << notGraded;
    QTest::newRow("not a database") << u"garble"_s << notGraded;
    QTest::newRow("answer key missing") << u"DROP TABLE exam11"_s << notGraded;
    QTest::newRow("categories missing") << u"DROP TABLE cat"_s << notGraded;
    QTest::newRow("no exam taken") << u"no exam"_s << u"There is no finished exam to grade."_s;
}

void TestScoreSheet::unusableDatabaseReturnsToTheMainWindow()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    start(false);
    apply(bankPath(), draw(ids(1, 83)) + answerCorrectly(1, ids(1, 83)));
    m_program->form<exam::Form211>();
    if (damage == u"remove"_s) {
        QVERIFY(QFile::remove(bankPath()));
    } else if (damage == u"garble"_s) {
        QFile file(bankPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("not a question bank ").repeated(300));
    } else if (damage == u"no exam"_s) {
        m_program->run().ExamCode = 0;
    } else {
        sqlfixture::exec(bankPath(), damage);
    }

    m_program->form<Form3>().Show();
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->shown().first().prompt.startsWith(message));
    m_prompter->clear();
    QVERIFY(!m_program->forms().existing<Form3>());
    QVERIFY(!m_program->forms().existing<exam::Form211>());
    QCOMPARE(m_program->run().QuestionNo, 0);
    QVERIFY(mainWindowShown());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(w->objectName() != u"Form3"_s || !w->isVisible());
}

void TestScoreSheet::failedResetIsToldOnce()
{
    start(false);
    apply(bankPath(), draw(ids(1, 83)));
    Form3& sheet = showSheet();
    QVERIFY(QFile::remove(bankPath()));
    sheet.CmdExit_Click();
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->shown().first().prompt.startsWith(
        u"The answers of this exam could not be cleared from the question database."_s));
    m_prompter->clear();
    QVERIFY(!QFile::exists(bankPath()));
    QCOMPARE(m_program->run().ExamCode, 0);
    QVERIFY(mainWindowShown());
}

QTEST_MAIN(TestScoreSheet)
#include "tst_scoresheet.moc"
