#pragma once

#include <QString>

// Every statement text the windows issue, kept in one place exactly as the
// windows have always issued them. Texts given for exam 1 serve exams 2 and 3
// with the table names changed throughout (exam1 -> exam2, exam11 -> exam22).
namespace data::sql {

QString workingTable(int exam); // "exam1"
QString keyTable(int exam);     // "exam11"

QString deleteRandomDraw();     // "delete * from tblrandom;"
QString deleteShownAnswer();    // "delete * from showans;"
QString deleteCategoryScores(); // "delete * from cat_scores;"
QString findId(qint64 id);      // "ID =17": no blank after the equals sign

// The exam window's question cursor.
QString examQuestions(int exam);
// The same rows in the order they were drawn, so each exam is a new order.
QString examQuestionsInDrawOrder(int exam);
// The show-answer window's record.
QString shownAnswer(int exam);
// The Review menu's answer key.
QString reviewExam(int exam);
// The wrong-answer review after an exam.
QString wrongAnswerReview(int exam);
// The same rows in the order the questions were asked (tblrandom.sl_no).
QString wrongAnswerReviewInDrawOrder(int exam);
// On one connection, the exam's working table as the questions of its draw
// whose first `answerColumns` choices differ from the key in any column: a
// temporary view that the review's statement reads in the table's place.
QString dropTemporaryWorkingTable(int exam);
QString wrongAnswersOfDrawView(int exam, int answerColumns);

// On one connection, a temporary view in place of a table of the bank whose
// Yes/No answer columns (correctanswer1 to 5) read 1 for any number but 0 and
// 0 for 0, and whose other columns read as stored: a desktop database stores
// Yes as -1, and a key's Yes must match a working table's 1. `columns` are
// the table's own, in order; `rowFilter`, when given, keeps only its rows.
// The statements that read the table keep their texts and see the view.
QString answersByTruthView(const QString& table, const QStringList& columns,
                           const QString& rowFilter = QString());
QString dropTemporaryView(const QString& table);
// The row filter for the questions of the exam's draw.
QString drawnRowsOnly();

// Grading. `answerColumns` is 4 in the full edition and 5 in the demo.
QString correctAnswers(int exam, int answerColumns); // exam 1's count
QString wrongAnswers(int exam);                      // exams 2 and 3
QString categoryQuestions(int exam, int category);
QString categoryCorrectAnswers(int exam, int answerColumns, int category);
QString resetChoices(int exam, int answerColumns);
// Clears the choices of the questions just drawn, and of those only.
QString resetDrawnChoices(int exam, int answerColumns);

QString testInformationTable(); // "Test Information"

} // namespace data::sql
