#include "SqlFixture.h"

#include "data/Sqlite.h"

#include <stdexcept>

namespace sqlfixture {
namespace {

data::SqliteHandle open(const QString& path, int flags)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    data::SqliteHandle db(raw);
    if (rc != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    return db;
}

template <typename Row> void each(const QString& path, const QString& sql, Row&& row)
{
    auto db = open(path, SQLITE_OPEN_READWRITE);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
    data::StatementHandle st(raw);
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
        row(st.get());
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
}

} // namespace

void create(const QString& path, const QStringList& statements)
{
    auto db = open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    for (const QString& s : statements) {
        char* error = nullptr;
        if (sqlite3_exec(db.get(), s.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "error";
            sqlite3_free(error);
            throw std::runtime_error(message + " in " + s.toStdString());
        }
    }
}

void exec(const QString& path, const QString& sql)
{
    create(path, {sql});
}

QVariant scalar(const QString& path, const QString& sql)
{
    QVariant value;
    bool first = true;
    each(path, sql, [&](sqlite3_stmt* st) {
        if (first)
            value = data::columnValue(st, 0);
        first = false;
    });
    return value;
}

QStringList rows(const QString& path, const QString& sql)
{
    QStringList out;
    each(path, sql, [&](sqlite3_stmt* st) {
        QStringList cells;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const QVariant v = data::columnValue(st, i);
            cells << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        }
        out << cells.join(u'|');
    });
    return out;
}

} // namespace sqlfixture
