#pragma once

#include "data/Recordset.h"

namespace data {

// The rows of a SELECT, read once when it opens. A field can be written back
// when its table's key is among the selected columns (as "exam1.*" brings
// exam1.ID along); the new value goes to that table's row and stays visible
// when the cursor comes back to the record.
class QueryRecordset final : public Recordset {
public:
    QueryRecordset(DatabasePtr db, const QString& sql);

    qint64 RecordCount() override { return qint64(m_rows.size()); }
    bool canWriteBack(int position) const override;
    void FindFirst(const QString& criterion) override;

protected:
    bool fetchFirst() override;
    bool fetchLast() override;
    bool fetchNext() override;
    bool fetchPrevious() override;
    void writeCurrent(const std::map<int, QVariant>& changes) override;
    void written(const std::map<int, QVariant>& changes) override;
    void insertRow(const std::map<int, QVariant>& values) override;

private:
    bool standAt(qsizetype row);
    int keyPositionFor(const QString& table) const;

    std::vector<std::vector<QVariant>> m_rows;
    qsizetype m_row = -1;
    std::map<QString, int> m_keyPositions; // origin table (lower case) -> key column, or -1
};

} // namespace data
