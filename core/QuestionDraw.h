#pragma once

#include "data/Database.h"

#include <QString>

namespace core {

// Draws `count` different questions of exam `exam`'s working table at random
// into tblrandom (sl_no 1..count in the order drawn, ID the question's).
// Every question is equally likely and the cost follows the number of
// questions, not the range of their numbers. With fewer questions than
// `count` it leaves tblrandom empty and returns false. Database failures
// throw data::DataError.
bool drawQuestions(const QString& databaseFile, int exam, int count);

// The same draw on an open database, inside the caller's transaction, which
// decides whether it is kept: with too few questions it returns false, and
// what it wrote is the caller's to roll back.
bool drawQuestions(const data::DatabasePtr& db, int exam, int count);

} // namespace core
