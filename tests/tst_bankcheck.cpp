// What the program makes of a question bank it cannot trust: a bank damaged
// in one way is refused with one message before the name prompt or before a
// review opens, and left as it was; a start refused or failing after that
// check leaves the bank as it was too; texts far too long show at once.

#include "DamagedBank.h"
#include "ExamFixture.h"
#include "FileFixture.h"
#include "SqlFixture.h"
#include "core/BankCheck.h"
#include "gui/exam/ExamNotice.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ReviewExamWindow.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What "nothing was changed or created" compares: the bank's bytes and the
// names of everything in its folder (a journal left behind would show).
struct Snapshot {
    QByteArray bank;
    QStringList folder;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const QString& bank)
{
    Snapshot s;
    s.bank = filefixture::contents(bank);
    s.folder = QFileInfo(bank).absoluteDir().entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    return s;
}

// The message of a bank refused for these problems.
QString refused(const QString& use, const QStringList& problems)
{
    QString text = u"qbk09.mdb cannot be used "_s + use + u":\n"_s;
    for (const QString& problem : problems)
        text += u"\n- "_s + problem;
    return text + u"\n\nThe file was left as it was."_s;
}

QString notABank(const QString& why)
{
    return u"qbk09.mdb is not a question bank: "_s + why + u".\n\nThe file was left as it was."_s;
}

bool mentionsSql(const QString& text)
{
    for (const char* word : {"SELECT ", "DELETE ", "UPDATE ", "INSERT ", " FROM "}) {
        if (text.contains(QLatin1StringView(word)))
            return true;
    }
    return false;
}

} // namespace

class TestBankCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unusableBankIsRefusedBeforeAnythingIsAsked_data();
    void unusableBankIsRefusedBeforeAnythingIsAsked();
    void startRefusedAfterTheCheckChangesNothing_data();
    void startRefusedAfterTheCheckChangesNothing();
    void longTextsShowAtOnce();
};

void TestBankCheck::unusableBankIsRefusedBeforeAnythingIsAsked_data()
{
    QTest::addColumn<bool>("review"); // the Review menu, else the Exam menu
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message"); // empty: the bank serves
    const QString exam = u"for exam 1"_s;
    const QString review = u"to review exam 1"_s;
    const QString tables = u"it has none of the tables a bank needs"_s;

    QTest::newRow("empty file") << false << u"empty file"_s << notABank(u"the file is empty"_s);
    QTest::newRow("not a database")
        << false << u"not a database"_s << notABank(u"it is not a database file"_s);
    QTest::newRow("database without tables")
        << false << u"database without tables"_s << notABank(tables);
    QTest::newRow("someone else's database")
        << false << u"someone else's database"_s << notABank(tables);
    QTest::newRow("damaged page") << false << u"damaged page"_s
                                  << refused(exam, {u"the file is damaged, so its questions "
                                                    "cannot be trusted"_s});
    QTest::newRow("key table missing")
        << false << u"key table missing"_s
        << refused(exam, {u"the table exam11 (the answer key of exam 1) is missing"_s});
    QTest::newRow("key column missing")
        << false << u"key column missing"_s
        << refused(exam, {u"exam11 has no column correctanswer2"_s});
    QTest::newRow("scores table missing")
        << false << u"scores table missing"_s
        << refused(exam, {u"the table cat_scores (the scores by category) is missing"_s});
    QTest::newRow("working table is a view")
        << false << u"working table is a view"_s
        << refused(exam, {u"exam1 (the questions of exam 1) is a view, not a table"_s});
    QTest::newRow("working table without row numbers")
        << false << u"working table without row numbers"_s
        << refused(exam, {u"exam1: its questions cannot be drawn"_s});
    QTest::newRow("duplicate ID") << false << u"duplicate ID"_s
                                  << refused(exam, {u"exam1: question ID 1 appears twice"_s});
    QTest::newRow("no index on ID")
        << false << u"no index on ID"_s
        << refused(exam, {u"exam1 has no unique index on ID, which drawing its questions needs"_s});
    QTest::newRow("key row missing")
        << false << u"key row missing"_s
        << refused(exam, {u"exam11: there is no answer for question ID 5 of exam1"_s});
    QTest::newRow("no correct answer")
        << false << u"no correct answer"_s
        << refused(exam, {u"exam11: question ID 1 has no correct answer"_s});
    QTest::newRow("two correct answers to a single-answer question")
        << false << u"two correct answers to a single-answer question"_s
        << refused(exam,
                   {u"exam11: question ID 1 is a single-answer question with 2 correct answers"_s});
    QTest::newRow("correct mark on an empty answer")
        << false << u"correct mark on an empty answer"_s
        << refused(exam,
                   {u"exam11: question ID 3 marks answer 5 correct, but answer 5 is empty"_s});
    QTest::newRow("unknown category")
        << false << u"unknown category"_s
        << refused(exam, {u"exam1: question ID 1 is in category 7, but cat lists 0 to 2 only"_s});
    QTest::newRow("Yes stored as text")
        << false << u"Yes stored as text"_s
        << refused(exam, {u"exam11: question ID 1: correctanswer1 holds text, not Yes or No"_s});
    QTest::newRow("Yes/No left empty")
        << false << u"Yes/No left empty"_s
        << refused(exam, {u"exam1: question ID 2: correctanswer3 holds nothing, not Yes or No"_s});
    QTest::newRow("long texts")
        << false << u"long texts"_s
        << refused(exam, {u"exam1: question ID 1: the question is longer than 10,000 characters"_s,
                          u"exam1: question ID 1: answer 1 is longer than 10,000 characters"_s});
    QTest::newRow("unknown sort order")
        << false << u"unknown sort order"_s
        << refused(exam, {u"exam1 has an index that needs a sort order this program does not "
                          "have"_s});
    QStringList firstTen;
    for (int id = 1; id <= 10; ++id)
        firstTen << u"exam11: there is no answer for question ID %1 of exam1"_s.arg(id);
    QTest::newRow("key empty: ten told, the rest counted")
        << false << u"key empty"_s
        << refused(exam, firstTen).replace(u"\n\nThe file"_s, u"\nand 73 more.\n\nThe file"_s);

    QTest::newRow("review: not a database")
        << true << u"not a database"_s << notABank(u"it is not a database file"_s);
    QTest::newRow("review: key table missing")
        << true << u"key table missing"_s
        << refused(review, {u"the table exam11 (the answer key of exam 1) is missing"_s});
    QTest::newRow("review: no correct answer")
        << true << u"no correct answer"_s
        << refused(review, {u"exam11: question ID 1 has no correct answer"_s});
    // what only an exam relies on does not stop a review
    QTest::newRow("review: working table without its index")
        << true << u"no index on ID"_s << QString();
    QTest::newRow("review: scores table missing") << true << u"scores table missing"_s << QString();
}

void TestBankCheck::unusableBankIsRefusedBeforeAnythingIsAsked()
{
    QFETCH(bool, review);
    QFETCH(QString, damage);
    QFETCH(QString, message);
    ExamFixture f(core::fullEdition(), 83);
    gui::Program& program = f.program();
    DamagedBank::damage(f.database(), damage);
    const Snapshot before = snapshot(f.database());

    gui::MainWindow& main = program.window<gui::MainWindow>();
    if (message.isEmpty()) {
        main.startReview(1);
        QVERIFY(program.window<gui::ReviewExamWindow>().isVisible());
        QVERIFY(f.prompter().shown().isEmpty());
        program.window<gui::ReviewExamWindow>().endReview();
        QVERIFY(snapshot(f.database()) == before);
        return;
    }
    f.prompter().expect(message, core::Prompter::Ok);
    review ? main.startReview(1) : main.startExam(1);

    QCOMPARE(f.prompter().shown().size(), 1); // one message, and no name prompt
    const ScriptedPrompter::Shown& box = f.prompter().last();
    QVERIFY2(f.prompter().unexpected().isEmpty(), qPrintable(box.prompt));
    QVERIFY(!mentionsSql(box.prompt));
    QVERIFY(box.details.contains(QDir::toNativeSeparators(f.database())));
    QVERIFY(main.isVisible());
    QVERIFY(!program.windows().existing<gui::ExamInfoWindow>());
    QVERIFY(!program.windows().existing<gui::ReviewExamWindow>());
    QCOMPARE(program.run().examCode, 0);
    QVERIFY(snapshot(f.database()) == before);
}

void TestBankCheck::startRefusedAfterTheCheckChangesNothing_data()
{
    QTest::addColumn<QString>("damage"); // done after the check, before the notice's OK
    QTest::addColumn<QString>("message");
    QTest::newRow("shown answer table missing")
        << u"shown answer table missing"_s
        << u"The question database \"qbk09.mdb\" is incomplete: the table \"showans\" is missing."_s;
    QTest::newRow("unknown sort order")
        << u"unknown sort order"_s
        << u"The question database \"qbk09.mdb\" could not be used: it asks for a sort order "
           "(\"fixture_order\") that this program does not have."_s;
    QTest::newRow("too few questions")
        << u"key empty"_s << u"Request is greated than the total number of records."_s;
}

void TestBankCheck::startRefusedAfterTheCheckChangesNothing()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    ExamFixture f(core::fullEdition(), 83);
    gui::Program& program = f.program();
    const QString db = f.database();
    // an earlier exam's draw, and a choice it left
    sqlfixture::exec(db, u"INSERT INTO tblrandom (sl_no, ID) VALUES (1, 7), (2, 9)"_s);
    sqlfixture::exec(db, u"UPDATE exam1 SET correctanswer2 = 1 WHERE ID = 9"_s);
    f.prompter().expectInput(program.edition().namePrompt, u"Ada"_s);
    program.window<gui::MainWindow>().startExam(1);
    QVERIFY(program.window<gui::ExamInfoWindow>().isVisible());

    if (damage == u"key empty"_s)
        sqlfixture::exec(db, u"DELETE FROM exam1 WHERE ID > 80"_s);
    else
        DamagedBank::damage(db, damage);
    const Snapshot before = snapshot(db);
    f.prompter().expect(message, core::Prompter::Ok);
    program.window<gui::ExamInfoWindow>().next();
    program.window<gui::ExamNotice>().accept();

    QVERIFY2(f.prompter().unexpected().isEmpty(), qPrintable(f.prompter().last().prompt));
    QCOMPARE(f.prompter().shown().size(), 2); // the name, then the one message
    QVERIFY(!program.windows().existing<gui::ExamWindow>());
    QVERIFY(program.window<gui::MainWindow>().isVisible());
    QCOMPARE(program.run().questionNo, 0);
    QVERIFY(snapshot(db) == before);
    QCOMPARE(sqlfixture::rows(db, u"SELECT sl_no, ID FROM tblrandom ORDER BY sl_no"_s),
             (QStringList{u"1|7"_s, u"2|9"_s}));
}

void TestBankCheck::longTextsShowAtOnce()
{
    ExamFixture f(core::fullEdition(), 83);
    gui::Program& program = f.program();
    f.prompter().expectInput(program.edition().namePrompt, u"Ada"_s);
    program.window<gui::MainWindow>().startExam(1);
    // The file changes after the check, which would have refused it: a
    // question of 2 MiB and an answer of 1 MiB without a blank.
    DamagedBank::damage(f.database(), u"long texts"_s);
    program.window<gui::ExamInfoWindow>().next();

    QElapsedTimer clock;
    clock.start();
    program.window<gui::ExamNotice>().accept();
    QApplication::processEvents();
    qint64 shownIn = clock.elapsed();
    gui::ExamWindow* w = program.windows().existing<gui::ExamWindow>();
    QVERIFY(w && w->isVisible());
    for (int move = 0; move < 83 && f.currentId() != 1; ++move) {
        clock.restart();
        w->nextQuestion();
        QApplication::processEvents();
        shownIn = clock.elapsed();
    }
    QCOMPARE(f.currentId(), 1);
    QVERIFY2(shownIn < 1000, qPrintable(u"%1 ms"_s.arg(shownIn)));

    // the beginning of each, said to be cut, the unbroken one wrapped
    const QString cut = u"\u2026 (the rest is too long to show)"_s;
    const QString question = w->controls()->question->toPlainText();
    QVERIFY(question.startsWith(u"a a a "_s) && question.endsWith(cut));
    QCOMPARE(question.size(), core::longestBankText + cut.size());
    QPlainTextEdit* answer = w->controls()->answerTexts[1];
    QVERIFY(answer->toPlainText().startsWith(u"0000"_s) && answer->toPlainText().endsWith(cut));
    QCOMPARE(answer->horizontalScrollBar()->maximum(), 0);
    QVERIFY(f.prompter().unexpected().isEmpty());
}

QTEST_MAIN(TestBankCheck)
#include "tst_bankcheck.moc"
