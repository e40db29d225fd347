#include "ImportCommand.h"

#include "BankImport.h"
#include "BankSource.h"
#include "BankValidator.h"
#include "BankWriter.h"
#include "ImportTarget.h"
#include "QuestionFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>

namespace bank {
namespace {

const QString synopsis =
    QStringLiteral("usage: bankbuild import --edition full|demo --out FILE "
                   "[--format gift|aiken|moodlexml] [--exams 1,2,3] [--title TEXT] [--force] "
                   "INPUT...");

int usageError(QTextStream& err, const QString& problem)
{
    err << "bankbuild: " << problem << '\n' << synopsis << '\n';
    err.flush();
    return ImportUsageError;
}

// "1,3" -> {1, 3}; empty when the list is not exams 1 to `last` without repeats.
QList<int> examList(const QString& text, int last)
{
    QList<int> exams;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int exam = part.trimmed().toInt(&ok);
        if (!ok || exam < 1 || exam > last || exams.contains(exam))
            return {};
        exams << exam;
    }
    std::sort(exams.begin(), exams.end());
    return exams;
}

// Exhibit names start with the database's own name, so that banks written
// into one folder keep their pictures apart.
QString exhibitPrefix(const QString& databasePath)
{
    QString base = QFileInfo(databasePath).completeBaseName();
    for (QChar& c : base) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_' && c != u'-')
            c = u'_';
    }
    return (base.isEmpty() ? QStringLiteral("import") : base) + u'-';
}

} // namespace

int runImport(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds a question database from GIFT, Aiken and Moodle XML files."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption edition(QStringLiteral("edition"),
                                     QStringLiteral("The edition the bank is for: full or demo."),
                                     QStringLiteral("edition"));
    const QCommandLineOption output(QStringLiteral("out"),
                                    QStringLiteral("The database file to write (a folder: the "
                                                   "edition's own file name in it)."),
                                    QStringLiteral("file"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("The inputs' format: gift, aiken or moodlexml "
                                                   "(default: told from each file's contents)."),
                                    QStringLiteral("format"));
    const QCommandLineOption examsOption(
        QStringLiteral("exams"),
        QStringLiteral("The exams that get the questions (default: every exam of the edition)."),
        QStringLiteral("list"));
    const QCommandLineOption title(QStringLiteral("title"),
                                   QStringLiteral("The test's name (default: the first input's "
                                                  "name)."),
                                   QStringLiteral("text"));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace an existing database file."));
    parser.addOptions({help, edition, output, format, examsOption, title, force});
    parser.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("Files to import."),
                                 QStringLiteral("INPUT..."));

    if (!parser.parse(QStringList{QStringLiteral("bankbuild import")} + arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(help)) {
        out << parser.helpText();
        out.flush();
        return ImportWritten;
    }
    const std::optional<ImportTarget> target = importTargetNamed(parser.value(edition));
    if (!target)
        return usageError(err, parser.isSet(edition)
                                   ? QStringLiteral("--edition must be full or demo, not \"%1\"")
                                         .arg(parser.value(edition))
                                   : QStringLiteral("missing --edition"));
    if (parser.value(output).isEmpty())
        return usageError(err, QStringLiteral("missing --out"));
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return usageError(err, QStringLiteral("name at least one file to import"));

    std::optional<ImportFormat> named;
    if (parser.isSet(format)) {
        named = importFormatNamed(parser.value(format));
        if (!named)
            return usageError(
                err, QStringLiteral("--format must be gift, aiken or moodlexml, not \"%1\"")
                         .arg(parser.value(format)));
    }

    QList<int> exams;
    for (int exam = 1; exam <= target->exams; ++exam)
        exams << exam;
    if (parser.isSet(examsOption)) {
        exams = examList(parser.value(examsOption), target->exams);
        if (exams.isEmpty())
            return usageError(
                err,
                target->exams == 1
                    ? QStringLiteral("--exams: the %1 edition has exam 1 only").arg(target->name)
                    : QStringLiteral("--exams must list exams 1 to %1 without repeats, "
                                     "such as 1,3")
                          .arg(target->exams));
    }

    QString databasePath = parser.value(output);
    if (QFileInfo(databasePath).isDir() || databasePath.endsWith(u'/'))
        databasePath = QDir(databasePath).filePath(target->databaseFile);
    if (QFileInfo(databasePath).isDir())
        return usageError(err, databasePath + QStringLiteral(" is a folder"));
    for (const QString& input : inputs) {
        if (QFileInfo(input).canonicalFilePath() == QFileInfo(databasePath).canonicalFilePath() &&
            QFileInfo::exists(input))
            return usageError(err, databasePath + QStringLiteral(" is one of the inputs"));
    }
    if (QFileInfo::exists(databasePath) && !parser.isSet(force))
        return usageError(err, databasePath + QStringLiteral(" exists; add --force to replace it"));

    // Every malformed file is named before giving up.
    QList<ImportedQuestion> questions;
    bool malformed = false;
    for (const QString& input : inputs) {
        try {
            questions << readQuestionFile(input, named);
        } catch (const BankError& error) {
            err << error.message() << '\n';
            malformed = true;
        }
    }
    if (malformed) {
        err << "bankbuild: nothing written\n";
        err.flush();
        return ImportRefused;
    }

    ImportOptions options;
    options.exams = exams;
    options.title = parser.isSet(title) ? parser.value(title).simplified()
                                        : QFileInfo(inputs.first()).completeBaseName();
    options.exhibitPrefix = exhibitPrefix(databasePath);
    options.inputs = inputs;
    const ImportedBank imported = importBank(questions, *target, options);
    for (const QString& line : imported.skipped)
        err << line << '\n';
    for (const QString& refusal : imported.refusals)
        err << "bankbuild: " << refusal << '\n';
    if (!imported.refusals.isEmpty()) {
        err << "bankbuild: nothing written\n";
        err.flush();
        return ImportRefused;
    }

    try {
        // The pictures wait in a folder of their own until the bank is sound;
        // the writer then copies (or, for SVG, draws) them beside the database.
        QTemporaryDir staging;
        if (!staging.isValid())
            throw BankError(QStringLiteral("cannot create a temporary folder: ") +
                            staging.errorString());
        for (auto it = imported.exhibits.cbegin(); it != imported.exhibits.cend(); ++it) {
            QSaveFile picture(staging.filePath(it.key()));
            if (!picture.open(QIODevice::WriteOnly) || picture.write(it.value()) != it->size() ||
                !picture.commit())
                throw BankError(picture.fileName() + QStringLiteral(": cannot write: ") +
                                picture.errorString());
        }
        const QStringList problems = validate(imported.edition, staging.path(), Standard::Imported);
        if (!problems.isEmpty()) {
            for (const QString& problem : problems)
                err << "bankbuild: " << problem << '\n';
            err << "bankbuild: nothing written\n";
            err.flush();
            return ImportRefused;
        }
        // The exams not picked are there, empty, as the programs expect every table.
        Edition written = imported.edition;
        for (int exam = 1; exam <= target->exams; ++exam) {
            if (!exams.contains(exam))
                written.exams << Exam{exam, QStringLiteral("imported exam %1").arg(exam), {}};
        }
        writeDatabase(written, databasePath, staging.path(),
                      QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("exhibits")));
    } catch (const BankError& error) {
        err << "bankbuild: " << error.message() << '\n' << "bankbuild: nothing written\n";
        err.flush();
        return ImportRefused;
    }

    const Edition& bank = imported.edition;
    QStringList examNumbers;
    for (int exam : exams)
        examNumbers << QString::number(exam);
    const auto counted = [](qsizetype n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1StringView(n == 1 ? one : many));
    };
    out << QStringLiteral("bankbuild: wrote %1: %2 in %3, %4, for exam%5 %6 of the %7 edition; "
                          "%8 skipped\n")
               .arg(databasePath)
               .arg(counted(bank.exams.first().questions.size(), "question", "questions"))
               .arg(counted(bank.categories.size(), "category", "categories"))
               .arg(counted(imported.exhibits.size(), "exhibit", "exhibits"))
               .arg(exams.size() == 1 ? QString() : QStringLiteral("s"))
               .arg(examNumbers.join(QStringLiteral(", ")))
               .arg(target->name)
               .arg(imported.skipped.size());
    if (QFileInfo(databasePath).fileName() != target->databaseFile)
        out << QStringLiteral("bankbuild: note: %1 opens a file named %2\n")
                   .arg(target->programName, target->databaseFile);
    out.flush();
    err.flush();
    return ImportWritten;
}

} // namespace bank
