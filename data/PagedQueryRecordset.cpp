#include "data/PagedQueryRecordset.h"

#include "data/DataError.h"

namespace data {
namespace {

// The statement without the semicolon and blanks that may end it.
QString withoutEnd(QString sql)
{
    while (!sql.isEmpty() && (sql.back().isSpace() || sql.back() == u';'))
        sql.chop(1);
    return sql;
}

} // namespace

PagedQueryRecordset::PagedQueryRecordset(DatabasePtr db, const QString& sql)
    : Recordset(std::move(db)), m_sql(sql)
{
    // A statement that already limits its rows, or is not one SELECT, is read whole.
    const QByteArray paged = (withoutEnd(sql) + QStringLiteral(" LIMIT ?1 OFFSET ?2")).toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db->handle(), paged.constData(), int(paged.size()), &raw, nullptr) ==
        SQLITE_OK) {
        m_page.reset(raw);
    } else {
        sqlite3_finalize(raw);
        m_paged = false;
        m_page = m_db->prepare(sql);
    }
    describeColumns(m_page.get());
    readPage();
    standAt(0);
}

void PagedQueryRecordset::readPage(bool rest)
{
    if (m_complete)
        return;
    ensureOpen();
    sqlite3_stmt* st = m_page.get();
    sqlite3_reset(st);
    if (m_paged) {
        sqlite3_bind_int(st, 1, rest ? -1 : pageRows); // LIMIT -1: no limit
        sqlite3_bind_int64(st, 2, qint64(m_rows.size()));
    }
    int read = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        m_rows.push_back(readRow(st));
        ++read;
    }
    // Reset at once: a statement left open would hold a read lock on the file.
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        m_db->fail(m_sql, rc);
    if (!m_paged || rest || read < pageRows)
        m_complete = true;
}

bool PagedQueryRecordset::reach(qsizetype row)
{
    while (row >= qsizetype(m_rows.size()) && !m_complete)
        readPage();
    return row >= 0 && row < qsizetype(m_rows.size());
}

bool PagedQueryRecordset::standAt(qsizetype row)
{
    if (!reach(row))
        return false;
    m_row = row;
    m_current = m_rows[std::size_t(row)];
    standOn(m_current);
    return true;
}

bool PagedQueryRecordset::fetchFirst()
{
    ensureOpen();
    return standAt(0);
}

bool PagedQueryRecordset::fetchLast()
{
    ensureOpen();
    // The rest at once: one more run of the statement, however many rows are left.
    readPage(true);
    return standAt(qsizetype(m_rows.size()) - 1);
}

bool PagedQueryRecordset::fetchNext()
{
    ensureOpen();
    return standAt(m_row + 1);
}

bool PagedQueryRecordset::fetchPrevious()
{
    ensureOpen();
    return standAt(m_row - 1);
}

void PagedQueryRecordset::readOnly() const
{
    throw DataError(DataError::Kind::Other, m_db->fileName(),
                    QStringLiteral("the record set is read only"));
}

void PagedQueryRecordset::writeCurrent(const std::map<int, QVariant>&)
{
    readOnly();
}

void PagedQueryRecordset::insertRow(const std::map<int, QVariant>&)
{
    readOnly();
}

} // namespace data
