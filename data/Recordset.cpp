#include "data/Recordset.h"

#include "data/DataError.h"

#include <algorithm>

namespace data {

Recordset::Recordset(DatabasePtr db) : m_db(std::move(db)) {}

Recordset::~Recordset() = default;

void Recordset::ensureOpen() const
{
    if (m_closed || !m_db || !m_db->isOpen())
        throw DataError(DataError::Kind::Other, m_db ? m_db->fileName() : QString(),
                        QStringLiteral("the record set is closed"));
}

void Recordset::noCurrentRecord(const char* operation) const
{
    throw DataError(DataError::Kind::NoCurrentRecord, m_db ? m_db->fileName() : QString(),
                    QStringLiteral("no current record for %1").arg(QLatin1StringView(operation)));
}

void Recordset::requireCurrent(const char* operation) const
{
    ensureOpen();
    if (!m_hasCurrent)
        noCurrentRecord(operation);
}

void Recordset::standOn(std::vector<QVariant> row)
{
    m_current = std::move(row);
    m_hasCurrent = true;
    m_bof = false;
    m_eof = false;
}

template <typename Move> void Recordset::move(Move&& doMove)
{
    ensureOpen();
    if (m_hasCurrent)
        tellLeaving();
    // Moving away abandons an Edit or AddNew that was not updated.
    m_editMode = EditMode::None;
    m_pending.clear();
    doMove();
    tellEntered();
}

void Recordset::leaveForSearch()
{
    ensureOpen();
    if (m_hasCurrent)
        tellLeaving();
    m_editMode = EditMode::None;
    m_pending.clear();
}

void Recordset::searchEnded()
{
    tellEntered();
}

void Recordset::addListener(RecordsetListener* listener)
{
    if (listener &&
        std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void Recordset::removeListener(RecordsetListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener),
                      m_listeners.end());
}

void Recordset::tellLeaving()
{
    // A listener may store its changes through this cursor: walk a copy.
    const auto listeners = m_listeners;
    for (RecordsetListener* listener : listeners)
        listener->leavingRecord();
}

void Recordset::tellEntered()
{
    const auto listeners = m_listeners;
    for (RecordsetListener* listener : listeners)
        listener->recordEntered();
}

void Recordset::moveToEnd(bool last)
{
    move([this, last] {
        if (!(last ? fetchLast() : fetchFirst())) {
            m_hasCurrent = false;
            m_bof = m_eof = true;
            noCurrentRecord(last ? "MoveLast" : "MoveFirst");
        }
        m_hasCurrent = true;
        m_bof = m_eof = false;
    });
}

void Recordset::MoveFirst()
{
    moveToEnd(false);
}

void Recordset::MoveLast()
{
    moveToEnd(true);
}

void Recordset::MoveNext()
{
    if (m_eof && !m_closed)
        noCurrentRecord("MoveNext");
    move([this] {
        const bool found = m_hasCurrent ? fetchNext() : fetchFirst();
        m_hasCurrent = found;
        m_bof = false;
        m_eof = !found;
    });
}

void Recordset::MovePrevious()
{
    if (m_bof && !m_closed)
        noCurrentRecord("MovePrevious");
    move([this] {
        const bool found = m_hasCurrent ? fetchPrevious() : fetchLast();
        m_hasCurrent = found;
        m_eof = false;
        m_bof = !found;
    });
}

int Recordset::fieldIndex(const QString& name) const
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) {
        auto strip = [](QString s) {
            if (s.startsWith(u'[') && s.endsWith(u']'))
                s = s.mid(1, s.size() - 2);
            return s;
        };
        const QString table = strip(name.left(dot));
        const QString field = strip(name.mid(dot + 1));
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const Column& c = m_columns[i];
            if (c.originTable.compare(table, Qt::CaseInsensitive) == 0 &&
                (c.originColumn.compare(field, Qt::CaseInsensitive) == 0 ||
                 c.name.compare(field, Qt::CaseInsensitive) == 0))
                return int(i);
        }
        return -1;
    }
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QVariant Recordset::value(const QString& name) const
{
    const int position = fieldIndex(name);
    if (position < 0)
        throw DataError(DataError::Kind::MissingTable, m_db ? m_db->fileName() : QString(),
                        QStringLiteral("the field \"%1\" is missing").arg(name));
    return value(position);
}

QVariant Recordset::value(int position) const
{
    ensureOpen();
    if (position < 0 || position >= fieldCount())
        throw DataError(DataError::Kind::MissingTable, m_db->fileName(),
                        QStringLiteral("there is no field at position %1").arg(position));
    if (const auto it = m_pending.find(position); it != m_pending.end())
        return it->second;
    if (m_editMode == EditMode::AddNew)
        return QVariant();
    if (!m_hasCurrent)
        noCurrentRecord("reading a field");
    return m_current.at(std::size_t(position));
}

void Recordset::AddNew()
{
    ensureOpen();
    m_pending.clear();
    m_editMode = EditMode::AddNew;
}

void Recordset::Edit()
{
    requireCurrent("Edit");
    m_pending.clear();
    m_editMode = EditMode::Edit;
}

void Recordset::setValue(const QString& name, const QVariant& v)
{
    const int position = fieldIndex(name);
    if (position < 0)
        throw DataError(DataError::Kind::MissingTable, m_db ? m_db->fileName() : QString(),
                        QStringLiteral("the field \"%1\" is missing").arg(name));
    setValue(position, v);
}

void Recordset::setValue(int position, const QVariant& v)
{
    ensureOpen();
    if (m_editMode == EditMode::None)
        throw DataError(DataError::Kind::Other, m_db->fileName(),
                        QStringLiteral("a field was changed without Edit or AddNew"));
    if (position < 0 || position >= fieldCount())
        throw DataError(DataError::Kind::MissingTable, m_db->fileName(),
                        QStringLiteral("there is no field at position %1").arg(position));
    m_pending[position] = v;
}

void Recordset::Update()
{
    ensureOpen();
    const EditMode mode = m_editMode;
    auto changes = std::move(m_pending);
    m_pending.clear();
    m_editMode = EditMode::None;
    if (mode == EditMode::None)
        throw DataError(DataError::Kind::Other, m_db->fileName(),
                        QStringLiteral("Update without Edit or AddNew"));
    if (mode != EditMode::AddNew && !m_hasCurrent)
        noCurrentRecord("Update");
    if (mode == EditMode::Edit && changes.empty())
        return;
    // A record is stored whole or not at all, whatever its statements meet
    // (a full disk, a trigger that fails half way, a kill between two).
    Database::Savepoint whole(*m_db);
    if (mode == EditMode::AddNew) {
        insertRow(changes);
        whole.release();
        return;
    }
    writeCurrent(changes);
    whole.release();
    written(changes);
    for (const auto& [position, v] : changes)
        m_current.at(std::size_t(position)) = v;
}

void Recordset::CancelUpdate()
{
    m_pending.clear();
    m_editMode = EditMode::None;
}

void Recordset::setIndex(const QString&)
{
    throw DataError(DataError::Kind::Other, m_db ? m_db->fileName() : QString(),
                    QStringLiteral("only a table-type record set has an index"));
}

void Recordset::Seek(const QString&, const QVariant&)
{
    throw DataError(DataError::Kind::Other, m_db ? m_db->fileName() : QString(),
                    QStringLiteral("only a table-type record set can Seek"));
}

void Recordset::FindFirst(const QString&)
{
    throw DataError(DataError::Kind::Other, m_db ? m_db->fileName() : QString(),
                    QStringLiteral("FindFirst needs a record set on a table"));
}

void Recordset::Close()
{
    m_closed = true;
    m_hasCurrent = false;
    m_current.clear();
    m_pending.clear();
    m_editMode = EditMode::None;
}

void Recordset::describeColumns(sqlite3_stmt* st)
{
    auto text = [](const char* s) { return s ? QString::fromUtf8(s) : QString(); };
    const int count = sqlite3_column_count(st);
    for (int i = 0; i < count; ++i) {
        m_columns.push_back({text(sqlite3_column_name(st, i)),
                             text(sqlite3_column_table_name(st, i)),
                             text(sqlite3_column_origin_name(st, i))});
    }
}

std::vector<QVariant> Recordset::readRow(sqlite3_stmt* st, int first) const
{
    std::vector<QVariant> row;
    row.reserve(m_columns.size());
    for (int i = 0; i < int(m_columns.size()); ++i)
        row.push_back(columnValue(st, first + i));
    return row;
}

} // namespace data
