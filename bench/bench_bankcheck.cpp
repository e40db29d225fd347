// The check of a question bank before an exam starts or a review opens: the
// shipped full-edition bank against a generated bank whose exam 1 holds
// 100,000 questions. The check reads every question of the exam once (and the
// whole file for its integrity), so it grows with the bank; it has to stay
// well under the time a candidate notices between choosing the menu item and
// the name prompt.

#include "BenchSupport.h"
#include "TempBank.h"
#include "core/BankCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

namespace {

constexpr int runs = 9;

// Milliseconds of one check, the median of `runs`; false in `usable` when the
// bank was refused, which would make the figure meaningless.
double measure(const QString& database, core::BankUse use, bool& usable)
{
    std::vector<double> times;
    QElapsedTimer clock;
    for (int run = 0; run < runs; ++run) {
        clock.start();
        const core::BankVerdict verdict = core::checkBank(database, 1, use);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (!verdict.usable() && usable)
            QTextStream(stderr) << database << ": "
                                << (verdict.problems.isEmpty() ? verdict.notABank
                                                               : verdict.problems.first().text)
                                << '\n';
        usable = usable && verdict.usable();
    }
    return bench::median(times);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir shipped;
    const QString small = bench::copyShippedBank(shipped.path(), "bench_bankcheck", out);
    if (small.isEmpty())
        return 1;

    out << "bench_bankcheck: generating a bank of 100,000 questions...\n";
    out.flush();
    TempBank large(4, 13);
    bench::addLargeExams(large, false);
    const QString big = large.write();

    bool usable = true;
    const double smallExam = measure(small, core::BankUse::Exam, usable);
    const double bigExam = measure(big, core::BankUse::Exam, usable);
    const double smallReview = measure(small, core::BankUse::Review, usable);
    const double bigReview = measure(big, core::BankUse::Review, usable);
    if (!usable) {
        out << "bench_bankcheck: a bank was refused; the figures mean nothing\n";
        return 1;
    }
    out << Qt::fixed;
    out.setRealNumberPrecision(1);
    const auto megabytes = [](const QString& file) { return QFileInfo(file).size() / 1e6; };
    out << "\n                   shipped (83, " << megabytes(small) << " MB)   large (100,000, "
        << megabytes(big) << " MB)   budget\n";
    out << "before an exam     " << qSetFieldWidth(12) << smallExam << qSetFieldWidth(0) << " ms   "
        << qSetFieldWidth(18) << bigExam << qSetFieldWidth(0) << " ms   300 ms\n";
    out << "before a review    " << qSetFieldWidth(12) << smallReview << qSetFieldWidth(0)
        << " ms   " << qSetFieldWidth(18) << bigReview << qSetFieldWidth(0) << " ms   300 ms\n";
    out << "(medians of " << runs << " checks each)\n";
    return 0;
}
