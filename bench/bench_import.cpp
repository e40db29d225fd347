// Import benchmark: `bankbuild import` of 10,000 generated GIFT questions
// into a full-edition bank (three exams), against `bankbuild` building the
// shipped full-edition bank from its JSON sources, measured in the same run.
//
//   bench_import [runs]     (default 5 runs of each, alternating)
//
// Both are the real tool in a child process: time is wall time from start to
// exit, peak memory the child's own maximum resident set, from wait4(). The
// reading and converting alone are then timed inside this process, to show
// where the import's time goes; importing the 37 sample questions shows the
// tool's fixed cost.

#include "BankImport.h"
#include "QuestionFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int questionCount = 10000;
constexpr double goalSeconds = 2.0;
constexpr double goalMegabytes = 100.0;

struct Sample {
    double milliseconds = 0;
    double megabytes = 0;
};

// Runs `arguments` (the program first) to its end; false when it failed.
bool runOnce(const std::vector<std::string>& arguments, Sample& sample)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (FILE* devnull = std::fopen("/dev/null", "w")) {
            dup2(fileno(devnull), STDOUT_FILENO);
            dup2(fileno(devnull), STDERR_FILENO);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    sample.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    sample.megabytes = double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Questions of every kind the importer takes, in ten categories, with
// feedback, escapes and each text format.
QByteArray generatedGift()
{
    QByteArray text = "// generated for bench_import\n\n";
    for (int i = 0; i < questionCount; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 1000 == 0)
            text += "$CATEGORY: $course$/top/Bench/Topic " + QByteArray::number(i / 1000) + "\n\n";
        text += "::Question " + n + "::";
        switch (i % 5) {
        case 0:
            text +=
                "Statement " + n + " holds for every host\\: true or false? {T#No, it holds.#Yes.}";
            break;
        case 1:
            text += "Which two of these name port " + n + "? {\n  ~%50%First " + n +
                    "\n  ~%50%Second " + n + "\n  ~%-100%Third " + n +
                    " #Not this one.\n  ~%-100%Fourth " + n + "\n}";
            break;
        case 2:
            text +=
                "[html]<p>Which setting is <b>right</b> for case " + n +
                " &amp; why?</p><ul><li>one</li><li>two</li></ul>{\n  =Right " + n +
                " #Because.\n  ~Wrong A\n  ~Wrong B\n  ~Wrong C\n  ####The <i>general</i> feedback.\n}";
            break;
        case 3:
            text += "[markdown]Which command does **task " + n +
                    "** in `shell`? {\n  ~ls\n  =cp\n  ~rm\n  ~mv\n}";
            break;
        default:
            text += "The {~first =second ~third ~fourth} answer fits gap " + n + ".";
            break;
        }
        text += "\n\n";
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "bench_import: no temporary folder\n");
        return 1;
    }
    QFile::Permissions privateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(scratch.path(), privateFolder);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());

    const QString input = scratch.filePath(QStringLiteral("generated.gift"));
    {
        QFile file(input);
        const QByteArray text = generatedGift();
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            std::fprintf(stderr, "bench_import: cannot write %s\n", qPrintable(input));
            return 1;
        }
    }

    const std::string tool = QUIZMOOR_BENCH_BANKBUILD;
    const std::string banks = QUIZMOOR_SOURCE_DIR "/banks";
    const std::string out = scratch.path().toStdString();
    const std::vector<std::string> baselineCommand = {tool,
                                                      "--edition",
                                                      banks + "/full/edition.json",
                                                      "--exhibits",
                                                      banks + "/exhibits",
                                                      "--out",
                                                      out + "/json/qbk09.mdb",
                                                      "--exhibit-out",
                                                      out + "/json/exhibits"};
    // the tool's start, reading the samples and writing a small bank: the floor
    const std::vector<std::string> floorCommand = {tool,
                                                   "import",
                                                   "--edition",
                                                   "demo",
                                                   "--force",
                                                   "--out",
                                                   out + "/floor/qbk009.mdb",
                                                   banks + "/samples/networking.gift",
                                                   banks + "/samples/Security.txt",
                                                   banks + "/samples/computers.xml"};
    const std::vector<std::string> importCommand = {tool,
                                                    "import",
                                                    "--edition",
                                                    "full",
                                                    "--force",
                                                    "--out",
                                                    out + "/import/qbk09.mdb",
                                                    input.toStdString()};

    struct Series {
        const char* label;
        const std::vector<std::string>* command;
        std::vector<double> milliseconds;
        std::vector<double> megabytes;
    };
    Series baseline{"shipped bank from JSON", &baselineCommand, {}, {}};
    Series imported{"import of 10,000 GIFT", &importCommand, {}, {}};
    Series floor{"  import of the samples", &floorCommand, {}, {}};
    const std::vector<Series*> all = {&baseline, &imported, &floor};

    // one warm-up run each, so both find the libraries in the page cache
    for (Series* s : all) {
        Sample ignored;
        if (!runOnce(*s->command, ignored)) {
            std::fprintf(stderr, "bench_import: %s failed\n", s->label);
            return 1;
        }
    }
    for (int i = 0; i < runs; ++i) {
        std::vector<Series*> order = all;
        if (i % 2)
            std::reverse(order.begin(), order.end());
        for (Series* s : order) {
            Sample sample;
            if (!runOnce(*s->command, sample)) {
                std::fprintf(stderr, "bench_import: run %d of %s failed\n", i + 1, s->label);
                return 1;
            }
            s->milliseconds.push_back(sample.milliseconds);
            s->megabytes.push_back(sample.megabytes);
        }
    }

    // Inside this process: reading alone, then reading and converting.
    std::vector<double> reading, converting;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QList<bank::ImportedQuestion> questions = bank::readQuestionFile(input);
        reading.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        const bank::ImportedBank bank =
            bank::importBank(questions, *bank::importTargetNamed(u"full"), {{1, 2, 3}, {}, {}, {}});
        converting.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (bank.edition.exams.first().questions.size() != questionCount) {
            std::fprintf(stderr, "bench_import: %lld of %d questions usable\n",
                         static_cast<long long>(bank.edition.exams.first().questions.size()),
                         questionCount);
            return 1;
        }
    }

    const double baseTime = median(baseline.milliseconds);
    const double baseMemory = median(baseline.megabytes);
    const double importTime = median(imported.milliseconds);
    const double importMemory = median(imported.megabytes);

    std::printf("bankbuild, median of %d runs each\n\n", runs);
    std::printf("%-28s %10s %17s %16s\n", "", "time (ms)", "min-max", "peak RSS (MiB)");
    const auto line = [](const Series& s) {
        const auto [lo, hi] = std::minmax_element(s.milliseconds.begin(), s.milliseconds.end());
        std::printf("%-28s %10.1f %8.1f-%-8.1f %16.1f\n", s.label, median(s.milliseconds), *lo, *hi,
                    median(s.megabytes));
    };
    line(baseline);
    line(imported);
    std::printf("%-28s %9.2fx %17s %15.2fx\n", "ratio import/shipped", importTime / baseTime, "",
                importMemory / baseMemory);
    std::printf("\n");
    line(floor);
    std::printf("%-28s %9.2fx %17s %15.2fx\n", "  ratio import/samples",
                importTime / median(floor.milliseconds), "",
                importMemory / median(floor.megabytes));
    std::printf("\nof the import, in this process:\n");
    std::printf("  %-26s %10.1f ms\n", "reading the file", median(reading));
    std::printf("  %-26s %10.1f ms\n", "converting the questions", median(converting));
    std::printf("\ngoal: under %.0f s and under %.0f MiB: time %s, memory %s\n", goalSeconds,
                goalMegabytes, importTime <= goalSeconds * 1000 ? "met" : "NOT met",
                importMemory <= goalMegabytes ? "met" : "NOT met");
    return 0;
}
