#include "core/ReviewRules.h"

#include "data/Database.h"
#include "data/Statements.h"

namespace core {

int reviewCode(int exam)
{
    return exam * 11;
}

int reviewedExam(int examCode)
{
    switch (examCode) {
    case 11:
        return 1;
    case 22:
        return 2;
    case 33:
        return 3;
    default:
        return 0;
    }
}

WrongAnswerSelection::WrongAnswerSelection(int exam, int answerColumns)
    : m_exam(exam), m_answerColumns(answerColumns)
{
}

void WrongAnswerSelection::restrict(data::Database& db) const
{
    db.Execute(data::sql::dropTemporaryWorkingTable(m_exam));
    db.Execute(data::sql::wrongAnswersOfDrawView(m_exam, m_answerColumns));
}

QString WrongAnswerSelection::statement() const
{
    return data::sql::wrongAnswerReviewInDrawOrder(m_exam);
}

} // namespace core
