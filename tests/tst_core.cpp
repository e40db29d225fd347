#include "ExamAnswers.h"
#include "SqlFixture.h"
#include "TempBank.h"
#include "core/ClockText.h"
#include "core/Countdown.h"
#include "core/Edition.h"
#include "core/ExamRules.h"
#include "core/QuestionDraw.h"

#include <QSet>
#include <QTest>
#include <algorithm>

// The rules of an exam run that need no window: the draw, the clocks, and
// which buttons and controls a question gets. Runs without a GUI.
class TestCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawTakesEachExistingIdOnce();
    void drawRefusesTooFewQuestions();
    void countdownReadsTimeLeft();
    void pagingButtons_data();
    void pagingButtons();
    void answerModeAndExamTables();
};

void TestCore::drawTakesEachExistingIdOnce()
{
    // gaps in the numbering are never drawn
    for (int round = 0; round < 10; ++round) {
        TempBank bank;
        bank.addExam(2, 4, {1, 2, 5, 9});
        const QString db = bank.write();
        QVERIFY(core::drawQuestions(db, 2, 3));
        const QList<qint64> ids = examanswers::drawnIds(db);
        QCOMPARE(ids.size(), 3);
        QCOMPARE(QSet<qint64>(ids.begin(), ids.end()).size(), 3);
        for (qint64 id : ids)
            QVERIFY(QList<qint64>({1, 2, 5, 9}).contains(id));
        QCOMPARE(sqlfixture::rows(db, QStringLiteral("SELECT sl_no FROM tblrandom ORDER BY sl_no")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    }
    // exactly as many as the exam holds: every one, each once, even with
    // IDs a billion apart
    TempBank bank;
    QList<qint64> sparse;
    for (int i = 0; i < 83; ++i)
        sparse << 1000000007LL * (i + 1);
    bank.addExam(1, 83, sparse);
    const QString db = bank.write();
    QVERIFY(core::drawQuestions(db, 1, 83));
    QList<qint64> ids = examanswers::drawnIds(db);
    const QList<qint64> firstOrder = ids;
    std::sort(ids.begin(), ids.end());
    QCOMPARE(ids, sparse);
    // the next draw replaces the last and is a new order
    QVERIFY(core::drawQuestions(db, 1, 83));
    QCOMPARE(examanswers::drawnIds(db).size(), 83);
    QVERIFY(examanswers::drawnIds(db) != firstOrder);
}

void TestCore::drawRefusesTooFewQuestions()
{
    TempBank bank;
    bank.addExam(1, 82);
    const QString db = bank.write();
    QVERIFY(core::drawQuestions(db, 1, 10));
    QVERIFY(!core::drawQuestions(db, 1, 83));
    // the earlier draw is gone too: no exam can run on it
    QVERIFY(examanswers::drawnIds(db).isEmpty());
}

void TestCore::countdownReadsTimeLeft()
{
    core::Countdown clock(120);
    QCOMPARE(clock.text(), QStringLiteral("02:00:00"));
    clock.tick();
    QCOMPARE(clock.text(), QStringLiteral("01:59:59"));
    for (int i = 1; i < 120 * 60 - 1; ++i)
        clock.tick();
    QCOMPARE(clock.text(), QStringLiteral("00:00:01"));
    QVERIFY(!clock.expired());
    clock.tick();
    QVERIFY(clock.expired());
    clock.tick(); // past the limit it reads nothing below zero
    QCOMPARE(clock.text(), QStringLiteral("00:00:00"));
    QCOMPARE(clock.elapsedSeconds(), qint64(120 * 60 + 1));
    clock.reset();
    QCOMPARE(clock.text(), QStringLiteral("02:00:00"));
    QCOMPARE(core::clockText(3 * 3600 + 4 * 60 + 5), QStringLiteral("03:04:05"));
}

void TestCore::pagingButtons_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("next");
    QTest::addColumn<bool>("previous");
    QTest::newRow("first") << 1 << 83 << true << false;
    QTest::newRow("middle") << 40 << 83 << true << true;
    QTest::newRow("last") << 83 << 83 << false << true;
    // a one-question exam keeps Next on its first question, as always
    QTest::newRow("only") << 1 << 1 << true << false;
}

void TestCore::pagingButtons()
{
    QFETCH(int, position);
    QFETCH(int, count);
    QFETCH(bool, next);
    QFETCH(bool, previous);
    const core::PagingButtons buttons = core::pagingButtons(position, count);
    QCOMPARE(buttons.nextEnabled, next);
    QCOMPARE(buttons.previousEnabled, previous);
}

void TestCore::answerModeAndExamTables()
{
    QVERIFY(core::isSingleAnswer(QStringLiteral("single_answer")));
    for (const char* other : {"Single_answer", "single_answer ", "", "multiple_answer"})
        QVERIFY2(!core::isSingleAnswer(QString::fromLatin1(other)), other);

    const core::Edition full = core::fullEdition();
    const core::Edition demo = core::demoEdition();
    QCOMPARE(core::examTables(full, 3), 3);
    QCOMPARE(core::examTables(demo, 1), 1);
    QCOMPARE(core::examTables(demo, 3), 1); // the demo has no tables of exam 3
    QCOMPARE(core::examTables(full, 11), 1);
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
