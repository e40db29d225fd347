#pragma once

#include <QString>

namespace data {

class Database;

// On this connection only, `table` reads with its Yes/No answer columns by
// truth value: any number but 0 is Yes (1), 0 is No (0), so a key that
// stores Yes as -1 or 2 compares equal to a choice stored as 1. With a
// `rowFilter` only its rows are seen. A view made before on this connection
// is replaced. Throws DataError when the table is missing.
void readAnswersByTruth(Database& db, const QString& table, const QString& rowFilter = QString());

} // namespace data
