#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <sqlite3.h>

namespace data {

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Column value as a variant; SQL NULL stays a null QVariant, distinct from "".
QVariant columnValue(sqlite3_stmt* st, int column);
void bindValue(sqlite3_stmt* st, int index, const QVariant& value);
QString columnText(sqlite3_stmt* st, int column);
// A table or column name quoted for a statement: "Test Information".
QString quoteName(const QString& name);
// The SQLite library the program runs with, e.g. "3.40.1".
QString sqliteVersion();

} // namespace data
