#include "SqlFixture.h"
#include "data/DataError.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/RowSampler.h"
#include "data/Statements.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using data::Database;
using data::DataError;
using data::Recordset;
using namespace Qt::StringLiterals;

namespace {

QStringList questionTables()
{
    return {
        u"CREATE TABLE exam1 (ID INTEGER NOT NULL, question TEXT, correctanswer1 INTEGER "
        "NOT NULL DEFAULT 0, correctanswer2 INTEGER NOT NULL DEFAULT 0, catid INTEGER, diagram1 TEXT)"_s,
        u"CREATE UNIQUE INDEX exam1_primaryKey ON exam1 (ID)"_s,
        u"CREATE TABLE exam11 (ID INTEGER NOT NULL, question TEXT, correctanswer1 INTEGER, correctanswer2 INTEGER)"_s,
        u"CREATE UNIQUE INDEX exam11_primaryKey ON exam11 (ID)"_s,
        u"CREATE TABLE tblrandom (sl_no INTEGER, ID INTEGER)"_s,
        u"CREATE TABLE notes (a TEXT, b TEXT)"_s,
        // stored out of key order on purpose
        u"INSERT INTO exam1 (ID, question, catid, diagram1) VALUES (20, 'twenty', 1, ''), "
        "(10, 'ten', 0, NULL), (30, 'thirty', 2, 'x.png')"_s,
        u"INSERT INTO exam11 (ID, question, correctanswer1, correctanswer2) VALUES "
        "(10, 'ten', 1, 0), (20, 'twenty', 0, 1), (30, 'thirty', 1, 1)"_s,
        u"INSERT INTO tblrandom VALUES (1, 30), (2, 10)"_s,
    };
}

// The kind and the candidate's words of the error a call fails with.
template <typename Call> std::pair<DataError::Kind, QString> failure(Call&& call)
{
    try {
        call();
    } catch (const DataError& e) {
        return {e.kind(), e.describe()};
    }
    return {DataError::Kind::Other, u"no error at all"_s};
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void missingFileIsReportedAndNeverCreated();
    void unusableFileTableOrDatabase();

    void cursorWalksLikeDao_data();
    void cursorWalksLikeDao();

    void seekAndFindFirst();
    void addNewAndEditStoreRows();
    void samplingDrawsDistinctRowsEvenly();

private:
    QString m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabase::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(u"qbk09.mdb"_s);
    sqlfixture::create(m_path, questionTables());
}

void TestDatabase::missingFileIsReportedAndNeverCreated()
{
    const QString missing = m_dir->filePath(u"qbk009.mdb"_s);
    const auto [kind, words] = failure([&] { Database::OpenDatabase(missing); });
    QCOMPARE(kind, DataError::Kind::MissingFile);
    QVERIFY(words.contains(u"\"qbk009.mdb\""_s));
    QVERIFY(words.contains(QDir::toNativeSeparators(m_dir->path())));

    // a bare name is looked for in the current folder only
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    QVERIFY(Database::OpenDatabase(u"qbk09.mdb"_s)->isOpen());
    QVERIFY_THROWS_EXCEPTION(DataError, Database::OpenDatabase(u"qbk009.mdb"_s));
    QDir::setCurrent(before);
    QVERIFY(!QFile::exists(missing));
}

void TestDatabase::unusableFileTableOrDatabase()
{
    const QString broken = m_dir->filePath(u"broken.mdb"_s);
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write(QByteArray("Standard Jet DB, or so it says. ").repeated(64)));
    file.close();
    const auto [kind, words] = failure([&] { Database::OpenDatabase(broken); });
    QCOMPARE(kind, DataError::Kind::NotADatabase);
    QVERIFY(words.contains(u"broken.mdb"_s));

    auto db = Database::OpenDatabase(m_path);
    QCOMPARE(failure([&] { db->OpenRecordset(u"exam2"_s, data::dbOpenTable); }).first,
             DataError::Kind::MissingTable);
    QCOMPARE(failure([&] { db->Execute(data::sql::deleteShownAnswer()); }).first,
             DataError::Kind::MissingTable);
    QCOMPARE(failure([&] { db->OpenRecordset(data::sql::examQuestions(2)); }).first,
             DataError::Kind::MissingTable);
    auto rs = db->OpenRecordset(u"SELECT ID FROM exam1"_s);
    QCOMPARE(failure([&] { rs->value(u"explanation"_s); }).first, DataError::Kind::MissingTable);
    // the candidate reads what is missing, never the statement, which stays
    // for standard error and the box's details
    const QString statement = u"UPDATE exam1 SET nothing_here = 1"_s;
    try {
        db->Execute(statement);
        QFAIL("a missing column was written");
    } catch (const DataError& e) {
        QCOMPARE(e.describe(), u"The question database \"qbk09.mdb\" is incomplete: the column "
                               "\"nothing_here\" is missing."_s);
        QVERIFY(e.technical().contains(statement) && e.technical().contains(m_path));
    }

    db->Close();
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MoveNext());
    QVERIFY_THROWS_EXCEPTION(DataError, db->Execute(data::sql::deleteRandomDraw()));
}

void TestDatabase::cursorWalksLikeDao_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("type");
    QTest::newRow("table type") << "exam1" << int(data::dbOpenTable);
    QTest::newRow("dynaset on a table") << "exam1" << int(data::dbOpenDynaset);
    QTest::newRow("query") << "SELECT * FROM exam1" << int(data::dbOpenDynaset);
    QTest::newRow("snapshot on a table") << "exam1" << int(data::dbOpenSnapshot);
    QTest::newRow("snapshot query") << "SELECT * FROM exam1 ;" << int(data::dbOpenSnapshot);
}

void TestDatabase::cursorWalksLikeDao()
{
    QFETCH(QString, source);
    QFETCH(int, type);
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(source, data::RecordsetType(type));
    // makes a move, then tells the ID it stands on (0: no current record)
    const auto after = [&](void (Recordset::*move)()) {
        (rs.get()->*move)();
        return rs->hasCurrent() ? rs->value(u"ID"_s).toInt() : 0;
    };

    // opens on the first record, in stored order
    QVERIFY(!rs->Bof() && !rs->Eof());
    QCOMPARE(rs->value(u"ID"_s).toInt(), 20);
    QCOMPARE(rs->RecordCount(), 3);
    QCOMPARE(rs->value(u"diagram1"_s), QVariant(QString())); // '', not Null
    QCOMPARE(after(&Recordset::MoveNext), 10);
    QVERIFY(rs->value(u"diagram1"_s).isNull());
    QCOMPARE(after(&Recordset::MoveNext), 30);
    QCOMPARE(after(&Recordset::MoveNext), 0);
    QVERIFY(rs->Eof());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->value(u"ID"_s));
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MoveNext());
    QCOMPARE(after(&Recordset::MovePrevious), 30); // back from past the end is the last record
    rs->MoveFirst();
    QCOMPARE(after(&Recordset::MovePrevious), 0);
    QVERIFY(rs->Bof());
    QVERIFY_THROWS_EXCEPTION(DataError, rs->MovePrevious());
    QCOMPARE(after(&Recordset::MoveNext), 20);
    QCOMPARE(after(&Recordset::MoveLast), 30);
    QCOMPARE(rs->RecordCount(), 3);
    // by position as well as by name
    QCOMPARE(rs->value(0).toInt(), 30);
    QCOMPARE(rs->value(1).toString(), u"thirty"_s);

    // an empty one has no current record at all
    auto empty =
        db->OpenRecordset(source.replace(u"exam1"_s, u"notes"_s), data::RecordsetType(type));
    QVERIFY(empty->Bof() && empty->Eof());
    QCOMPARE(empty->RecordCount(), 0);
    QVERIFY_THROWS_EXCEPTION(DataError, empty->MoveFirst());
    QVERIFY_THROWS_EXCEPTION(DataError, empty->MoveNext());
    QVERIFY_THROWS_EXCEPTION(DataError, empty->value(u"a"_s));
}

void TestDatabase::seekAndFindFirst()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(u"exam1"_s, data::dbOpenTable);
    QVERIFY_THROWS_EXCEPTION(DataError, rs->Seek(u"="_s, 10));
    QVERIFY_THROWS_EXCEPTION(DataError, rs->setIndex(u"byCategory"_s));
    rs->setIndex(u"primaryKey"_s);
    rs->Seek(u"="_s, 30);
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->value(u"question"_s).toString(), u"thirty"_s);
    rs->Seek(u"="_s, 25);
    QVERIFY(rs->NoMatch());
    // with the index set the cursor walks in key order
    rs->MoveFirst();
    QCOMPARE(rs->value(u"ID"_s).toInt(), 10);
    rs->MoveNext();
    QCOMPARE(rs->value(u"ID"_s).toInt(), 20);

    // every table owns its "primaryKey", though SQLite names indexes per file
    auto key = db->OpenRecordset(u"exam11"_s, data::dbOpenTable);
    key->setIndex(u"primaryKey"_s);
    key->Seek(u"="_s, 20);
    QVERIFY(!key->NoMatch());
    QCOMPARE(key->value(u"correctanswer2"_s).toInt(), 1);

    // a dynaset finds by criterion
    rs = db->OpenRecordset(u"tblrandom"_s, data::dbOpenDynaset);
    rs->FindFirst(data::sql::findId(10));
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->value(u"sl_no"_s).toInt(), 2);
    rs->FindFirst(data::sql::findId(17));
    QVERIFY(rs->NoMatch());
}

void TestDatabase::addNewAndEditStoreRows()
{
    auto db = Database::OpenDatabase(m_path);
    auto rs = db->OpenRecordset(u"notes"_s);
    const auto stored = [this] { return sqlfixture::rows(m_path, u"SELECT a, b FROM notes"_s); };
    QVERIFY_THROWS_EXCEPTION(DataError, rs->setValue(u"a"_s, u"x"_s));
    rs->AddNew();
    rs->setValue(0, u"first"_s);
    rs->setValue(u"b"_s, QVariant());
    rs->Update();
    QCOMPARE(stored(), QStringList{u"first|NULL"_s});
    rs->MoveFirst();
    rs->Edit();
    rs->setValue(u"b"_s, u""_s);
    // moving away abandons an edit that was not updated
    rs->MoveFirst();
    QCOMPARE(stored(), QStringList{u"first|NULL"_s});
    rs->Edit();
    rs->setValue(u"b"_s, u""_s);
    rs->Update();
    QCOMPARE(stored(), QStringList{u"first|"_s});

    // a query's column is stored through its table's key, so the key must be among the results
    auto drawn = db->OpenRecordset(data::sql::examQuestions(1));
    QVERIFY(drawn->canWriteBack(drawn->fieldIndex(u"correctanswer2"_s)));
    auto bare = db->OpenRecordset(u"SELECT question, correctanswer1 FROM exam1"_s);
    QVERIFY(!bare->canWriteBack(1));
    bare->Edit();
    bare->setValue(1, 1);
    QVERIFY_THROWS_EXCEPTION(DataError, bare->Update());
}

void TestDatabase::samplingDrawsDistinctRowsEvenly()
{
    auto db = Database::OpenDatabase(m_path);
    std::mt19937_64 random(42);
    // every row is equally likely
    std::map<qint64, int> seen;
    for (int i = 0; i < 3000; ++i) {
        const auto one = data::sampleRows(*db, u"exam1"_s, u"ID"_s, 1, random);
        QCOMPARE(one.size(), std::size_t(1));
        ++seen[one[0]];
    }
    for (const auto& [id, times] : seen)
        QVERIFY2(times > 850 && times < 1150, qPrintable(QString::number(times)));

    // a table thinned out to a few rows far apart is still drawn right
    sqlfixture::exec(m_path, u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < 5000) INSERT INTO notes SELECT i, NULL FROM n"_s);
    sqlfixture::exec(m_path, u"DELETE FROM notes WHERE rowid % 1000 <> 7"_s);
    auto thin = data::sampleRows(*db, u"notes"_s, u"a"_s, 5, random);
    std::sort(thin.begin(), thin.end());
    QCOMPARE(thin, (std::vector<qint64>{7, 1007, 2007, 3007, 4007}));
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
