#pragma once

#include <QList>
#include <QStringList>

namespace data {

// The tables of a question database holding the given exams (1, 2, 3):
// per exam a working table examN and an answer-key table examNN, each with a
// unique index on ID (its "primaryKey"), plus tblrandom, showans, cat,
// cat_scores and "Test Information". Columns stand in the order the program
// relies on where it writes by position (showans: id at 1; cat_scores: the
// category's total, correct count and percentage at 2, 3 and 4).
QStringList questionDatabaseSchema(const QList<int>& exams);

} // namespace data
