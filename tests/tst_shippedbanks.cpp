#include "BankSource.h"
#include "CueStatistics.h"
#include "SqlFixture.h"
#include "core/BankCheck.h"
#include "data/Database.h"
#include "data/Recordset.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

// The question banks the programs ship with, as built from banks/.
class TestShippedBanks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void databasesHoldWhatTheProgramsNeed_data();
    void databasesHoldWhatTheProgramsNeed();
    void questionsAreWellFormed();
    void cuesStayWithinLimits_data();
    void cuesStayWithinLimits();
};

namespace {

QString built(const QString& name)
{
    return QStringLiteral(QUIZMOOR_BINARY_DIR "/bin/") + name;
}
QString source(const QString& name)
{
    return QStringLiteral(QUIZMOOR_SOURCE_DIR "/banks/") + name;
}

int scalar(const QString& db, const QString& sql)
{
    return sqlfixture::scalar(db, sql).toInt();
}

// The questions of a built answer-key table ("qbk09.mdb/exam22") as the
// candidate sees them: choices in display order, the key, the type.
QList<bank::Question> keyTable(const QString& databaseAndTable)
{
    const QString file = databaseAndTable.section(u'/', 0, 0);
    const QString table = databaseAndTable.section(u'/', 1);
    const auto db = data::Database::OpenDatabase(built(file));
    const auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
    QList<bank::Question> questions;
    for (; !rs->Eof(); rs->MoveNext()) {
        bank::Question q;
        q.id = rs->value(QStringLiteral("ID")).toLongLong();
        q.type = rs->value(QStringLiteral("question_type")).toString();
        for (int k = 1; k <= 5; ++k) {
            const QString answer = rs->value(QStringLiteral("answer%1").arg(k)).toString();
            if (answer.isEmpty())
                break;
            q.answers << answer;
            if (rs->value(QStringLiteral("correctanswer%1").arg(k)).toInt() != 0)
                q.correct << k;
        }
        questions << q;
    }
    return questions;
}

} // namespace

void TestShippedBanks::databasesHoldWhatTheProgramsNeed_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QList<int>>("exams");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("minimumExhibits");
    QTest::newRow("full") << built(QStringLiteral("qbk09.mdb")) << QList<int>{1, 2, 3} << 83 << 8;
    QTest::newRow("demo") << built(QStringLiteral("qbk009.mdb")) << QList<int>{1} << 30 << 3;
}

void TestShippedBanks::databasesHoldWhatTheProgramsNeed()
{
    QFETCH(QString, database);
    QFETCH(QList<int>, exams);
    QFETCH(int, questions);
    QFETCH(int, minimumExhibits);
    QVERIFY2(QFileInfo::exists(database), qPrintable(database));
    const int categories = scalar(database, QStringLiteral("SELECT count(*) FROM cat"));
    QVERIFY(categories >= 10 && categories <= 18);
    QCOMPARE(scalar(database, QStringLiteral("SELECT count(*) FROM [Test Information]")), 1);
    QCOMPARE(sqlfixture::scalar(
                 database, QStringLiteral("SELECT number_of_questions FROM [Test Information]"))
                 .toString(),
             QString::number(questions));
    for (int exam : exams) {
        const QString working = QStringLiteral("exam%1").arg(exam);
        const QString key = QStringLiteral("exam%1%1").arg(exam);
        QCOMPARE(scalar(database, QStringLiteral("SELECT count(*) FROM ") + working), questions);
        QCOMPARE(scalar(database, QStringLiteral("SELECT count(*) FROM ") + key), questions);
        // none is stored pre-ticked; how the rows pair with the key, and how many
        // answers each marks, the check before an exam looks at below
        QCOMPARE(
            scalar(database,
                   QStringLiteral("SELECT count(*) FROM %1 WHERE correctanswer1 + correctanswer2 + "
                                  "correctanswer3 + correctanswer4 + correctanswer5 > 0")
                       .arg(working)),
            0);
        const int multiple =
            scalar(database,
                   QStringLiteral("SELECT count(*) FROM %1 WHERE question_type <> 'single_answer'")
                       .arg(working));
        QVERIFY2(multiple * 4 >= questions && multiple * 5 <= questions * 2,
                 qPrintable(QString::number(multiple)));
        // exhibits the questions need, present as files
        const QStringList exhibits = sqlfixture::rows(
            database, QStringLiteral("SELECT diagram1 FROM %1 WHERE diagram1 <> ''").arg(working));
        QVERIFY(exhibits.size() >= minimumExhibits);
        for (const QString& path : exhibits)
            QVERIFY2(QFileInfo(built(path)).isFile(), qPrintable(path));
        // the check before an exam or a review finds nothing to refuse
        for (const core::BankUse use : {core::BankUse::Exam, core::BankUse::Review}) {
            const core::BankVerdict verdict = core::checkBank(database, exam, use);
            QVERIFY2(verdict.usable(),
                     qPrintable(verdict.problems.isEmpty() ? verdict.notABank
                                                           : verdict.problems.first().text));
        }
    }
}

// What the build's validation of the sources (which refuses a bank) and the
// check before an exam leave out: a multiple-answer stem says how many to pick,
// and no question repeats another, in either edition.
void TestShippedBanks::questionsAreWellFormed()
{
    static const QRegularExpression choose(QStringLiteral("\\(Choose (two|three)\\.\\)"));
    QHash<QString, QString> seen;
    for (const QString& edition : {QStringLiteral("full"), QStringLiteral("demo")}) {
        for (const bank::Exam& exam :
             bank::loadBank(source(edition + QStringLiteral("/edition.json"))).exams) {
            for (const bank::Question& q : exam.questions) {
                const QString where =
                    QStringLiteral("%1 exam %2 question %3").arg(edition).arg(exam.exam).arg(q.id);
                const auto stated = choose.match(q.question);
                QVERIFY2(stated.hasMatch() == (q.type != QLatin1StringView("single_answer")),
                         qPrintable(where));
                if (stated.hasMatch())
                    QCOMPARE(q.correct.size(), stated.captured(1) == u"two" ? 2 : 3);
                const QString text = q.question.simplified().toLower();
                QVERIFY2(!seen.contains(text),
                         qPrintable(where + QStringLiteral(" repeats ") + seen.value(text)));
                seen.insert(text, where);
            }
        }
    }
}

void TestShippedBanks::cuesStayWithinLimits_data()
{
    QTest::addColumn<QStringList>("keyTables");
    QTest::addColumn<bool>("wholeBank");
    const QStringList exams = {
        QStringLiteral("qbk09.mdb/exam11"), QStringLiteral("qbk09.mdb/exam22"),
        QStringLiteral("qbk09.mdb/exam33"), QStringLiteral("qbk009.mdb/exam11")};
    for (const QString& exam : exams)
        QTest::newRow(qPrintable(exam)) << QStringList{exam} << false;
    QTest::newRow("whole bank") << exams << true;
}

// A candidate who does not know the topic must not score on the form of the
// choices: their length, their wording, where the key sits.
void TestShippedBanks::cuesStayWithinLimits()
{
    QFETCH(QStringList, keyTables);
    QFETCH(bool, wholeBank);
    bank::CueStatistics statistics;
    for (const QString& table : keyTables)
        statistics += bank::cueStatistics(keyTable(table));
    QVERIFY(statistics.questions > 0);

    QStringList over;
    for (const bank::CueCheck& check :
         bank::checkCues(statistics, wholeBank ? bank::CueScope::Bank : bank::CueScope::Exam)) {
        if (!check.passed)
            over << check.name + QStringLiteral(": ") + check.figures;
    }
    QVERIFY2(over.isEmpty(), qPrintable(u'\n' + over.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestShippedBanks)
#include "tst_shippedbanks.moc"
