#include "core/ExamRules.h"

#include "core/Edition.h"
#include "data/Recordset.h"

namespace core {

bool isSingleAnswer(const QString& questionType)
{
    return questionType == QLatin1StringView("single_answer");
}

PagingButtons pagingButtons(int position, int count)
{
    PagingButtons buttons;
    buttons.nextEnabled = position != count;
    buttons.previousEnabled = position != 1;
    if (position == 1)
        buttons.nextEnabled = true;
    return buttons;
}

bool stepForward(data::Recordset& questions)
{
    questions.MoveNext();
    if (!questions.Eof())
        return true;
    questions.MovePrevious();
    return false;
}

bool stepBack(data::Recordset& questions)
{
    questions.MovePrevious();
    if (!questions.Bof())
        return true;
    questions.MoveNext();
    return false;
}

int examTables(const Edition& edition, int examCode)
{
    return edition.offersExam(examCode) ? examCode : 1;
}

} // namespace core
