// Controls bound to a data control over a real question database: what they
// show, and above all how the candidate's ticks reach the working table.

#include "SqlFixture.h"
#include "TempBank.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/toolkit/Bindings.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using Access = gui::Bindings::Access;

namespace {

// A data control with its bound controls, as a window holds them. Every
// UPDATE on its connection is logged in the table writes, to tell "nothing
// written" from "written again". (A bank's own triggers never run, so the
// log is kept by temporary triggers of the connection itself.)
struct Bound {
    Bound(const QString& path, const QString& source)
        : data(path, u";pwd=secret"_s, source), bindings(data)
    {
        for (const QString& table : {u"exam1"_s, u"exam11"_s, u"tblrandom"_s})
            data.Database()->Execute(
                u"CREATE TEMP TRIGGER log_%1 AFTER UPDATE ON %1 "
                "BEGIN INSERT INTO writes VALUES ('%1', NEW.ID); END"_s.arg(table));
    }
    data::DataControl data;
    gui::Bindings bindings;
};

} // namespace

class TestBindings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void ticksAreStoredWhenTheRecordIsLeft();
    void displayOnlyBoxesNeverWrite();
    void aRecordsChoicesAreStoredAtOnce();
    void aFailedSaveLeavesTheRowAsItWas();
    void controlsShowTheCurrentRecord();
    void missingColumnOrTable();

private:
    // "ID|c1|c2|c3|c4|c5" for each row of `table`, by ID
    QStringList choices(const QString& table = u"exam1"_s) const
    {
        return sqlfixture::rows(m_path,
                                u"SELECT ID, correctanswer1, correctanswer2, correctanswer3, "
                                "correctanswer4, correctanswer5 FROM %1 ORDER BY ID"_s.arg(table));
    }
    // "table|ID" of every row an UPDATE touched, once each
    QStringList writes() const
    {
        return sqlfixture::rows(m_path, u"SELECT DISTINCT tbl, id FROM writes ORDER BY tbl, id"_s);
    }
    // Check1..Check<count> bound to correctanswer1..<count>
    QList<QCheckBox*> boxes(gui::Bindings& bindings, int count, Access access)
    {
        QList<QCheckBox*> out;
        for (int k = 1; k <= count; ++k) {
            out << new QCheckBox(u"Check%1"_s.arg(k), m_window.get());
            m_window->layout()->addWidget(out.last());
            bindings.bind(out.last(), u"correctanswer%1"_s.arg(k), access);
        }
        return out;
    }

    std::unique_ptr<TempBank> m_bank;
    QString m_path;
    std::unique_ptr<QWidget> m_window;
};

void TestBindings::init()
{
    m_bank = std::make_unique<TempBank>(4, 3);
    // IDs 1..6; keys: 1 -> {1}, 2 -> {2}, 3 -> {3,4}, 4 -> {4}, 5 -> {1}, 6 -> {2,3}
    m_bank->addExam(1, 6);
    m_path = m_bank->write(u"qbk09.mdb"_s);
    sqlfixture::create(
        m_path,
        {
            // no choice made yet; the log of the connections' writes (see Bound)
            u"UPDATE exam1 SET correctanswer1 = 0, correctanswer2 = 0, correctanswer3 = 0, correctanswer4 = 0, "
            "correctanswer5 = 0"_s,
            u"CREATE TABLE writes (tbl TEXT, id INTEGER)"_s,
        });
    m_window = std::make_unique<QWidget>();
    new QVBoxLayout(m_window.get());
}

void TestBindings::ticksAreStoredWhenTheRecordIsLeft()
{
    Bound b(m_path, u"exam1"_s);
    const QList<QCheckBox*> check = boxes(b.bindings, 4, Access::ReadWrite);
    m_window->show();
    b.data.Refresh();
    data::Recordset& rs = b.data.recordset();

    check[1]->setChecked(true);                  // by code
    QTest::mouseClick(check[3], Qt::LeftButton); // by the candidate
    QVERIFY(writes().isEmpty());                 // nothing before the move
    rs.MoveNext();
    QCOMPARE(choices().at(0), u"1|0|1|0|1|0"_s);
    for (QCheckBox* box : check)
        QVERIFY(!box->isChecked()); // the next record's own choices

    rs.MovePrevious();
    QVERIFY(!check[0]->isChecked() && check[1]->isChecked() && check[3]->isChecked());
    check[1]->setChecked(false); // a tick taken away is stored too
    rs.MoveLast();
    QCOMPARE(choices().at(0), u"1|0|0|0|1|0"_s);

    check[0]->setChecked(true); // the last record's, when the cursor moves past the end
    rs.MoveNext();
    QVERIFY(rs.Eof() && !check[0]->isChecked());
    QCOMPARE(choices().at(5), u"6|1|0|0|0|0"_s);
    rs.MovePrevious();
    QVERIFY(check[0]->isChecked());

    check[2]->setChecked(true); // FindFirst is a move as well
    rs.FindFirst(data::sql::findId(2));
    QVERIFY(!check[0]->isChecked() && !check[2]->isChecked());
    QCOMPARE(choices().at(5), u"6|1|0|1|0|0"_s);

    check[0]->setChecked(true);
    b.data.Refresh(); // stores the record it leaves, then stands on the first
    QCOMPARE(choices().at(1), u"2|1|0|0|0|0"_s);
    QCOMPARE(b.data.recordset().value(u"ID"_s).toInt(), 1);
    QCOMPARE(writes(), (QStringList{u"exam1|1"_s, u"exam1|2"_s, u"exam1|6"_s}));

    check[0]->setChecked(true);
    b.bindings.commit(); // stores without moving
    QCOMPARE(choices().at(0), u"1|1|0|0|1|0"_s);
    sqlfixture::exec(m_path, u"DELETE FROM writes"_s);
    b.bindings.commit();        // nothing new, not even on the moves after
    check[2]->setChecked(true); // ticked and unticked before leaving: no change
    check[2]->setChecked(false);
    b.data.recordset().MoveLast();
    b.data.recordset().MoveFirst();
    b.data.recordset().MoveNext();
    QVERIFY(writes().isEmpty());

    check[1]->setChecked(true);
    b.data.UpdateRecord(); // the data control's own way to store
    QCOMPARE(choices().at(1), u"2|1|1|0|0|0"_s);
    check[0]->setChecked(false); // stored before a new record source runs
    b.data.RecordSource = u"SELECT * FROM exam1 WHERE ID >= 4"_s;
    b.data.Refresh();
    QCOMPARE(choices().at(1), u"2|0|1|0|0|0"_s);
    QCOMPARE(b.data.recordset().value(u"ID"_s).toInt(), 4);
}

void TestBindings::displayOnlyBoxesNeverWrite()
{
    const QStringList keyBefore = choices(u"exam11"_s);
    Bound b(m_path, u"exam11"_s);
    const QList<QCheckBox*> key = boxes(b.bindings, 4, Access::DisplayOnly);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    b.data.Refresh();
    QVERIFY(key[0]->isChecked() && !key[1]->isChecked()); // question 1's key

    // the candidate cannot change it: mouse, space bar, its caption's access key
    QTest::mouseClick(key[1], Qt::LeftButton);
    QTest::mouseClick(key[0], Qt::LeftButton);
    key[1]->setText(u"&Key two"_s);
    QTest::keyClick(m_window.get(), Qt::Key_K, Qt::AltModifier);
    QTest::keyClick(key[1], Qt::Key_Space);
    QAccessible::queryAccessibleInterface(key[1])->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    QVERIFY(key[0]->isChecked() && !key[1]->isChecked());

    // what code sets in it is never stored
    key[0]->setChecked(false);
    key[2]->setChecked(true);
    b.data.recordset().MoveNext();
    key[3]->setChecked(true);
    b.bindings.commit();
    b.data.Refresh();
    QCOMPARE(writes(), QStringList());
    QCOMPARE(choices(u"exam11"_s), keyBefore);

    // beside a read-write box on the same record, only that one writes
    Bound both(m_path, u"exam1"_s);
    const QList<QCheckBox*> choice = boxes(both.bindings, 1, Access::ReadWrite);
    auto* shown = new QCheckBox(m_window.get());
    both.bindings.bind(shown, u"correctanswer2"_s, Access::DisplayOnly);
    both.data.Refresh();
    choice[0]->setChecked(true);
    shown->setChecked(true);
    both.data.recordset().MoveNext();
    QCOMPARE(choices().at(0), u"1|1|0|0|0|0"_s);
}

void TestBindings::aRecordsChoicesAreStoredAtOnce()
{
    // the log's trigger fires once per statement that changes the row; over the
    // draw's join (not in ID order) only the working table is written, never the key or the draw
    sqlfixture::exec(m_path, u"INSERT INTO tblrandom (sl_no, ID) VALUES (1, 5), (2, 3)"_s);
    const QStringList key = choices(u"exam11"_s);
    for (const QString& source : {u"exam1"_s, data::sql::examQuestionsInDrawOrder(1)}) {
        sqlfixture::exec(m_path, u"DELETE FROM writes"_s);
        Bound b(m_path, source);
        QList<QCheckBox*> check = boxes(b.bindings, 2, Access::ReadWrite);
        for (int k : {3, 4}) { // named as a join names them
            check << new QCheckBox(m_window.get());
            b.bindings.bind(check.last(), u"exam1.correctanswer%1"_s.arg(k), Access::ReadWrite);
        }
        b.data.Refresh();
        const qint64 id = b.data.recordset().value(u"exam1.ID"_s).toLongLong();
        check[0]->setChecked(true);
        check[2]->setChecked(true);
        check[3]->setChecked(true);
        b.data.recordset().MoveNext();
        QCOMPARE(sqlfixture::rows(m_path, u"SELECT tbl, id FROM writes"_s),
                 QStringList{u"exam1|%1"_s.arg(id)});
        QCOMPARE(sqlfixture::rows(m_path, u"SELECT correctanswer1, correctanswer2, "
                                          "correctanswer3, correctanswer4 FROM exam1 "
                                          "WHERE ID = %1"_s.arg(id)),
                 QStringList{u"1|0|1|1"_s});
        b.data.recordset().MovePrevious(); // shown again as stored
        QVERIFY(check[0]->isChecked() && !check[1]->isChecked() && check[2]->isChecked() &&
                check[3]->isChecked());
    }
    QCOMPARE(choices(u"exam11"_s), key);
}

void TestBindings::aFailedSaveLeavesTheRowAsItWas()
{
    // The disk fills up (a trigger stands in for it) while a question's
    // choices are stored: after the first column, or, for a record that
    // spans two tables, after the first table's statement has run.
    struct Case {
        QString trigger;
        QString source;
        QString secondField;
    };
    const QString join = u"SELECT exam1.*, exam11.ID AS keyId, exam11.correctanswer4 AS keyFour "
                         "FROM exam1 INNER JOIN exam11 ON exam11.ID = exam1.ID ORDER BY exam1.ID"_s;
    const QList<Case> cases{
        {u"BEFORE UPDATE OF correctanswer3 ON exam1 WHEN NEW.correctanswer3 = 1"_s, u"exam1"_s,
         u"correctanswer3"_s},
        {u"AFTER UPDATE OF correctanswer3 ON exam1 WHEN NEW.correctanswer3 = 1"_s, join,
         u"correctanswer3"_s},
        {u"BEFORE UPDATE ON exam11"_s, join, u"exam11.correctanswer4"_s},
        {u"AFTER UPDATE ON exam11"_s, join, u"exam11.correctanswer4"_s},
    };
    const QStringList key = choices(u"exam11"_s);
    for (const QString& raise : {u"ABORT"_s, u"ROLLBACK"_s, u"FAIL"_s}) {
        for (const Case& c : cases) {
            const QString what = raise + u": "_s + c.trigger;
            const QStringList before = choices();
            Bound b(m_path, c.source);
            b.data.Database()->Execute(
                u"CREATE TEMP TRIGGER full %1 BEGIN "
                "SELECT RAISE(%2, 'database or disk is full'); END"_s.arg(c.trigger, raise));
            const QList<QCheckBox*> check = boxes(b.bindings, 2, Access::ReadWrite);
            auto* second = new QCheckBox(m_window.get());
            b.bindings.bind(second, c.secondField, Access::ReadWrite);
            b.data.Refresh();
            check[0]->setChecked(true);
            check[1]->setChecked(true);
            second->setChecked(true);
            QVERIFY_THROWS_EXCEPTION(data::DataError, b.data.recordset().MoveNext());
            QVERIFY2(choices() == before, qPrintable(what));
            QVERIFY2(choices(u"exam11"_s) == key, qPrintable(what));
            // nothing is lost: the choices are still on screen and stored once the disk has room
            QVERIFY(check[0]->isChecked() && second->isChecked());
            b.data.Database()->Execute(u"DROP TRIGGER full"_s);
            b.data.recordset().MoveNext();
            QVERIFY2(choices().at(0).startsWith(u"1|1|1|"_s), qPrintable(what));
            if (c.secondField.startsWith(u"exam11"_s))
                QCOMPARE(choices(u"exam11"_s).at(0).split(u'|').at(4), u"1"_s);
            // put the rows back for the next case
            sqlfixture::exec(m_path, u"UPDATE exam1 SET correctanswer1 = 0, correctanswer2 = 0, "
                                     "correctanswer3 = 0 WHERE ID = 1"_s);
            sqlfixture::exec(m_path, u"UPDATE exam11 SET correctanswer4 = %1 WHERE ID = 1"_s.arg(
                                         key.at(0).split(u'|').at(4)));
        }
    }
}

void TestBindings::controlsShowTheCurrentRecord()
{
    sqlfixture::exec(m_path, u"UPDATE exam1 SET correctanswer3 = 1 WHERE ID = 1"_s);
    sqlfixture::exec(m_path, u"UPDATE exam1 SET diagram1 = 'exhibits/net.png' WHERE ID = 2"_s);
    sqlfixture::exec(m_path, u"DELETE FROM writes"_s);
    Bound b(m_path, u"exam1"_s);
    auto* text2 = new QLineEdit(m_window.get());
    auto* lblQuestion = new QLabel(m_window.get());
    b.bindings.bind(text2, u"diagram1"_s);
    b.bindings.bind(lblQuestion, u"question"_s);
    QCheckBox* check = boxes(b.bindings, 1, Access::ReadWrite).at(0);
    QStringList changes; // the text box's Change handler
    connect(text2, &QLineEdit::textChanged, this,
            [&changes](const QString& text) { changes << text; });

    b.data.Refresh();
    data::Recordset& rs = b.data.recordset();
    QCOMPARE(text2->text(), QString()); // Null shows as ""
    QCOMPARE(lblQuestion->text(), u"Question 1 of exam 1"_s);
    // re-pointed: shown at once, and on each move; a check box stores into its new column only
    b.bindings.setDataField(lblQuestion, u"answer3"_s);
    QCOMPARE(lblQuestion->text(), u"Answer 3 of question 1"_s);
    b.bindings.setDataField(check, u"exam1.correctanswer3"_s);
    QVERIFY(check->isChecked());
    b.bindings.setDataField(check, u"correctanswer4"_s);
    check->setChecked(true);
    rs.MoveNext();
    QCOMPARE(choices().at(0), u"1|0|0|1|1|0"_s);
    rs.MoveNext();
    QCOMPARE(lblQuestion->text(), u"Answer 3 of question 3"_s);
    QCOMPARE(changes, (QStringList{u"exhibits/net.png"_s, QString()}));

    text2->setText(u"typed"_s); // a bound text box is not stored
    rs.MovePrevious();
    QCOMPARE(text2->text(), u"exhibits/net.png"_s);
    QCOMPARE(writes(), QStringList{u"exam1|1"_s});
    rs.MoveLast();
    rs.MoveNext(); // past the end there is nothing to show
    QCOMPARE(lblQuestion->text(), QString());
}

void TestBindings::missingColumnOrTable()
{
    Bound b(m_path, u"exam1"_s);
    auto* label = new QLabel(m_window.get());
    b.bindings.bind(label, u"question"_s);
    b.data.Refresh();
    try {
        b.bindings.setDataField(label, u"question9"_s);
        QFAIL("a missing column was shown");
    } catch (const data::DataError& e) {
        QCOMPARE(e.kind(), data::DataError::Kind::MissingTable);
        QVERIFY(e.describe().contains(u"question9"_s));
    }
    QVERIFY_THROWS_EXCEPTION(data::DataError,
                             b.bindings.bind(new QLabel(m_window.get()), u"exam11.question"_s));

    Bound late(m_path, u"exam11"_s); // bound before the query runs
    late.bindings.bind(new QCheckBox(m_window.get()), u"cat_desc"_s, Access::ReadWrite);
    QVERIFY_THROWS_EXCEPTION(data::DataError, late.data.Refresh());

    // a table name with a blank; a closed database opens again on Refresh
    Bound info(m_path, data::sql::testInformationTable());
    auto* lblTestName = new QLabel(m_window.get());
    info.bindings.bind(lblTestName, u"test_name"_s);
    info.data.Refresh();
    info.data.Database()->Close();
    info.data.Refresh();
    QCOMPARE(lblTestName->text(), u"Temporary test"_s);
}

QTEST_MAIN(TestBindings)
#include "tst_bindings.moc"
