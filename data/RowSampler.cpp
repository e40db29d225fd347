#include "data/RowSampler.h"

#include "data/Recordset.h"

#include <unordered_set>

namespace data {
namespace {

std::vector<qint64> shuffleAll(Database& db, const QString& table, const QString& column, int count,
                               std::mt19937_64& random)
{
    std::vector<qint64> values =
        db.integers(QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL")
                        .arg(quoteName(column), quoteName(table)));
    if (qint64(values.size()) < count)
        return {};
    // the first `count` places of a partial shuffle are a uniform draw
    for (int i = 0; i < count; ++i) {
        std::uniform_int_distribution<std::size_t> pick(std::size_t(i), values.size() - 1);
        std::swap(values[std::size_t(i)], values[pick(random)]);
    }
    values.resize(std::size_t(count));
    return values;
}

} // namespace

std::vector<qint64> sampleRows(Database& db, const QString& table, const QString& column, int count,
                               std::mt19937_64& random)
{
    if (count <= 0)
        return {};
    // Each alone is answered from an index or the table's ends; asked
    // together they would read the whole table.
    auto single = [&](const QString& what) {
        const std::vector<qint64> value =
            db.integers(QStringLiteral("SELECT %1 FROM %2").arg(what, quoteName(table)));
        return value.empty() ? 0 : value.front();
    };
    // Rows without a value are passed over below and, if too many, found out
    // by the full read.
    const qint64 rows = single(QStringLiteral("count(*)"));
    if (rows < count)
        return {};
    const qint64 lowest = single(QStringLiteral("min(rowid)"));
    const qint64 highest = single(QStringLiteral("max(rowid)"));

    const QString lookup = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                               .arg(quoteName(column), quoteName(table));
    auto statement = db.prepare(lookup);
    std::uniform_int_distribution<qint64> place(lowest, highest);
    std::unordered_set<qint64> taken;
    std::vector<qint64> drawn;
    drawn.reserve(std::size_t(count));
    // A place with no row (or a value already drawn) is drawn again; past
    // this many tries the table is too thin for it and is read whole.
    const qint64 tries = 8 * qint64(count) + 64;
    for (qint64 t = 0; t < tries && int(drawn.size()) < count; ++t) {
        const qint64 rowid = place(random);
        if (taken.count(rowid))
            continue;
        sqlite3_reset(statement.get());
        sqlite3_bind_int64(statement.get(), 1, rowid);
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_DONE)
            continue;
        if (rc != SQLITE_ROW)
            db.fail(lookup, rc);
        if (sqlite3_column_type(statement.get(), 0) == SQLITE_NULL)
            continue;
        taken.insert(rowid);
        drawn.push_back(sqlite3_column_int64(statement.get(), 0));
    }
    if (int(drawn.size()) < count)
        return shuffleAll(db, table, column, count, random);
    return drawn;
}

} // namespace data
