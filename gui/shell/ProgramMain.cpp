#include "gui/shell/ProgramMain.h"

#include "data/DataError.h"
#include "gui/shell/SingleInstance.h"
#include "gui/shell/StartUp.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/QtPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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
            tell(error.describe());
        } catch (const std::exception& error) {
            tell(QStringLiteral("Something went wrong: %1")
                     .arg(QString::fromLocal8Bit(error.what())));
        }
        return false;
    }

private:
    void tell(const QString& text)
    {
        if (m_prompter)
            m_prompter->msgBox(text, core::Prompter::OkOnly, m_title);
    }
    core::Prompter* m_prompter = nullptr;
    QString m_title;
};

} // namespace

QString findDatabaseFolder(const QString& databaseFile, const QString& programFolder)
{
    if (QFileInfo(databaseFile).isFile())
        return QDir::currentPath();
    // The question database lies beside the program; so do its exhibits.
    if (QFileInfo(QDir(programFolder).filePath(databaseFile)).isFile())
        QDir::setCurrent(programFolder);
    return QDir::currentPath();
}

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
    // The program ends through Exit only, not when its last window hides.
    application.setQuitOnLastWindowClosed(false);

    QtPrompter prompter;
    application.setPrompter(&prompter, edition.applicationTitle);

    const QString folder =
        findDatabaseFolder(edition.databaseFile, QCoreApplication::applicationDirPath());
    const SingleInstance instance(QDir(folder).absoluteFilePath(edition.databaseFile));
    if (!instance.acquired()) {
        prompter.msgBox(QStringLiteral("%1 is already running on this question database. Please "
                                       "use the window that is open; two copies would overwrite "
                                       "each other's answers.")
                            .arg(edition.applicationTitle),
                        core::Prompter::OkOnly, edition.applicationTitle);
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
