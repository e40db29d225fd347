#include "data/QueryRecordset.h"

#include "data/DataError.h"

#include <QRegularExpression>
#include <QStringList>

namespace data {

QueryRecordset::QueryRecordset(DatabasePtr db, const QString& sql) : Recordset(std::move(db))
{
    auto st = m_db->prepare(sql);
    describeColumns(st.get());
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
        m_rows.push_back(readRow(st.get()));
    if (rc != SQLITE_DONE)
        m_db->fail(sql, rc);

    for (const Column& c : m_columns) {
        const QString table = c.originTable.toLower();
        if (table.isEmpty() || m_keyPositions.count(table))
            continue;
        int position = -1;
        if (const auto info = m_db->tableInfo(c.originTable); info && !info->keyColumn.isEmpty()) {
            for (std::size_t i = 0; i < m_columns.size(); ++i) {
                const Column& k = m_columns[i];
                if (k.originTable.compare(c.originTable, Qt::CaseInsensitive) == 0 &&
                    k.originColumn.compare(info->keyColumn, Qt::CaseInsensitive) == 0) {
                    position = int(i);
                    break;
                }
            }
        }
        m_keyPositions[table] = position;
    }
    standAt(0);
}

bool QueryRecordset::standAt(qsizetype row)
{
    if (row < 0 || row >= qsizetype(m_rows.size()))
        return false;
    m_row = row;
    m_current = m_rows[std::size_t(row)];
    standOn(m_current);
    return true;
}

bool QueryRecordset::fetchFirst()
{
    ensureOpen();
    return standAt(0);
}
bool QueryRecordset::fetchLast()
{
    ensureOpen();
    return standAt(qsizetype(m_rows.size()) - 1);
}
bool QueryRecordset::fetchNext()
{
    ensureOpen();
    return standAt(m_row + 1);
}
bool QueryRecordset::fetchPrevious()
{
    ensureOpen();
    return standAt(m_row - 1);
}

int QueryRecordset::keyPositionFor(const QString& table) const
{
    const auto it = m_keyPositions.find(table.toLower());
    return it == m_keyPositions.end() ? -1 : it->second;
}

bool QueryRecordset::canWriteBack(int position) const
{
    if (!hasCurrent() || position < 0 || position >= fieldCount())
        return false;
    const Column& c = m_columns[std::size_t(position)];
    return !c.originTable.isEmpty() && keyPositionFor(c.originTable) >= 0;
}

void QueryRecordset::writeCurrent(const std::map<int, QVariant>& changes)
{
    // The changed fields, by the table that stores them: one statement per
    // table, so a record's changes to one table (a question's choices) are
    // stored by a single UPDATE, never column by column.
    std::map<QString, std::vector<std::pair<int, QVariant>>> byTable;
    for (const auto& [position, v] : changes) {
        const Column& c = m_columns.at(std::size_t(position));
        const int keyPosition = c.originTable.isEmpty() ? -1 : keyPositionFor(c.originTable);
        if (keyPosition < 0)
            throw DataError(DataError::Kind::Other, m_db->fileName(),
                            QStringLiteral("the field \"%1\" cannot be changed here").arg(c.name));
        byTable[c.originTable.toLower()].emplace_back(position, v);
    }
    // Update runs them under one savepoint: a record that spans tables is
    // still stored whole or not at all.
    for (const auto& [table, fields] : byTable) {
        const Column& first = m_columns.at(std::size_t(fields.front().first));
        const int keyPosition = keyPositionFor(first.originTable);
        QStringList assignments;
        for (std::size_t i = 0; i < fields.size(); ++i)
            assignments << quoteName(m_columns.at(std::size_t(fields[i].first)).originColumn) +
                               QStringLiteral(" = ?") + QString::number(i + 1);
        const QString sql =
            QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                .arg(quoteName(first.originTable), assignments.join(QStringLiteral(", ")),
                     quoteName(m_columns[std::size_t(keyPosition)].originColumn))
                .arg(fields.size() + 1);
        auto st = m_db->prepare(sql);
        int index = 1;
        for (const auto& [position, v] : fields)
            bindValue(st.get(), index++, v);
        bindValue(st.get(), index, m_current.at(std::size_t(keyPosition)));
        m_db->step(st.get(), sql);
        if (sqlite3_changes(m_db->handle()) == 0)
            throw DataError(
                DataError::Kind::Other, m_db->fileName(),
                QStringLiteral("the record of \"%1\" to change is gone").arg(first.originTable));
    }
}

void QueryRecordset::written(const std::map<int, QVariant>& changes)
{
    // What was stored shows when the cursor comes back: every column of this
    // result that shows a changed stored value follows.
    for (const auto& [position, v] : changes) {
        const Column& c = m_columns.at(std::size_t(position));
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const Column& other = m_columns[i];
            if (other.originTable.compare(c.originTable, Qt::CaseInsensitive) == 0 &&
                other.originColumn.compare(c.originColumn, Qt::CaseInsensitive) == 0)
                m_rows[std::size_t(m_row)][i] = v;
        }
    }
}

void QueryRecordset::insertRow(const std::map<int, QVariant>& values)
{
    QString table;
    for (const Column& c : m_columns) {
        if (c.originTable.isEmpty() ||
            (!table.isEmpty() && c.originTable.compare(table, Qt::CaseInsensitive) != 0))
            throw DataError(DataError::Kind::Other, m_db->fileName(),
                            QStringLiteral("records can be added to a single table only"));
        table = c.originTable;
    }
    std::vector<std::pair<QString, QVariant>> named;
    for (const auto& [position, v] : values)
        named.emplace_back(m_columns.at(std::size_t(position)).originColumn, v);
    const qint64 rowid = m_db->insert(table, named);

    // The new record joins the end of the cursor, as the stored row reads.
    QString columns;
    for (const Column& c : m_columns) {
        if (!columns.isEmpty())
            columns += QStringLiteral(", ");
        columns += quoteName(c.originColumn);
    }
    const QString reread =
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1").arg(columns, quoteName(table));
    auto again = m_db->prepare(reread);
    sqlite3_bind_int64(again.get(), 1, rowid);
    if (sqlite3_step(again.get()) == SQLITE_ROW)
        m_rows.push_back(readRow(again.get()));
}

void QueryRecordset::FindFirst(const QString& criterion)
{
    ensureOpen();
    // The criteria the windows use are "field =value".
    static const QRegularExpression simple(
        QStringLiteral("^\\s*([\\w.\\[\\]]+)\\s*=\\s*(.+?)\\s*$"));
    const auto match = simple.match(criterion);
    const int position = match.hasMatch() ? fieldIndex(match.captured(1)) : -1;
    if (position < 0)
        throw DataError(DataError::Kind::Other, m_db->fileName(),
                        QStringLiteral("the criterion \"%1\" cannot be searched").arg(criterion));
    QString wanted = match.captured(2);
    if (wanted.size() >= 2 && (wanted.startsWith(u'\'') || wanted.startsWith(u'"')))
        wanted = wanted.mid(1, wanted.size() - 2);
    leaveForSearch();
    m_noMatch = true;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i][std::size_t(position)].toString() == wanted) {
            m_noMatch = false;
            standAt(qsizetype(i));
            break;
        }
    }
    searchEnded();
}

} // namespace data
