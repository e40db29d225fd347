// The check of a question bank before an exam starts or a review opens: the
// shipped full-edition bank against a generated bank whose exam 1 holds
// 100,000 questions. The check reads every question of the exam once (and the
// whole file for its integrity), so it grows with the bank; it has to stay
// well under the time a candidate notices between choosing the menu item and
// the name prompt.

#include "TempBank.h"
#include "core/BankCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int runs = 9;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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
    return median(times);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir shipped;
    const QString source = QStringLiteral(QUIZMOOR_BIN_DIR "/qbk09.mdb");
    const QString small = shipped.filePath(QStringLiteral("qbk09.mdb"));
    if (!QFile::copy(source, small)) {
        out << "bench_bankcheck: the shipped bank " << source << " is missing; build first\n";
        return 1;
    }

    out << "bench_bankcheck: generating a bank of 100,000 questions...\n";
    out.flush();
    TempBank large(4, 13);
    for (int exam = 1; exam <= 3; ++exam)
        large.addExam(exam, exam == 1 ? 100000 : 83);
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
