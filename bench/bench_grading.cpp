// Grading a finished exam: the shipped full-edition bank against a generated
// bank of 100,000 questions per exam with sparse question numbers. Grading
// counts only the exam's draw, so its cost should follow the 83 questions
// asked, not the size of the bank.

#include "BenchSupport.h"
#include "core/Grading.h"
#include "data/Schema.h"
#include "data/Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

constexpr int examQuestions = 83;
constexpr int largeBank = 100000;
constexpr int categories = 13;
constexpr int runs = 25;

class Connection {
public:
    explicit Connection(const QString& path)
    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        m_db.reset(raw);
        if (rc != SQLITE_OK)
            throw std::runtime_error("cannot open " + path.toStdString());
    }

    void exec(const QString& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db.get(), sql.toUtf8().constData(), nullptr, nullptr, &error) !=
            SQLITE_OK) {
            const std::string message = error ? error : "error";
            sqlite3_free(error);
            throw std::runtime_error(message + " in " + sql.toStdString());
        }
    }

    std::vector<qint64> ids(const QString& sql)
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), sql.toUtf8().constData(), -1, &raw, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db.get()));
        data::StatementHandle st(raw);
        std::vector<qint64> out;
        while (sqlite3_step(st.get()) == SQLITE_ROW)
            out.push_back(sqlite3_column_int64(st.get(), 0));
        return out;
    }

private:
    data::SqliteHandle m_db;
};

// Exams 1 and 2 of `questions` each, numbered 1000 + 37 n; question n in
// category n % 13 with answer (n % 4) + 1 correct.
void generateBank(const QString& path, int questions)
{
    Connection db(path);
    for (const QString& ddl : data::questionDatabaseSchema({1, 2}))
        db.exec(ddl);
    db.exec(QStringLiteral("BEGIN"));
    for (int c = 0; c < categories; ++c)
        db.exec(QStringLiteral("INSERT INTO cat (sl_no, cat_desc) VALUES (%1, 'Category %2')")
                    .arg(c + 1)
                    .arg(c));
    const QString numbers =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
            .arg(questions - 1);
    for (int exam : {1, 2}) {
        const QString rows =
            QStringLiteral("SELECT 1000 + 37 * i, 'Question ' || i, 'A', 'B', 'C', 'D', '', "
                           "i % 4 = 0, i % 4 = 1, i % 4 = 2, i % 4 = 3, 0");
        db.exec(
            numbers +
            QStringLiteral("INSERT INTO exam%1 (ID, question, answer1, answer2, answer3, answer4, "
                           "answer5, correctanswer1, correctanswer2, correctanswer3, "
                           "correctanswer4, correctanswer5, question_type, catid, cat_desc, "
                           "explanation) ")
                .arg(exam) +
            rows + QStringLiteral(", 'single_answer', i % 13, 'Category', 'Because.' FROM n"));
        db.exec(numbers +
                QStringLiteral(
                    "INSERT INTO exam%1%1 (ID, question, answer1, answer2, answer3, answer4, "
                    "answer5, correctanswer1, correctanswer2, correctanswer3, "
                    "correctanswer4, correctanswer5, question_type, explanation) ")
                    .arg(exam) +
                rows + QStringLiteral(", 'single_answer', 'Because.' FROM n"));
    }
    db.exec(QStringLiteral("COMMIT"));
}

// A finished exam: 83 questions spread over the bank drawn, 60 of them
// answered correctly, the rest wrongly.
void finishExam(const QString& path, int exam)
{
    Connection db(path);
    const std::vector<qint64> all =
        db.ids(QStringLiteral("SELECT ID FROM exam%1 ORDER BY ID").arg(exam));
    if (all.size() < std::size_t(examQuestions))
        throw std::runtime_error("the bank is smaller than an exam");
    const std::size_t step = all.size() / examQuestions;
    QStringList drawn, right, wrong;
    for (int i = 0; i < examQuestions; ++i) {
        const QString id = QString::number(all[std::size_t(i) * step]);
        drawn << QStringLiteral("(%1, %2)").arg(i + 1).arg(id);
        (i < 60 ? right : wrong) << id;
    }
    const QString key = QStringLiteral("exam%1%1").arg(exam);
    const QString working = QStringLiteral("exam%1").arg(exam);
    db.exec(QStringLiteral("BEGIN"));
    db.exec(QStringLiteral("DELETE FROM tblrandom"));
    db.exec(QStringLiteral("INSERT INTO tblrandom (sl_no, ID) VALUES ") + drawn.join(u','));
    QStringList sets;
    for (int k = 1; k <= 5; ++k)
        sets << QStringLiteral(
                    "correctanswer%1 = (SELECT k.correctanswer%1 FROM %2 k WHERE k.ID = %3.ID)")
                    .arg(k)
                    .arg(key, working);
    db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE ID IN (%3)")
                .arg(working, sets.join(QStringLiteral(", ")),
                     right.join(u',') + u',' + wrong.join(u',')));
    db.exec(QStringLiteral("UPDATE %1 SET correctanswer1 = 1 - correctanswer1 WHERE ID IN (%2)")
                .arg(working, wrong.join(u',')));
    db.exec(QStringLiteral("COMMIT"));
}

struct Timing {
    double shippedMs = 0;
    double largeMs = 0;
    int shippedScore = 0;
    int largeScore = 0;
};

// Median milliseconds of grading `exam` in each bank, the runs taken in
// turns so that both see the same state of the machine.
Timing timeGrading(const QString& shipped, const QString& large, int exam)
{
    const core::Grading small(shipped, 4);
    const core::Grading big(large, 4);
    Timing t;
    std::vector<double> smallTimes, largeTimes;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        t.shippedScore = small.grade(exam, examQuestions).score;
        smallTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        t.largeScore = big.grade(exam, examQuestions).score;
        largeTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    t.shippedMs = bench::median(smallTimes);
    t.largeMs = bench::median(largeTimes);
    return t;
}

} // namespace

int benchGrading(QTextStream& out)
{
    const QString shipped = QStringLiteral(QUIZMOOR_BIN_DIR "/qbk09.mdb");
    if (!QFile::exists(shipped)) {
        out << "grading: the shipped bank " << shipped
            << " is missing; build the question_banks target\n";
        return 1;
    }
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("shipped.mdb"));
    const QString large = dir.filePath(QStringLiteral("large.mdb"));
    try {
        if (!QFile::copy(shipped, small))
            throw std::runtime_error("cannot copy the shipped bank");
        generateBank(large, largeBank);
        bool withinGoal = true;
        for (int exam : {1, 2}) {
            finishExam(small, exam);
            finishExam(large, exam);
            const Timing t = timeGrading(small, large, exam);
            const double ratio = t.largeMs / t.shippedMs;
            out << QStringLiteral("grading exam %1: shipped bank %2 ms, %3 questions %4 ms, "
                                  "ratio large/shipped %5 (goal <= 2), scores %6 and %7\n")
                       .arg(exam)
                       .arg(t.shippedMs, 0, 'f', 2)
                       .arg(largeBank)
                       .arg(t.largeMs, 0, 'f', 2)
                       .arg(ratio, 0, 'f', 2)
                       .arg(t.shippedScore)
                       .arg(t.largeScore);
            withinGoal =
                withinGoal && ratio <= 2.0 && t.largeMs <= 30.0 && t.shippedScore == t.largeScore;
        }
        out.flush();
        return withinGoal ? 0 : 2;
    } catch (const std::exception& e) {
        out << "grading: " << e.what() << '\n';
        return 1;
    }
}

#ifdef QUIZMOOR_BENCH_GRADING_MAIN
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    return benchGrading(out);
}
#endif
