#pragma once

#include "data/Recordset.h"

namespace data {

// A cursor on one table that reads a record at a time, so opening it costs
// the same for a bank of a hundred questions as for one of a hundred thousand.
// It walks the stored order, or the key order once Index is set.
class TableRecordset final : public Recordset {
public:
    TableRecordset(DatabasePtr db, const QString& table);

    qint64 RecordCount() override;
    bool canWriteBack(int position) const override;
    void setIndex(const QString& indexName) override;
    void Seek(const QString& comparison, const QVariant& key) override;
    void FindFirst(const QString& criterion) override;

    const QString& tableName() const { return m_info.name; }

protected:
    bool fetchFirst() override;
    bool fetchLast() override;
    bool fetchNext() override;
    bool fetchPrevious() override;
    void writeCurrent(const std::map<int, QVariant>& changes) override;
    void insertRow(const std::map<int, QVariant>& values) override;

private:
    bool fetchOne(StatementHandle& cache, const QString& sql, const QVariant& bound);
    // Fetches a record near the current one; on failure keeps the place.
    bool fetchBeside(StatementHandle& cache, const QString& sql, const QVariant& bound);
    void searchFor(StatementHandle& cache, const QString& sql, const QVariant& bound);
    QString orderColumn() const;
    QString quotedTable() const;

    Database::TableInfo m_info;
    bool m_indexed = false;
    qint64 m_rowid = 0;
    QVariant m_orderValue;
    StatementHandle m_next, m_previous, m_seek;
};

} // namespace data
