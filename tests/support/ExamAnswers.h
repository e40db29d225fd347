#pragma once

#include "SqlFixture.h"

#include <QList>
#include <QStringList>

// A finished exam written straight into a question database, as the exam
// window leaves it: the draw and the candidate's choices. The helpers give
// statements; apply() runs them as one transaction (one write to disk).
namespace examanswers {

inline void apply(const QString& path, const QStringList& statements)
{
    sqlfixture::create(path, QStringList{QStringLiteral("BEGIN")} + statements +
                                 QStringList{QStringLiteral("COMMIT")});
}

inline QList<qint64> ids(qint64 first, int count)
{
    QList<qint64> out;
    for (int i = 0; i < count; ++i)
        out << first + i;
    return out;
}

inline QString idList(const QList<qint64>& list)
{
    QStringList parts;
    for (qint64 id : list)
        parts << QString::number(id);
    return parts.join(u',');
}

// The questions tblrandom holds, in the order drawn.
inline QList<qint64> drawnIds(const QString& path)
{
    QList<qint64> ids;
    for (const QString& row :
         sqlfixture::rows(path, QStringLiteral("SELECT ID FROM tblrandom ORDER BY sl_no")))
        ids << row.toLongLong();
    return ids;
}

// tblrandom holds these questions, in this order.
inline QStringList draw(const QList<qint64>& drawn)
{
    QStringList rows;
    for (qsizetype i = 0; i < drawn.size(); ++i)
        rows << QStringLiteral("(%1, %2)").arg(i + 1).arg(drawn.at(i));
    QStringList out{QStringLiteral("DELETE FROM tblrandom")};
    if (!rows.isEmpty())
        out << QStringLiteral("INSERT INTO tblrandom (sl_no, ID) VALUES ") + rows.join(u',');
    return out;
}

// The candidate chose exactly the key's answers, all five columns.
inline QStringList answerCorrectly(int exam, const QList<qint64>& questions)
{
    QStringList sets;
    for (int k = 1; k <= 5; ++k)
        sets
            << QStringLiteral(
                   "correctanswer%1 = (SELECT k.correctanswer%1 FROM exam%2%2 k WHERE k.ID = exam%2.ID)")
                   .arg(k)
                   .arg(exam);
    return {QStringLiteral("UPDATE exam%1 SET %2 WHERE ID IN (%3)")
                .arg(exam)
                .arg(sets.join(u','), idList(questions))};
}

// The key's answers with choice 1 turned over: wrong in either edition.
inline QStringList answerWrongly(int exam, const QList<qint64>& questions)
{
    return answerCorrectly(exam, questions)
           << QStringLiteral(
                  "UPDATE exam%1 SET correctanswer1 = 1 - correctanswer1 WHERE ID IN (%2)")
                  .arg(exam)
                  .arg(idList(questions));
}

// Ticks choice 5 as well (the generated keys never mark it).
inline QStringList alsoTickChoiceFive(int exam, const QList<qint64>& questions)
{
    return {QStringLiteral("UPDATE exam%1 SET correctanswer5 = 1 WHERE ID IN (%2)")
                .arg(exam)
                .arg(idList(questions))};
}

// cat_scores in stored order, every column: "entry|catid|total|correct|percent".
inline QStringList categoryScores(const QString& path)
{
    return sqlfixture::rows(path, QStringLiteral("SELECT * FROM cat_scores ORDER BY rowid"));
}

} // namespace examanswers
