#pragma once

#include "data/Sqlite.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace data {

class Recordset;

enum RecordsetType {
    dbOpenTable = 1,    // a table by name, with Index and Seek
    dbOpenDynaset = 2,  // a table by name or a query, with FindFirst
    dbOpenSnapshot = 4, // a table by name or a query, read only, read as the cursor goes
};

// A question database file opened by name. Opening never creates a file:
// a missing one is reported, so the program cannot end up with an empty bank.
class Database : public std::enable_shared_from_this<Database> {
public:
    static std::shared_ptr<Database> OpenDatabase(const QString& fileName);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one action statement, Jet forms accepted.
    void Execute(const QString& sql);

    // A table name (dynaset or table type) or a SELECT statement (dynaset).
    std::unique_ptr<Recordset> OpenRecordset(const QString& source,
                                             RecordsetType type = dbOpenDynaset);

    // Adds a row with these column values; returns its rowid.
    qint64 insert(const QString& table, const std::vector<std::pair<QString, QVariant>>& values);

    // The whole first column of a query as integers (Null skipped), read in one go.
    std::vector<qint64> integers(const QString& sql);

    // A row of a query as SQLite holds it, for the duration of one call of
    // eachRow's `row`. Values are converted only when asked for, so a scan of
    // many rows for a few facts about them stays cheap.
    class Row {
    public:
        explicit Row(sqlite3_stmt* st) : m_st(st) {}
        bool isNull(int column) const;
        bool isInteger(int column) const;
        bool isNumber(int column) const; // integer or real
        // "integer", "real", "text", "blob" or "null", as SQLite's typeof() says.
        QString typeName(int column) const;
        qint64 integer(int column) const;
        double number(int column) const;
        // A text's or blob's bytes (UTF-8 for a text); empty for Null.
        QByteArrayView bytes(int column) const;
        QVariant value(int column) const;

    private:
        sqlite3_stmt* m_st;
    };
    // Runs a query with `bound` bound to ?1, ?2, ... and hands each row to
    // `row`, which returns false to read no further.
    void eachRow(const QString& sql, const QVariantList& bound,
                 const std::function<bool(const Row&)>& row);
    // SQLite's words for why a statement could not run on this database (a
    // missing table or column, an unknown sort order), or "" when it could.
    // The statement is only prepared: nothing runs.
    QString statementProblem(const QString& sql);

    // Everything between begin and commit is stored together or not at all,
    // and costs one write to disk instead of one per statement.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        void commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        Database& m_db;
        bool m_done = false;
    };

    // Several statements that make one change: all of them are stored or
    // none. Unlike a Transaction it may run inside one (it nests).
    class Savepoint {
    public:
        explicit Savepoint(Database& db);
        ~Savepoint();
        void release();
        Savepoint(const Savepoint&) = delete;
        Savepoint& operator=(const Savepoint&) = delete;

    private:
        Database& m_db;
        bool m_done = false;
    };

    void Close();
    bool isOpen() const { return bool(m_db); }
    const QString& fileName() const { return m_fileName; }

    // For the data layer's own classes.
    StatementHandle prepare(const QString& sql);
    void step(sqlite3_stmt* st, const QString& sql);
    [[noreturn]] void fail(const QString& sql, int rc);
    sqlite3* handle();

    struct TableInfo {
        QString name; // as stored
        QStringList columns;
        QString keyColumn; // ID-like column with a unique index, or the rowid alias
        QString keyIndex;  // name of that unique index, if any
    };
    // Looks a table up case-insensitively; nullopt when there is none.
    std::optional<TableInfo> tableInfo(const QString& table);

private:
    Database(SqliteHandle db, QString fileName);
    static void distrustSchema(sqlite3* db, const QString& path);
    // The triggers stored in the file, by name.
    QStringList triggerNames();
    // The bank's views that `sql` reads or writes as tables.
    QStringList viewsNamedIn(const QString& sql);
    SqliteHandle m_db;
    QString m_fileName;
};

using DatabasePtr = std::shared_ptr<Database>;

} // namespace data
