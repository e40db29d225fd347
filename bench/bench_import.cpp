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
#include "BenchSupport.h"
#include "QuestionFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

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

using bench::median;

// The tool from its start to its end.
bool runOnce(const bench::Series& series, bench::Sample& sample)
{
    const auto started = std::chrono::steady_clock::now();
    if (!bench::runChild(series.command, nullptr, sample.megabytes))
        return false;
    sample.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    return true;
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

    bench::Series baseline{"shipped bank from JSON", baselineCommand, {}, {}};
    bench::Series imported{"import of 10,000 GIFT", importCommand, {}, {}};
    bench::Series floor{"  import of the samples", floorCommand, {}, {}};
    if (!bench::runSeries("bench_import", {&baseline, &imported, &floor}, runs, runOnce))
        return 1;

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
    const auto line = [](const bench::Series& s) { bench::printSeries(s, 28, 8); };
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
