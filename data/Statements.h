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
