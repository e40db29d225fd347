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

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sample {
    double milliseconds = 0;
    double megabytes = 0;
};

long long monotonicNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs `program` once; false when it did not report its window or failed.
bool runOnce(const char* program, const char* argument, Sample& sample)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const long long started = monotonicNow();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        // the platform's own complaints are not part of the measurement
        if (FILE* devnull = std::fopen("/dev/null", "w"))
            dup2(fileno(devnull), STDERR_FILENO);
        execl(program, program, argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);

    std::string output;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, std::size_t(n));
    close(pipeFds[0]);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    const std::size_t at = output.find("shown ");
    if (at == std::string::npos)
        return false;
    const long long shown = std::atoll(output.c_str() + at + 6);
    sample.milliseconds = double(shown - started) / 1e6;
    sample.megabytes = double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    const char* label;
    const char* program;
    const char* argument; // nullptr for none
    std::vector<double> milliseconds;
    std::vector<double> megabytes;
};

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

    Series baseline{"empty Qt main window", QUIZMOOR_BENCH_BASELINE, nullptr, {}, {}};
    Series program{"brel start-up (full)", QUIZMOOR_BENCH_PROGRAM, nullptr, {}, {}};
    // for reading the figures: the same empty window with one menu of text
    Series withMenu{"  empty window + 1 menu", QUIZMOOR_BENCH_BASELINE, "--with-menu", {}, {}};
    const std::vector<Series*> all{&baseline, &program, &withMenu};

    // one warm-up run each, so all find the libraries in the page cache
    for (Series* s : all) {
        Sample ignored;
        if (!runOnce(s->program, s->argument, ignored)) {
            std::fprintf(stderr, "bench_startup: %s did not show its window\n", s->program);
            return 1;
        }
    }
    for (int i = 0; i < runs; ++i) {
        // alternate, so that a slow moment of the machine hits all alike
        std::vector<Series*> order = all;
        if (i % 2)
            std::reverse(order.begin(), order.end());
        for (Series* s : order) {
            Sample sample;
            if (!runOnce(s->program, s->argument, sample)) {
                std::fprintf(stderr, "bench_startup: run %d of %s failed\n", i + 1, s->program);
                return 1;
            }
            s->milliseconds.push_back(sample.milliseconds);
            s->megabytes.push_back(sample.megabytes);
        }
    }
    rmdir(scratch);

    const double baseTime = median(baseline.milliseconds);
    const double baseMemory = median(baseline.megabytes);
    const double progTime = median(program.milliseconds);
    const double progMemory = median(program.megabytes);
    const double timeRatio = progTime / baseTime;
    const double memoryRatio = progMemory / baseMemory;
    const double goal = 1.3;

    std::printf("Start-up to main window shown, offscreen, median of %d runs each\n\n", runs);
    std::printf("%-26s %10s %13s %16s\n", "", "time (ms)", "min-max", "peak RSS (MiB)");
    auto line = [](const Series& s) {
        const auto [lo, hi] = std::minmax_element(s.milliseconds.begin(), s.milliseconds.end());
        std::printf("%-26s %10.1f %6.1f-%-6.1f %16.1f\n", s.label, median(s.milliseconds), *lo, *hi,
                    median(s.megabytes));
    };
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
