#pragma once

#include <QString>

namespace data {
class Database;
}

namespace core {

struct Edition;

// The Review menu's codes: 11, 22 and 33 stand for the review of exam 1, 2
// and 3 in the run's exam number.
int reviewCode(int exam);
// The exam a review code stands for, 0 for any other value.
int reviewedExam(int examCode);

// The questions the wrong-answer review pages through: those of the exam's
// draw (tblrandom) that the candidate answered wrongly, in the order they were
// asked. A question is wrong when any of the columns grading compares differs
// from the key (1 to 4 in the full edition, 1 to 5 in the demo) in truth
// value, as grading compares them (any number but 0 is Yes), so the review
// and the score always agree, and a question the candidate never saw is never
// "wrong".
class WrongAnswerSelection {
public:
    WrongAnswerSelection(int exam, int answerColumns);

    int exam() const { return m_exam; }
    int answerColumns() const { return m_answerColumns; }

    // Makes the review's own statement, kept as it has always read, see only
    // those questions on this connection: as grading does, the working table
    // is replaced there by a temporary view. Throws data::DataError.
    void restrict(data::Database& db) const;
    // The statement the review's cursor runs on that connection.
    QString statement() const;

private:
    int m_exam;
    int m_answerColumns;
};

} // namespace core
