#pragma once

#include "data/Database.h"

#include <QString>
#include <QVariant>
#include <map>
#include <vector>

namespace data {

// Told when the cursor leaves a record and when it stands on another one;
// the data control uses this to write bound check boxes back and to refresh
// what the bound controls show.
class RecordsetListener {
public:
    virtual ~RecordsetListener() = default;
    virtual void leavingRecord() = 0;
    virtual void recordEntered() = 0;
};

// A cursor with the meaning the windows expect of a DAO record set:
// BOF/EOF positions before the first and after the last record, no current
// record there, and a record changed only between Edit/AddNew and Update.
class Recordset {
public:
    struct Column {
        QString name;         // as the result names it
        QString originTable;  // table the value comes from; empty for expressions
        QString originColumn; // column in that table
    };

    virtual ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    bool hasCurrent() const { return m_hasCurrent; }
    virtual qint64 RecordCount() = 0;

    int fieldCount() const { return int(m_columns.size()); }
    const Column& column(int position) const { return m_columns.at(std::size_t(position)); }
    // -1 when there is no such field. "table.column" picks by origin table.
    int fieldIndex(const QString& name) const;
    QVariant value(const QString& name) const;
    QVariant value(int position) const;

    void AddNew();
    void Edit();
    void setValue(const QString& name, const QVariant& value);
    void setValue(int position, const QVariant& value);
    void Update();
    void CancelUpdate();
    bool isEditing() const { return m_editMode != EditMode::None; }

    // Whether a change to this field of the current record can be stored.
    virtual bool canWriteBack(int position) const = 0;

    // Table-type cursors only.
    virtual void setIndex(const QString& indexName);
    virtual void Seek(const QString& comparison, const QVariant& key);
    // Cursors on a table only.
    virtual void FindFirst(const QString& criterion);
    bool NoMatch() const { return m_noMatch; }

    void Close();
    bool isClosed() const { return m_closed; }

    // Every data control that holds this cursor listens to it: one control's
    // cursor can be assigned to another, and both then follow each move.
    void addListener(RecordsetListener* listener);
    void removeListener(RecordsetListener* listener);

protected:
    explicit Recordset(DatabasePtr db);

    // Load the wanted record into m_current; false when there is none.
    virtual bool fetchFirst() = 0;
    virtual bool fetchLast() = 0;
    virtual bool fetchNext() = 0;
    virtual bool fetchPrevious() = 0;
    // Stores the changes of the current record. Update runs it under one
    // savepoint, so several statements still store all or nothing.
    virtual void writeCurrent(const std::map<int, QVariant>& changes) = 0;
    // The changes are stored: a cursor that keeps rows keeps them too.
    virtual void written(const std::map<int, QVariant>&) {}
    virtual void insertRow(const std::map<int, QVariant>& values) = 0;

    void standOn(std::vector<QVariant> row);
    // A search that may stand on another record is a move for the listener:
    // it hears of the record left before and of the record stood on after.
    void leaveForSearch();
    void searchEnded();
    void ensureOpen() const;
    [[noreturn]] void noCurrentRecord(const char* operation) const;
    // The fields are the result columns of this prepared statement.
    void describeColumns(sqlite3_stmt* st);
    // The fields of the row the statement stands on, from its column `first` on.
    std::vector<QVariant> readRow(sqlite3_stmt* st, int first = 0) const;

    DatabasePtr m_db;
    std::vector<Column> m_columns;
    std::vector<QVariant> m_current;
    bool m_noMatch = false;

private:
    enum class EditMode { None, Edit, AddNew };
    template <typename Move> void move(Move&& doMove);
    // MoveFirst and MoveLast: an empty cursor has no record to stand on.
    void moveToEnd(bool last);
    void requireCurrent(const char* operation) const;

    bool m_bof = true;
    bool m_eof = true;
    bool m_hasCurrent = false;
    bool m_closed = false;
    EditMode m_editMode = EditMode::None;
    std::map<int, QVariant> m_pending;
    void tellLeaving();
    void tellEntered();

    std::vector<RecordsetListener*> m_listeners;
};

} // namespace data
