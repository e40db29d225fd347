#include "data/JetSql.h"
#include "data/Statements.h"

#include <QTest>

using data::rewriteJetSql;

class TestJetSql : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rewritesTheJetForms_data();
    void rewritesTheJetForms();
    void leavesEverythingElseAlone_data();
    void leavesEverythingElseAlone();
    void statementTextsAreKeptAsIssued();
};

void TestJetSql::rewritesTheJetForms_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("delete star") << "delete * from tblrandom;"
                                 << "delete from tblrandom;";
    QTest::newRow("DELETE star, blanks") << "  DELETE   *   FROM showans;"
                                         << "  DELETE FROM showans;";
    QTest::newRow("reset, four columns")
        << "UPDATE exam1 SET exam1.correctanswer1 = No,  exam1.correctanswer2 = No,  "
           "exam1.correctanswer3 = No,  exam1.correctanswer4 = No;"
        << "UPDATE exam1 SET correctanswer1 = 0,  correctanswer2 = 0,  correctanswer3 = 0,  "
           "correctanswer4 = 0;";
    QTest::newRow("reset exam 3, five columns")
        << data::sql::resetChoices(3, 5)
        << "UPDATE exam3 SET correctanswer1 = 0,  correctanswer2 = 0,  correctanswer3 = 0,  "
           "correctanswer4 = 0, correctanswer5 = 0;";
    QTest::newRow("bracketed qualifier, Yes, where kept")
        << "UPDATE [exam2] SET [exam2].[correctanswer1] = Yes WHERE exam2.ID = 4"
        << "UPDATE [exam2] SET [correctanswer1] = 1 WHERE exam2.ID = 4";
    QTest::newRow("words in strings kept")
        << "UPDATE t SET a.b = 'No', c = \"Yes\" WHERE d = 'a.b = x'"
        << "UPDATE t SET b = 'No', c = \"Yes\" WHERE d = 'a.b = x'";
    QTest::newRow("literal in a comparison") << "SELECT ID FROM exam1 WHERE correctanswer1 = yes"
                                             << "SELECT ID FROM exam1 WHERE correctanswer1 = 1";
}

void TestJetSql::rewritesTheJetForms()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(rewriteJetSql(jet), sqlite);
}

void TestJetSql::leavesEverythingElseAlone_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("grading query") << data::sql::correctAnswers(1, 4);
    QTest::newRow("wrong-answer review") << data::sql::wrongAnswerReview(3);
    QTest::newRow("question cursor") << data::sql::examQuestions(2);
    QTest::newRow("bracketed names") << "SELECT [No], [Yes] FROM [Test Information]";
    QTest::newRow("column called No") << "SELECT t.No FROM t";
    QTest::newRow("words containing yes/no") << "SELECT nothing, yesterday, note FROM Notes";
    QTest::newRow("count star") << "select count(*) from tblrandom";
    QTest::newRow("qualified names outside SET")
        << "SELECT exam1.ID FROM exam1 WHERE exam1.catid=3";
}

void TestJetSql::leavesEverythingElseAlone()
{
    QFETCH(QString, sql);
    QCOMPARE(rewriteJetSql(sql), sql);
}

void TestJetSql::statementTextsAreKeptAsIssued()
{
    QCOMPARE(data::sql::examQuestions(3),
             QStringLiteral("SELECT tblRandom.id, exam3.* FROM exam3 INNER JOIN tblRandom ON "
                            "tblRandom.ID = exam3.ID ;"));
    QCOMPARE(data::sql::shownAnswer(2),
             QStringLiteral(
                 "SELECT exam22.* FROM exam22 INNER JOIN showans ON exam22.ID = showans.id;"));
    QCOMPARE(data::sql::findId(17), QStringLiteral("ID =17"));
    QCOMPARE(data::sql::categoryQuestions(2, 11),
             QStringLiteral("Select catid From exam2 WHERE catid=11"));
    QVERIFY(data::sql::categoryCorrectAnswers(3, 4, 0).endsWith(
        QLatin1StringView(" and  [exam3].[catid]=0")));
    QVERIFY(data::sql::categoryCorrectAnswers(1, 5, 2).contains(QLatin1StringView(
        "([exam1].[correctanswer5]=[exam11].[correctanswer5])) and  [exam1].[catid]=2")));
    // exam 3's review text has always lacked two blanks
    const QString review3 = data::sql::wrongAnswerReview(3);
    QVERIFY(review3.contains(QLatin1StringView("exam33.correctanswer5,exam33.question")));
    QVERIFY(review3.contains(QLatin1StringView("exam33.answer5,exam33.explanation")));
    QVERIFY(data::sql::wrongAnswerReview(2).contains(
        QLatin1StringView("exam22.correctanswer5, exam22.question")));
    QVERIFY(data::sql::wrongAnswers(3).startsWith(
        QLatin1StringView("SELECT exam3.ID, exam3.correctanswer1,")));
    QVERIFY(data::sql::wrongAnswers(3).contains(QLatin1StringView("FROM exam3 INNER JOIN exam33")));
}

QTEST_GUILESS_MAIN(TestJetSql)
#include "tst_jetsql.moc"
