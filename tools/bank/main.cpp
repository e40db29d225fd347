// bankbuild: turns the question bank sources in banks/ into a question
// database and its exhibit pictures, or imports a bank from GIFT, Aiken and
// Moodle XML files.
//
//   bankbuild --edition banks/full/edition.json --exhibits banks/exhibits
//             --out DIR/qbk09.mdb --exhibit-out DIR/exhibits
//   bankbuild import --edition demo --out DIR/qbk009.mdb FILE...

#include "BankSource.h"
#include "BankValidator.h"
#include "BankWriter.h"
#include "ImportCommand.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::fprintf(stderr, "bankbuild: %s\n", line.toLocal8Bit().constData());
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
        QStringLiteral("Builds a question database from a question bank's JSON sources."));
    parser.addHelpOption();
    const QCommandLineOption edition(QStringLiteral("edition"),
                                     QStringLiteral("The bank's edition.json."),
                                     QStringLiteral("file"));
    const QCommandLineOption exhibits(QStringLiteral("exhibits"),
                                      QStringLiteral("Folder of the exhibit pictures."),
                                      QStringLiteral("folder"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("The database file to write."),
                                 QStringLiteral("file"));
    const QCommandLineOption exhibitOut(QStringLiteral("exhibit-out"),
                                        QStringLiteral("Folder to write the exhibits to."),
                                        QStringLiteral("folder"));
    parser.addOptions({edition, exhibits, out, exhibitOut});
    parser.process(app);

    bool usable = parser.positionalArguments().isEmpty();
    for (const QCommandLineOption& option : {edition, exhibits, out, exhibitOut}) {
        if (parser.value(option).isEmpty()) {
            say(QStringLiteral("missing --") + option.names().constFirst());
            usable = false;
        }
    }
    if (!usable) {
        std::fprintf(stderr, "%s", parser.helpText().toLocal8Bit().constData());
        return 2;
    }

    try {
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
