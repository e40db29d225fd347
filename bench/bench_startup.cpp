// Start-up benchmark: how long the full edition takes from process start to
// its main window on screen, and how much memory it needs at most, each
// against an empty Qt Widgets main window measured in the same run.
//
//   bench_startup [runs]     (default 15 runs of each, alternating)
//
// Both run on the offscreen platform. Time is taken from just before the
// process is started to the moment the child reports its window exposed
// (one monotonic clock for both); peak memory is the child's own maximum
// resident set, from wait4().

#include "BenchSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::median;

long long monotonicNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The program from its start to its window's report; false when it did not
// report its window or failed.
bool runOnce(const bench::Series& series, bench::Sample& sample)
{
    std::string output;
    const long long started = monotonicNow();
    if (!bench::runChild(series.command, &output, sample.megabytes))
        return false;
    const std::size_t at = output.find("shown ");
    if (at == std::string::npos)
        return false;
    const long long shown = std::atoll(output.c_str() + at + 6);
    sample.milliseconds = double(shown - started) / 1e6;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    // A private folder for the runtime directory and the programs' lock files,
    // so a copy of the program the user has open does not get in the way.
    char scratch[] = "/tmp/quizmoor-bench-XXXXXX";
    if (!mkdtemp(scratch)) {
        std::perror("mkdtemp");
        return 1;
    }
    chmod(scratch, 0700);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", scratch, 1);
    setenv("TMPDIR", scratch, 1);

    bench::Series baseline{"empty Qt main window", {QUIZMOOR_BENCH_BASELINE}, {}, {}};
    bench::Series program{"brel start-up (full)", {QUIZMOOR_BENCH_PROGRAM}, {}, {}};
    // for reading the figures: the same empty window with one menu of text
    bench::Series withMenu{
        "  empty window + 1 menu", {QUIZMOOR_BENCH_BASELINE, "--with-menu"}, {}, {}};
    const bool measured =
        bench::runSeries("bench_startup", {&baseline, &program, &withMenu}, runs, runOnce);
    rmdir(scratch);
    if (!measured)
        return 1;

    const double baseTime = median(baseline.milliseconds);
    const double baseMemory = median(baseline.megabytes);
    const double progTime = median(program.milliseconds);
    const double progMemory = median(program.megabytes);
    const double timeRatio = progTime / baseTime;
    const double memoryRatio = progMemory / baseMemory;
    const double goal = 1.3;

    std::printf("Start-up to main window shown, offscreen, median of %d runs each\n\n", runs);
    std::printf("%-26s %10s %13s %16s\n", "", "time (ms)", "min-max", "peak RSS (MiB)");
    auto line = [](const bench::Series& s) { bench::printSeries(s, 26, 6); };
    line(baseline);
    line(program);
    std::printf("%-26s %9.2fx %13s %15.2fx\n", "ratio program/empty", timeRatio, "", memoryRatio);
    std::printf("\n");
    line(withMenu);
    std::printf("%-26s %9.2fx %13s %15.2fx\n", "  ratio program/with menu",
                progTime / median(withMenu.milliseconds), "",
                progMemory / median(withMenu.megabytes));
    std::printf("\ngoal: at most %.1fx of the empty window for both: time %s, memory %s\n", goal,
                timeRatio <= goal ? "met" : "NOT met", memoryRatio <= goal ? "met" : "NOT met");
    return 0;
}
