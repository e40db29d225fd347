#include "ExamAnswers.h"
#include "ExamFixture.h"
#include "FileFixture.h"
#include "WindowTestChecks.h"
#include "data/DataError.h"
#include "data/Database.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/review/ReviewExamWindow.h"
#include "gui/review/WrongAnswerReview.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <sys/inotify.h>
#include <unistd.h>

using namespace examanswers;
using namespace Qt::StringLiterals;
using gui::ExamWindow;
using gui::ExhibitViewer;
using gui::ScoreSheet;

namespace {

// Counts every opening of one file, by anyone: the kernel reports each open,
// so a test can tell that a file was never read, not merely never shown.
class OpenWatch {
public:
    explicit OpenWatch(const QString& path)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          m_watch(m_fd < 0 ? -1
                           : inotify_add_watch(m_fd, QFile::encodeName(path).constData(),
                                               IN_OPEN | IN_ACCESS))
    {
    }
    ~OpenWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool watching() const { return m_watch >= 0; }
    // Openings since the last call.
    int opens()
    {
        int count = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->mask & IN_OPEN)
                    ++count;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return count;
    }

private:
    int m_fd;
    int m_watch;
};

QImage filled(QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

// Question banks from anyone: their triggers and views never run, their
// exhibit paths never lead out of the exhibits folder, their texts are never
// markup, and their Yes/No answers and cat_scores columns are read for what
// grading means by them.
class TestUntrustedBank : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void triggersNeverRunAndTheBankIsRefused();
    void aViewInPlaceOfATableNeverRuns();
    void exhibitsOnlyFromTheExhibitsFolder_data();
    void exhibitsOnlyFromTheExhibitsFolder();
    void reviewWindowsOfferNoExhibitFromOutside();
    void bankTextsShowAsWritten();
    void yesIsAnyNonZeroNumber_data();
    void yesIsAnyNonZeroNumber();
    void percentShownIsWhatGradingComputed();

private:
    // A full-edition program over a bank of `questions` per exam, `questions` drawn.
    void start(int questions);
    gui::Program& program() { return m_f->program(); }
    ScriptedPrompter& prompter() { return m_f->prompter(); }
    QString bankFolder() const { return m_f->bank().dir(); }
    // exhibits/ beside the bank with net.png (green, 40 x 30) in it, and
    // canary.png (red, 64 x 48) one folder up, beside the bank.
    void makeExhibits();

    std::unique_ptr<ExamFixture> m_f;
};

void TestUntrustedBank::cleanup()
{
    windowchecks::endFixture(m_f);
}

void TestUntrustedBank::start(int questions)
{
    core::Edition edition = core::fullEdition();
    edition.questionCount = questions;
    m_f = std::make_unique<ExamFixture>(edition, questions);
    program().run().questionCount = questions;
}

void TestUntrustedBank::makeExhibits()
{
    QVERIFY(QDir(bankFolder()).mkpath(u"exhibits"_s));
    QVERIFY(filled({40, 30}, Qt::green).save(m_f->bank().path(u"exhibits/net.png"_s)));
    QVERIFY(filled({64, 48}, Qt::red).save(m_f->bank().path(u"canary.png"_s)));
}

void TestUntrustedBank::triggersNeverRunAndTheBankIsRefused()
{
    start(3);
    const QString db = m_f->database();
    sqlfixture::exec(db, u"CREATE TRIGGER wipe_draw AFTER INSERT ON tblrandom "
                         "BEGIN DELETE FROM exam1; DELETE FROM exam11; END"_s);
    const QByteArray before = filefixture::contents(db);

    // refused where the exam starts, before the name is asked, naming the file and the trigger
    const QString refusal =
        u"The question database \"qbk09.mdb\" cannot be used: it contains the trigger "
        "\"wipe_draw\", which would run instructions of its own. Instructions stored in a "
        "question bank are never run."_s;
    prompter().expect(refusal, core::Prompter::Ok);
    program().window<gui::MainWindow>().startExam(1);
    QVERIFY(!program().window<gui::ExamInfoWindow>().isVisible());
    QVERIFY(!program().windows().existing<ExamWindow>());
    QVERIFY(program().window<gui::MainWindow>().isVisible());
    // and by the Review menu, which would read the key
    prompter().expect(refusal, core::Prompter::Ok);
    program().window<gui::MainWindow>().menuItem(u"menuFileSubExam1"_s)->trigger();
    QVERIFY(!program().window<gui::ReviewExamWindow>().isVisible());
    QCOMPARE(filefixture::contents(db), before); // neither run nor dropped

    // a trigger that arrives after the bank was opened does not fire either
    sqlfixture::exec(db, u"DROP TRIGGER wipe_draw"_s);
    auto open = data::Database::OpenDatabase(db);
    sqlfixture::exec(db, u"CREATE TRIGGER wipe_draw AFTER INSERT ON tblrandom "
                         "BEGIN DELETE FROM exam1; END"_s);
    open->Execute(u"delete * from tblrandom;"_s);
    open->insert(u"tblrandom"_s, {{u"sl_no"_s, 1}, {u"ID"_s, 2}});
    QCOMPARE(sqlfixture::scalar(db, u"SELECT count(*) FROM exam1"_s).toInt(), 3);
    QCOMPARE(sqlfixture::rows(db, u"SELECT sl_no, ID FROM tblrandom"_s), QStringList{u"1|2"_s});

    // many are named shortly
    for (const char* name : {"t6", "t1", "t5", "t3", "t2", "t4"})
        sqlfixture::exec(db, u"CREATE TRIGGER %1 BEFORE DELETE ON cat BEGIN SELECT 1; END"_s.arg(
                                 QLatin1StringView(name)));
    try {
        data::Database::OpenDatabase(db);
        QFAIL("a bank with triggers was opened");
    } catch (const data::DataError& error) {
        QCOMPARE(error.kind(), data::DataError::Kind::StoredCode);
        QCOMPARE(error.detail(),
                 u"the triggers \"t1\", \"t2\", \"t3\", \"t4\", \"t5\" and 2 more"_s);
    }
}

void TestUntrustedBank::aViewInPlaceOfATableNeverRuns()
{
    start(3);
    const QString db = m_f->database();
    // were it read, it would never end
    sqlfixture::create(db, {u"DROP TABLE \"Test Information\""_s,
                            u"CREATE VIEW \"Test Information\" AS WITH RECURSIVE n(x) AS "
                            "(SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT x AS test_name, "
                            "x AS author_name, x AS copyright_date, x AS test_description, "
                            "x AS test_disclaimer, x AS number_of_questions FROM n"_s});
    const QByteArray before = filefixture::contents(db);
    // the check before the name prompt finds it where a table should be
    prompter().expect(u"qbk09.mdb cannot be used for exam 1:\n\n- Test Information (the test "
                      "information) is a view, not a table\n\nThe file was left as it was."_s,
                      core::Prompter::Ok);
    program().window<gui::MainWindow>().startExam(1);
    QVERIFY(!program().window<gui::ExamInfoWindow>().isVisible());
    // nor does a statement that names it
    try {
        data::Database::OpenDatabase(db)->OpenRecordset(
            u"SELECT test_name FROM [Test Information]"_s);
        QFAIL("a view of the bank was read");
    } catch (const data::DataError& error) {
        QCOMPARE(error.kind(), data::DataError::Kind::StoredCode);
        QCOMPARE(error.detail(), u"the view \"Test Information\""_s);
    }
    QCOMPARE(filefixture::contents(db), before);
}

void TestUntrustedBank::exhibitsOnlyFromTheExhibitsFolder_data()
{
    // "%1" stands for the bank's folder, "%2" for its name
    QTest::addColumn<QString>("diagram");
    QTest::addColumn<bool>("shown"); // net.png, inside; never the canary outside

    QTest::newRow("inside") << u"exhibits/net.png"_s << true;
    QTest::newRow("inside, written with backslashes") << u"exhibits\\net.png"_s << true;
    QTest::newRow("inside, with ./ and //") << u"./exhibits//net.png"_s << true;
    QTest::newRow("inside, through a link inside") << u"exhibits/inner.png"_s << true;
    QTest::newRow("inside, through a linked folder inside") << u"exhibits/same/net.png"_s << true;

    QTest::newRow("absolute") << u"%1/canary.png"_s << false;
    QTest::newRow("beside the bank") << u"canary.png"_s << false;
    QTest::newRow("climbing out") << u"exhibits/../canary.png"_s << false;
    QTest::newRow("climbing out with backslashes") << u"exhibits\\..\\canary.png"_s << false;
    QTest::newRow("climbing out and back in: any .. is refused")
        << u"../%2/exhibits/net.png"_s << false;
    QTest::newRow("drive") << u"C:\\canary.png"_s << false;
    QTest::newRow("drive, relative") << u"C:canary.png"_s << false;
    QTest::newRow("share") << u"\\\\localhost\\share\\canary.png"_s << false;
    QTest::newRow("share with slashes") << u"//localhost/share/canary.png"_s << false;
    QTest::newRow("link pointing out") << u"exhibits/out.png"_s << false;
    QTest::newRow("absolute link pointing out") << u"exhibits/absolute.png"_s << false;
    QTest::newRow("link to a link pointing out") << u"exhibits/chain.png"_s << false;
    QTest::newRow("linked folder pointing out") << u"exhibits/up/canary.png"_s << false;
    QTest::newRow("link loop") << u"exhibits/loop.png"_s << false;
}

void TestUntrustedBank::exhibitsOnlyFromTheExhibitsFolder()
{
    QFETCH(QString, diagram);
    QFETCH(bool, shown);
    start(3);
    makeExhibits();
    const QString exhibits = m_f->bank().path(u"exhibits"_s);
    const QString canary = m_f->bank().path(u"canary.png"_s);
    const std::pair<QString, QString> links[] = {
        {u"inner.png"_s, u"net.png"_s},     {u"same"_s, u"."_s},
        {u"out.png"_s, u"../canary.png"_s}, {u"absolute.png"_s, canary},
        {u"chain.png"_s, u"out.png"_s},     {u"up"_s, u".."_s},
        {u"loop.png"_s, u"loop2.png"_s},    {u"loop2.png"_s, u"loop.png"_s},
    };
    for (const auto& [name, target] : links)
        QCOMPARE(::symlink(QFile::encodeName(target).constData(),
                           QFile::encodeName(exhibits + u'/' + name).constData()),
                 0);
    diagram = diagram.arg(bankFolder(), QFileInfo(bankFolder()).fileName());
    sqlfixture::exec(m_f->database(), u"UPDATE exam1 SET diagram1 = '%1'"_s.arg(diagram));

    OpenWatch watch(canary);
    QVERIFY(watch.watching());
    QVERIFY(QFile(canary).open(QIODevice::ReadOnly)); // the watch sees an opening
    QCOMPARE(watch.opens(), 1);

    ExamWindow* w = m_f->startExam(1);
    QVERIFY(w && w->isVisible());
    const ExamWindow::Controls& c = *w->controls();
    QCOMPARE(program().run().exhibitPath, diagram);
    QCOMPARE(c.exhibitButton->isVisible(), shown);
    QCOMPARE(c.exhibitNotAvailable->isVisible(), !shown);
    QCOMPARE(c.exhibitNotAvailable->text(), u"exhibit not available"_s);
    w->showExhibit();
    auto* viewer = program().windows().existing<ExhibitViewer>();
    QCOMPARE(viewer && viewer->isVisible(), shown);
    if (shown) {
        QCOMPARE(viewer->controls()->picture->pixmap().size(), QSize(40, 30));
        viewer->returnToCaller();
    } else {
        // asked for all the same, the viewer opens nothing either
        program().window<ExhibitViewer>().present();
        viewer = program().windows().existing<ExhibitViewer>();
        QCOMPARE(viewer->problemText(), u"exhibit not available"_s);
        QVERIFY(viewer->controls()->picture->pixmap().isNull());
        viewer->returnToCaller();
    }
    QVERIFY(w->isVisible());
    QCOMPARE(watch.opens(), 0);

    prompter().expect(u"Do you really wish to end the test?"_s, core::Prompter::Ok);
    w->endExam();
    program().window<ScoreSheet>().exit();
}

void TestUntrustedBank::reviewWindowsOfferNoExhibitFromOutside()
{
    start(3);
    makeExhibits();
    const QString canary = m_f->bank().path(u"canary.png"_s);
    QCOMPARE(::symlink("../canary.png",
                       QFile::encodeName(m_f->bank().path(u"exhibits/out.png"_s)).constData()),
             0);
    for (const char* table : {"exam1", "exam11"})
        sqlfixture::exec(m_f->database(), u"UPDATE %1 SET diagram1 = 'exhibits/out.png'"_s.arg(
                                              QLatin1StringView(table)));
    OpenWatch watch(canary);
    QVERIFY(watch.watching());

    // neither review window offers it: not the Review menu's review of the key,
    // nor the wrong answers after an exam
    const auto offersNone = [this](auto& window) {
        QVERIFY(window.isVisible());
        QVERIFY(!window.controls()->exhibitButton->isVisible());
        QVERIFY(window.controls()->exhibitNotAvailable->isVisible());
        window.showExhibit();
        QVERIFY(!program().windows().existing<ExhibitViewer>());
    };
    program().window<gui::MainWindow>().menuItem(u"menuFileSubExam1"_s)->trigger();
    offersNone(program().window<gui::ReviewExamWindow>());
    program().window<gui::ReviewExamWindow>().endReview();
    ScoreSheet& sheet = m_f->finishExam(1, draw(ids(1, 3)) + answerWrongly(1, ids(1, 3)));
    sheet.viewWrongAnswers();
    offersNone(program().window<gui::WrongAnswerReview>());
    program().window<gui::WrongAnswerReview>().returnToScoreReport();
    sheet.exit();
    QCOMPARE(watch.opens(), 0);
}

void TestUntrustedBank::bankTextsShowAsWritten()
{
    start(3);
    makeExhibits();
    const QString canary = m_f->bank().path(u"canary.png"_s);
    const QString name = u"<img src=\"%1\"><b>Bold</b> exam"_s.arg(canary);
    sqlfixture::exec(m_f->database(),
                     u"UPDATE \"Test Information\" SET test_name = '%1'"_s.arg(name));
    OpenWatch watch(canary);
    QVERIFY(watch.watching());

    prompter().expectInput(program().edition().namePrompt, u"Ada"_s);
    program().window<gui::MainWindow>().startExam(1);
    auto& info = program().window<gui::ExamInfoWindow>();
    QVERIFY(info.isVisible());
    info.widget()->grab(); // drawn, as on screen
    QCOMPARE(watch.opens(), 0);
    const gui::ExamInfoWindow::Controls& c = *info.controls();
    QCOMPARE(c.productName->text(), name); // the banner
    QCOMPARE(c.productName->textFormat(), Qt::PlainText);
    info.abandon();

    // a missing exhibit whose name looks like markup is named as written
    program().run().examCode = 1;
    program().run().exhibitPath = u"exhibits/<img src=\"%1\">.png"_s.arg(canary);
    ExhibitViewer& viewer = program().window<ExhibitViewer>();
    viewer.present();
    QVERIFY(viewer.problemText().contains(u"<img src="_s));
    QCOMPARE(viewer.widget()->findChild<QLabel*>(u"problem"_s)->textFormat(), Qt::PlainText);
    viewer.widget()->grab();
    viewer.returnToCaller();

    // the candidate's name on the score sheet, likewise
    ScoreSheet& sheet = m_f->finishExam(1, draw(ids(1, 3)));
    auto* candidate = sheet.widget()->findChild<QLabel*>(u"lblCandName"_s);
    QCOMPARE(candidate->textFormat(), Qt::PlainText);
    sheet.exit();
    QCOMPARE(watch.opens(), 0);
}

void TestUntrustedBank::yesIsAnyNonZeroNumber_data()
{
    QTest::addColumn<int>("exam"); // exam 1 counts right answers, exams 2 and 3 wrong ones
    QTest::addColumn<int>("yes");
    for (int exam : {1, 2}) {
        for (int yes : {1, -1, 2})
            QTest::addRow("exam %d, Yes stored as %d", exam, yes) << exam << yes;
    }
}

void TestUntrustedBank::yesIsAnyNonZeroNumber()
{
    QFETCH(int, exam);
    QFETCH(int, yes);
    start(12);
    const QString db = m_f->database();
    // 12 asked, 9 answered as the key says, 3 (IDs 4, 7 and 11) not; the exam
    // window stores a ticked box as 1, whatever number the key holds
    QStringList finished =
        draw({12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}) + answerCorrectly(exam, ids(1, 12));
    for (int k = 1; k <= 5; ++k) {
        sqlfixture::exec(
            db, u"UPDATE exam%1%1 SET correctanswer%2 = %3 WHERE correctanswer%2 <> 0"_s.arg(exam)
                    .arg(k)
                    .arg(yes));
        finished << u"UPDATE exam%1 SET correctanswer%2 = correctanswer%2 <> 0"_s.arg(exam).arg(k);
    }
    finished << u"UPDATE exam%1 SET correctanswer1 = 1 - correctanswer1 WHERE ID IN (4, 7, 11)"_s
                    .arg(exam);
    ScoreSheet& sheet = m_f->finishExam(exam, finished);
    QVERIFY(sheet.grade());
    QCOMPARE(sheet.grade()->score, 750);
    // categories 0, 1, 2 hold IDs 1 4 7 10, 2 5 8 11, 3 6 9 12
    QCOMPARE(categoryScores(db),
             (QStringList{u"1|NULL|4|2|50"_s, u"2|NULL|4|3|75"_s, u"3|NULL|4|4|100"_s}));

    sheet.viewWrongAnswers();
    auto& review = program().window<gui::WrongAnswerReview>();
    QCOMPARE(review.wrongCount(), 3);
    QList<qint64> wrong;
    for (int i = 0; i < review.wrongCount(); ++i, review.nextQuestion())
        wrong << review.controls()->question->toPlainText().section(u' ', 1, 1).toLongLong();
    QCOMPARE(wrong, (QList<qint64>{11, 7, 4}));
    review.returnToScoreReport();
    sheet.exit();
}

void TestUntrustedBank::percentShownIsWhatGradingComputed()
{
    start(12);
    const QString db = m_f->database();
    // this bank names the correct count Cat_correct and the percentage cat_scores
    sqlfixture::create(db, {u"DROP TABLE cat_scores"_s,
                            u"CREATE TABLE cat_scores (entry INTEGER PRIMARY KEY, catid INTEGER, "
                            "cat_total INTEGER, Cat_correct INTEGER, cat_scores INTEGER)"_s});
    // right: IDs 1, 2, 3, 5 (categories 0, 1, 2, 1)
    ScoreSheet& sheet = m_f->finishExam(1, draw(ids(1, 12)) + answerCorrectly(1, {1, 2, 3, 5}));
    auto* grid = sheet.widget()->findChild<QTableWidget*>(u"DBGrid2"_s);
    QStringList shown;
    for (int row = 0; row < grid->rowCount(); ++row)
        shown << grid->item(row, 0)->text() + u" of right answers, " + grid->item(row, 1)->text();
    QCOMPARE(shown, (QStringList{u"25% of right answers, 1"_s, u"50% of right answers, 2"_s,
                                 u"25% of right answers, 1"_s}));
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), u"Cat_correct"_s);
    sheet.exit();
}

QTEST_MAIN(TestUntrustedBank)
#include "tst_untrustedbank.moc"
