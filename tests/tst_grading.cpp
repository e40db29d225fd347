#include "ExamAnswers.h"
#include "TempBank.h"
#include "core/Grading.h"
#include "data/DataError.h"

#include <QFile>
#include <QTest>

using namespace examanswers;
using core::ExamGrade;
using core::Grading;
using namespace Qt::StringLiterals;

// Grading against real question databases written by the bank tool.
class TestGrading : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void score_data();
    void score();
    void onlyTheDrawCounts_data();
    void onlyTheDrawCounts();
    void categories();

private:
    // A fresh copy of a shared bank: exams 1 to 3 of 83 questions, or the
    // demo's exam 1 of 30 with five answer columns.
    QString copyOfBank(int answerColumns);

    TempBank m_full{4, 3};
    TempBank m_demo{5, 3};
    int m_copies = 0;
};

void TestGrading::initTestCase()
{
    for (int exam : {1, 2, 3})
        m_full.addExam(exam, 83);
    m_full.write();
    m_demo.addExam(1, 30);
    m_demo.write();
}

QString TestGrading::copyOfBank(int answerColumns)
{
    const TempBank& bank = answerColumns == 5 ? m_demo : m_full;
    const QString path = bank.path(u"copy%1.mdb"_s.arg(++m_copies));
    if (!QFile::copy(bank.path(u"qbk09.mdb"_s), path))
        qFatal("cannot copy the test bank");
    return path;
}

void TestGrading::score_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("exam");
    QTest::addColumn<int>("right");       // the first questions answered right,
    QTest::addColumn<int>("wrong");       // the next ones wrongly, the rest left clear
    QTest::addColumn<bool>("choiceFive"); // three right answers also tick choice 5
    QTest::addColumn<int>("score");
    QTest::newRow("exam 1 unanswered") << 4 << 1 << 0 << 0 << false << 0;
    QTest::newRow("exam 2 unanswered") << 4 << 2 << 0 << 0 << false << 0;
    QTest::newRow("exam 1, 58 of 83") << 4 << 1 << 58 << 25 << false << 698;
    QTest::newRow("exam 1, 59 of 83") << 4 << 1 << 59 << 24 << false << 710;
    QTest::newRow("exam 2, 24 wrong") << 4 << 2 << 59 << 24 << false << 710;
    QTest::newRow("exam 3, 25 wrong") << 4 << 3 << 58 << 25 << false << 698;
    QTest::newRow("demo, 21 of 30 passes exactly") << 5 << 1 << 21 << 9 << false << 700;
    QTest::newRow("full edition ignores choice 5") << 4 << 1 << 83 << 0 << true << 1000;
    QTest::newRow("full edition, exam 2, ignores it") << 4 << 2 << 83 << 0 << true << 1000;
    QTest::newRow("demo counts choice 5") << 5 << 1 << 30 << 0 << true << 900;
}

void TestGrading::score()
{
    QFETCH(int, columns);
    QFETCH(int, exam);
    QFETCH(int, right);
    QFETCH(int, wrong);
    QFETCH(bool, choiceFive);
    QFETCH(int, score);
    const int questions = columns == 5 ? 30 : 83;
    const QString path = copyOfBank(columns);
    QStringList finished = draw(ids(1, questions)) + answerCorrectly(exam, ids(1, right)) +
                           answerWrongly(exam, ids(right + 1, wrong));
    if (choiceFive)
        finished += alsoTickChoiceFive(exam, {4, 9, 16});
    apply(path, finished);
    QCOMPARE(Grading(path, columns).grade(exam, questions).score, score);
}

void TestGrading::onlyTheDrawCounts_data()
{
    QTest::addColumn<int>("exam");
    QTest::newRow("exam 1") << 1;
    QTest::newRow("exam 2") << 2;
}

void TestGrading::onlyTheDrawCounts()
{
    QFETCH(int, exam);
    // 250 questions with sparse numbers, every third one drawn up to 83
    QList<qint64> numbers, drawn, notDrawn;
    for (int i = 0; i < 250; ++i)
        numbers << 1000 + 37 * i;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        (i % 3 == 0 && drawn.size() < 83 ? drawn : notDrawn) << numbers.at(i);
    TempBank bank(4, 3);
    bank.addExam(exam, int(numbers.size()), numbers);
    const QString path = bank.write();

    // questions never shown, answered right, must not count
    apply(path, draw(drawn) + answerCorrectly(exam, drawn.mid(0, 40)) +
                    answerWrongly(exam, drawn.mid(40)) +
                    answerCorrectly(exam, notDrawn.mid(0, 100)));
    ExamGrade grade = Grading(path, 4).grade(exam, 83);
    QCOMPARE(grade.score, 481); // 40 of 83
    QCOMPARE(sqlfixture::scalar(path, u"SELECT sum(cat_total) FROM cat_scores"_s).toInt(),
             83); // every question asked

    // the whole draw right: full marks, whatever the unseen rows hold
    apply(path, answerCorrectly(exam, drawn) + answerWrongly(exam, notDrawn));
    QCOMPARE(Grading(path, 4).grade(exam, 83).score, 1000);

    // three drawn numbers that are not in the bank: 80 questions seen, as in every exam
    apply(path, draw(drawn.mid(0, 80) << 7 << 8 << 9));
    grade = Grading(path, 4).grade(exam, 83);
    QCOMPARE(grade.drawn, 80);
    QCOMPARE(grade.score, 963);
}

void TestGrading::categories()
{
    // categories 0, 1, 2 hold questions 1 4 7, 2 5 8 and 3 6 9; category 3 none
    TempBank bank(4, 4);
    bank.addExam(1, 9);
    const QString path = bank.write();
    apply(path, QStringList{u"UPDATE exam1 SET catid = (ID - 1) % 3"_s,
                            u"INSERT INTO cat_scores (cat_total) VALUES (99), (98)"_s} +
                    draw(ids(1, 9)) + answerCorrectly(1, {1, 2, 5}) +
                    answerWrongly(1, {3, 4, 6, 7, 8, 9}));

    Grading(path, 4).grade(1, 9);
    const ExamGrade grade = Grading(path, 4).grade(1, 9); // again: rebuilt, not added to
    QCOMPARE(grade.categories.size(), std::size_t(4));
    QCOMPARE(grade.categories[0].percent, 33);
    QCOMPARE(grade.categories[1].percent, 66);
    // positions 2, 3 and 4: questions, right answers, percentage; 1 is never set
    const QStringList stored = categoryScores(path);
    QStringList positions;
    for (const QString& row : stored)
        positions << row.section(u'|', 1);
    QCOMPARE(positions,
             (QStringList{u"NULL|3|1|33"_s, u"NULL|3|2|66"_s, u"NULL|3|0|0"_s, u"NULL|0|0|0"_s}));

    // a grading that fails leaves the table as it was
    sqlfixture::exec(path, u"DROP TABLE exam11"_s);
    QVERIFY_THROWS_EXCEPTION(data::DataError, Grading(path, 4).grade(1, 9));
    QCOMPARE(categoryScores(path), stored);
}

QTEST_GUILESS_MAIN(TestGrading)
#include "tst_grading.moc"
