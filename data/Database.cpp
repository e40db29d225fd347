#include "data/Database.h"

#include "data/DataError.h"
#include "data/JetSql.h"
#include "data/PagedQueryRecordset.h"
#include "data/QueryRecordset.h"
#include "data/TableRecordset.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace data {
namespace {

// "the trigger "a"", "the triggers "a", "b" and "c"", "... and 4 more": at
// most five names, so a bank of a thousand triggers still gives a short message.
QString namedThings(const QString& one, const QString& several, const QStringList& names)
{
    constexpr int shown = 5;
    QStringList quoted;
    for (const QString& name : names.mid(0, shown))
        quoted << u'"' + name + u'"';
    if (names.size() == 1)
        return one + u' ' + quoted.first();
    QString list = several + u' ';
    if (names.size() > shown)
        return list + quoted.join(QStringLiteral(", ")) +
               QStringLiteral(" and %1 more").arg(names.size() - shown);
    const QString last = quoted.takeLast();
    return list + quoted.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// SQLite's words when the bank's own code was about to run and was stopped:
// a view of the bank read ("access to view "cat" prohibited") or a function
// with side effects in its schema ("unsafe use of load_extension()").
QString storedCodeDetail(const QString& message)
{
    static const QLatin1StringView view("access to view \"");
    if (message.startsWith(view)) {
        const qsizetype end = message.indexOf(u'"', view.size());
        return namedThings(QStringLiteral("the view"), QString(),
                           {message.mid(view.size(), end - view.size())});
    }
    static const QLatin1StringView unsafe("unsafe use of ");
    if (message.startsWith(unsafe))
        return QStringLiteral("a call of ") + message.mid(unsafe.size());
    return QString();
}

DataError::Kind kindOf(int rc, const QString& message)
{
    if (!storedCodeDetail(message).isEmpty())
        return DataError::Kind::StoredCode;
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return DataError::Kind::NotADatabase;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return DataError::Kind::ReadOnly;
    default:
        break;
    }
    if (message.startsWith(QLatin1StringView("no such table")) ||
        message.startsWith(QLatin1StringView("no such column")) ||
        message.contains(QLatin1StringView("has no column named")))
        return DataError::Kind::MissingTable;
    return DataError::Kind::Other;
}

} // namespace

std::shared_ptr<Database> Database::OpenDatabase(const QString& fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    if (!QFileInfo(path).isFile())
        throw DataError(DataError::Kind::MissingFile, path, QString());

    sqlite3* raw = nullptr;
    // A connection is used on the GUI thread only: no locking on every call.
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    SqliteHandle db(raw);
    if (rc != SQLITE_OK) {
        const QString message = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString();
        throw DataError(rc == SQLITE_CANTOPEN ? DataError::Kind::MissingFile
                                              : DataError::Kind::NotADatabase,
                        path, message);
    }
    sqlite3_extended_result_codes(db.get(), 1);
    // A second copy of the program may hold the file for a moment.
    sqlite3_busy_timeout(db.get(), 2000);
    distrustSchema(db.get(), path);
    std::shared_ptr<Database> database(new Database(std::move(db), path));
    // SQLite opens any file; this first read tells whether it is a database.
    const QStringList triggers = database->triggerNames();
    // Refused rather than merely kept from firing: a bank that expects its
    // triggers to do something would be used wrongly without them. They are
    // neither run nor dropped; the file stays as it came.
    if (!triggers.isEmpty())
        throw DataError(
            DataError::Kind::StoredCode, path,
            namedThings(QStringLiteral("the trigger"), QStringLiteral("the triggers"), triggers));
    return database;
}

// A question bank is a file from anyone: nothing stored in it may run on
// the program's connection. Its triggers and views never run (the program's
// own TEMP views still do), functions with side effects may not be called
// from its schema (views, defaults, checks, indexes), and its schema cannot
// be written around SQLite's back.
void Database::distrustSchema(sqlite3* db, const QString& path)
{
    const std::pair<int, int> settings[] = {
        {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
        {SQLITE_DBCONFIG_DEFENSIVE, 1},
        {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
        {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
    };
    for (const auto& [option, wanted] : settings) {
        int now = -1;
        if (sqlite3_db_config(db, option, wanted, &now) != SQLITE_OK || now != wanted)
            throw DataError(DataError::Kind::Other, path,
                            QStringLiteral("the SQLite library %1 cannot open a question bank "
                                           "safely")
                                .arg(sqliteVersion()));
    }
}

QStringList Database::triggerNames()
{
    const QString sql =
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger' ORDER BY name");
    auto st = prepare(sql);
    QStringList names;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
        names << columnText(st.get(), 0);
    if (rc != SQLITE_DONE)
        fail(sql, rc);
    return names;
}

Database::Database(SqliteHandle db, QString fileName)
    : m_db(std::move(db)), m_fileName(std::move(fileName))
{
}

Database::~Database() = default;

void Database::Close()
{
    m_db.reset();
}

sqlite3* Database::handle()
{
    if (!m_db)
        throw DataError(DataError::Kind::Other, m_fileName,
                        QStringLiteral("the database is closed"));
    return m_db.get();
}

void Database::fail(const QString& sql, int rc)
{
    const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db.get())) : QString();
    // The bank's views never run (see distrustSchema), and SQLite does not
    // always say so in as many words ("no such table" for a view's own WITH):
    // a failed statement that names one failed for it.
    if (const QStringList views = viewsNamedIn(sql); !views.isEmpty())
        throw DataError(DataError::Kind::StoredCode, m_fileName,
                        namedThings(QStringLiteral("the view"), QStringLiteral("the views"), views),
                        sql);
    const DataError::Kind kind = kindOf(rc, message);
    throw DataError(kind, m_fileName,
                    kind == DataError::Kind::StoredCode ? storedCodeDetail(message) : message, sql);
}

QStringList Database::viewsNamedIn(const QString& sql)
{
    QStringList named;
    if (!m_db || sql.isEmpty())
        return named;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), "SELECT name FROM main.sqlite_master WHERE type = 'view'",
                           -1, &raw, nullptr) != SQLITE_OK)
        return named;
    StatementHandle st(raw);
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
        // Named where a table goes: FROM exam1, JOIN [exam11], "Test Information".
        const QString name = columnText(st.get(), 0);
        const QRegularExpression asTable(
            QStringLiteral("\\b(from|join|into|update)\\s+[\\[\"]?%1[\\]\"]?(?![\\w])")
                .arg(QRegularExpression::escape(name)),
            QRegularExpression::CaseInsensitiveOption);
        if (sql.contains(asTable))
            named << name;
    }
    return named;
}

StatementHandle Database::prepare(const QString& sql)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(handle(), utf8.constData(), int(utf8.size()), &raw, nullptr);
    StatementHandle st(raw);
    if (rc != SQLITE_OK)
        fail(sql, rc);
    return st;
}

void Database::step(sqlite3_stmt* st, const QString& sql)
{
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(sql, rc);
}

void Database::Execute(const QString& sql)
{
    const QString statement = rewriteJetSql(sql);
    auto st = prepare(statement);
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fail(sql, rc);
}

std::vector<qint64> Database::integers(const QString& sql)
{
    auto st = prepare(sql);
    std::vector<qint64> values;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        if (sqlite3_column_type(st.get(), 0) != SQLITE_NULL)
            values.push_back(sqlite3_column_int64(st.get(), 0));
    }
    if (rc != SQLITE_DONE)
        fail(sql, rc);
    return values;
}

bool Database::Row::isNull(int column) const
{
    return sqlite3_column_type(m_st, column) == SQLITE_NULL;
}

bool Database::Row::isInteger(int column) const
{
    return sqlite3_column_type(m_st, column) == SQLITE_INTEGER;
}

bool Database::Row::isNumber(int column) const
{
    const int type = sqlite3_column_type(m_st, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

QString Database::Row::typeName(int column) const
{
    switch (sqlite3_column_type(m_st, column)) {
    case SQLITE_INTEGER:
        return QStringLiteral("integer");
    case SQLITE_FLOAT:
        return QStringLiteral("real");
    case SQLITE_TEXT:
        return QStringLiteral("text");
    case SQLITE_BLOB:
        return QStringLiteral("blob");
    default:
        return QStringLiteral("null");
    }
}

qint64 Database::Row::integer(int column) const
{
    return sqlite3_column_int64(m_st, column);
}

double Database::Row::number(int column) const
{
    return sqlite3_column_double(m_st, column);
}

QByteArrayView Database::Row::bytes(int column) const
{
    // Asking a number for its text would turn it into one for good.
    const int type = sqlite3_column_type(m_st, column);
    if (type != SQLITE_TEXT && type != SQLITE_BLOB)
        return {};
    const auto* data = type == SQLITE_TEXT
                           ? reinterpret_cast<const char*>(sqlite3_column_text(m_st, column))
                           : static_cast<const char*>(sqlite3_column_blob(m_st, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_st, column));
}

QVariant Database::Row::value(int column) const
{
    return columnValue(m_st, column);
}

void Database::eachRow(const QString& sql, const QVariantList& bound,
                       const std::function<bool(const Row&)>& row)
{
    auto st = prepare(sql);
    for (int i = 0; i < int(bound.size()); ++i)
        bindValue(st.get(), i + 1, bound.at(i));
    const Row current(st.get());
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        if (!row(current))
            return;
    }
    if (rc != SQLITE_DONE)
        fail(sql, rc);
}

QString Database::statementProblem(const QString& sql)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(handle(), utf8.constData(), int(utf8.size()), &raw, nullptr);
    const StatementHandle st(raw);
    return rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(handle()));
}

qint64 Database::insert(const QString& table,
                        const std::vector<std::pair<QString, QVariant>>& values)
{
    QString sql = QStringLiteral("INSERT INTO ") + quoteName(table);
    if (values.empty()) {
        sql += QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList names, marks;
        for (const auto& [name, value] : values) {
            names << quoteName(name);
            marks << QStringLiteral("?");
        }
        sql += QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
               QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + u')';
    }
    auto st = prepare(sql);
    int index = 1;
    for (const auto& [name, value] : values)
        bindValue(st.get(), index++, value);
    step(st.get(), sql);
    return sqlite3_last_insert_rowid(handle());
}

Database::Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.Execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Database::Transaction::~Transaction()
{
    if (!m_done && m_db.isOpen())
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::Transaction::commit()
{
    m_db.Execute(QStringLiteral("COMMIT"));
    m_done = true;
}

Database::Savepoint::Savepoint(Database& db) : m_db(db)
{
    const QString sql = QStringLiteral("SAVEPOINT bound_record");
    auto st = m_db.prepare(sql);
    m_db.step(st.get(), sql);
}

Database::Savepoint::~Savepoint()
{
    if (m_done || !m_db.isOpen())
        return;
    // A trigger's RAISE(ROLLBACK) may have ended the transaction already;
    // then there is nothing left to undo.
    if (!sqlite3_get_autocommit(m_db.handle()))
        sqlite3_exec(m_db.handle(), "ROLLBACK TO bound_record; RELEASE bound_record", nullptr,
                     nullptr, nullptr);
}

void Database::Savepoint::release()
{
    const QString sql = QStringLiteral("RELEASE bound_record");
    auto st = m_db.prepare(sql);
    m_db.step(st.get(), sql);
    m_done = true;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& source, RecordsetType type)
{
    auto self = shared_from_this();
    const QString trimmed = source.trimmed();
    const bool isQuery = trimmed.startsWith(QLatin1StringView("select"), Qt::CaseInsensitive);
    if (type == dbOpenSnapshot) {
        if (isQuery)
            return std::make_unique<PagedQueryRecordset>(self, trimmed);
        const auto info = tableInfo(trimmed);
        if (!info)
            throw DataError(DataError::Kind::MissingTable, m_fileName,
                            QStringLiteral("the table \"%1\" is missing").arg(trimmed));
        return std::make_unique<PagedQueryRecordset>(self, QStringLiteral("SELECT * FROM ") +
                                                               quoteName(info->name));
    }
    if (isQuery) {
        if (type == dbOpenTable)
            throw DataError(DataError::Kind::Other, m_fileName,
                            QStringLiteral("a query cannot be opened as a table"));
        return std::make_unique<QueryRecordset>(self, trimmed);
    }
    return std::make_unique<TableRecordset>(self, trimmed);
}

std::optional<Database::TableInfo> Database::tableInfo(const QString& table)
{
    QString bare = table;
    if (bare.startsWith(u'[') && bare.endsWith(u']'))
        bare = bare.mid(1, bare.size() - 2);
    auto find = prepare(QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN "
                                       "('table','view') AND name = ?1 COLLATE NOCASE"));
    bindValue(find.get(), 1, bare);
    if (sqlite3_step(find.get()) != SQLITE_ROW)
        return std::nullopt;
    TableInfo info;
    info.name = columnText(find.get(), 0);
    // A view of the bank in a table's place is never read (see distrustSchema).
    if (columnText(find.get(), 1) == QLatin1StringView("view"))
        throw DataError(DataError::Kind::StoredCode, m_fileName,
                        namedThings(QStringLiteral("the view"), QString(), {info.name}));

    auto columns =
        prepare(QStringLiteral("SELECT name, pk, type FROM pragma_table_info(") + u'\'' +
                QString(info.name).replace(u'\'', QStringLiteral("''")) + QStringLiteral("')"));
    QString rowidAlias;
    int pkCount = 0;
    while (sqlite3_step(columns.get()) == SQLITE_ROW) {
        const QString name = columnText(columns.get(), 0);
        info.columns << name;
        if (sqlite3_column_int(columns.get(), 1) > 0) {
            ++pkCount;
            if (columnText(columns.get(), 2)
                    .compare(QLatin1StringView("integer"), Qt::CaseInsensitive) == 0)
                rowidAlias = name;
        }
    }
    if (pkCount == 1 && !rowidAlias.isEmpty())
        info.keyColumn = rowidAlias;

    // A unique index on one column is the table's key ("primaryKey").
    auto indexes =
        prepare(QStringLiteral("SELECT il.name, ii.name FROM pragma_index_list(") + u'\'' +
                QString(info.name).replace(u'\'', QStringLiteral("''")) +
                QStringLiteral("') AS il, pragma_index_info(il.name) AS ii "
                               "WHERE il.\"unique\" = 1 "
                               "AND (SELECT count(*) FROM pragma_index_info(il.name)) = 1"));
    while (sqlite3_step(indexes.get()) == SQLITE_ROW) {
        const QString indexName = columnText(indexes.get(), 0);
        const QString column = columnText(indexes.get(), 1);
        const bool preferred =
            indexName.endsWith(QLatin1StringView("primaryKey"), Qt::CaseInsensitive);
        if (info.keyIndex.isEmpty() || preferred) {
            info.keyIndex = indexName;
            info.keyColumn = column;
        }
    }
    return info;
}

} // namespace data
