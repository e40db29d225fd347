// Controls bound to a data control over a real question database: what they
// show, and above all how the candidate's ticks reach the working table.

#include "Bindings.h"
#include "DataError.h"
#include "SqlFixture.h"
#include "Statements.h"
#include "TempBank.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using Access = app::Bindings::Access;

class TestBindings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void tickIsStoredWhenTheCursorMoves();
    void refreshAndCommitStorePendingTicks();
    void untouchedBoxesWriteNothing();
    void answersAreGradedAsStored();
    void joinQueryWritesToTheWorkingTableOnly();
    void displayOnlyBoxesNeverWrite();

    void textControlsShowTheCurrentRecord();
    void setDataFieldRepointsAControl();
    void missingColumnOrFile();

private:
    // "ID|c1|c2|c3|c4|c5" for each row of `table`, by ID
    QStringList choices(const QString& table = u"exam1"_s) const
    {
        return sqlfixture::rows(m_path, u"SELECT ID, correctanswer1, correctanswer2, correctanswer3, "
                                        "correctanswer4, correctanswer5 FROM %1 ORDER BY ID"_s.arg(table));
    }
    // "table|ID" of every row an UPDATE touched, once each
    QStringList writes() const
    {
        return sqlfixture::rows(m_path, u"SELECT DISTINCT tbl, id FROM writes ORDER BY tbl, id"_s);
    }
    // Check1..Check<count> bound to correctanswer1..<count>
    QList<QCheckBox*> boxes(app::Bindings& bindings, int count, Access access)
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
    sqlfixture::create(m_path, {
        // no choice made yet, and every UPDATE logged, to tell "nothing written" from "written again"
        u"UPDATE exam1 SET correctanswer1 = 0, correctanswer2 = 0, correctanswer3 = 0, correctanswer4 = 0, "
        "correctanswer5 = 0"_s,
        u"CREATE TABLE writes (tbl TEXT, id INTEGER)"_s,
        u"CREATE TRIGGER w1 AFTER UPDATE ON exam1 BEGIN INSERT INTO writes VALUES ('exam1', NEW.ID); END"_s,
        u"CREATE TRIGGER w2 AFTER UPDATE ON exam11 BEGIN INSERT INTO writes VALUES ('exam11', NEW.ID); END"_s,
        u"CREATE TRIGGER w3 AFTER UPDATE ON tblrandom BEGIN INSERT INTO writes VALUES ('tblrandom', NEW.ID); END"_s,
    });
    m_window = std::make_unique<QWidget>();
    new QVBoxLayout(m_window.get());
}

void TestBindings::tickIsStoredWhenTheCursorMoves()
{
    data::DataControl data1(m_path, u";pwd=secret"_s, u"exam1"_s);
    app::Bindings bindings(data1);
    const QList<QCheckBox*> check = boxes(bindings, 4, Access::ReadWrite);
    m_window->show();
    data1.Refresh();
    data::Recordset& rs = data1.recordset();

    check[1]->setChecked(true);                   // by code
    QTest::mouseClick(check[3], Qt::LeftButton);  // by the candidate
    QVERIFY(writes().isEmpty());                  // nothing before the move
    rs.MoveNext();
    QCOMPARE(choices().at(0), u"1|0|1|0|1|0"_s);
    QCOMPARE(writes(), QStringList{u"exam1|1"_s});
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
    QCOMPARE(rs.value(u"ID"_s).toInt(), 2);
    QVERIFY(!check[0]->isChecked() && !check[2]->isChecked());
    QCOMPARE(choices().at(5), u"6|1|0|1|0|0"_s);
    QCOMPARE(writes(), (QStringList{u"exam1|1"_s, u"exam1|6"_s}));
}

void TestBindings::refreshAndCommitStorePendingTicks()
{
    data::DataControl data1(m_path, QString(), u"exam1"_s);
    app::Bindings bindings(data1);
    const QList<QCheckBox*> check = boxes(bindings, 2, Access::ReadWrite);
    data1.Refresh();

    data1.recordset().MoveNext();
    check[0]->setChecked(true);
    data1.Refresh(); // stores the record it leaves, then stands on the first
    QCOMPARE(choices().at(1), u"2|1|0|0|0|0"_s);
    QCOMPARE(data1.recordset().value(u"ID"_s).toInt(), 1);
    QVERIFY(!check[0]->isChecked());

    check[1]->setChecked(true);
    bindings.commit(); // stores without moving
    QCOMPARE(choices().at(0), u"1|0|1|0|0|0"_s);
    sqlfixture::exec(m_path, u"DELETE FROM writes"_s);
    bindings.commit(); // nothing new
    data1.recordset().MoveNext();
    QVERIFY(writes().isEmpty());

    check[1]->setChecked(true);
    data1.UpdateRecord(); // the data control's own way to store
    QCOMPARE(choices().at(1), u"2|1|1|0|0|0"_s);

    check[0]->setChecked(false); // stored before a new record source runs
    data1.RecordSource = u"SELECT * FROM exam1 WHERE ID >= 4"_s;
    data1.Refresh();
    QCOMPARE(choices().at(1), u"2|0|1|0|0|0"_s);
    QCOMPARE(data1.recordset().value(u"ID"_s).toInt(), 4);
}

void TestBindings::untouchedBoxesWriteNothing()
{
    const QStringList before = choices();
    data::DataControl data1(m_path, QString(), u"exam1"_s);
    app::Bindings bindings(data1);
    const QList<QCheckBox*> check = boxes(bindings, 5, Access::ReadWrite);
    data1.Refresh();
    data::Recordset& rs = data1.recordset();
    while (!rs.Eof())
        rs.MoveNext();
    rs.MoveFirst();
    rs.MoveLast();
    bindings.commit();
    check[2]->setChecked(true); // ticked and unticked before leaving: no change
    check[2]->setChecked(false);
    rs.MoveFirst();
    data1.Refresh();
    QCOMPARE(writes(), QStringList());
    QCOMPARE(choices(), before);
}

void TestBindings::answersAreGradedAsStored()
{
    data::DataControl data1(m_path, QString(), u"exam1"_s);
    app::Bindings bindings(data1);
    const QList<QCheckBox*> check = boxes(bindings, 4, Access::ReadWrite);
    data1.Refresh();
    data::Recordset& rs = data1.recordset();
    auto answer = [&](QList<int> ticked) {
        for (int k = 0; k < 4; ++k)
            check[k]->setChecked(ticked.contains(k + 1));
        rs.MoveNext();
    };
    answer({1});    // single answer, right
    answer({3});    // single answer, wrong
    answer({3, 4}); // two answers, right
    answer({2, 3}); // wrong
    answer({});     // not answered
    answer({2});    // one of two
    QCOMPARE(choices(), (QStringList{u"1|1|0|0|0|0"_s, u"2|0|0|1|0|0"_s, u"3|0|0|1|1|0"_s, u"4|0|1|1|0|0"_s,
                                     u"5|0|0|0|0|0"_s, u"6|0|1|0|0|0"_s}));
    rs.MoveFirst(); // the candidate changes their mind on 2 and completes 6
    rs.MoveNext();
    answer({2});
    rs.MoveLast();
    check[2]->setChecked(true);
    bindings.commit();

    QStringList right;
    for (const QString& row : sqlfixture::rows(m_path, data::sql::correctAnswers(1, 4)))
        right << row.section(u'|', 0, 0);
    QCOMPARE(right, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"6"_s}));
}

void TestBindings::joinQueryWritesToTheWorkingTableOnly()
{
    sqlfixture::exec(m_path, u"INSERT INTO tblrandom (sl_no, ID) VALUES (1, 5), (2, 2), (3, 4)"_s);
    const QStringList key = choices(u"exam11"_s);
    data::DataControl data1(m_path, QString(), data::sql::examQuestions(1));
    app::Bindings bindings(data1);
    QList<QCheckBox*> check = boxes(bindings, 1, Access::ReadWrite);       // bare name
    check << new QCheckBox(m_window.get());
    bindings.bind(check[1], u"exam1.correctanswer2"_s, Access::ReadWrite); // qualified
    data1.Refresh();
    data::Recordset& rs = data1.recordset();
    rs.MoveLast();
    QCOMPARE(rs.RecordCount(), 3);
    rs.MoveFirst();

    QMap<int, QString> expected;
    for (int i = 0; i < 3; ++i) {
        expected[rs.value(u"exam1.ID"_s).toInt()] = i == 1 ? u"0|1"_s : i == 2 ? u"1|0"_s : u"1|1"_s;
        check[0]->setChecked(i != 1);
        check[1]->setChecked(i != 2);
        rs.MoveNext();
    }
    QCOMPARE(expected.keys(), (QList<int>{2, 4, 5}));
    QStringList stored;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        stored << u"%1|%2"_s.arg(it.key()).arg(it.value());
    QCOMPARE(sqlfixture::rows(m_path, u"SELECT ID, correctanswer1, correctanswer2 FROM exam1 "
                                      "WHERE correctanswer1 + correctanswer2 > 0 ORDER BY ID"_s),
             stored);
    QCOMPARE(choices(u"exam11"_s), key); // the key and the draw are untouched
    QCOMPARE(writes(), (QStringList{u"exam1|2"_s, u"exam1|4"_s, u"exam1|5"_s}));

    rs.MoveFirst(); // each drawn question shows its stored choices again
    for (int i = 0; i < 3; ++i, rs.MoveNext())
        QVERIFY(check[0]->isChecked() == (i != 1) && check[1]->isChecked() == (i != 2));
}

void TestBindings::displayOnlyBoxesNeverWrite()
{
    const QStringList keyBefore = choices(u"exam11"_s);
    data::DataControl data1(m_path, QString(), u"exam11"_s);
    app::Bindings bindings(data1);
    const QList<QCheckBox*> key = boxes(bindings, 4, Access::DisplayOnly);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    data1.Refresh();
    QVERIFY(key[0]->isChecked() && !key[1]->isChecked()); // question 1's key

    // the candidate cannot change it: mouse, space bar, its caption's access key
    QTest::mouseClick(key[1], Qt::LeftButton);
    QTest::mouseClick(key[0], Qt::LeftButton);
    key[1]->setText(u"&Key two"_s);
    QTest::keyClick(m_window.get(), Qt::Key_K, Qt::AltModifier);
    QTest::keyClick(key[1], Qt::Key_Space);
    QVERIFY(key[0]->isChecked() && !key[1]->isChecked());

    // what code sets in it is never stored
    key[0]->setChecked(false);
    key[2]->setChecked(true);
    data1.recordset().MoveNext();
    key[3]->setChecked(true);
    bindings.commit();
    data1.Refresh();
    QCOMPARE(writes(), QStringList());
    QCOMPARE(choices(u"exam11"_s), keyBefore);

    // beside a read-write box on the same record, only that one writes
    data::DataControl data2(m_path, QString(), u"exam1"_s);
    app::Bindings both(data2);
    const QList<QCheckBox*> choice = boxes(both, 1, Access::ReadWrite);
    auto* shown = new QCheckBox(m_window.get());
    both.bind(shown, u"correctanswer2"_s, Access::DisplayOnly);
    data2.Refresh();
    choice[0]->setChecked(true);
    shown->setChecked(true);
    data2.recordset().MoveNext();
    QCOMPARE(choices().at(0), u"1|1|0|0|0|0"_s);
}

void TestBindings::textControlsShowTheCurrentRecord()
{
    sqlfixture::exec(m_path, u"UPDATE exam1 SET diagram1 = 'exhibits/net.png' WHERE ID = 2"_s);
    sqlfixture::exec(m_path, u"DELETE FROM writes"_s);
    data::DataControl data1(m_path, QString(), u"exam1"_s);
    app::Bindings bindings(data1);
    auto* text2 = new QLineEdit(m_window.get());
    auto* lblQuestion = new QLabel(m_window.get());
    auto* explanation = new QPlainTextEdit(m_window.get());
    bindings.bind(text2, u"diagram1"_s);
    bindings.bind(lblQuestion, u"question"_s);
    bindings.bind(explanation, u"explanation"_s);
    QStringList changes; // the text box's Change handler
    connect(text2, &QLineEdit::textChanged, this, [&changes](const QString& text) { changes << text; });

    data1.Refresh();
    data::Recordset& rs = data1.recordset();
    QVERIFY(rs.value(u"diagram1"_s).isNull());
    QCOMPARE(text2->text(), QString()); // Null shows as ""
    QCOMPARE(lblQuestion->text(), u"Question 1 of exam 1"_s);
    QCOMPARE(explanation->toPlainText(), u"Explanation 1."_s);
    rs.MoveNext();
    rs.MoveNext();
    QCOMPARE(changes, (QStringList{u"exhibits/net.png"_s, QString()}));

    text2->setText(u"typed"_s); // a bound text box is not stored
    rs.MovePrevious();
    QCOMPARE(text2->text(), u"exhibits/net.png"_s);
    QVERIFY(writes().isEmpty());

    rs.MoveLast();
    rs.MoveNext(); // past the end there is nothing to show
    QCOMPARE(lblQuestion->text(), QString());
}

void TestBindings::setDataFieldRepointsAControl()
{
    sqlfixture::exec(m_path, u"UPDATE exam1 SET correctanswer3 = 1 WHERE ID = 2"_s);
    data::DataControl data1(m_path, QString(), u"exam1"_s);
    app::Bindings bindings(data1);
    auto* lblAnswer = new QLabel(m_window.get());
    bindings.bind(lblAnswer, u"answer1"_s);
    const QList<QCheckBox*> check = boxes(bindings, 1, Access::ReadWrite);
    data1.Refresh();

    bindings.setDataField(lblAnswer, u"answer3"_s);
    QCOMPARE(bindings.dataField(lblAnswer), u"answer3"_s);
    QCOMPARE(lblAnswer->text(), u"Answer 3 of question 1"_s); // at once
    data1.recordset().MoveNext();
    QCOMPARE(lblAnswer->text(), u"Answer 3 of question 2"_s);

    QVERIFY(!check[0]->isChecked());
    bindings.setDataField(check[0], u"exam1.correctanswer3"_s);
    QVERIFY(check[0]->isChecked());
    bindings.setDataField(check[0], u"correctanswer4"_s);
    check[0]->setChecked(true);
    data1.recordset().MoveNext();
    QCOMPARE(choices().at(1), u"2|0|0|1|1|0"_s); // the new column, and only it
}

void TestBindings::missingColumnOrFile()
{
    data::DataControl data1(m_path, QString(), u"exam1"_s);
    app::Bindings bindings(data1);
    auto* label = new QLabel(m_window.get());
    bindings.bind(label, u"question"_s);
    data1.Refresh();
    try {
        bindings.setDataField(label, u"question9"_s);
        QFAIL("a missing column was shown");
    } catch (const data::DataError& e) {
        QCOMPARE(e.kind(), data::DataError::Kind::MissingTable);
        QVERIFY(e.describe().contains(u"question9"_s));
    }
    QVERIFY_THROWS_EXCEPTION(data::DataError, bindings.bind(new QLabel(m_window.get()), u"exam11.question"_s));

    data::DataControl data2(m_path, QString(), u"exam11"_s); // bound before the query runs
    app::Bindings late(data2);
    late.bind(new QCheckBox(m_window.get()), u"cat_desc"_s, Access::ReadWrite);
    QVERIFY_THROWS_EXCEPTION(data::DataError, data2.Refresh());

    // a table name with a blank; a closed database opens again on Refresh
    data::DataControl info(m_path, u";pwd=secret"_s, data::sql::testInformationTable());
    app::Bindings infoBindings(info);
    auto* lblTestName = new QLabel(m_window.get());
    infoBindings.bind(lblTestName, u"test_name"_s);
    info.Refresh();
    info.Database()->Close();
    info.Refresh();
    QCOMPARE(lblTestName->text(), u"Temporary test"_s);

    // a data control on a file that is not there creates none
    const QString missing = m_bank->path(u"qbk009.mdb"_s);
    data::DataControl lost(missing, QString(), u"exam1"_s);
    QVERIFY_THROWS_EXCEPTION(data::DataError, lost.Refresh());
    QVERIFY(!QFileInfo::exists(missing));
}

QTEST_MAIN(TestBindings)
#include "tst_bindings.moc"
