#include "BenchSupport.h"

#include "TempBank.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace bench {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool runChild(const std::vector<std::string>& arguments, std::string* output, double& peakMegabytes)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (output && pipe(pipeFds) != 0)
        return false;
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        FILE* devnull = std::fopen("/dev/null", "w");
        if (output) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
        } else if (devnull) {
            dup2(fileno(devnull), STDOUT_FILENO);
        }
        // the program's own complaints are not part of the measurement
        if (devnull)
            dup2(fileno(devnull), STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (output) {
        close(pipeFds[1]);
        char buffer[256];
        ssize_t n;
        while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            output->append(buffer, std::size_t(n));
        close(pipeFds[0]);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    peakMegabytes = double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return true;
}

bool runSeries(const char* bench, const std::vector<Series*>& all, int runs,
               const std::function<bool(const Series&, Sample&)>& runOnce)
{
    for (Series* s : all) {
        Sample ignored;
        if (!runOnce(*s, ignored)) {
            std::fprintf(stderr, "%s: %s failed\n", bench, s->label);
            return false;
        }
    }
    for (int i = 0; i < runs; ++i) {
        std::vector<Series*> order = all;
        if (i % 2)
            std::reverse(order.begin(), order.end());
        for (Series* s : order) {
            Sample sample;
            if (!runOnce(*s, sample)) {
                std::fprintf(stderr, "%s: run %d of %s failed\n", bench, i + 1, s->label);
                return false;
            }
            s->milliseconds.push_back(sample.milliseconds);
            s->megabytes.push_back(sample.megabytes);
        }
    }
    return true;
}

void printSeries(const Series& s, int labelWidth, int rangeWidth)
{
    const auto [lo, hi] = std::minmax_element(s.milliseconds.begin(), s.milliseconds.end());
    std::printf("%-*s %10.1f %*.1f-%-*.1f %16.1f\n", labelWidth, s.label, median(s.milliseconds),
                rangeWidth, *lo, rangeWidth, *hi, median(s.megabytes));
}

void useQuietOffscreenPlatform()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && !message.contains(QLatin1StringView("propagateSizeHints")) &&
            !message.contains(QLatin1StringView("XDG_RUNTIME_DIR")))
            QTextStream(stderr) << message << '\n';
    });
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString copyShippedBank(const QString& folder, const char* bench, QTextStream& out)
{
    const QString source = QStringLiteral(QUIZMOOR_BIN_DIR "/qbk09.mdb");
    const QString copy = QDir(folder).filePath(QStringLiteral("qbk09.mdb"));
    if (!QFile::copy(source, copy)) {
        out << bench << ": the shipped bank " << source << " is missing; build first\n";
        return QString();
    }
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

void addLargeExams(TempBank& bank, bool sparseIds)
{
    QList<qint64> ids;
    if (sparseIds) {
        ids.reserve(100000);
        for (qint64 i = 0; i < 100000; ++i)
            ids << 1000 + i * 7919 + (i % 13) * 3;
    }
    for (int exam = 1; exam <= 3; ++exam)
        bank.addExam(exam, exam == 1 ? 100000 : 83, ids);
}

} // namespace bench
