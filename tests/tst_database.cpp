#include "DataError.h"
#include "Database.h"
#include "Recordset.h"
#include "RowSampler.h"
#include "SqlFixture.h"
#include "Statements.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using data::Database;
using data::DataError;
using data::Recordset;

namespace {

QStringList questionTables()
{
    return {
        QStringLiteral("CREATE TABLE exam1 (ID INTEGER NOT NULL, question TEXT, correctanswer1 INTEGER "
                       "NOT NULL DEFAULT 0, correctanswer2 INTEGER NOT NULL DEFAULT 0, catid INTEGER, diagram1 TEXT)"),
        QStringLiteral("CREATE UNIQUE INDEX exam1_primaryKey ON exam1 (ID)"),
        QStringLiteral("CREATE TABLE exam11 (ID INTEGER NOT NULL, question TEXT, correctanswer1 INTEGER, "
                       "correctanswer2 INTEGER)"),
        QStringLiteral("CREATE UNIQUE INDEX exam11_primaryKey ON exam11 (ID)"),
        QStringLiteral("CREATE TABLE tblrandom (sl_no INTEGER, ID INTEGER)"),
        QStringLiteral("CREATE TABLE notes (a TEXT, b TEXT)"),
        // stored out of key order on purpose
        QStringLiteral("INSERT INTO exam1 (ID, question, catid, diagram1) VALUES (20, 'twenty', 1, ''), "
                       "(10, 'ten', 0, NULL), (30, 'thirty', 2, 'x.png')"),
        QStringLiteral("INSERT INTO exam11 (ID, question, correctanswer1, correctanswer2) VALUES "
                       "(10, 'ten', 1, 0), (20, 'twenty', 0, 1), (30, 'thirty', 1, 1)"),
        QStringLiteral("INSERT INTO tblrandom VALUES (1, 30), (2, 10)"),
    };
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void missingFileIsReportedAndNeverCreated();
    void fileThatIsNotADatabase();
    void missingTableOrColumn();

    void cursorWalksLikeDao_data();
    void cursorWalksLikeDao();
    void emptyCursorHasNoCurrentRecord_data();
    void emptyCursorHasNoCurrentRecord();
    void nullIsNotEmptyText();

    void seekUsesThePrimaryKey();
    void findFirstSeesAddedRecords();
    void addNewAndEditStoreRows();
    void queryFieldsWriteBackThroughTheirKey();
    void executeAcceptsJetStatements();
    void closedDatabaseFailsCleanly();
    void samplingDrawsDistinctRowsEvenly();

private:
    QString m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabase::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("qbk09.mdb"));
    sqlfixture::create(m_path, questionTables());
}

void TestDatabase::missingFileIsReportedAndNeverCreated()
{
    const QString missing = m_dir->filePath(QStringLiteral("qbk009.mdb"));
    try {
        Database::OpenDatabase(missing);
        QFAIL("opened a missing file");
    } catch (const DataError& e) {
        QCOMPARE(e.kind(), DataError::Kind::MissingFile);
        QVERIFY(e.describe().contains(QLatin1StringView("\"qbk009.mdb\"")));
        QVERIFY(e.describe().contains(QDir::toNativeSeparators(m_dir->path())));
    }
    QVERIFY(!QFile::exists(missing));

    // a bare name is looked for in the current folder only
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    QVERIFY(Database::OpenDatabase(QStringLiteral("qbk09.mdb"))->isOpen());
    QVERIFY_THROWS_EXCEPTION(DataError, Database::OpenDatabase(QStringLiteral("qbk009.mdb")));
    QDir::setCurrent(before);
    QVERIFY(!QFile::exists(missing));
}

void TestDatabase::fileThatIsNotADatabase()
{
    const QString path = m_dir->filePath(QStringLiteral("broken.mdb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Standard Jet DB, or so it says. ").repeated(64));
    file.close();
    try {
        Database::OpenDatabase(path);
        QFAIL("opened a text file as a database");
    } catch (const DataError& e) {
        QCOMPARE(e.kind(), DataError::Kind::NotADatabase);
        QVERIFY(e.describe().contains(QLatin1StringView("broken.mdb")));
    }
}

void TestDatabase::missingTableOrColumn()
{
    auto db = Database::OpenDatabase(m_path);
    auto expectMissing = [](auto&& call, const char* what) {
        try {
            call();
            QFAIL(what);
        } catch (const DataError& e) {
            QCOMPARE(e.kind(), DataError::Kind::MissingTable);
        }
    };
    expectMissing([&] { db->OpenRecordset(QStringLiteral("exam2"), data::dbOpenTable); }, "table");
    expectMissing([&] { db->Execute(data::sql::deleteShownAnswer()); }, "execute");
    expectMissing([&] { db->OpenRecordset(data::sql::examQuestions(2)); }, "query");
    auto rs = db->OpenRecordset(QStringLiteral("SELECT ID FROM exam1"));
    expectMissing([&] { rs->value(QStringLiteral("explanation")); }, "field");
}

void TestDatabase::cursorWalksLikeDao_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("type");
    QTest::newRow("table type") << "exam1" << int(data::dbOpenTable);
    QTest::newRow("dynaset on a table") << "exam1" << int(data::dbOpenDynaset);
    QTest::newRow("query") << "SELECT * FROM exam1" << int(data::dbOpenDynaset);
}

void TestDatabase::cursorWalksLikeDao()
{
    QFETCH(QString, source);
    QFETCH(int, type);
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(source, data::RecordsetType(type));
    auto id = [&] { return rs->value(QStringLiteral("ID")).toInt(); };

    // opens on the first record, in stored order
    QVERIFY(!rs->Bof() && !rs->Eof());
    QCOMPARE(id(), 20);
    QCOMPARE(rs->RecordCount(), 3);
    rs->MoveNext();
    QCOMPARE(id(), 10);
    rs->MoveNext();
    QCOMPARE(id(), 30);
    rs->MoveNext();
    QVERIFY(rs->Eof());
    QVERIFY(!rs->hasCurrent());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->value(QStringLiteral("ID")));
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MoveNext());
    // back from past the end is the last record
    rs->MovePrevious();
    QCOMPARE(id(), 30);
    rs->MoveFirst();
    rs->MovePrevious();
    QVERIFY(rs->Bof());
    QVERIFY(!rs->hasCurrent());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MovePrevious());
    rs->MoveNext();
    QCOMPARE(id(), 20);
    rs->MoveLast();
    QCOMPARE(id(), 30);
    QCOMPARE(rs->RecordCount(), 3);
    // by position as well as by name
    QCOMPARE(rs->value(0).toInt(), 30);
    QCOMPARE(rs->value(1).toString(), QStringLiteral("thirty"));
}

void TestDatabase::emptyCursorHasNoCurrentRecord_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("table") << "notes";
    QTest::newRow("query") << "SELECT * FROM notes";
}

void TestDatabase::emptyCursorHasNoCurrentRecord()
{
    QFETCH(QString, source);
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(source);
    QVERIFY(rs->Bof() && rs->Eof());
    QCOMPARE(rs->RecordCount(), 0);
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MoveFirst());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MoveNext());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->value(QStringLiteral("a")));
}

void TestDatabase::nullIsNotEmptyText()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT ID, diagram1 FROM exam1"));
    QVERIFY(!rs->value(QStringLiteral("diagram1")).isNull()); // 20: ''
    QCOMPARE(rs->value(QStringLiteral("diagram1")).toString(), QString());
    rs->MoveNext();
    QVERIFY(rs->value(QStringLiteral("diagram1")).isNull()); // 10: NULL
}

void TestDatabase::seekUsesThePrimaryKey()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(QStringLiteral("exam1"), data::dbOpenTable);
    QVERIFY_THROWS_EXCEPTION(DataError, rs->Seek(QStringLiteral("="), 10));
    QVERIFY_THROWS_EXCEPTION(DataError, rs->setIndex(QStringLiteral("byCategory")));
    rs->setIndex(QStringLiteral("primaryKey"));
    rs->Seek(QStringLiteral("="), 30);
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->value(QStringLiteral("question")).toString(), QStringLiteral("thirty"));
    rs->Seek(QStringLiteral("="), 25);
    QVERIFY(rs->NoMatch());
    // with the index set the cursor walks in key order
    rs->MoveFirst();
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 10);
    rs->MoveNext();
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 20);

    // every table owns its "primaryKey", though SQLite names indexes per file
    auto key = db->OpenRecordset(QStringLiteral("exam11"), data::dbOpenTable);
    key->setIndex(QStringLiteral("primaryKey"));
    key->Seek(QStringLiteral("="), 20);
    QVERIFY(!key->NoMatch());
    QCOMPARE(key->value(QStringLiteral("correctanswer2")).toInt(), 1);
}

void TestDatabase::findFirstSeesAddedRecords()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(QStringLiteral("tblrandom"), data::dbOpenDynaset);
    rs->FindFirst(data::sql::findId(10));
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->value(QStringLiteral("sl_no")).toInt(), 2);
    rs->FindFirst(data::sql::findId(17));
    QVERIFY(rs->NoMatch());
    rs->AddNew();
    rs->setValue(QStringLiteral("sl_no"), 3);
    rs->setValue(QStringLiteral("ID"), 17);
    rs->Update();
    rs->FindFirst(data::sql::findId(17));
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->value(QStringLiteral("sl_no")).toInt(), 3);
}

void TestDatabase::addNewAndEditStoreRows()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(QStringLiteral("notes"));
    QVERIFY_THROWS_EXCEPTION(DataError, rs->setValue(QStringLiteral("a"), QStringLiteral("x")));
    rs->AddNew();
    rs->setValue(0, QStringLiteral("first"));
    rs->setValue(QStringLiteral("b"), QVariant());
    rs->Update();
    QCOMPARE(sqlfixture::rows(m_path, QStringLiteral("SELECT a, b FROM notes")),
             QStringList{QStringLiteral("first|NULL")});
    rs->MoveFirst();
    rs->Edit();
    rs->setValue(QStringLiteral("b"), QStringLiteral(""));
    // moving away abandons an edit that was not updated
    rs->MoveFirst();
    QCOMPARE(sqlfixture::rows(m_path, QStringLiteral("SELECT a, b FROM notes")),
             QStringList{QStringLiteral("first|NULL")});
    rs->Edit();
    rs->setValue(QStringLiteral("b"), QStringLiteral(""));
    rs->Update();
    QCOMPARE(sqlfixture::rows(m_path, QStringLiteral("SELECT a, b FROM notes")),
             QStringList{QStringLiteral("first|")});
}

void TestDatabase::queryFieldsWriteBackThroughTheirKey()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(data::sql::examQuestions(1));
    QCOMPARE(rs->RecordCount(), 2);
    const int tick = rs->fieldIndex(QStringLiteral("correctanswer2"));
    QVERIFY(rs->canWriteBack(tick));
    QCOMPARE(rs->fieldIndex(QStringLiteral("tblRandom.ID")), 0);
    const int drawn = rs->value(QStringLiteral("tblRandom.ID")).toInt();
    rs->Edit();
    rs->setValue(tick, 1);
    rs->Update();
    QCOMPARE(sqlfixture::scalar(m_path, QStringLiteral("SELECT correctanswer2 FROM exam1 WHERE ID = %1").arg(drawn)).toInt(), 1);
    QCOMPARE(sqlfixture::scalar(m_path, QStringLiteral("SELECT sum(correctanswer2) FROM exam1")).toInt(), 1);
    // the cursor shows what was stored when it comes back
    rs->MoveNext();
    rs->MovePrevious();
    QCOMPARE(rs->value(tick).toInt(), 1);

    // a column without its table's key among the results cannot be stored
    auto bare = db->OpenRecordset(QStringLiteral("SELECT question, correctanswer1 FROM exam1"));
    QVERIFY(!bare->canWriteBack(1));
    bare->Edit();
    bare->setValue(1, 1);
    QVERIFY_THROWS_EXCEPTION(DataError, bare->Update());
}

void TestDatabase::executeAcceptsJetStatements()
{
    auto db = Database::OpenDatabase(m_path);
    sqlfixture::exec(m_path, QStringLiteral("UPDATE exam1 SET correctanswer1 = 1, correctanswer2 = 1"));
    db->Execute(QStringLiteral("UPDATE exam1 SET exam1.correctanswer1 = No,  exam1.correctanswer2 = No;"));
    QCOMPARE(sqlfixture::scalar(m_path, QStringLiteral("SELECT sum(correctanswer1 + correctanswer2) FROM exam1")).toInt(), 0);
    db->Execute(data::sql::deleteRandomDraw());
    QCOMPARE(sqlfixture::scalar(m_path, QStringLiteral("SELECT count(*) FROM tblrandom")).toInt(), 0);
}

void TestDatabase::closedDatabaseFailsCleanly()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(QStringLiteral("exam1"), data::dbOpenTable);
    db->Close();
    QVERIFY(!db->isOpen());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MoveNext());
    QVERIFY_THROWS_EXCEPTION(DataError, db->Execute(data::sql::deleteRandomDraw()));
}

void TestDatabase::samplingDrawsDistinctRowsEvenly()
{
    auto db = Database::OpenDatabase(m_path);
    std::mt19937_64 random(42);
    // every row is equally likely
    std::map<qint64, int> seen;
    for (int i = 0; i < 3000; ++i) {
        const auto one = data::sampleRows(*db, QStringLiteral("exam1"), QStringLiteral("ID"), 1, random);
        QCOMPARE(one.size(), std::size_t(1));
        ++seen[one[0]];
    }
    QCOMPARE(seen.size(), std::size_t(3));
    for (const auto& [id, times] : seen)
        QVERIFY2(times > 850 && times < 1150, qPrintable(QString::number(times)));
    // all of them, each once; one more than there are gives nothing
    auto all = data::sampleRows(*db, QStringLiteral("exam1"), QStringLiteral("ID"), 3, random);
    std::sort(all.begin(), all.end());
    QCOMPARE(all, (std::vector<qint64>{10, 20, 30}));
    QVERIFY(data::sampleRows(*db, QStringLiteral("exam1"), QStringLiteral("ID"), 4, random).empty());

    // a table thinned out to a few rows far apart is still drawn right
    sqlfixture::exec(m_path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                            "WHERE i < 5000) INSERT INTO notes SELECT i, NULL FROM n"));
    sqlfixture::exec(m_path, QStringLiteral("DELETE FROM notes WHERE rowid % 1000 <> 7"));
    auto thin = data::sampleRows(*db, QStringLiteral("notes"), QStringLiteral("a"), 5, random);
    std::sort(thin.begin(), thin.end());
    QCOMPARE(thin, (std::vector<qint64>{7, 1007, 2007, 3007, 4007}));
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
