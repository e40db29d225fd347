// bankbuild: turns the question bank sources in banks/ into a question
// database and its exhibit pictures, or imports a bank from GIFT, Aiken and
// Moodle XML files.
//
//   bankbuild --edition banks/full/edition.json --exhibits banks/exhibits
//             --out DIR/qbk09.mdb --exhibit-out DIR/exhibits
//
// or, while writing questions, reports the answer cues of one or more
// editions without writing anything:
//
//   bankbuild --stats --edition banks/full/edition.json
//             --edition banks/demo/edition.json --exhibits banks/exhibits
//
// or builds one from GIFT, Aiken or Moodle XML files:
//
//   bankbuild import --edition demo --out DIR/qbk009.mdb FILE...

#include "BankSource.h"
#include "BankValidator.h"
#include "BankWriter.h"
#include "CueStatistics.h"
#include "ImportCommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::fprintf(stderr, "bankbuild: %s\n", line.toLocal8Bit().constData());
}

void report(const QString& heading, const bank::CueStatistics& statistics, bank::CueScope scope)
{
    std::printf("%s (%lld questions)\n", heading.toLocal8Bit().constData(),
                static_cast<long long>(statistics.questions));
    for (const QString& line : bank::cueReport(statistics, scope))
        std::printf("  %s\n", line.toLocal8Bit().constData());
}

// Validates each edition, then prints the cues of each exam and of all of
// them together. A refused edition is still measured, so a writer sees the
// figures before every problem is fixed. Returns the exit status: 0 when
// every edition is sound and every cue within its limit.
int reportCues(const QStringList& editionPaths, const QString& exhibitsDir)
{
    bool sound = true;
    QList<bank::Edition> editions;
    QStringList names;
    for (const QString& path : editionPaths) {
        editions << bank::loadBank(path);
        names << QFileInfo(path).dir().dirName();
        for (const QString& problem : bank::validate(editions.last(), exhibitsDir)) {
            say(problem);
            sound = false;
        }
    }

    const auto measure = [&](const QString& heading, const bank::CueStatistics& statistics,
                             bank::CueScope scope) {
        report(heading, statistics, scope);
        for (const bank::CueCheck& check : bank::checkCues(statistics, scope))
            sound = sound && check.passed;
    };
    bank::CueStatistics whole;
    for (qsizetype e = 0; e < editions.size(); ++e) {
        for (const bank::Exam& exam : editions.at(e).exams) {
            const bank::CueStatistics statistics = bank::cueStatistics(exam.questions);
            measure(QStringLiteral("%1 exam %2").arg(names.at(e)).arg(exam.exam), statistics,
                    bank::CueScope::Exam);
            whole += statistics;
        }
    }
    measure(QStringLiteral("whole bank, %1").arg(names.join(QStringLiteral(" + "))), whole,
            bank::CueScope::Bank);
    return sound ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    // Drawing SVG text needs fonts, hence a GUI application, but never a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("bankbuild"));

    if (argc > 1 && qstrcmp(argv[1], "import") == 0) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return bank::runImport(QCoreApplication::arguments().mid(2), out, err);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds a question database from a question bank's JSON sources, or "
                       "with --stats reports how far the form of its choices gives the answers "
                       "away."));
    parser.addHelpOption();
    const QCommandLineOption edition(QStringLiteral("edition"),
                                     QStringLiteral("The bank's edition.json."),
                                     QStringLiteral("file"));
    const QCommandLineOption stats(
        QStringLiteral("stats"),
        QStringLiteral("Only report the answer cues of each exam and of all of them, with a "
                       "PASS or FAIL per limit; --edition may be given more than once. Exits "
                       "with 1 when a bank is refused or a cue is over its limit."));
    const QCommandLineOption exhibits(QStringLiteral("exhibits"),
                                      QStringLiteral("Folder of the exhibit pictures."),
                                      QStringLiteral("folder"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("The database file to write."),
                                 QStringLiteral("file"));
    const QCommandLineOption exhibitOut(QStringLiteral("exhibit-out"),
                                        QStringLiteral("Folder to write the exhibits to."),
                                        QStringLiteral("folder"));
    parser.addOptions({stats, edition, exhibits, out, exhibitOut});
    parser.process(app);

    const bool reporting = parser.isSet(stats);
    const QList<QCommandLineOption> needed =
        reporting ? QList{edition, exhibits} : QList{edition, exhibits, out, exhibitOut};
    const QList<QCommandLineOption> unwanted =
        reporting ? QList{out, exhibitOut} : QList<QCommandLineOption>{};
    bool usable = parser.positionalArguments().isEmpty();
    for (const QCommandLineOption& option : needed) {
        if (parser.value(option).isEmpty()) {
            say(QStringLiteral("missing --") + option.names().constFirst());
            usable = false;
        }
    }
    for (const QCommandLineOption& option : unwanted) {
        if (parser.isSet(option)) {
            say(QStringLiteral("--stats writes nothing; leave out --") +
                option.names().constFirst());
            usable = false;
        }
    }
    if (!reporting && parser.values(edition).size() > 1) {
        say(QStringLiteral("one --edition per database"));
        usable = false;
    }
    if (!usable) {
        std::fprintf(stderr, "%s", parser.helpText().toLocal8Bit().constData());
        return 2;
    }

    try {
        if (reporting)
            return reportCues(parser.values(edition), parser.value(exhibits));

        const bank::Edition bank = bank::loadBank(parser.value(edition));
        const QStringList problems = bank::validate(bank, parser.value(exhibits));
        if (!problems.isEmpty()) {
            for (const QString& problem : problems)
                say(problem);
            return 1;
        }
        bank::writeDatabase(bank, parser.value(out), parser.value(exhibits),
                            parser.value(exhibitOut));

        qsizetype questions = 0;
        QSet<QString> pictures;
        for (const bank::Exam& exam : bank.exams) {
            questions += exam.questions.size();
            for (const bank::Question& q : exam.questions) {
                if (!q.exhibit.isEmpty())
                    pictures.insert(q.exhibit);
            }
        }
        std::printf("bankbuild: wrote %s (%lld exams, %lld questions, %lld exhibits)\n",
                    parser.value(out).toLocal8Bit().constData(),
                    static_cast<long long>(bank.exams.size()), static_cast<long long>(questions),
                    static_cast<long long>(pictures.size()));
        return 0;
    } catch (const bank::BankError& error) {
        say(error.message());
        return 1;
    }
}
