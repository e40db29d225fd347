// Question bank building: JSON sources -> checks -> question database.

#include "BankSource.h"
#include "BankValidator.h"
#include "BankWriter.h"
#include "Sqlite.h"
#include "Statements.h"
#include "TempBank.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using JsonEdit = std::function<void(QJsonObject& edition, QJsonObject& exam)>;
using BankEdit = std::function<void(TempBank&)>;
Q_DECLARE_METATYPE(JsonEdit)
Q_DECLARE_METATYPE(BankEdit)

namespace {

using namespace Qt::StringLiterals;

// 40 x 30: a red left half, a transparent right half.
const QByteArray halfRedSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="30" viewBox="0 0 40 30">)"
    R"(<rect x="0" y="0" width="20" height="30" fill="#ff0000"/></svg>)";

QJsonObject category(int catid, const QString& description)
{
    return {{u"catid"_s, catid}, {u"cat_desc"_s, description}};
}

QJsonObject examEntry(int exam)
{
    return {{u"exam"_s, exam}, {u"file"_s, u"exam1.json"_s}};
}

QJsonObject json(const char* text)
{
    return QJsonDocument::fromJson(text).object();
}

// A sound edition: categories 0 and 1, one exam of questions 3, 7 and 9.
QJsonObject goodEdition()
{
    return json(R"({"answer_columns": 4,
        "categories": [{"catid": 0, "cat_desc": "Disks"}, {"catid": 1, "cat_desc": "DNS"}],
        "test_information": {"test_name": "T", "author_name": "A", "copyright_date": "C",
            "test_description": "D", "test_disclaimer": "X", "number_of_questions": "3"},
        "exams": [{"exam": 1, "file": "exam1.json"}]})");
}

QJsonObject goodExam()
{
    return json(R"({"exam": 1, "questions": [
        {"id": 3, "catid": 0, "type": "single_answer", "question": "Q3?", "correct": [1],
         "answers": ["one", "two", "three", "four"], "explanation": "Because."},
        {"id": 7, "catid": 1, "type": "multiple_answer", "question": "Q7?", "correct": [2, 4],
         "answers": ["one", "two", "three", "four"], "explanation": "Because.",
         "exhibit": "net.svg"},
        {"id": 9, "catid": 0, "type": "single_answer", "question": "Q9?", "correct": [3],
         "answers": ["one", "two", "three", "four"], "explanation": "Because."}]})");
}

// Sets (or, with an undefined value, removes) a field of the index'th question.
JsonEdit setQuestion(int index, const QString& key, const QJsonValue& value)
{
    return [=](QJsonObject&, QJsonObject& exam) {
        QJsonArray questions = exam.value(u"questions"_s).toArray();
        QJsonObject q = questions.at(index).toObject();
        if (value.isUndefined())
            q.remove(key);
        else
            q.insert(key, value);
        questions.replace(index, q);
        exam.insert(u"questions"_s, questions);
    };
}

JsonEdit setEdition(const QString& key, const QJsonValue& value)
{
    return [=](QJsonObject& edition, QJsonObject&) { edition.insert(key, value); };
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// edition.json, exam1.json and exhibits/net.svg in `dir`; returns edition.json's path.
QString writeBank(const QTemporaryDir& dir, const JsonEdit& edit = {})
{
    QJsonObject edition = goodEdition();
    QJsonObject exam = goodExam();
    if (edit)
        edit(edition, exam);
    writeFile(dir.filePath(u"edition.json"_s), QJsonDocument(edition).toJson());
    writeFile(dir.filePath(u"exam1.json"_s), QJsonDocument(exam).toJson());
    QDir(dir.path()).mkpath(u"exhibits"_s);
    writeFile(dir.filePath(u"exhibits/net.svg"_s), halfRedSvg);
    return dir.filePath(u"edition.json"_s);
}

// Reads a written database back with plain SQL.
class ReadBack {
public:
    explicit ReadBack(const QString& path)
    {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        m_db.reset(raw);
    }

    QList<QVariantList> rows(const QString& sql) const
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), sql.toUtf8().constData(), -1, &raw, nullptr) !=
            SQLITE_OK)
            qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(m_db.get()));
        const data::StatementHandle st(raw);
        QList<QVariantList> result;
        while (sqlite3_step(st.get()) == SQLITE_ROW) {
            QVariantList row;
            for (int c = 0; c < sqlite3_column_count(st.get()); ++c)
                row << data::columnValue(st.get(), c);
            result << row;
        }
        return result;
    }

    QVariant value(const QString& sql) const { return rows(sql).value(0).value(0); }

    // The IDs of a table in row order, as "2,4,6".
    QString ids(const QString& table) const
    {
        return value(
                   u"SELECT group_concat(ID) FROM (SELECT ID FROM %1 ORDER BY rowid)"_s.arg(table))
            .toString();
    }

    // The five Yes/No choices of one row, as "01100".
    QString choices(const QString& table, int id) const
    {
        return value(u"SELECT correctanswer1 || correctanswer2 || correctanswer3 || "
                     "correctanswer4 || correctanswer5 FROM %1 WHERE ID = %2"_s.arg(table)
                         .arg(id))
            .toString();
    }

private:
    data::SqliteHandle m_db;
};

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
};

void TestBankBuild::writtenBankReadsBack()
{
    TempBank bank(4, 3);
    bank.addExam(1, 6, {2, 4, 6, 8, 10, 12});
    bank.addExam(3, 3).questions[1].exhibit = u"photo.png"_s;
    bank.edition().exams[0].questions[2].exhibit = u"net.svg"_s;
    writeFile(bank.path(u"net.svg"_s), halfRedSvg);
    writeFile(bank.path(u"photo.png"_s), "not really a png, copied as it is");
    const ReadBack db(bank.write());

    // Working and key rows share IDs, in file order; only the listed exams exist.
    QCOMPARE(db.ids(u"exam1"_s), u"2,4,6,8,10,12"_s);
    QCOMPARE(db.ids(u"exam11"_s), u"2,4,6,8,10,12"_s);
    QCOMPARE(db.ids(u"exam33"_s), u"1,2,3"_s);
    QCOMPARE(db.value(u"SELECT count(*) FROM sqlite_master WHERE name = 'exam2'"_s).toInt(), 0);

    // Working choices start cleared; the key marks exactly the correct positions
    // (second question: single, answer 2; third: multiple, answers 3 and 4).
    QCOMPARE(db.value(u"SELECT count(*) FROM exam1 WHERE correctanswer1 + correctanswer2 + "
                      "correctanswer3 + correctanswer4 + correctanswer5 <> 0"_s)
                 .toInt(),
             0);
    QCOMPARE(db.choices(u"exam11"_s, 4), u"01000"_s);
    QCOMPARE(db.choices(u"exam11"_s, 6), u"00110"_s);
    // Nothing answered yet, so grading finds no correct question.
    QCOMPARE(db.rows(data::sql::correctAnswers(1, 4)).size(), 0);

    QCOMPARE(
        db.rows(u"SELECT question, answer2, answer5, question_type, catid, cat_desc, "
                "explanation FROM exam1 WHERE ID = 10"_s),
        (QList<QVariantList>{{u"Question 10 of exam 1"_s, u"Answer 2 of question 10"_s, u""_s,
                              u"single_answer"_s, 1LL, u"Category 1"_s, u"Explanation 10."_s}}));
    QVERIFY(!db.value(u"SELECT answer5 FROM exam11 WHERE ID = 10"_s).isNull());
    QCOMPARE(db.value(u"SELECT question_type FROM exam11 WHERE ID = 6"_s).toString(),
             u"multiple_answer"_s);

    QCOMPARE(db.rows(u"SELECT sl_no, cat_desc FROM cat ORDER BY sl_no"_s),
             (QList<QVariantList>{
                 {1LL, u"Category 0"_s}, {2LL, u"Category 1"_s}, {3LL, u"Category 2"_s}}));
    QCOMPARE(db.rows(u"SELECT test_name, number_of_questions FROM \"Test Information\""_s),
             (QList<QVariantList>{{u"Temporary test"_s, u"3"_s}}));
    for (const QString& table : {u"tblrandom"_s, u"showans"_s, u"cat_scores"_s})
        QCOMPARE(db.value(u"SELECT count(*) FROM %1"_s.arg(table)).toInt(), 0);

    // Exhibits: NULL without one; a drawing at twice its size on white; a
    // picture copied unchanged.
    QVERIFY(db.value(u"SELECT diagram1 FROM exam1 WHERE ID = 4"_s).isNull());
    for (const QString& table : {u"exam1"_s, u"exam11"_s})
        QCOMPARE(db.value(u"SELECT diagram1 FROM %1 WHERE ID = 6"_s.arg(table)).toString(),
                 u"exhibits/net@2x.png"_s);
    const QImage png(bank.path(u"exhibits/net@2x.png"_s));
    QCOMPARE(png.size(), QSize(80, 60));
    QCOMPARE(QColor(png.pixel(10, 30)), QColor(Qt::red));
    QCOMPARE(QColor(png.pixel(70, 30)), QColor(Qt::white));
    QCOMPARE(db.value(u"SELECT diagram1 FROM exam33 WHERE ID = 2"_s).toString(),
             u"exhibits/photo.png"_s);
    QCOMPARE(contents(bank.path(u"exhibits/photo.png"_s)), contents(bank.path(u"photo.png"_s)));

    // A five-column bank keeps a fifth answer and its key.
    TempBank demo(5, 2);
    demo.addExam(1, 4).questions[0].correct = {5};
    const ReadBack five(demo.write(u"qbk009.mdb"_s));
    QCOMPARE(five.value(u"SELECT answer5 FROM exam1 WHERE ID = 1"_s).toString(),
             u"Answer 5 of question 1"_s);
    QCOMPARE(five.choices(u"exam11"_s, 1), u"00001"_s);
}

void TestBankBuild::problems_data()
{
    QTest::addColumn<JsonEdit>("edit");
    QTest::addColumn<QByteArray>("examText"); // replaces exam1.json when set
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("problem");
    const QString exam = u"exam1.json"_s;
    const QString edition = u"edition.json"_s;
    const auto row = [](const char* name, const JsonEdit& edit, const QString& file,
                        const QString& question, const QString& problem,
                        const QByteArray& examText = {}) {
        QTest::newRow(name) << edit << examText << file << question << problem;
    };

    // Unreadable sources
    row("malformed", {}, exam, {}, u"malformed JSON at line 1"_s, "{ \"questions\": [");
    row("id is text", setQuestion(1, u"id"_s, u"7"_s), exam, u"#2"_s,
        u"\"id\" must be a whole number, not a string"_s);
    row("fractional correct", setQuestion(2, u"correct"_s, QJsonArray{1.5}), exam, u"9"_s,
        u"each of \"correct\" must be a whole number"_s);
    row("answer is a number", setQuestion(0, u"answers"_s, QJsonArray{u"a"_s, 2, u"c"_s}), exam,
        u"3"_s, u"answer 2 must be a string"_s);
    row("missing explanation", setQuestion(2, u"explanation"_s, QJsonValue::Undefined), exam,
        u"9"_s, u"missing field \"explanation\""_s);
    row("misspelt field", setQuestion(1, u"exhbit"_s, u"net.svg"_s), exam, u"7"_s,
        u"unknown field \"exhbit\""_s);
    row("columns as text", setEdition(u"answer_columns"_s, u"4"_s), edition, {},
        u"\"answer_columns\" must be a whole number"_s);
    row("missing exam file",
        setEdition(u"exams"_s,
                   QJsonArray{QJsonObject{{u"exam"_s, 1}, {u"file"_s, u"exam9.json"_s}}}),
        u"exam9.json"_s, {}, u"cannot read"_s);
    row("exam number mismatch", setEdition(u"exams"_s, QJsonArray{examEntry(2)}), exam, {},
        u"the file says exam 1 but edition.json lists it as exam 2"_s);

    // Refused questions
    const QJsonArray fiveAnswers{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s};
    row("ID zero", setQuestion(0, u"id"_s, 0), exam, u"0"_s, u"ID must be positive"_s);
    row("duplicate ID", setQuestion(1, u"id"_s, 3), exam, u"3"_s, u"duplicate ID"_s);
    row("descending ID", setQuestion(2, u"id"_s, 5), exam, u"5"_s, u"strictly ascending"_s);
    row("no correct answer", setQuestion(1, u"correct"_s, QJsonArray{}), exam, u"7"_s,
        u"no correct answer"_s);
    row("single with two", setQuestion(0, u"correct"_s, QJsonArray{1, 2}), exam, u"3"_s,
        u"exactly one correct answer, not two"_s);
    row("unknown type", setQuestion(0, u"type"_s, u"true_false"_s), exam, u"3"_s,
        u"neither single_answer nor multiple_answer"_s);
    row("correct past the end", setQuestion(2, u"correct"_s, QJsonArray{5}), exam, u"9"_s,
        u"correct answer 5 is outside the 4 answers"_s);
    row("correct twice", setQuestion(1, u"correct"_s, QJsonArray{2, 2}), exam, u"7"_s,
        u"correct answer 2 is listed twice"_s);
    row("empty middle answer",
        setQuestion(0, u"answers"_s, QJsonArray{u"a"_s, u" "_s, u"c"_s, u"d"_s}), exam, u"3"_s,
        u"answer 2 is empty"_s);
    row("two answers", setQuestion(0, u"answers"_s, QJsonArray{u"a"_s, u"b"_s}), exam, u"3"_s,
        u"two answers; a question needs at least three"_s);
    row("fifth answer", setQuestion(0, u"answers"_s, fiveAnswers), exam, u"3"_s,
        u"a fifth answer, but this edition grades four answer columns"_s);
    row("unknown category", setQuestion(2, u"catid"_s, 5), exam, u"9"_s, u"unknown category 5"_s);
    row("missing exhibit", setQuestion(1, u"exhibit"_s, u"gone.svg"_s), exam, u"7"_s,
        u"missing exhibit file"_s);
    row("empty question text", setQuestion(2, u"question"_s, u"  "_s), exam, u"9"_s,
        u"empty question text"_s);
    row("empty explanation", setQuestion(2, u"explanation"_s, u""_s), exam, u"9"_s,
        u"empty explanation"_s);

    // Categories and exams
    row("category gap",
        setEdition(u"categories"_s, QJsonArray{category(0, u"Disks"_s), category(2, u"DNS"_s)}),
        edition, {}, u"categories must be numbered 0 to 1 without gaps, found 0, 2"_s);
    row("empty category",
        setEdition(u"categories"_s, QJsonArray{category(0, u"Disks"_s), category(1, u"DNS"_s),
                                               category(2, u"Printing"_s)}),
        exam, {}, u"category 2 (Printing) has no question in this exam"_s);
    row("duplicate exam", setEdition(u"exams"_s, QJsonArray{examEntry(1), examEntry(1)}), edition,
        {}, u"exam 1 is listed twice"_s);
    row(
        "exam four",
        [](QJsonObject& ed, QJsonObject& ex) {
            ex.remove(u"exam"_s);
            ed.insert(u"exams"_s, QJsonArray{examEntry(4)});
        },
        edition, {}, u"exam 4 is outside 1 to 3"_s);
    row(
        "too few questions",
        [](QJsonObject& ed, QJsonObject&) {
            QJsonObject info = ed.value(u"test_information"_s).toObject();
            info.insert(u"number_of_questions"_s, u"5"_s);
            ed.insert(u"test_information"_s, info);
        },
        exam, {}, u"3 questions, fewer than the 5 each exam draws"_s);
}

void TestBankBuild::problems()
{
    QFETCH(JsonEdit, edit);
    QFETCH(QByteArray, examText);
    QFETCH(QString, file);
    QFETCH(QString, question);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const bank::Edition sound = bank::loadBank(writeBank(dir));
    QCOMPARE(bank::validate(sound, dir.filePath(u"exhibits"_s)), QStringList());

    const QString edition = writeBank(dir, edit);
    if (!examText.isEmpty())
        writeFile(dir.filePath(u"exam1.json"_s), examText);
    QStringList problems;
    try {
        problems = bank::validate(bank::loadBank(edition), dir.filePath(u"exhibits"_s));
    } catch (const bank::BankError& error) {
        problems << error.message();
    }
    QString expected = dir.filePath(file) + u": "_s;
    if (!question.isEmpty())
        expected += u"question "_s + question + u": "_s;
    const auto matches = [&](const QString& line) {
        return line.startsWith(expected) && line.contains(problem);
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
    const QString edition = writeBank(dir, [](QJsonObject& ed, QJsonObject& exam) {
        setQuestion(0, u"correct"_s, QJsonArray{})(ed, exam);
        setQuestion(2, u"explanation"_s, u""_s)(ed, exam);
    });
    const QString out = dir.filePath(u"out/qbk09.mdb"_s);
    const QStringList arguments{
        u"--edition"_s, edition, u"--exhibits"_s,    dir.filePath(u"exhibits"_s),
        u"--out"_s,     out,     u"--exhibit-out"_s, dir.filePath(u"out/exhibits"_s)};

    QProcess run;
    run.start(tool, arguments);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 1);
    // Every problem, one per line (the platform may add warnings of its own).
    const QStringList lines = QString::fromLocal8Bit(run.readAllStandardError())
                                  .split(u'\n', Qt::SkipEmptyParts)
                                  .filter(QRegularExpression(u"^bankbuild: "_s));
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines)
        QVERIFY2(line.startsWith(u"bankbuild: "_s + dir.filePath(u"exam1.json"_s)),
                 qPrintable(line));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"out"_s)));

    writeBank(dir);
    run.start(tool, arguments);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed(),
             u"bankbuild: wrote %1 (1 exams, 3 questions, 1 exhibits)"_s.arg(out));
    const ReadBack db(out);
    QCOMPARE(db.ids(u"exam11"_s), u"3,7,9"_s);
    QCOMPARE(db.choices(u"exam11"_s, 7), u"01010"_s);
    QVERIFY(QFileInfo::exists(dir.filePath(u"out/exhibits/net@2x.png"_s)));
}

void TestBankBuild::failedWriteKeepsTheExistingDatabase_data()
{
    QTest::addColumn<BankEdit>("edit");
    QTest::newRow("unreadable drawing") << BankEdit([](TempBank& bank) {
        writeFile(bank.path(u"bad.svg"_s), "<svg this is not");
        bank.edition().exams[0].questions[1].exhibit = u"bad.svg"_s;
    });
    QTest::newRow("missing picture") << BankEdit(
        [](TempBank& bank) { bank.edition().exams[0].questions[1].exhibit = u"gone.png"_s; });
    // Fails halfway through the inserts.
    QTest::newRow("unknown category")
        << BankEdit([](TempBank& bank) { bank.edition().exams[0].questions[3].catid = 42; });
}

void TestBankBuild::failedWriteKeepsTheExistingDatabase()
{
    QFETCH(BankEdit, edit);
    TempBank bank;
    bank.addExam(1, 5);
    const QString database = bank.path(u"qbk09.mdb"_s);
    writeFile(database, "the database in use");

    const bank::Edition sound = bank.edition();
    edit(bank);
    QVERIFY_THROWS_EXCEPTION(bank::BankError, bank.write());
    QCOMPARE(contents(database), QByteArray("the database in use"));
    QVERIFY(!QFileInfo::exists(database + u".tmp"_s));

    // A sound bank then replaces it.
    bank.edition() = sound;
    bank.write();
    QCOMPARE(ReadBack(database).ids(u"exam1"_s), u"1,2,3,4,5"_s);
}

QTEST_MAIN(TestBankBuild)
#include "tst_bankbuild.moc"
