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

QJsonObject question(int id, int catid, const QString& type, QJsonArray correct)
{
    return {{u"id"_s, id},
            {u"catid"_s, catid},
            {u"type"_s, type},
            {u"question"_s, u"Question %1?"_s.arg(id)},
            {u"answers"_s, QJsonArray{u"one"_s, u"two"_s, u"three"_s, u"four"_s}},
            {u"correct"_s, correct},
            {u"explanation"_s, u"Because."_s}};
}

// A sound two-category edition with one exam: questions 3, 7 and 9.
QJsonObject goodEdition()
{
    return {{u"answer_columns"_s, 4},
            {u"categories"_s, QJsonArray{QJsonObject{{u"catid"_s, 0}, {u"cat_desc"_s, u"Disks"_s}},
                                         QJsonObject{{u"catid"_s, 1}, {u"cat_desc"_s, u"DNS"_s}}}},
            {u"test_information"_s,
             QJsonObject{{u"test_name"_s, u"T"_s}, {u"author_name"_s, u"A"_s},
                         {u"copyright_date"_s, u"C"_s}, {u"test_description"_s, u"D"_s},
                         {u"test_disclaimer"_s, u"X"_s}, {u"number_of_questions"_s, u"3"_s}}},
            {u"exams"_s, QJsonArray{QJsonObject{{u"exam"_s, 1}, {u"file"_s, u"exam1.json"_s}}}}};
}

QJsonObject goodExam()
{
    QJsonObject seven = question(7, 1, u"multiple_answer"_s, {2, 4});
    seven.insert(u"exhibit"_s, u"net.svg"_s);
    return {{u"exam"_s, 1},
            {u"questions"_s, QJsonArray{question(3, 0, u"single_answer"_s, {1}), seven,
                                        question(9, 0, u"single_answer"_s, {3})}}};
}

void setQuestion(QJsonObject& exam, int index, const QString& key, const QJsonValue& value)
{
    QJsonArray questions = exam.value(u"questions"_s).toArray();
    QJsonObject q = questions.at(index).toObject();
    if (value.isUndefined())
        q.remove(key);
    else
        q.insert(key, value);
    questions.replace(index, q);
    exam.insert(u"questions"_s, questions);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// edition.json, exam1.json and exhibits/net.svg in `dir`; returns edition.json's path.
QString writeBank(const QTemporaryDir& dir, const QJsonObject& edition, const QJsonObject& exam)
{
    writeFile(dir.filePath(u"edition.json"_s), QJsonDocument(edition).toJson());
    writeFile(dir.filePath(u"exam1.json"_s), QJsonDocument(exam).toJson());
    QDir(dir.path()).mkpath(u"exhibits"_s);
    writeFile(dir.filePath(u"exhibits/net.svg"_s), halfRedSvg);
    return dir.filePath(u"edition.json"_s);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db.get(), utf8.constData(), -1, &raw, nullptr) != SQLITE_OK)
            qFatal("%s: %s", utf8.constData(), sqlite3_errmsg(m_db.get()));
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

    QList<qint64> ids(const QString& table) const
    {
        QList<qint64> ids;
        for (const QVariantList& row : rows(u"SELECT ID FROM %1 ORDER BY rowid"_s.arg(table)))
            ids << row.at(0).toLongLong();
        return ids;
    }

private:
    data::SqliteHandle m_db;
};

QString choices(const ReadBack& db, const QString& table, qint64 id)
{
    return db.value(u"SELECT correctanswer1 || correctanswer2 || correctanswer3 || "
                    "correctanswer4 || correctanswer5 FROM %1 WHERE ID = %2"_s.arg(table).arg(id))
        .toString();
}

} // namespace

class TestBankBuild : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writtenBankReadsBack();
    void fiveColumnBankKeepsTheFifthAnswer();
    void jsonSourceLoads();
    void loadErrorsNameFileAndQuestion_data();
    void loadErrorsNameFileAndQuestion();
    void refusals_data();
    void refusals();
    void bankbuildWritesNothingForARefusedBank();
    void failedWriteKeepsTheExistingDatabase_data();
    void failedWriteKeepsTheExistingDatabase();
};

void TestBankBuild::writtenBankReadsBack()
{
    TempBank bank(4, 3);
    bank.addExam(1, 6, {2, 4, 6, 8, 10, 12});
    bank::Exam& third = bank.addExam(3, 3);
    third.questions[1].exhibit = u"photo.png"_s;
    bank.edition().exams[0].questions[2].exhibit = u"net.svg"_s;
    writeFile(bank.path(u"net.svg"_s), halfRedSvg);
    writeFile(bank.path(u"photo.png"_s), "not really a png, copied as it is");
    const ReadBack db(bank.write());

    // Working and key rows share IDs, in file order; only the listed exams exist.
    const QList<qint64> ids{2, 4, 6, 8, 10, 12};
    QCOMPARE(db.ids(u"exam1"_s), ids);
    QCOMPARE(db.ids(u"exam11"_s), ids);
    QCOMPARE(db.ids(u"exam33"_s), (QList<qint64>{1, 2, 3}));
    QCOMPARE(db.value(u"SELECT count(*) FROM sqlite_master WHERE name = 'exam2'"_s).toInt(), 0);

    // Working choices start cleared; the key marks exactly the correct positions
    // (place 1: single, answer 2; place 2: multiple, answers 3 and 4).
    QCOMPARE(choices(db, u"exam1"_s, 6), u"00000"_s);
    QCOMPARE(choices(db, u"exam11"_s, 4), u"01000"_s);
    QCOMPARE(choices(db, u"exam11"_s, 6), u"00110"_s);
    QCOMPARE(db.value(u"SELECT count(*) FROM exam1 WHERE correctanswer1 + correctanswer2 + "
                      "correctanswer3 + correctanswer4 + correctanswer5 <> 0"_s).toInt(), 0);
    // Nothing answered yet, so grading finds no correct question.
    QCOMPARE(db.rows(data::sql::correctAnswers(1, 4)).size(), 0);

    const QVariantList row = db.rows(u"SELECT question, answer2, answer5, question_type, catid, "
                                      "cat_desc, explanation FROM exam1 WHERE ID = 10"_s).value(0);
    QCOMPARE(row.at(0).toString(), u"Question 10 of exam 1"_s);
    QCOMPARE(row.at(1).toString(), u"Answer 2 of question 10"_s);
    QVERIFY(!row.at(2).isNull());
    QCOMPARE(row.at(2).toString(), QString());
    QCOMPARE(row.at(3).toString(), u"single_answer"_s);
    QCOMPARE(row.at(4).toInt(), 1);
    QCOMPARE(row.at(5).toString(), u"Category 1"_s);
    QCOMPARE(row.at(6).toString(), u"Explanation 10."_s);
    QCOMPARE(db.value(u"SELECT question_type FROM exam11 WHERE ID = 6"_s).toString(),
             u"multiple_answer"_s);

    QCOMPARE(db.rows(u"SELECT sl_no, cat_desc FROM cat ORDER BY sl_no"_s),
             (QList<QVariantList>{{1LL, u"Category 0"_s}, {2LL, u"Category 1"_s},
                                  {3LL, u"Category 2"_s}}));
    QCOMPARE(db.rows(u"SELECT test_name, number_of_questions, author_name FROM \"Test Information\""_s),
             (QList<QVariantList>{{u"Temporary test"_s, u"3"_s, u"Test author"_s}}));
    for (const QString& empty : {u"tblrandom"_s, u"showans"_s, u"cat_scores"_s})
        QCOMPARE(db.value(u"SELECT count(*) FROM %1"_s.arg(empty)).toInt(), 0);

    // Exhibits: NULL without one; the drawing at twice its size on white; a
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
}

void TestBankBuild::fiveColumnBankKeepsTheFifthAnswer()
{
    TempBank bank(5, 2);
    bank.addExam(1, 4);
    bank.edition().exams[0].questions[0].correct = {5};
    const ReadBack db(bank.write(u"qbk009.mdb"_s));
    QCOMPARE(db.value(u"SELECT answer5 FROM exam1 WHERE ID = 1"_s).toString(),
             u"Answer 5 of question 1"_s);
    QCOMPARE(choices(db, u"exam11"_s, 1), u"00001"_s);
}

void TestBankBuild::jsonSourceLoads()
{
    QTemporaryDir dir;
    const bank::Edition edition = bank::loadBank(writeBank(dir, goodEdition(), goodExam()));
    QCOMPARE(edition.answerColumns, 4);
    QCOMPARE(edition.categories.size(), 2);
    QCOMPARE(edition.categories.at(1).description, u"DNS"_s);
    QCOMPARE(edition.testInformation.numberOfQuestions, u"3"_s);
    QCOMPARE(edition.exams.size(), 1);
    QCOMPARE(edition.exams.at(0).sourceFile, dir.filePath(u"exam1.json"_s));
    const bank::Question& seven = edition.exams.at(0).questions.at(1);
    QCOMPARE(seven.id, qint64(7));
    QCOMPARE(seven.correct, (QList<int>{2, 4}));
    QCOMPARE(seven.answers.size(), 4);
    QCOMPARE(seven.exhibit, u"net.svg"_s);
    QVERIFY(edition.exams.at(0).questions.at(0).exhibit.isEmpty());
    QCOMPARE(bank::validate(edition, dir.filePath(u"exhibits"_s)), QStringList());
}

void TestBankBuild::loadErrorsNameFileAndQuestion_data()
{
    QTest::addColumn<JsonEdit>("edit");
    QTest::addColumn<QByteArray>("examText");
    QTest::addColumn<QString>("expected");
    const auto q = [](int index, const QString& key, const QJsonValue& value) {
        return JsonEdit([=](QJsonObject&, QJsonObject& exam) { setQuestion(exam, index, key, value); });
    };
    const JsonEdit none = [](QJsonObject&, QJsonObject&) {};

    QTest::newRow("malformed") << none << QByteArray("{ \"exam\": 1, \"questions\": [")
                               << u"exam1.json: malformed JSON at line 1"_s;
    QTest::newRow("id is text") << q(1, u"id"_s, u"7"_s) << QByteArray()
                                << u"exam1.json: question #2: \"id\" must be a whole number, not a string"_s;
    QTest::newRow("catid is text") << q(1, u"catid"_s, u"1"_s) << QByteArray()
                                   << u"exam1.json: question 7: \"catid\" must be a whole number"_s;
    QTest::newRow("fractional correct") << q(2, u"correct"_s, QJsonArray{1.5}) << QByteArray()
                                        << u"question 9: each of \"correct\" must be a whole number"_s;
    QTest::newRow("answers not a list") << q(0, u"answers"_s, u"one"_s) << QByteArray()
                                        << u"question 3: \"answers\" must be an array"_s;
    QTest::newRow("answer is a number") << q(0, u"answers"_s, QJsonArray{u"a"_s, 2, u"c"_s})
                                        << QByteArray() << u"question 3: answer 2 must be a string"_s;
    QTest::newRow("missing explanation") << q(2, u"explanation"_s, QJsonValue::Undefined)
                                         << QByteArray()
                                         << u"question 9: missing field \"explanation\""_s;
    QTest::newRow("misspelt field") << q(1, u"exhbit"_s, u"net.svg"_s) << QByteArray()
                                    << u"question 7: unknown field \"exhbit\""_s;
    QTest::newRow("columns as text")
        << JsonEdit([](QJsonObject& e, QJsonObject&) { e.insert(u"answer_columns"_s, u"4"_s); })
        << QByteArray() << u"edition.json: \"answer_columns\" must be a whole number"_s;
    QTest::newRow("missing exam file")
        << JsonEdit([](QJsonObject& e, QJsonObject&) {
               e.insert(u"exams"_s, QJsonArray{QJsonObject{{u"exam"_s, 1}, {u"file"_s, u"exam9.json"_s}}});
           })
        << QByteArray() << u"exam9.json: cannot read"_s;
    QTest::newRow("exam number mismatch")
        << JsonEdit([](QJsonObject&, QJsonObject& exam) { exam.insert(u"exam"_s, 2); })
        << QByteArray() << u"exam1.json: the file says exam 2"_s;
}

void TestBankBuild::loadErrorsNameFileAndQuestion()
{
    QFETCH(JsonEdit, edit);
    QFETCH(QByteArray, examText);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QJsonObject edition = goodEdition();
    QJsonObject exam = goodExam();
    edit(edition, exam);
    const QString path = writeBank(dir, edition, exam);
    if (!examText.isEmpty())
        writeFile(dir.filePath(u"exam1.json"_s), examText);
    try {
        bank::loadBank(path);
        QFAIL("the bank loaded");
    } catch (const bank::BankError& error) {
        QVERIFY2(error.message().startsWith(dir.path()), qPrintable(error.message()));
        QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
    }
}

void TestBankBuild::refusals_data()
{
    QTest::addColumn<JsonEdit>("edit");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("problem");
    const auto q = [](int index, const QString& key, const QJsonValue& value) {
        return JsonEdit([=](QJsonObject&, QJsonObject& exam) { setQuestion(exam, index, key, value); });
    };
    const auto e = [](const QString& key, const QJsonValue& value) {
        return JsonEdit([=](QJsonObject& edition, QJsonObject&) { edition.insert(key, value); });
    };
    const QString exam1 = u"exam1.json"_s;
    const QString edition = u"edition.json"_s;
    const QJsonObject disks{{u"catid"_s, 0}, {u"cat_desc"_s, u"Disks"_s}};
    const QJsonObject dns{{u"catid"_s, 1}, {u"cat_desc"_s, u"DNS"_s}};
    const QJsonObject examOne{{u"exam"_s, 1}, {u"file"_s, u"exam1.json"_s}};

    // Questions
    QTest::newRow("ID zero") << q(0, u"id"_s, 0) << exam1 << u"0"_s << u"ID must be positive"_s;
    QTest::newRow("duplicate ID") << q(1, u"id"_s, 3) << exam1 << u"3"_s << u"duplicate ID"_s;
    QTest::newRow("descending ID") << q(2, u"id"_s, 5) << exam1 << u"5"_s << u"strictly ascending"_s;
    QTest::newRow("no correct answer") << q(1, u"correct"_s, QJsonArray{}) << exam1 << u"7"_s
                                       << u"no correct answer"_s;
    QTest::newRow("single with two") << q(0, u"correct"_s, QJsonArray{1, 2}) << exam1 << u"3"_s
                                     << u"exactly one correct answer, not two"_s;
    QTest::newRow("unknown type") << q(0, u"type"_s, u"true_false"_s) << exam1 << u"3"_s
                                  << u"neither single_answer nor multiple_answer"_s;
    QTest::newRow("correct past the end") << q(2, u"correct"_s, QJsonArray{5}) << exam1 << u"9"_s
                                          << u"correct answer 5 is outside the 4 answers"_s;
    QTest::newRow("correct zero") << q(2, u"correct"_s, QJsonArray{0}) << exam1 << u"9"_s
                                  << u"correct answer 0 is outside"_s;
    QTest::newRow("correct twice") << q(1, u"correct"_s, QJsonArray{2, 2}) << exam1 << u"7"_s
                                   << u"correct answer 2 is listed twice"_s;
    QTest::newRow("empty middle answer")
        << q(0, u"answers"_s, QJsonArray{u"a"_s, u" "_s, u"c"_s, u"d"_s}) << exam1 << u"3"_s
        << u"answer 2 is empty"_s;
    QTest::newRow("two answers") << q(0, u"answers"_s, QJsonArray{u"a"_s, u"b"_s}) << exam1
                                 << u"3"_s << u"two answers; a question needs at least three"_s;
    QTest::newRow("fifth answer")
        << q(0, u"answers"_s, QJsonArray{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}) << exam1 << u"3"_s
        << u"a fifth answer, but this edition grades four answer columns"_s;
    QTest::newRow("unknown category") << q(2, u"catid"_s, 5) << exam1 << u"9"_s
                                      << u"unknown category 5"_s;
    QTest::newRow("missing exhibit") << q(1, u"exhibit"_s, u"gone.svg"_s) << exam1 << u"7"_s
                                     << u"missing exhibit file"_s;
    QTest::newRow("exhibit not a picture") << q(1, u"exhibit"_s, u"notes.txt"_s) << exam1 << u"7"_s
                                           << u"\"notes.txt\" is not a picture"_s;
    QTest::newRow("empty question text") << q(2, u"question"_s, u"  "_s) << exam1 << u"9"_s
                                         << u"empty question text"_s;
    QTest::newRow("empty explanation") << q(2, u"explanation"_s, u""_s) << exam1 << u"9"_s
                                       << u"empty explanation"_s;

    // Categories and exams
    QTest::newRow("category gap")
        << e(u"categories"_s, QJsonArray{disks, QJsonObject{{u"catid"_s, 2}, {u"cat_desc"_s, u"DNS"_s}}})
        << edition << QString() << u"categories must be numbered 0 to 1 without gaps, found 0, 2"_s;
    QTest::newRow("category twice") << e(u"categories"_s, QJsonArray{disks, dns, dns}) << edition
                                    << QString() << u"category 1 is listed twice"_s;
    QTest::newRow("empty category")
        << e(u"categories"_s,
             QJsonArray{disks, dns, QJsonObject{{u"catid"_s, 2}, {u"cat_desc"_s, u"Printing"_s}}})
        << exam1 << QString() << u"category 2 (Printing) has no question in this exam"_s;
    QTest::newRow("duplicate exam") << e(u"exams"_s, QJsonArray{examOne, examOne}) << edition
                                    << QString() << u"exam 1 is listed twice"_s;
    QTest::newRow("exam four")
        << JsonEdit([=](QJsonObject& ed, QJsonObject& exam) {
               exam.remove(u"exam"_s);
               ed.insert(u"exams"_s, QJsonArray{QJsonObject{{u"exam"_s, 4}, {u"file"_s, u"exam1.json"_s}}});
           })
        << edition << QString() << u"exam 4 is outside 1 to 3"_s;
    QTest::newRow("three columns") << e(u"answer_columns"_s, 3) << edition << QString()
                                   << u"answer_columns is 3"_s;
    QTest::newRow("too few questions")
        << JsonEdit([](QJsonObject& ed, QJsonObject&) {
               QJsonObject info = ed.value(u"test_information"_s).toObject();
               info.insert(u"number_of_questions"_s, u"5"_s);
               ed.insert(u"test_information"_s, info);
           })
        << exam1 << QString() << u"3 questions, fewer than the 5 each exam draws"_s;
}

void TestBankBuild::refusals()
{
    QFETCH(JsonEdit, edit);
    QFETCH(QString, file);
    QFETCH(QString, question);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QJsonObject edition = goodEdition();
    QJsonObject exam = goodExam();
    edit(edition, exam);
    const QStringList problems =
        bank::validate(bank::loadBank(writeBank(dir, edition, exam)), dir.filePath(u"exhibits"_s));

    QString expected = dir.filePath(file) + u": "_s;
    if (!question.isEmpty())
        expected += u"question "_s + question + u": "_s;
    const auto matches = [&](const QString& line) {
        return line.startsWith(expected) && line.contains(problem);
    };
    QVERIFY2(std::any_of(problems.begin(), problems.end(), matches),
             qPrintable(u"wanted \"%1...%2\" in:\n"_s.arg(expected, problem) +
                        problems.join(u'\n')));
}

void TestBankBuild::bankbuildWritesNothingForARefusedBank()
{
    const QString tool = QStringLiteral(QUIZMOOR_BINARY_DIR "/tools/bankbuild");
    QVERIFY2(QFileInfo(tool).isExecutable(), "build the bankbuild target first");
    QTemporaryDir dir;
    QJsonObject exam = goodExam();
    setQuestion(exam, 0, u"correct"_s, QJsonArray{});
    setQuestion(exam, 2, u"explanation"_s, u""_s);
    const QString edition = writeBank(dir, goodEdition(), exam);
    const QString out = dir.filePath(u"out/qbk09.mdb"_s);
    const QStringList arguments{u"--edition"_s,     edition,
                                u"--exhibits"_s,    dir.filePath(u"exhibits"_s),
                                u"--out"_s,         out,
                                u"--exhibit-out"_s, dir.filePath(u"out/exhibits"_s)};

    QProcess run;
    run.start(tool, arguments);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 1);
    const QStringList lines =
        QString::fromLocal8Bit(run.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines)
        QVERIFY2(line.startsWith(u"bankbuild: "_s + dir.filePath(u"exam1.json"_s)), qPrintable(line));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"out"_s)));

    writeBank(dir, goodEdition(), goodExam());
    run.start(tool, arguments);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed(),
             u"bankbuild: wrote %1 (1 exams, 3 questions, 1 exhibits)"_s.arg(out));
    QCOMPARE(ReadBack(out).ids(u"exam11"_s), (QList<qint64>{3, 7, 9}));
    QVERIFY(QFileInfo::exists(dir.filePath(u"out/exhibits/net@2x.png"_s)));
}

void TestBankBuild::failedWriteKeepsTheExistingDatabase_data()
{
    QTest::addColumn<BankEdit>("edit");
    QTest::newRow("unreadable drawing") << BankEdit([](TempBank& bank) {
        writeFile(bank.path(u"bad.svg"_s), "<svg this is not");
        bank.edition().exams[0].questions[1].exhibit = u"bad.svg"_s;
    });
    QTest::newRow("missing picture") << BankEdit([](TempBank& bank) {
        bank.edition().exams[0].questions[1].exhibit = u"gone.png"_s;
    });
    // Fails halfway through the inserts.
    QTest::newRow("unknown category") << BankEdit([](TempBank& bank) {
        bank.edition().exams[0].questions[3].catid = 42;
    });
}

void TestBankBuild::failedWriteKeepsTheExistingDatabase()
{
    QFETCH(BankEdit, edit);
    TempBank bank;
    bank.addExam(1, 5);
    const QString database = bank.path(u"qbk09.mdb"_s);
    writeFile(database, "the database in use");

    bank::Edition sound = bank.edition();
    edit(bank);
    QVERIFY_THROWS_EXCEPTION(bank::BankError, bank.write());
    QCOMPARE(contents(database), QByteArray("the database in use"));
    QVERIFY(!QFileInfo::exists(database + u".tmp"_s));

    // A sound bank then replaces it.
    bank.edition() = sound;
    bank.write();
    QCOMPARE(ReadBack(database).ids(u"exam1"_s), (QList<qint64>{1, 2, 3, 4, 5}));
}

QTEST_MAIN(TestBankBuild)
#include "tst_bankbuild.moc"
