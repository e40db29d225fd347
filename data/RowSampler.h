#pragma once

#include "data/Database.h"

#include <random>
#include <vector>

namespace data {

// `count` different values of `column`, one per row of `table`, chosen
// uniformly at random and returned in the order drawn. Rows are picked by
// their place in the table (their rowid), so the cost follows `count`, not
// the size of the table nor the range of its values; a table whose rows
// have been thinned out far is read whole instead. Fewer rows than `count`
// gives an empty result.
std::vector<qint64> sampleRows(Database& db, const QString& table, const QString& column, int count,
                               std::mt19937_64& random);

} // namespace data
