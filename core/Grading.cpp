#include "core/Grading.h"

#include "data/AnswerTruth.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Statements.h"

#include <algorithm>
#include <cmath>

namespace core {
namespace {

constexpr int fullScore = 1000;

int clampScore(double value)
{
    return int(std::clamp(std::floor(value), 0.0, double(fullScore)));
}

// The number of records a query returns, read as a data control's count is:
// the full count stands only once the cursor has been to the last record.
int countOf(data::Database& db, const QString& sql)
{
    auto rs = db.OpenRecordset(sql);
    if (rs->RecordCount() != 0) {
        rs->MoveFirst();
        rs->MoveLast();
    }
    return int(rs->RecordCount());
}

// On this connection the exam's working table reads as the questions of its
// draw only, and both tables read their Yes/No answers by truth value, so a
// key that stores Yes as -1 grades as one that stores 1. SQLite looks a name
// up in the temporary schema before the main one, so the grading statements
// keep their own texts and see just the drawn rows; the views live as long
// as the connection.
void readDrawByTruth(data::Database& db, int exam)
{
    data::readAnswersByTruth(db, data::sql::workingTable(exam), data::sql::drawnRowsOnly());
    data::readAnswersByTruth(db, data::sql::keyTable(exam));
}

} // namespace

Grading::Grading(QString databaseFile, int answerColumns)
    : m_databaseFile(std::move(databaseFile)), m_answerColumns(answerColumns)
{
}

int Grading::scoreFromCorrect(int correct, int questionCount)
{
    return clampScore(double(correct) / double(questionCount) * fullScore);
}

int Grading::scoreFromWrong(int wrong, int questionCount)
{
    return clampScore(double(questionCount - wrong) / double(questionCount) * fullScore);
}

int Grading::percent(int correct, int total)
{
    if (total <= 0)
        return 0;
    return int(std::floor(double(correct) / double(total) * 100.0));
}

ExamGrade Grading::grade(int exam, int questionCount) const
{
    ExamGrade result;
    result.exam = exam;
    result.questionCount = questionCount;

    auto db = data::Database::OpenDatabase(m_databaseFile);
    // cat_scores is rebuilt as a whole or left as it was.
    data::Database::Transaction transaction(*db);
    db->Execute(data::sql::deleteCategoryScores());
    readDrawByTruth(*db, exam);

    result.drawn =
        countOf(*db, QStringLiteral("SELECT ID FROM %1").arg(data::sql::workingTable(exam)));
    if (exam == 1) {
        result.counted = countOf(*db, data::sql::correctAnswers(exam, m_answerColumns));
        result.score = scoreFromCorrect(result.counted, questionCount);
    } else {
        result.counted = countOf(*db, data::sql::wrongAnswers(exam));
        // A draw short of the exam's question count leaves questions the
        // candidate could not answer: they count as wrong, as in exam 1.
        const int unseen = std::max(0, questionCount - result.drawn);
        result.score = scoreFromWrong(result.counted + unseen, questionCount);
    }

    auto cat = db->OpenRecordset(QStringLiteral("cat"), data::dbOpenTable);
    int categories = 0;
    if (!cat->Eof()) {
        cat->MoveFirst();
        cat->MoveLast();
        categories = int(cat->RecordCount());
    }
    cat->Close();

    auto scores = db->OpenRecordset(QStringLiteral("cat_scores"), data::dbOpenTable);
    result.categories.reserve(std::size_t(categories));
    for (int i = 0; i < categories; ++i) {
        CategoryScore category;
        category.total = countOf(*db, data::sql::categoryQuestions(exam, i));
        category.correct =
            countOf(*db, data::sql::categoryCorrectAnswers(exam, m_answerColumns, i));
        category.percent = percent(category.correct, category.total);
        result.categories.push_back(category);

        scores->AddNew();
        scores->setValue(categoryTotalPosition, category.total);
        scores->setValue(categoryCorrectPosition, category.correct);
        scores->setValue(categoryPercentPosition, category.percent);
        scores->Update();
    }
    scores->Close();
    transaction.commit();
    return result;
}

} // namespace core
