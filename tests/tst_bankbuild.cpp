// Question bank building: JSON sources -> checks -> question database.

#include "BankSource.h"
#include "BankValidator.h"
#include "BankWriter.h"
#include "CueStatistics.h"
#include "FileFixture.h"
#include "SqlFixture.h"
#include "TempBank.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using namespace Qt::StringLiterals;

// 40 x 30: a red left half, a transparent right half.
const QByteArray halfRedSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="30" viewBox="0 0 40 30">)"
    R"(<rect x="0" y="0" width="20" height="30" fill="#ff0000"/></svg>)";

// A sound edition: categories 0 and 1, one exam of questions 3, 7 and 9.
const char* const goodEdition = R"({"answer_columns": 4,
    "categories": [{"catid": 0, "cat_desc": "Disks"}, {"catid": 1, "cat_desc": "DNS"}],
    "test_information": {"test_name": "T", "author_name": "A", "copyright_date": "C",
        "test_description": "D", "test_disclaimer": "X", "number_of_questions": "3"},
    "exams": [{"exam": 1, "file": "exam1.json"}]})";
const char* const goodExam = R"({"exam": 1, "questions": [
    {"id": 3, "catid": 0, "type": "single_answer", "question": "Q3?", "correct": [1],
     "answers": ["one", "two", "three", "four"], "explanation": "Because. It is."},
    {"id": 7, "catid": 1, "type": "multiple_answer", "question": "Q7?", "correct": [2, 4],
     "answers": ["one", "two", "three", "four"], "explanation": "Because. It is."},
    {"id": 9, "catid": 0, "type": "single_answer", "question": "Q9?", "correct": [3],
     "answers": ["one", "two", "three", "four"], "explanation": "Because. It is."}]})";

using filefixture::contents;
// edition.json and exam1.json in `dir`, the first `from` of exam1.json (or else of
// edition.json) replaced by `to`; returns edition.json's path.
QString writeBank(const QTemporaryDir& dir, const QByteArray& from = {}, const QByteArray& to = {})
{
    QByteArray exam = goodExam, edition = goodEdition;
    QByteArray& edited = exam.contains(from) ? exam : edition;
    if (const qsizetype at = edited.indexOf(from); !from.isEmpty() && at >= 0)
        edited.replace(at, from.size(), to);
    filefixture::write(dir.filePath(u"edition.json"_s), edition);
    filefixture::write(dir.filePath(u"exam1.json"_s), exam);
    return dir.filePath(u"edition.json"_s);
}

QString value(const QString& db, const QString& sql)
{
    return sqlfixture::scalar(db, sql).toString();
}

// The IDs of a table in stored order, as "2,4,6".
QString ids(const QString& db, const char* t)
{
    return value(db, u"SELECT group_concat(ID) FROM (SELECT ID FROM %1 ORDER BY rowid)"_s.arg(
                         QLatin1StringView(t)));
}

// The five Yes/No choices of one row, as "01100".
QString choices(const QString& db, const char* table, int id)
{
    return value(db,
                 u"SELECT correctanswer1 || correctanswer2 || correctanswer3 || correctanswer4 || "
                 "correctanswer5 FROM %1 WHERE ID = %2"_s.arg(QLatin1StringView(table))
                     .arg(id));
}

} // namespace

class TestBankBuild : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenBankReadsBack();
    void problems_data();
    void problems();
    void bankbuildWritesNothingForARefusedBank();
    void failedWriteKeepsTheExistingDatabase_data();
    void failedWriteKeepsTheExistingDatabase();
    void cueFigures();
    void cueLimits();
    void bankbuildReportsCuesWithoutWriting();
};

void TestBankBuild::writtenBankReadsBack()
{
    TempBank bank(4, 3);
    bank.addExam(1, 6, {2, 4, 6, 8, 10, 12});
    bank.addExam(3, 3).questions[1].exhibit = u"photo.png"_s;
    bank.edition().exams[0].questions[2].exhibit = u"net.svg"_s;
    filefixture::write(bank.path(u"net.svg"_s), halfRedSvg);
    filefixture::write(bank.path(u"photo.png"_s), "not really a png, copied as it is");
    const QString db = bank.write();

    // Working and key rows share IDs and texts, in file order; only the listed exams exist.
    QCOMPARE((QStringList{ids(db, "exam1"), ids(db, "exam11"), ids(db, "exam33")}),
             (QStringList{u"2,4,6,8,10,12"_s, u"2,4,6,8,10,12"_s, u"1,2,3"_s}));
    QCOMPARE(value(db, u"SELECT count(*) FROM sqlite_master WHERE name = 'exam2'"_s), u"0"_s);
    const QString row =
        u"SELECT question, answer2, answer5, question_type, explanation, diagram1 FROM %1 "
        "WHERE ID = 6"_s;
    const QString six =
        u"Question 6 of exam 1|Answer 2 of question 6||multiple_answer|Explanation 6.|exhibits/net@2x.png"_s;
    QCOMPARE(sqlfixture::rows(db, row.arg(u"exam1"_s)) + sqlfixture::rows(db, row.arg(u"exam11"_s)),
             (QStringList{six, six}));
    // The key marks exactly the correct positions (single: answer 2; multiple: 3 and 4).
    QCOMPARE(choices(db, "exam11", 4) + u' ' + choices(db, "exam11", 6), u"01000 00110"_s);

    // Exhibits: NULL without one; a drawing at twice its size on white; a picture copied unchanged.
    QVERIFY(sqlfixture::scalar(db, u"SELECT diagram1 FROM exam1 WHERE ID = 4"_s).isNull());
    const QImage png(bank.path(u"exhibits/net@2x.png"_s));
    QCOMPARE(png.size(), QSize(80, 60));
    QCOMPARE(QColor(png.pixel(10, 30)), QColor(Qt::red));
    QCOMPARE(QColor(png.pixel(70, 30)), QColor(Qt::white));
    QCOMPARE(value(db, u"SELECT diagram1 FROM exam33 WHERE ID = 2"_s), u"exhibits/photo.png"_s);
    QCOMPARE(contents(bank.path(u"exhibits/photo.png"_s)), contents(bank.path(u"photo.png"_s)));

    // A five-column bank keeps a fifth answer and its key.
    TempBank demo(5, 2);
    demo.addExam(1, 4).questions[0].correct = {5};
    const QString five = demo.write(u"qbk009.mdb"_s);
    QCOMPARE(value(five, u"SELECT answer5 FROM exam1 WHERE ID = 1"_s), u"Answer 5 of question 1"_s);
    QCOMPARE(choices(five, "exam11", 1), u"00001"_s);
}

void TestBankBuild::problems_data()
{
    QTest::addColumn<QByteArray>("from"); // the first of it in the sound sources becomes `to`
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("where"); // "file: question N"
    QTest::addColumn<QString>("problem");
    const auto row = [](const char* from, const char* to, const char* where, const char* problem) {
        QTest::newRow(problem) << QByteArray(from) << QByteArray(to) << QString::fromUtf8(where)
                               << QString::fromUtf8(problem);
    };
    // Unreadable sources
    row(R"("exam": 1,)", R"("exam": 1,,)", "exam1.json", "malformed JSON at line 1");
    row(R"("id": 7)", R"("id": "7")", "exam1.json: question #2",
        R"("id" must be a whole number, not a string)");
    row("[3]", "[1.5]", "exam1.json: question 9", R"(each of "correct" must be a whole number)");
    row(R"("Q7?",)", R"("Q7?", "exhbit": "net.svg",)", "exam1.json: question 7",
        R"(unknown field "exhbit")");
    row(R"("exam": 1, "questions")", R"("exam": 2, "questions")", "exam1.json",
        "the file says exam 2 but edition.json lists it as exam 1");
    // Refused questions
    row(R"("id": 7)", R"("id": 3)", "exam1.json: question 3", "duplicate ID");
    row(R"("id": 9)", R"("id": 5)", "exam1.json: question 5", "ID comes after ID 7");
    row("[2, 4]", "[]", "exam1.json: question 7", "no correct answer");
    row("[1]", "[1, 2]", "exam1.json: question 3", "exactly one correct answer, not two");
    row("single_answer", "true_false", "exam1.json: question 3",
        "neither single_answer nor multiple_answer");
    row("[3]", "[5]", "exam1.json: question 9", "correct answer 5 is outside the 4 answers");
    row("[2, 4]", "[2, 2]", "exam1.json: question 7", "correct answer 2 is listed twice");
    row(R"("four")", R"("four", "five")", "exam1.json: question 3",
        "a fifth answer, but this edition grades four answer columns");
    row(R"("catid": 0)", R"("catid": 5)", "exam1.json: question 3", "unknown category 5");
    row(R"("Q7?",)", R"("Q7?", "exhibit": "gone.svg",)", "exam1.json: question 7",
        "missing exhibit file");
    row(R"("Q9?")", R"("  ")", "exam1.json: question 9", "empty question text");
    row("Because. It is.", "Because.", "exam1.json: question 3",
        "the explanation has one sentence; it needs two to four");
    // "e.g.", "i.e." and an address end no sentence; a quoted one and a last one
    // without its full stop do.
    row("Because. It is.", R"(One, e.g. this. Two, i.e. that. At 10.0.0.1 too. Say \"four.\" Five)",
        "exam1.json: question 3", "the explanation has five sentences");
    // Categories and exams
    row(R"("catid": 1, "cat_desc")", R"("catid": 2, "cat_desc")", "edition.json",
        "categories must be numbered 0 to 1 without gaps, found 0, 2");
    row(R"("catid": 1)", R"("catid": 0)", "exam1.json",
        "category 1 (DNS) has no question in this exam");
    row(R"("number_of_questions": "3")", R"("number_of_questions": "5")", "exam1.json",
        "3 questions, fewer than the 5 each exam draws");
}

void TestBankBuild::problems()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, where);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QCOMPARE(bank::validate(bank::loadBank(writeBank(dir)), dir.filePath(u"exhibits"_s)),
             QStringList());

    QStringList problems;
    try {
        problems =
            bank::validate(bank::loadBank(writeBank(dir, from, to)), dir.filePath(u"exhibits"_s));
    } catch (const bank::BankError& error) {
        problems << error.message();
    }
    const QString expected = dir.filePath(where) + u": "_s;
    const auto matches = [&](const QString& l) {
        return l.startsWith(expected) && l.contains(problem);
    };
    QVERIFY2(
        std::any_of(problems.begin(), problems.end(), matches),
        qPrintable(u"wanted \"%1...%2\" in:\n"_s.arg(expected, problem) + problems.join(u'\n')));
}

void TestBankBuild::bankbuildWritesNothingForARefusedBank()
{
    const QString tool = QStringLiteral(QUIZMOOR_BINARY_DIR "/tools/bankbuild");
    QVERIFY2(QFileInfo(tool).isExecutable(), "build the bankbuild target first");
    QTemporaryDir dir;
    const QString edition = writeBank(dir, R"("one", "two", "three", "four")", R"("one", " ")");
    QProcess run;
    run.start(tool, {u"--edition"_s, edition, u"--exhibits"_s, dir.filePath(u"exhibits"_s),
                     u"--out"_s, dir.filePath(u"out/qbk09.mdb"_s), u"--exhibit-out"_s,
                     dir.filePath(u"out/exhibits"_s)});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 1);
    // Every problem, one per line (the platform may add warnings of its own).
    const QStringList lines = QString::fromLocal8Bit(run.readAllStandardError())
                                  .split(u'\n', Qt::SkipEmptyParts)
                                  .filter(QRegularExpression(u"^bankbuild: "_s));
    const QString where = u"bankbuild: "_s + dir.filePath(u"exam1.json: question 3: "_s);
    QCOMPARE(lines, (QStringList{where + u"two answers; a question needs at least three"_s,
                                 where + u"answer 2 is empty"_s}));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"out"_s)));
}

void TestBankBuild::failedWriteKeepsTheExistingDatabase_data()
{
    QTest::addColumn<QString>("exhibit"); // of the second question
    QTest::addColumn<int>("catid");       // of the fourth
    QTest::newRow("unreadable drawing") << u"bad.svg"_s << 1;
    QTest::newRow("missing picture") << u"gone.png"_s << 1;
    QTest::newRow("unknown category, halfway through the inserts") << QString() << 42;
}

void TestBankBuild::failedWriteKeepsTheExistingDatabase()
{
    QFETCH(QString, exhibit);
    QFETCH(int, catid);
    TempBank bank;
    bank.addExam(1, 5);
    const QString database = bank.path(u"qbk09.mdb"_s);
    filefixture::write(database, "the database in use");
    filefixture::write(bank.path(u"bad.svg"_s), "<svg this is not");

    const bank::Edition sound = bank.edition();
    bank.edition().exams[0].questions[1].exhibit = exhibit;
    bank.edition().exams[0].questions[3].catid = catid;
    QVERIFY_THROWS_EXCEPTION(bank::BankError, bank.write());
    QCOMPARE(contents(database), QByteArray("the database in use"));
    QVERIFY(!QFileInfo::exists(database + u".tmp"_s));

    // A sound bank then replaces it.
    bank.edition() = sound;
    bank.write();
    QCOMPARE(ids(database, "exam1"), u"1,2,3,4,5"_s);
}

namespace {

bank::Question question(const char* type, const QStringList& answers, const QList<int>& correct)
{
    bank::Question q;
    q.type = QString::fromLatin1(type);
    q.answers = answers;
    q.correct = correct;
    return q;
}

// The order of bank::checkCues.
enum CueCheckOrder { Longest, AbsoluteWords, KeyPairs, Positions };

bool passes(const bank::CueStatistics& s, CueCheckOrder check,
            bank::CueScope scope = bank::CueScope::Bank)
{
    return bank::checkCues(s, scope).at(check).passed;
}

} // namespace

void TestBankBuild::cueFigures()
{
    const QList<bank::Question> questions = {
        // the longest choice is the key
        question("single_answer", {u"short"_s, u"the longest one"_s, u"mid one"_s, u"tiny"_s}, {2}),
        // two longest, one of them the key: half a hit
        question("single_answer", {u"eight ch"_s, u"EIGHT CH"_s, u"four"_s, u"five!"_s}, {1}),
        // two of four, the key listed out of order
        question("multiple_answer", {u"a longest wrong choice"_s, u"b"_s, u"c"_s, u"d"_s}, {4, 2}),
        // five choices: the key is longest only before trimming
        question("single_answer", {u"one"_s, u"two"_s, u"three"_s, u"four"_s, u"  five  "_s}, {5}),
        // three choices; absolute words whole only
        question("single_answer", {u"Overall, allowed"_s, u"CANNOT start"_s, u"Every time"_s}, {3}),
    };
    const bank::CueStatistics s = bank::cueStatistics(questions);

    QCOMPARE(s.questions, qsizetype(5));
    QCOMPARE(s.longestCorrect, 1.5);
    QCOMPARE(s.longestCorrectShare(), 0.3);
    QCOMPARE(s.chanceShare(), (0.25 + 0.25 + 0.5 + 0.2 + 1.0 / 3) / 5);
    QCOMPARE((QList<qsizetype>{s.correctChoices, s.correctWithAbsoluteWord, s.wrongChoices,
                               s.wrongWithAbsoluteWord}),
             (QList<qsizetype>{6, 1, 14, 1}));
    QCOMPARE(s.correctCharacters, qsizetype(15 + 8 + 2 + 4 + 10));
    QCOMPARE(s.averageWrongLength(), 99.0 / 14);
    QCOMPARE(s.keyPairs, (std::array<qsizetype, 6>{0, 0, 0, 0, 1, 0}));
    QCOMPARE(s.singlePositions, (std::array<qsizetype, 5>{1, 1, 1, 0, 1}));
    QCOMPARE(s.fourChoicePositions, (std::array<qsizetype, 4>{1, 1, 0, 0}));

    QVERIFY(bank::hasAbsoluteWord(u"It must be so"_s));
    QVERIFY(bank::hasAbsoluteWord(u"none."_s));
    QVERIFY(!bank::hasAbsoluteWord(u"overall, allowed, installed, nonexistent"_s));

    // A bank's figures are its exams' added up.
    bank::CueStatistics added = bank::cueStatistics(questions.mid(0, 2));
    added += bank::cueStatistics(questions.mid(2));
    QCOMPARE(bank::cueReport(added, bank::CueScope::Bank),
             bank::cueReport(s, bank::CueScope::Bank));

    // Nothing to measure is nothing over a limit.
    for (const bank::CueCheck& check : bank::checkCues(bank::CueStatistics(), bank::CueScope::Exam))
        QVERIFY2(check.passed, qPrintable(check.name));
}

void TestBankBuild::cueLimits()
{
    bank::CueStatistics s;
    s.questions = 100;
    s.blindCorrect = 25;
    s.longestCorrect = 29; // exactly chance + 4 points
    QVERIFY(passes(s, Longest));
    s.longestCorrect = 29.5;
    QVERIFY(!passes(s, Longest));

    s.correctChoices = 100;
    s.wrongChoices = 300;
    s.correctWithAbsoluteWord = 13;
    s.wrongWithAbsoluteWord = 30; // 13 % vs 10 %
    QVERIFY(passes(s, AbsoluteWords));
    s.wrongWithAbsoluteWord = 27; // 13 % vs 9 %
    QVERIFY(!passes(s, AbsoluteWords));
    s.wrongWithAbsoluteWord = 51; // 13 % vs 17 %: the other way is a cue as well
    QVERIFY(!passes(s, AbsoluteWords));

    s.keyPairs = {6, 4, 4, 4, 3, 3}; // 24: a fair 4 each, at most 6
    QVERIFY(passes(s, KeyPairs));
    s.keyPairs = {3, 4, 4, 4, 2, 7};
    QVERIFY(!passes(s, KeyPairs));

    // 100 four-choice questions, a fair 25 a position: 18.75 to 31.25 over a
    // bank, 15 to 35 in one exam.
    s.fourChoicePositions = {19, 25, 25, 31};
    QVERIFY(passes(s, Positions, bank::CueScope::Bank));
    s.fourChoicePositions = {15, 25, 25, 35};
    QVERIFY(!passes(s, Positions, bank::CueScope::Bank));
    QVERIFY(passes(s, Positions, bank::CueScope::Exam));
    s.fourChoicePositions = {14, 25, 25, 36};
    QVERIFY(!passes(s, Positions, bank::CueScope::Exam));

    const QStringList report = bank::cueReport(s, bank::CueScope::Exam);
    QCOMPARE(report.size(), 5);
    QCOMPARE(report.at(Positions),
             u"FAIL  single-answer positions: 1:0 2:0 3:0 4:0; of four choices 1:14 2:25 3:25 "
             "4:36 (limit: 15 to 35 each)"_s);
}

void TestBankBuild::bankbuildReportsCuesWithoutWriting()
{
    const QString tool = QStringLiteral(QUIZMOOR_BINARY_DIR "/tools/bankbuild");
    QVERIFY2(QFileInfo(tool).isExecutable(), "build the bankbuild target first");
    QTemporaryDir dir;
    const QString edition = writeBank(dir, "Because. It is.", "Because.");
    const auto run = [&](const QStringList& more) {
        QProcess process;
        process.start(tool, QStringList{u"--stats"_s, u"--edition"_s, edition, u"--edition"_s,
                                        edition, u"--exhibits"_s, dir.filePath(u"exhibits"_s)} +
                                more);
        process.waitForFinished(60000);
        return std::tuple(process.exitCode(),
                          QString::fromLocal8Bit(process.readAllStandardOutput()),
                          QString::fromLocal8Bit(process.readAllStandardError()));
    };

    // A refused bank is still measured: each exam, then all of them together.
    const auto [status, out, err] = run({});
    QCOMPARE(status, 1);
    QVERIFY2(err.contains(u"question 3: the explanation has one sentence"_s), qPrintable(err));
    const QString name = QFileInfo(dir.path()).fileName();
    const QStringList headings = out.split(u'\n').filter(QRegularExpression(u"^\\S"_s));
    QCOMPARE(headings,
             (QStringList{name + u" exam 1 (3 questions)"_s, name + u" exam 1 (3 questions)"_s,
                          u"whole bank, %1 + %1 (6 questions)"_s.arg(name)}));
    QVERIFY2(out.contains(u"  PASS  longest choice correct: 33.3 % vs chance 33.3 %"_s),
             qPrintable(out));
    QVERIFY2(out.contains(u"  FAIL  two-of-four key pairs: 12:0 13:0 14:0 23:0 24:2 34:0 of 2"_s),
             qPrintable(out));

    // It only reads.
    QCOMPARE(std::get<0>(run({u"--out"_s, dir.filePath(u"qbk09.mdb"_s)})), 2);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{u"edition.json"_s, u"exam1.json"_s}));
}

QTEST_MAIN(TestBankBuild)
#include "tst_bankbuild.moc"
