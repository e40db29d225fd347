#pragma once

#include "data/Recordset.h"

namespace data {

// The rows of a SELECT, read only, a page at a time as the cursor reaches
// them: opening costs the first page, however many rows the query has. As
// with a DAO record set, RecordCount counts the rows read so far and is
// exact once the cursor has been to the last record. Between pages the
// statement is reset, so an open cursor holds no lock on the file and never
// keeps another connection from writing.
class PagedQueryRecordset final : public Recordset {
public:
    PagedQueryRecordset(DatabasePtr db, const QString& sql);

    qint64 RecordCount() override { return qint64(m_rows.size()); }
    bool canWriteBack(int) const override { return false; }

    static constexpr int pageRows = 20;

protected:
    bool fetchFirst() override;
    bool fetchLast() override;
    bool fetchNext() override;
    bool fetchPrevious() override;
    void writeCurrent(const std::map<int, QVariant>& changes) override;
    void insertRow(const std::map<int, QVariant>& values) override;

private:
    // Reads pages until `row` has been read or the rows have run out.
    bool reach(qsizetype row);
    // The next page, or all rows not read yet.
    void readPage(bool rest = false);
    bool standAt(qsizetype row);
    [[noreturn]] void readOnly() const;

    QString m_sql;
    StatementHandle m_page;
    bool m_paged = true; // false: the statement could not take a LIMIT and is read whole
    bool m_complete = false;
    std::vector<std::vector<QVariant>> m_rows;
    qsizetype m_row = -1;
};

} // namespace data
