#include "SqlFixture.h"
#include "data/DataControl.h"
#include "data/DataError.h"
#include "data/Database.h"
#include "data/PagedQueryRecordset.h"

#include <QTemporaryDir>
#include <QTest>

using data::DataControl;
using namespace Qt::StringLiterals;

namespace {

// What a window's bound controls would do: note each record left and entered.
class Listener final : public data::RecordsetListener {
public:
    explicit Listener(DataControl& control) : m_control(control) {}
    void leavingRecord() override { ++left; }
    void recordEntered() override
    {
        data::Recordset& rs = m_control.recordset();
        shown = rs.hasCurrent() ? rs.value(u"n"_s).toInt() : 0;
    }
    int left = 0;
    int shown = -1;

private:
    DataControl& m_control;
};

} // namespace

// The data control's cursor: read a page at a time when read-only, shared
// between two controls, and let go of.
class TestDataControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void readOnlyCursorReadsAsItGoes();
    void cursorIsSharedAndLetGo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestDataControl::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(u"qbk09.mdb"_s);
    sqlfixture::create(
        m_path, {u"CREATE TABLE t (n INTEGER, word TEXT)"_s,
                 u"WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 1000) "
                 "INSERT INTO t SELECT i, 'w' || i FROM c"_s});
}

void TestDataControl::readOnlyCursorReadsAsItGoes()
{
    const int page = data::PagedQueryRecordset::pageRows;
    for (const QString& source : {u"SELECT * FROM t ;"_s, u"t"_s}) {
        DataControl control(m_path, QString(), source);
        control.ReadOnly = true;
        control.Refresh();
        data::Recordset& rs = control.recordset();
        // like a DAO record set: the rows read so far, exact after MoveLast
        QCOMPARE(rs.RecordCount(), qint64(page));
        for (int i = 0; i < page + 5; ++i)
            rs.MoveNext();
        QCOMPARE(rs.value(u"n"_s).toInt(), page + 6);
        QCOMPARE(rs.RecordCount(), qint64(2 * page));
        // between pages no lock is held: another connection writes at once
        sqlfixture::exec(m_path, u"UPDATE t SET word = 'changed' WHERE n = 1"_s);
        QVERIFY(!rs.canWriteBack(1));
        rs.Edit();
        rs.setValue(u"word"_s, u"x"_s);
        QVERIFY_THROWS_EXCEPTION(data::DataError, rs.Update());
        rs.MoveLast();
        QCOMPARE(rs.value(u"n"_s).toInt(), 1000);
        QCOMPARE(rs.RecordCount(), 1000);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        rs.MovePrevious();
        QCOMPARE(rs.value(u"word"_s).toString(), u"w1000"_s);
    }
    // a statement that limits itself is read whole, as it stands
    auto db = data::Database::OpenDatabase(m_path);
    auto limited =
        db->OpenRecordset(u"SELECT n FROM t ORDER BY n DESC LIMIT 3"_s, data::dbOpenSnapshot);
    QCOMPARE(limited->RecordCount(), 3);
    QCOMPARE(limited->value(0).toInt(), 1000);
    QVERIFY_THROWS_EXCEPTION(data::DataError,
                             db->OpenRecordset(u"no_such_table"_s, data::dbOpenSnapshot));
}

void TestDataControl::cursorIsSharedAndLetGo()
{
    DataControl first(m_path, QString(), u"SELECT n, word FROM t WHERE n <= 3"_s);
    DataControl second(m_path, QString(), u"t"_s);
    Listener firstBound(first), secondBound(second);
    first.setListener(&firstBound);
    second.setListener(&secondBound);
    QVERIFY_THROWS_EXCEPTION(data::DataError, second.assignRecordset(first)); // nothing to take
    first.Refresh();
    first.recordset().MoveNext();

    // both stand on the same record, and a move through either moves both
    second.assignRecordset(first);
    QCOMPARE(&second.recordset(), &first.recordset());
    QCOMPARE(secondBound.shown, 2);
    second.recordset().MoveNext();
    QCOMPARE(firstBound.shown, 3);
    QCOMPARE(secondBound.shown, 3);

    // letting go stores what the bound controls hold, then hears of no more moves
    const int left = firstBound.left;
    first.detachRecordset();
    QCOMPARE(firstBound.left, left + 1);
    QVERIFY(!first.hasRecordset());
    QVERIFY_THROWS_EXCEPTION(data::DataError, first.recordset());
    second.recordset().MovePrevious();
    QCOMPARE(secondBound.shown, 2);
    QCOMPARE(firstBound.shown, 3);

    // closing one control leaves the database of the other open
    first.Refresh();
    second.assignRecordset(first);
    first.close();
    second.recordset().MoveLast();
    QCOMPARE(secondBound.shown, 3);
    second.setListener(nullptr);
    first.setListener(nullptr);
}

QTEST_GUILESS_MAIN(TestDataControl)
#include "tst_datacontrol.moc"
