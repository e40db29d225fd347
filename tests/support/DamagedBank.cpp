#include "DamagedBank.h"

#include "SqlFixture.h"
#include "data/Sqlite.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

// Texts as long as the ones that froze the exam window: a question of
// 2 MiB in words and an answer of 1 MiB without a blank.
const QString longQuestion = QStringLiteral("replace(hex(zeroblob(1048576)), '00', 'a ')");
const QString unbrokenAnswer = QStringLiteral("hex(zeroblob(524288))");

void replaceFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void replaceDatabase(const QString& path, const QStringList& statements)
{
    QFile::remove(path);
    sqlfixture::create(path, statements);
}

// A connection that knows one sort order the program does not.
void withOwnSortOrder(const QString& path, const QString& sql)
{
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    const data::SqliteHandle db(raw);
    sqlite3_create_collation(db.get(), "fixture_order", SQLITE_UTF8, nullptr,
                             [](void*, int n1, const void* a, int n2, const void* b) {
                                 const int common = std::min(n1, n2);
                                 const int order = std::memcmp(a, b, std::size_t(common));
                                 return order != 0 ? order : n1 - n2;
                             });
    if (sqlite3_exec(db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
}

// Overwrites the first page of a table with bytes that are no page at all.
void spoilPage(const QString& path, const QString& table)
{
    const qint64 page =
        sqlfixture::scalar(path, QStringLiteral("SELECT rootpage FROM sqlite_master "
                                                "WHERE name = '%1'")
                                     .arg(table))
            .toLongLong();
    const qint64 size = sqlfixture::scalar(path, QStringLiteral("PRAGMA page_size")).toLongLong();
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek((page - 1) * size) ||
        file.write(QByteArray(int(size), '\x55')) != size)
        throw std::runtime_error("cannot spoil " + path.toStdString());
}

const std::map<QString, std::function<void(const QString&)>>& damageTable()
{
    using sqlfixture::exec;
    static const std::map<QString, std::function<void(const QString&)>> table{
        {QStringLiteral("empty file"), [](const QString& p) { replaceFile(p, QByteArray()); }},
        {QStringLiteral("not a database"),
         [](const QString& p) {
             replaceFile(p, QByteArray("Standard Jet DB, or so it says.\n").repeated(200));
         }},
        {QStringLiteral("database without tables"),
         [](const QString& p) { replaceDatabase(p, {QStringLiteral("PRAGMA user_version = 7")}); }},
        {QStringLiteral("someone else's database"),
         [](const QString& p) {
             replaceDatabase(p, {QStringLiteral("CREATE TABLE contacts (name TEXT, phone TEXT)"),
                                 QStringLiteral("INSERT INTO contacts VALUES ('Ada', '555')")});
         }},
        {QStringLiteral("damaged page"),
         [](const QString& p) { spoilPage(p, QStringLiteral("exam11")); }},
        {QStringLiteral("key table missing"),
         [](const QString& p) { exec(p, QStringLiteral("DROP TABLE exam11")); }},
        {QStringLiteral("key column missing"),
         [](const QString& p) {
             exec(p, QStringLiteral("ALTER TABLE exam11 DROP COLUMN correctanswer2"));
         }},
        {QStringLiteral("scores table missing"),
         [](const QString& p) { exec(p, QStringLiteral("DROP TABLE cat_scores")); }},
        {QStringLiteral("shown answer table missing"),
         [](const QString& p) { exec(p, QStringLiteral("DROP TABLE showans")); }},
        {QStringLiteral("working table is a view"),
         [](const QString& p) {
             exec(p, QStringLiteral("ALTER TABLE exam1 RENAME TO exam1_rows"));
             exec(p, QStringLiteral("CREATE VIEW exam1 AS SELECT * FROM exam1_rows"));
         }},
        {QStringLiteral("working table without row numbers"),
         [](const QString& p) {
             exec(p, QStringLiteral("ALTER TABLE exam1 RENAME TO exam1_rows"));
             exec(p, QStringLiteral(
                         "CREATE TABLE exam1 (ID INTEGER PRIMARY KEY, question TEXT, answer1 TEXT, "
                         "answer2 TEXT, answer3 TEXT, answer4 TEXT, answer5 TEXT, correctanswer1 "
                         "INTEGER, correctanswer2 INTEGER, correctanswer3 INTEGER, correctanswer4 "
                         "INTEGER, correctanswer5 INTEGER, question_type TEXT, catid INTEGER, "
                         "cat_desc TEXT, diagram1 TEXT, explanation TEXT) WITHOUT ROWID"));
             exec(p, QStringLiteral("INSERT INTO exam1 SELECT * FROM exam1_rows"));
             exec(p, QStringLiteral("DROP TABLE exam1_rows"));
         }},
        {QStringLiteral("duplicate ID"),
         [](const QString& p) {
             exec(p, QStringLiteral("DROP INDEX exam1_primaryKey"));
             exec(p, QStringLiteral("INSERT INTO exam1 SELECT * FROM exam1 WHERE ID = 1"));
         }},
        {QStringLiteral("no index on ID"),
         [](const QString& p) { exec(p, QStringLiteral("DROP INDEX exam1_primaryKey")); }},
        {QStringLiteral("key row missing"),
         [](const QString& p) { exec(p, QStringLiteral("DELETE FROM exam11 WHERE ID = 5")); }},
        {QStringLiteral("key empty"),
         [](const QString& p) { exec(p, QStringLiteral("DELETE FROM exam11")); }},
        {QStringLiteral("no correct answer"),
         [](const QString& p) {
             exec(p, QStringLiteral("UPDATE exam11 SET correctanswer1 = 0, correctanswer2 = 0, "
                                    "correctanswer3 = 0, correctanswer4 = 0, "
                                    "correctanswer5 = 0 WHERE ID = 1"));
         }},
        {QStringLiteral("two correct answers to a single-answer question"),
         [](const QString& p) {
             exec(p, QStringLiteral("UPDATE exam11 SET correctanswer2 = 1 WHERE ID = 1"));
         }},
        {QStringLiteral("correct mark on an empty answer"),
         [](const QString& p) {
             // question 3 takes several answers; it has no fifth
             exec(p, QStringLiteral("UPDATE exam11 SET correctanswer5 = 1 WHERE ID = 3"));
         }},
        {QStringLiteral("unknown category"),
         [](const QString& p) {
             exec(p, QStringLiteral("UPDATE exam1 SET catid = 7 WHERE ID = 1"));
         }},
        {QStringLiteral("Yes stored as text"),
         [](const QString& p) {
             exec(p, QStringLiteral("UPDATE exam11 SET correctanswer1 = 'Yes' WHERE ID = 1"));
         }},
        {QStringLiteral("Yes/No left empty"),
         [](const QString& p) {
             // a table of the same columns without their NOT NULL
             exec(p, QStringLiteral("CREATE TABLE loose AS SELECT * FROM exam1"));
             exec(p, QStringLiteral("DROP TABLE exam1"));
             exec(p, QStringLiteral("ALTER TABLE loose RENAME TO exam1"));
             exec(p, QStringLiteral("CREATE UNIQUE INDEX exam1_primaryKey ON exam1 (ID)"));
             exec(p, QStringLiteral("UPDATE exam1 SET correctanswer3 = NULL WHERE ID = 2"));
         }},
        {QStringLiteral("long texts"),
         [](const QString& p) {
             exec(p, QStringLiteral("UPDATE exam1 SET question = %1, answer1 = %2 WHERE ID = 1")
                         .arg(longQuestion, unbrokenAnswer));
         }},
        {QStringLiteral("unknown sort order"),
         [](const QString& p) {
             withOwnSortOrder(p, QStringLiteral("CREATE INDEX exam1_choice ON exam1 "
                                                "(correctanswer1 COLLATE fixture_order)"));
         }},
    };
    return table;
}

} // namespace

void DamagedBank::damage(const QString& path, const QString& name)
{
    const auto& table = damageTable();
    const auto found = table.find(name);
    if (found == table.end())
        throw std::invalid_argument("no such damage: " + name.toStdString());
    found->second(path);
}
