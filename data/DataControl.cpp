#include "data/DataControl.h"

#include "data/DataError.h"

namespace data {

DataControl::DataControl(QString databaseName, QString connect, QString recordSource)
    : DatabaseName(std::move(databaseName)), Connect(std::move(connect)),
      RecordSource(std::move(recordSource))
{
}

DataControl::~DataControl()
{
    if (m_recordset)
        m_recordset->removeListener(m_listener);
}

DatabasePtr DataControl::Database()
{
    if (!m_database || !m_database->isOpen())
        m_database = data::Database::OpenDatabase(DatabaseName);
    return m_database;
}

void DataControl::useDatabase(DatabasePtr database)
{
    m_database = std::move(database);
}

void DataControl::Refresh()
{
    UpdateRecord();
    if (m_recordset)
        m_recordset->removeListener(m_listener);
    m_recordset.reset();
    const QString source = RecordSource.trimmed();
    const bool isQuery = source.startsWith(QLatin1StringView("select"), Qt::CaseInsensitive);
    QString bare = source;
    if (bare.startsWith(u'[') && bare.endsWith(u']'))
        bare = bare.mid(1, bare.size() - 2);
    // A table read through a query keeps its key, so bound values can be stored.
    const QString sql = isQuery ? source
                                : QStringLiteral("SELECT * FROM \"") +
                                      QString(bare).replace(u'"', QStringLiteral("\"\"")) + u'"';
    auto db = Database();
    if (!isQuery && !db->tableInfo(bare))
        throw DataError(DataError::Kind::MissingTable, db->fileName(),
                        QStringLiteral("the table \"%1\" is missing").arg(bare));
    m_recordset = db->OpenRecordset(sql, ReadOnly ? dbOpenSnapshot : dbOpenDynaset);
    m_recordset->addListener(m_listener);
    if (m_listener)
        m_listener->recordEntered();
}

Recordset& DataControl::recordset()
{
    if (!m_recordset)
        throw DataError(DataError::Kind::Other, DatabaseName,
                        QStringLiteral("the data control has no record source open"));
    return *m_recordset;
}

void DataControl::UpdateRecord()
{
    if (m_recordset && m_listener && m_recordset->hasCurrent() && !m_recordset->isClosed())
        m_listener->leavingRecord();
}

void DataControl::assignRecordset(DataControl& from)
{
    if (&from == this)
        return;
    std::shared_ptr<Recordset> cursor = from.m_recordset;
    if (!cursor)
        throw DataError(DataError::Kind::Other, from.DatabaseName,
                        QStringLiteral("the data control has no record source open"));
    detachRecordset();
    m_recordset = std::move(cursor);
    m_database = from.m_database;
    m_recordset->addListener(m_listener);
    if (m_listener)
        m_listener->recordEntered();
}

void DataControl::detachRecordset()
{
    UpdateRecord();
    if (m_recordset)
        m_recordset->removeListener(m_listener);
    m_recordset.reset();
}

void DataControl::close()
{
    if (m_recordset)
        m_recordset->removeListener(m_listener);
    m_recordset.reset();
    // A database this control shares with another one stays open for it.
    if (m_database && m_database.use_count() == 1)
        m_database->Close();
    m_database.reset();
}

void DataControl::setListener(RecordsetListener* listener)
{
    if (m_recordset) {
        m_recordset->removeListener(m_listener);
        m_recordset->addListener(listener);
    }
    m_listener = listener;
}

} // namespace data
