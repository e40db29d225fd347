#pragma once

// What the benchmarks share: medians, programs timed in a child process with
// their peak memory, and the banks they compare, the shipped one against a
// generated large one.

#include "core/Prompter.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QTextStream;
class TempBank;

namespace bench {

// The middle value; with an even count, the mean of the two in the middle.
double median(std::vector<double> values);

// --- programs in a child process

// Runs `arguments` (the program first) to its end with its standard error
// thrown away and its standard output in `output` (thrown away too when
// null); false when it could not start or did not end successfully.
// `peakMegabytes` is its own maximum resident set, from wait4().
bool runChild(const std::vector<std::string>& arguments, std::string* output,
              double& peakMegabytes);

struct Sample {
    double milliseconds = 0;
    double megabytes = 0;
};

struct Series {
    const char* label;
    std::vector<std::string> command;
    std::vector<double> milliseconds;
    std::vector<double> megabytes;
};

// One warm-up run of each series, so all find the libraries in the page
// cache, then `runs` rounds of all of them, every second round in reverse
// order, so that a slow moment of the machine weighs on all alike. False,
// with a message naming `bench`, as soon as a run fails.
bool runSeries(const char* bench, const std::vector<Series*>& all, int runs,
               const std::function<bool(const Series&, Sample&)>& runOnce);

// One line of a report: the label, the median time, its range and the
// median peak memory.
void printSeries(const Series& series, int labelWidth, int rangeWidth);

// --- the program's banks

// Answers every question OK; a benchmark asks nothing of anybody.
class SilentPrompter final : public core::Prompter {
public:
    int msgBox(const QString&, int, const QString&, const QString& = QString()) override
    {
        return core::Prompter::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return QString(); }
};

// Windows on the offscreen platform, without its remarks on every window it
// cannot size as asked. Before the application object is made.
void useQuietOffscreenPlatform();

// A writable copy of the shipped full-edition bank in `folder`: its path, or
// an empty one after telling `out` that it has not been built.
QString copyShippedBank(const QString& folder, const char* bench, QTextStream& out);

// Exams 1 to 3, exam 1 with 100,000 questions and the others with 83; with
// `sparseIds` numbered with wide gaps, still ascending.
void addLargeExams(TempBank& bank, bool sparseIds);

} // namespace bench
