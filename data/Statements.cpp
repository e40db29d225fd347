#include "data/Statements.h"

#include "data/Sqlite.h"

#include <QRegularExpression>
#include <QStringList>

namespace data::sql {
namespace {

const QLatin1StringView examQuestionsText(
    "SELECT tblRandom.id, exam1.* FROM exam1 INNER JOIN tblRandom ON tblRandom.ID = exam1.ID ;");

const QLatin1StringView
    shownAnswerText("SELECT exam11.* FROM exam11 INNER JOIN showans ON exam11.ID = showans.id;");

const QLatin1StringView reviewExamText("SELECT * FROM exam11 ;");

const QLatin1StringView wrongAnswerReviewText(
    "SELECT exam1.ID, exam11.correctanswer1,  exam11.correctanswer2, exam11.correctanswer3,  "
    "exam11.correctanswer4, exam11.correctanswer5, exam11.question,  exam11.answer1, "
    "exam11.answer2, exam11.answer3,  exam11.answer4, exam11.answer5, exam11.explanation, "
    "exam11.diagram1,  exam1.correctanswer1, exam1.correctanswer2,  exam1.correctanswer3, "
    "exam1.correctanswer4, exam1.correctanswer5, exam1.cat_desc  FROM exam1 INNER JOIN exam11  "
    "ON exam1.ID = exam11.ID  WHERE (([exam1].[id]=[exam11].[id]) AND  "
    "([exam1].[correctanswer1]<>[exam11].[correctanswer1])  OR "
    "([exam1].[correctanswer2]<>[exam11].[correctanswer2])  OR "
    "([exam1].[correctanswer3]<>[exam11].[correctanswer3])  OR "
    "([exam1].[correctanswer4]<>[exam11].[correctanswer4])  OR "
    "([exam1].[correctanswer5]<>[exam11].[correctanswer5]));");

const QLatin1StringView correctAnswersFourText(
    "SELECT exam1.ID, exam1.correctanswer1,  exam1.correctanswer2, exam1.correctanswer3,  "
    "exam1.correctanswer4, exam1.question,  exam1.answer1, exam1.answer2, exam1.answer3,  "
    "exam1.answer4, exam1.explanation  FROM exam1 INNER JOIN exam11  ON exam1.ID = exam11.ID  "
    "WHERE (([exam1].[id]=[exam11].[id]) AND  ([exam1].[correctanswer1]=[exam11].[correctanswer1])  "
    "and ([exam1].[correctanswer2]=[exam11].[correctanswer2])  "
    "and ([exam1].[correctanswer3]=[exam11].[correctanswer3])  "
    "and ([exam1].[correctanswer4]=[exam11].[correctanswer4]));");

const QLatin1StringView correctAnswersFiveText(
    "SELECT exam1.ID, exam1.correctanswer1,  exam1.correctanswer2, exam1.correctanswer3,  "
    "exam1.correctanswer4, exam1.correctanswer5,exam1.question,  exam1.answer1, exam1.answer2, "
    "exam1.answer3,  exam1.answer4, exam1.answer5, exam1.explanation  FROM exam1 INNER JOIN "
    "exam11  ON exam1.ID = exam11.ID  WHERE (([exam1].[id]=[exam11].[id]) AND  "
    "([exam1].[correctanswer1]=[exam11].[correctanswer1])  "
    "and ([exam1].[correctanswer2]=[exam11].[correctanswer2])  "
    "and ([exam1].[correctanswer3]=[exam11].[correctanswer3])  "
    "and ([exam1].[correctanswer4]=[exam11].[correctanswer4])  "
    "and ([exam1].[correctanswer5]=[exam11].[correctanswer5]));");

// Given for exam 2 (it serves exams 2 and 3).
const QLatin1StringView wrongAnswersText(
    "SELECT exam2.ID, exam2.correctanswer1,  exam2.correctanswer2, exam2.correctanswer3,  "
    "exam2.correctanswer4, exam2.question,  exam2.answer1, exam2.answer2, exam2.answer3,  "
    "exam2.answer4, exam2.explanation  FROM exam2 INNER JOIN exam22  ON exam2.ID = exam22.ID  "
    "WHERE (([exam2].[id]=[exam22].[id]) AND  ([exam2].[correctanswer1]<>[exam22].[correctanswer1])  "
    "OR ([exam2].[correctanswer2]<>[exam22].[correctanswer2])  "
    "OR ([exam2].[correctanswer3]<>[exam22].[correctanswer3])  "
    "OR ([exam2].[correctanswer4]<>[exam22].[correctanswer4]));");

const QLatin1StringView categoryQuestionsText("Select catid From exam1 WHERE catid=");

const QLatin1StringView categoryCorrectFourText(
    "SELECT exam1.catID  FROM exam1 INNER JOIN exam11  ON exam1.ID = exam11.ID  WHERE "
    "(([exam1].[id]=[exam11].[id]) AND  ([exam1].[correctanswer1]=[exam11].[correctanswer1])  "
    "and ([exam1].[correctanswer2]=[exam11].[correctanswer2])  "
    "and ([exam1].[correctanswer3]=[exam11].[correctanswer3])  "
    "and ([exam1].[correctanswer4]=[exam11].[correctanswer4])) and  [exam1].[catid]=");

const QLatin1StringView categoryCorrectFiveText(
    "SELECT exam1.catID  FROM exam1 INNER JOIN exam11  ON exam1.ID = exam11.ID  WHERE "
    "(([exam1].[id]=[exam11].[id]) AND  ([exam1].[correctanswer1]=[exam11].[correctanswer1])  "
    "and ([exam1].[correctanswer2]=[exam11].[correctanswer2])  "
    "and ([exam1].[correctanswer3]=[exam11].[correctanswer3])  "
    "and ([exam1].[correctanswer4]=[exam11].[correctanswer4])  "
    "and ([exam1].[correctanswer5]=[exam11].[correctanswer5])) and  [exam1].[catid]=");

const QLatin1StringView
    resetFourText("UPDATE exam1 SET exam1.correctanswer1 = No,  exam1.correctanswer2 = No,  "
                  "exam1.correctanswer3 = No,  exam1.correctanswer4 = No;");

const QLatin1StringView resetFiveText(
    "UPDATE exam1 SET exam1.correctanswer1 = No,  exam1.correctanswer2 = No,  "
    "exam1.correctanswer3 = No,  exam1.correctanswer4 = No, exam1.correctanswer5 = No;");

// A text given for exam `given` with the tables of `exam` in their place:
// examG -> examE, examGG -> examEE.
QString forExam(QLatin1StringView text, int exam, int given = 1)
{
    QString out(text);
    if (exam == given)
        return out;
    const QString from = QString::number(given);
    const QString to = QString::number(exam);
    out.replace(QStringLiteral("exam") + from + from, QStringLiteral("\x01"));
    out.replace(QStringLiteral("exam") + from, QStringLiteral("exam") + to);
    out.replace(QStringLiteral("\x01"), QStringLiteral("exam") + to + to);
    return out;
}

} // namespace

QString workingTable(int exam)
{
    return QStringLiteral("exam") + QString::number(exam);
}

QString keyTable(int exam)
{
    return QStringLiteral("exam") + QString::number(exam) + QString::number(exam);
}

QString deleteRandomDraw()
{
    return QStringLiteral("delete * from tblrandom;");
}
QString deleteShownAnswer()
{
    return QStringLiteral("delete * from showans;");
}
QString deleteCategoryScores()
{
    return QStringLiteral("delete * from cat_scores;");
}
QString findId(qint64 id)
{
    return QStringLiteral("ID =") + QString::number(id);
}

QString examQuestions(int exam)
{
    return forExam(examQuestionsText, exam);
}
QString examQuestionsInDrawOrder(int exam)
{
    QString text = examQuestions(exam);
    text.insert(text.lastIndexOf(u';'), QLatin1StringView("ORDER BY tblRandom.sl_no "));
    return text;
}

QString shownAnswer(int exam)
{
    return forExam(shownAnswerText, exam);
}
QString reviewExam(int exam)
{
    return forExam(reviewExamText, exam);
}

QString wrongAnswerReview(int exam)
{
    QString text = forExam(wrongAnswerReviewText, exam);
    if (exam == 3) {
        // exam 3's text has always been written without these two blanks
        text.replace(QLatin1StringView("exam33.correctanswer5, exam33.question"),
                     QLatin1StringView("exam33.correctanswer5,exam33.question"));
        text.replace(QLatin1StringView("exam33.answer5, exam33.explanation"),
                     QLatin1StringView("exam33.answer5,exam33.explanation"));
    }
    return text;
}

QString wrongAnswerReviewInDrawOrder(int exam)
{
    QString text = wrongAnswerReview(exam);
    text.insert(text.lastIndexOf(u';'),
                QStringLiteral(" ORDER BY (SELECT tblrandom.sl_no FROM tblrandom "
                               "WHERE tblrandom.ID = %1.ID)")
                    .arg(workingTable(exam)));
    return text;
}

QString dropTemporaryWorkingTable(int exam)
{
    return QStringLiteral("DROP VIEW IF EXISTS temp.%1").arg(workingTable(exam));
}

QString wrongAnswersOfDrawView(int exam, int answerColumns)
{
    // Yes and No by truth value, as grading compares them.
    QStringList same;
    for (int k = 1; k <= answerColumns; ++k)
        same << QStringLiteral("(k.correctanswer%1 <> 0) = (w.correctanswer%1 <> 0)").arg(k);
    // NOT COALESCE(...): a question is wrong exactly when grading does not count it right.
    return QStringLiteral("CREATE TEMP VIEW %1 AS SELECT w.* FROM main.%1 AS w "
                          "WHERE w.ID IN (SELECT ID FROM main.tblrandom) "
                          "AND EXISTS (SELECT 1 FROM main.%2 AS k WHERE k.ID = w.ID "
                          "AND NOT COALESCE(%3, 0))")
        .arg(workingTable(exam), keyTable(exam), same.join(QStringLiteral(" AND ")));
}

QString answersByTruthView(const QString& table, const QStringList& columns,
                           const QString& rowFilter)
{
    static const QRegularExpression answerColumn(QStringLiteral("^correctanswer[1-5]$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QStringList read;
    for (const QString& column : columns) {
        const QString name = quoteName(column);
        read << (answerColumn.match(column).hasMatch() ? QStringLiteral("(%1 <> 0) AS %1").arg(name)
                                                       : name);
    }
    QString text = QStringLiteral("CREATE TEMP VIEW %1 AS SELECT %2 FROM main.%1")
                       .arg(quoteName(table), read.join(QStringLiteral(", ")));
    if (!rowFilter.isEmpty())
        text += QStringLiteral(" WHERE ") + rowFilter;
    return text;
}

QString dropTemporaryView(const QString& table)
{
    return QStringLiteral("DROP VIEW IF EXISTS temp.") + quoteName(table);
}

QString drawnRowsOnly()
{
    return QStringLiteral("ID IN (SELECT ID FROM main.tblrandom)");
}

QString correctAnswers(int exam, int answerColumns)
{
    return forExam(answerColumns >= 5 ? correctAnswersFiveText : correctAnswersFourText, exam);
}

QString wrongAnswers(int exam)
{
    return forExam(wrongAnswersText, exam, 2);
}

QString categoryQuestions(int exam, int category)
{
    return forExam(categoryQuestionsText, exam) + QString::number(category);
}

QString categoryCorrectAnswers(int exam, int answerColumns, int category)
{
    return forExam(answerColumns >= 5 ? categoryCorrectFiveText : categoryCorrectFourText, exam) +
           QString::number(category);
}

QString resetChoices(int exam, int answerColumns)
{
    return forExam(answerColumns >= 5 ? resetFiveText : resetFourText, exam);
}

QString resetDrawnChoices(int exam, int answerColumns)
{
    QString text = resetChoices(exam, answerColumns);
    text.insert(
        text.lastIndexOf(u';'),
        QStringLiteral(" WHERE %1.ID IN (SELECT ID FROM tblrandom)").arg(workingTable(exam)));
    return text;
}

QString testInformationTable()
{
    return QStringLiteral("Test Information");
}

} // namespace data::sql
