#pragma once

#include "data/Database.h"
#include "data/Recordset.h"

#include <QString>
#include <memory>

namespace data {

// A window's data control: a database file, a record source (a table name or
// a SELECT) and the cursor over it. Bound controls listen to it through one
// RecordsetListener, which hears of every move of the cursor and of each
// Refresh, so they can store pending changes first and show the new record
// after.
class DataControl {
public:
    DataControl() = default;
    DataControl(QString databaseName, QString connect, QString recordSource);
    DataControl(const DataControl&) = delete;
    DataControl& operator=(const DataControl&) = delete;
    ~DataControl();

    QString DatabaseName;
    // Kept as designed; an SQLite file has no password to pass.
    QString Connect;
    QString RecordSource;
    // A read-only control never stores anything, and reads the rows of its
    // record source as the cursor reaches them rather than all at once, so a
    // window that shows a few rows of a large table pays for those rows only.
    bool ReadOnly = false;

    // Runs the record source and stands on its first record.
    void Refresh();
    // The cursor; Refresh must have run.
    Recordset& recordset();
    bool hasRecordset() const { return bool(m_recordset); }
    // The open database; Refresh opens it when needed.
    DatabasePtr Database();
    // Works on this open database from the next Refresh on, so that several
    // controls, and the statements run beside them, share one connection and
    // so one transaction.
    void useDatabase(DatabasePtr database);
    // Stores what the bound controls hold for the current record.
    void UpdateRecord();
    // This control takes the other's cursor (and its database): from now on
    // both stand on the same record and a move through either moves both.
    // What this control's bound controls held is stored first.
    void assignRecordset(DataControl& from);
    // Lets go of the cursor, after storing what the bound controls hold; the
    // bound controls keep showing what they showed. Another control that
    // shares the cursor keeps it.
    void detachRecordset();
    // Lets go of the cursor and the database (the window unloads).
    void close();

    void setListener(RecordsetListener* listener);

private:
    DatabasePtr m_database;
    std::shared_ptr<Recordset> m_recordset;
    RecordsetListener* m_listener = nullptr;
};

} // namespace data
