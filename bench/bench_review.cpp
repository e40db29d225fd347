// The two review windows, the shipped full-edition bank against a generated
// bank of 100,000 questions with sparse question numbers: opening the Review
// menu's review of exam 1 and one Next in it, and opening the wrong-answer
// review of an exam of 83 questions (half of them wrong) and one Next in it.
// Either window shows at most an exam's worth of questions, so the large bank
// should take at most one and a half times as long.

#include "BenchSupport.h"
#include "SqlFixture.h"
#include "TempBank.h"
#include "gui/review/ReviewExamWindow.h"
#include "gui/review/WrongAnswerReview.h"
#include "gui/shell/StartUp.h"
#include "gui/toolkit/Program.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int runs = 15;
constexpr int moves = 60;

struct Samples {
    std::vector<double> reviewOpens, reviewNexts, wrongOpens, wrongNexts;
};

struct Figures {
    double reviewOpenMs = 0;
    double reviewNextMs = 0;
    double wrongOpenMs = 0;
    double wrongNextMs = 0;
};

// An exam of 83 questions spread over the whole working table, asked in a
// random order, every second one answered wrongly.
void finishAnExam(const QString& database)
{
    const qint64 questions =
        sqlfixture::scalar(database, QStringLiteral("SELECT count(*) FROM exam1")).toLongLong();
    const qint64 step = std::max<qint64>(1, questions / 83);
    sqlfixture::exec(database, QStringLiteral("DELETE FROM tblrandom"));
    sqlfixture::exec(database,
                     QStringLiteral("INSERT INTO tblrandom (sl_no, ID) SELECT row_number() OVER "
                                    "(ORDER BY random()), ID FROM (SELECT ID FROM exam1 WHERE "
                                    "(rowid - 1) % %1 = 0 LIMIT 83)")
                         .arg(step));
    sqlfixture::exec(
        database, QStringLiteral("UPDATE exam1 SET correctanswer1 = 1 - (SELECT k.correctanswer1 "
                                 "FROM exam11 k WHERE k.ID = exam1.ID) WHERE ID IN (SELECT ID "
                                 "FROM tblrandom WHERE sl_no % 2 = 0)"));
}

// A program over the bank in `folder`, which it finds in the current folder.
class Bench {
public:
    explicit Bench(QString folder)
        : m_folder(std::move(folder)), m_program(core::fullEdition(), m_prompter)
    {
        finishAnExam(QDir(m_folder).filePath(QStringLiteral("qbk09.mdb")));
        m_program.setEndHandler([] {});
        QDir::setCurrent(m_folder);
        gui::startUp(m_program);
    }
    ~Bench() { m_program.end(); }

    // Opens both windows once and moves in them.
    void measureOnce()
    {
        QDir::setCurrent(m_folder);
        QElapsedTimer clock;
        m_program.run().examCode = 11;
        auto& review = m_program.window<gui::ReviewExamWindow>();
        settle();
        clock.start();
        review.show();
        QApplication::processEvents();
        m_samples.reviewOpens.push_back(clock.nsecsElapsed() / 1e6);
        for (int move = 0; move < moves; ++move) {
            clock.start();
            review.nextQuestion();
            m_samples.reviewNexts.push_back(clock.nsecsElapsed() / 1e6);
        }
        review.unload();

        m_program.run().examCode = 1;
        auto& wrong = m_program.window<gui::WrongAnswerReview>();
        settle();
        clock.start();
        wrong.show();
        QApplication::processEvents();
        m_samples.wrongOpens.push_back(clock.nsecsElapsed() / 1e6);
        for (int move = 0; move < moves; ++move) {
            clock.start();
            if (wrong.currentNo() < wrong.wrongCount())
                wrong.nextQuestion();
            else
                wrong.previousQuestion();
            m_samples.wrongNexts.push_back(clock.nsecsElapsed() / 1e6);
        }
        wrong.unload();
        m_program.windows().discard<gui::ReviewExamWindow>();
        m_program.windows().discard<gui::WrongAnswerReview>();
        m_program.windows().collectDiscarded();
    }

    Figures figures() const
    {
        return {bench::median(m_samples.reviewOpens), bench::median(m_samples.reviewNexts),
                bench::median(m_samples.wrongOpens), bench::median(m_samples.wrongNexts)};
    }

private:
    // The windows closed before are gone before the clock starts.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    QString m_folder;
    bench::SilentPrompter m_prompter;
    gui::Program m_program;
    Samples m_samples;
};

} // namespace

int main(int argc, char** argv)
{
    bench::useQuietOffscreenPlatform();
    QApplication application(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir shipped;
    if (bench::copyShippedBank(shipped.path(), "bench_review", out).isEmpty())
        return 1;

    out << "bench_review: generating a bank of 100,000 questions with sparse IDs...\n";
    out.flush();
    TempBank large(4, 13);
    bench::addLargeExams(large, true);
    // The Review menu reads the key of exam 1: every one of its 100,000 rows.
    large.write();

    // Turn about, so that whatever else the machine does weighs on both banks alike.
    const QString previous = QDir::currentPath();
    Figures small, big;
    {
        Bench shippedBench(shipped.path());
        Bench largeBench(large.dir());
        for (int run = 0; run < runs; ++run) {
            shippedBench.measureOnce();
            largeBench.measureOnce();
        }
        small = shippedBench.figures();
        big = largeBench.figures();
    }
    QDir::setCurrent(previous);
    out << Qt::fixed;
    out.setRealNumberPrecision(2);
    out << "\n                              shipped (83)   large (100,000)   large/shipped\n";
    const auto line = [&](const char* what, double a, double b) {
        out << what << qSetFieldWidth(9) << a << qSetFieldWidth(0) << " ms   " << qSetFieldWidth(12)
            << b << qSetFieldWidth(0) << " ms   " << qSetFieldWidth(12) << b / a
            << qSetFieldWidth(0) << '\n';
    };
    line("Review menu -> question 1    ", small.reviewOpenMs, big.reviewOpenMs);
    line("Review: Next                 ", small.reviewNextMs, big.reviewNextMs);
    line("View Wrong Answers -> first  ", small.wrongOpenMs, big.wrongOpenMs);
    line("Wrong answers: Next          ", small.wrongNextMs, big.wrongNextMs);
    out << "(medians of " << runs << " openings and " << runs * moves
        << " moves of each window; goal: ratio at most 1.5)\n";
    return 0;
}
