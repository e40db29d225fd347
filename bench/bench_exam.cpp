// The exam's two hot paths, the shipped full-edition bank against a generated
// bank of 100,000 questions with sparse question numbers: the notice's OK up
// to the first question on screen (the draw included), and one Next with the
// write-back of the choice just made. An exam costs what its questions cost,
// so the large bank should take at most twice as long.

#include "BenchSupport.h"
#include "TempBank.h"
#include "gui/exam/ExamNotice.h"
#include "gui/exam/ExamWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/StartUp.h"
#include "gui/toolkit/Program.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

namespace {

constexpr int runs = 15;
constexpr int moves = 60;

struct Figures {
    double openMs = 0;
    double moveMs = 0;
};

// Runs the exam start and moves in `folder`, which holds the database.
Figures measure(const QString& folder)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    bench::SilentPrompter prompter;
    gui::Program program(core::fullEdition(), prompter);
    program.setEndHandler([] {});
    gui::startUp(program);
    program.run().examCode = 1;
    std::vector<double> opens, nexts;
    QElapsedTimer clock;
    for (int run = 0; run < runs; ++run) {
        program.run().questionNo = 0;
        program.window<gui::ExamNotice>().show();
        clock.start();
        program.window<gui::ExamNotice>().accept();
        QApplication::processEvents();
        opens.push_back(clock.nsecsElapsed() / 1e6);
        auto& window = program.window<gui::ExamWindow>();
        for (int move = 0; move < moves; ++move) {
            auto* option = window.controls()->options[std::size_t(1 + move % 4)];
            option->click();
            auto* check = window.controls()->checks[std::size_t(1 + move % 4)];
            check->setChecked(!check->isChecked());
            clock.start();
            if (program.run().questionNo < 83)
                window.nextQuestion();
            else
                window.previousQuestion();
            nexts.push_back(clock.nsecsElapsed() / 1e6);
        }
        window.unload();
        program.windows().discard<gui::ExamWindow>();
        program.windows().collectDiscarded();
    }
    program.end();
    QDir::setCurrent(previous);
    return {bench::median(opens), bench::median(nexts)};
}

} // namespace

int main(int argc, char** argv)
{
    bench::useQuietOffscreenPlatform();
    QApplication application(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir shipped;
    if (bench::copyShippedBank(shipped.path(), "bench_exam", out).isEmpty())
        return 1;

    out << "bench_exam: generating a bank of 100,000 questions with sparse IDs...\n";
    out.flush();
    TempBank large(4, 13);
    bench::addLargeExams(large, true);
    large.write();

    const Figures small = measure(shipped.path());
    const Figures big = measure(large.dir());
    out << Qt::fixed;
    out.setRealNumberPrecision(2);
    out << "\n                         shipped (83)   large (100,000)   large/shipped   budget\n";
    out << "notice OK -> question 1  " << qSetFieldWidth(9) << small.openMs << qSetFieldWidth(0)
        << " ms   " << qSetFieldWidth(12) << big.openMs << qSetFieldWidth(0) << " ms   "
        << qSetFieldWidth(12) << big.openMs / small.openMs << qSetFieldWidth(0) << "     50 ms\n";
    out << "Next with write-back     " << qSetFieldWidth(9) << small.moveMs << qSetFieldWidth(0)
        << " ms   " << qSetFieldWidth(12) << big.moveMs << qSetFieldWidth(0) << " ms   "
        << qSetFieldWidth(12) << big.moveMs / small.moveMs << qSetFieldWidth(0) << "      5 ms\n";
    out << "(medians of " << runs << " exam starts and " << runs * moves
        << " moves; goal: ratio at most 2)\n";
    return 0;
}
