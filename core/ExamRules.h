#pragma once

#include <QString>

namespace data {
class Recordset;
}

namespace core {

struct Edition;

// A question whose question_type is exactly "single_answer" has one correct
// choice and shows option buttons; any other type (also an empty one) shows
// check boxes.
bool isSingleAnswer(const QString& questionType);

// Which of Next and Previous a window that pages through `count` questions
// offers on question `position` (from 1). Next is off on the last question
// and Previous on the first; on the first question Next stays on, even when
// it is also the last, as the windows have always done.
struct PagingButtons {
    bool nextEnabled = true;
    bool previousEnabled = true;
};
PagingButtons pagingButtons(int position, int count);

// One question on, or back, in a window that pages through a cursor: past
// the last (before the first) the cursor stays where it was. True when it
// moved.
bool stepForward(data::Recordset& questions);
bool stepBack(data::Recordset& questions);

// The exam whose tables a window of the run works on: the run's exam number
// where the edition offers that exam, otherwise exam 1 (the demo has no other).
int examTables(const Edition& edition, int examCode);

} // namespace core
