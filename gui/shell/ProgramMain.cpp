#include "gui/shell/ProgramMain.h"

#include "data/DataError.h"
#include "gui/shell/BankSetup.h"
#include "gui/shell/SingleInstance.h"
#include "gui/shell/StartUp.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/QtPrompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace gui {
namespace {

// No handler's failure may take the program down: anything that escapes one
// is told to the candidate and the program goes on.
class SafeApplication final : public QApplication {
public:
    using QApplication::QApplication;
    void setPrompter(core::Prompter* prompter, QString title)
    {
        m_prompter = prompter;
        m_title = std::move(title);
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const data::DataError& error) {
            tell(error.describe(), error.technical());
        } catch (const std::exception& error) {
            tell(QStringLiteral("Something went wrong: %1")
                     .arg(QString::fromLocal8Bit(error.what())));
        }
        return false;
    }

private:
    void tell(const QString& text, const QString& details = QString())
    {
        if (!details.isEmpty())
            std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                         qPrintable(details));
        if (m_prompter)
            m_prompter->msgBox(text, core::Prompter::OkOnly, m_title, details);
    }
    core::Prompter* m_prompter = nullptr;
    QString m_title;
};

// The command line, after Qt took its own arguments (-platform, -style, ...).
// Returns the exit status when the program is not to start.
std::optional<int> readCommandLine(bool& resetBank)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Practice exams for the Brel 9x certification."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption reset(
        QStringLiteral("reset-bank"),
        QStringLiteral("Replace your own copy of the question database with a fresh copy of "
                       "the installed one, after asking."));
    parser.addOption(reset);
    QString problem;
    if (!parser.parse(QCoreApplication::arguments()))
        problem = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        problem = QStringLiteral("Unexpected argument '%1'.")
                      .arg(parser.positionalArguments().constFirst());
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s: %s Try '%s --help'.\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(problem),
                     qPrintable(QCoreApplication::applicationName()));
        return 2;
    }
    if (parser.isSet(help))
        parser.showHelp(0); // exits
    if (parser.isSet(version))
        parser.showVersion(); // exits
    resetBank = parser.isSet(reset);
    return std::nullopt;
}

} // namespace

int runProgram(int argc, char** argv, const core::Edition& edition,
               const std::function<void(Program&)>& started)
{
    SafeApplication application(argc, argv);
    application.setApplicationName(edition.programName);
    application.setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(edition.versionMajor)
                                          .arg(edition.versionMinor)
                                          .arg(edition.versionRevision));
    application.setWindowIcon(applicationIcon());
    // Lets a desktop match the windows to their menu entry and its icon.
    application.setDesktopFileName(edition.desktopEntry);
    // The program ends through Exit only, not when its last window hides.
    application.setQuitOnLastWindowClosed(false);

    bool resetBank = false;
    if (const auto status = readCommandLine(resetBank))
        return *status;

    QtPrompter prompter;
    application.setPrompter(&prompter, edition.applicationTitle);

    const auto folder = prepareBank(edition, prompter,
                                    bankFolders(QCoreApplication::applicationDirPath()), resetBank);
    if (!folder)
        return 1;
    // The windows open the database, and find its exhibits, by relative paths.
    QDir::setCurrent(*folder);
    const SingleInstance instance(QDir(*folder).absoluteFilePath(edition.databaseFile));
    if (!instance.acquired()) {
        prompter.msgBox(alreadyRunningMessage(edition), core::Prompter::OkOnly,
                        edition.applicationTitle);
        return 1;
    }

    Program program(edition, prompter);
    program.setEndHandler([] { QCoreApplication::exit(0); });
    startUp(program);
    if (started)
        started(program);
    return QApplication::exec();
}

} // namespace gui
