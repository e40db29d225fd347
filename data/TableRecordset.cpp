#include "data/TableRecordset.h"

#include "data/DataError.h"

namespace data {

TableRecordset::TableRecordset(DatabasePtr db, const QString& table) : Recordset(std::move(db))
{
    auto info = m_db->tableInfo(table);
    if (!info)
        throw DataError(DataError::Kind::MissingTable, m_db->fileName(),
                        QStringLiteral("the table \"%1\" is missing").arg(table));
    m_info = *info;
    for (const QString& c : m_info.columns)
        m_columns.push_back({c, m_info.name, c});
    if (fetchFirst())
        standOn(std::move(m_current));
}

QString TableRecordset::quotedTable() const
{
    return quoteName(m_info.name);
}

QString TableRecordset::orderColumn() const
{
    return m_indexed ? quoteName(m_info.keyColumn) : QStringLiteral("rowid");
}

bool TableRecordset::fetchOne(StatementHandle& cache, const QString& sql, const QVariant& bound)
{
    if (!cache)
        cache = m_db->prepare(sql);
    sqlite3_stmt* st = cache.get();
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (bound.isValid())
        bindValue(st, 1, bound);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) {
        sqlite3_reset(st);
        return false;
    }
    if (rc != SQLITE_ROW)
        m_db->fail(sql, rc);
    // column 0 is the rowid, column 1 the order value, then the table's columns
    m_rowid = sqlite3_column_int64(st, 0);
    m_orderValue = columnValue(st, 1);
    m_current = readRow(st, 2);
    sqlite3_reset(st);
    return true;
}

bool TableRecordset::fetchFirst()
{
    ensureOpen();
    StatementHandle once;
    return fetchOne(once,
                    QStringLiteral("SELECT rowid, %1, * FROM %2 ORDER BY %1 LIMIT 1")
                        .arg(orderColumn(), quotedTable()),
                    QVariant());
}

bool TableRecordset::fetchLast()
{
    ensureOpen();
    StatementHandle once;
    return fetchOne(once,
                    QStringLiteral("SELECT rowid, %1, * FROM %2 ORDER BY %1 DESC LIMIT 1")
                        .arg(orderColumn(), quotedTable()),
                    QVariant());
}

bool TableRecordset::fetchBeside(StatementHandle& cache, const QString& sql, const QVariant& bound)
{
    ensureOpen();
    const qint64 rowid = m_rowid;
    const QVariant order = m_orderValue;
    const bool found = fetchOne(cache, sql, bound);
    if (!found) {
        // past either end the cursor remembers where it stood
        m_rowid = rowid;
        m_orderValue = order;
    }
    return found;
}

bool TableRecordset::fetchNext()
{
    return fetchBeside(
        m_next,
        QStringLiteral("SELECT rowid, %1, * FROM %2 WHERE %1 > ?1 ORDER BY %1 LIMIT 1")
            .arg(orderColumn(), quotedTable()),
        m_orderValue);
}

bool TableRecordset::fetchPrevious()
{
    return fetchBeside(
        m_previous,
        QStringLiteral("SELECT rowid, %1, * FROM %2 WHERE %1 < ?1 ORDER BY %1 DESC LIMIT 1")
            .arg(orderColumn(), quotedTable()),
        m_orderValue);
}

void TableRecordset::searchFor(StatementHandle& cache, const QString& sql, const QVariant& bound)
{
    leaveForSearch();
    auto row = std::move(m_current);
    const bool found = fetchBeside(cache, sql, bound);
    m_noMatch = !found;
    if (found)
        standOn(std::move(m_current));
    else
        m_current = std::move(row); // a search that finds nothing stays where it was
    searchEnded();
}

qint64 TableRecordset::RecordCount()
{
    ensureOpen();
    const QString sql = QStringLiteral("SELECT count(*) FROM ") + quotedTable();
    auto st = m_db->prepare(sql);
    m_db->step(st.get(), sql);
    return sqlite3_column_int64(st.get(), 0);
}

bool TableRecordset::canWriteBack(int position) const
{
    return hasCurrent() && position >= 0 && position < fieldCount();
}

void TableRecordset::setIndex(const QString& indexName)
{
    ensureOpen();
    // Index names are unique across an SQLite file, so "primaryKey" means
    // this table's own unique index on its key, whatever it is stored as.
    if (indexName.compare(QLatin1StringView("primaryKey"), Qt::CaseInsensitive) != 0 &&
        indexName.compare(m_info.keyIndex, Qt::CaseInsensitive) != 0)
        throw DataError(
            DataError::Kind::MissingTable, m_db->fileName(),
            QStringLiteral("the table \"%1\" has no index \"%2\"").arg(m_info.name, indexName));
    if (m_info.keyColumn.isEmpty())
        throw DataError(
            DataError::Kind::MissingTable, m_db->fileName(),
            QStringLiteral("the table \"%1\" has no primaryKey index").arg(m_info.name));
    if (!m_indexed) {
        m_indexed = true;
        m_next.reset();
        m_previous.reset();
        if (hasCurrent())
            m_orderValue = m_current.at(std::size_t(fieldIndex(m_info.keyColumn)));
    }
}

void TableRecordset::Seek(const QString& comparison, const QVariant& key)
{
    ensureOpen();
    if (!m_indexed)
        throw DataError(DataError::Kind::Other, m_db->fileName(),
                        QStringLiteral("Seek needs an index on \"%1\"").arg(m_info.name));
    if (comparison.trimmed() != QLatin1StringView("="))
        throw DataError(DataError::Kind::Other, m_db->fileName(),
                        QStringLiteral("Seek supports \"=\" only"));
    searchFor(m_seek,
              QStringLiteral("SELECT rowid, %1, * FROM %2 WHERE %1 = ?1 LIMIT 1")
                  .arg(orderColumn(), quotedTable()),
              key);
}

void TableRecordset::FindFirst(const QString& criterion)
{
    ensureOpen();
    StatementHandle once;
    searchFor(once,
              QStringLiteral("SELECT rowid, %1, * FROM %2 WHERE (%3) ORDER BY %1 LIMIT 1")
                  .arg(orderColumn(), quotedTable(), criterion),
              QVariant());
}

void TableRecordset::writeCurrent(const std::map<int, QVariant>& changes)
{
    QString sql = QStringLiteral("UPDATE ") + quotedTable() + QStringLiteral(" SET ");
    bool first = true;
    for (const auto& [position, v] : changes) {
        if (!first)
            sql += QStringLiteral(", ");
        first = false;
        sql += quoteName(m_columns.at(std::size_t(position)).originColumn) + QStringLiteral(" = ?");
    }
    sql += QStringLiteral(" WHERE rowid = ?");
    auto st = m_db->prepare(sql);
    int index = 1;
    for (const auto& [position, v] : changes)
        bindValue(st.get(), index++, v);
    sqlite3_bind_int64(st.get(), index, m_rowid);
    m_db->step(st.get(), sql);
}

void TableRecordset::insertRow(const std::map<int, QVariant>& values)
{
    std::vector<std::pair<QString, QVariant>> named;
    for (const auto& [position, v] : values)
        named.emplace_back(m_columns.at(std::size_t(position)).originColumn, v);
    m_db->insert(m_info.name, named);
}

} // namespace data
