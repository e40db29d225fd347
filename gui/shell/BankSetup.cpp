#include "gui/shell/BankSetup.h"

#include "gui/shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace gui {
namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The installed bank, or "" when nothing is installed. An unknown folder is
// never taken for the current one.
QString shippedBank(const core::Edition& edition, const core::BankFolders& folders)
{
    const QString bank = QDir(folders.shipped).filePath(edition.databaseFile);
    return !folders.shipped.isEmpty() && QFileInfo(bank).isFile() ? bank : QString();
}

// Replaces the user's copy with a fresh one of the installed bank, after a
// question. False when the program cannot go on.
bool resetUserCopy(const core::Edition& edition, core::Prompter& prompter,
                   const core::BankFolders& folders)
{
    const QString& title = edition.applicationTitle;
    const QString copy = QDir(folders.user).absoluteFilePath(edition.databaseFile);
    if (shippedBank(edition, folders).isEmpty() || folders.user.isEmpty()) {
        prompter.msgBox(QStringLiteral("There is no question database installed with %1 to make "
                                       "a fresh copy from, so nothing was reset.")
                            .arg(title),
                        core::Prompter::OkOnly, title);
        return true;
    }
    if (!QFileInfo::exists(copy))
        return true; // the first start's copy below is a fresh one
    if (prompter.msgBox(QStringLiteral("Replace your copy of the question database, %1, with a "
                                       "fresh copy of the one installed with %2? The answers and "
                                       "scores kept in your copy will be lost.")
                            .arg(native(copy), title),
                        core::Prompter::YesNoWarning, title) != core::Prompter::Yes)
        return true;
    // Not under a copy of the program that is using it.
    const SingleInstance guard(copy);
    if (!guard.acquired()) {
        prompter.msgBox(alreadyRunningMessage(edition), core::Prompter::OkOnly, title);
        return false;
    }
    if (const auto failure = core::copyBank(edition.databaseFile, folders.shipped, folders.user,
                                            /*replace=*/true))
        prompter.msgBox(QStringLiteral("Your copy of the question database, %1, could not be "
                                       "replaced: writing %2 failed (%3). Your copy is unchanged.")
                            .arg(native(copy), native(failure->file), failure->reason),
                        core::Prompter::OkOnly, title);
    return true;
}

} // namespace

core::BankFolders bankFolders(const QString& programFolder)
{
    return {QDir::currentPath(), programFolder,
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(QUIZMOOR_SHIPPED_BANKS)))};
}

QString alreadyRunningMessage(const core::Edition& edition)
{
    return QStringLiteral("%1 is already running on this question database. Please use the "
                          "window that is open; two copies would overwrite each other's answers.")
        .arg(edition.applicationTitle);
}

std::optional<QString> prepareBank(const core::Edition& edition, core::Prompter& prompter,
                                   const core::BankFolders& folders, bool resetRequested)
{
    const QString& title = edition.applicationTitle;
    if (resetRequested && !resetUserCopy(edition, prompter, folders))
        return std::nullopt;

    core::BankLocation bank = core::locateBank(edition.databaseFile, folders);
    if (bank.place == core::BankPlace::NotFound && !shippedBank(edition, folders).isEmpty() &&
        !folders.user.isEmpty()) {
        if (const auto failure =
                core::copyBank(edition.databaseFile, folders.shipped, folders.user)) {
            prompter.msgBox(
                QStringLiteral("%1 could not copy its question database into your folder %2: "
                               "writing %3 failed (%4). Nothing was left behind. Free some disk "
                               "space or check the folder's permissions, then start %1 again.")
                    .arg(title, native(folders.user), native(failure->file), failure->reason),
                core::Prompter::OkOnly, title);
            return std::nullopt;
        }
        bank = {core::BankPlace::UserCopy, folders.user};
    }
    if (bank.place == core::BankPlace::NotFound)
        return folders.current;

    const QString database = QDir(bank.folder).absoluteFilePath(edition.databaseFile);
    const QString problem = core::bankWriteProblem(database);
    if (!problem.isEmpty()) {
        prompter.msgBox(QStringLiteral("The question database %1 cannot be written: %2. %3 keeps "
                                       "the questions drawn, your answers and your scores in it, "
                                       "so no exam can be taken on it. Make the file and its "
                                       "folder writable, then start %3 again.")
                            .arg(native(database), problem, title),
                        core::Prompter::OkOnly, title);
        return std::nullopt;
    }
    return bank.folder;
}

} // namespace gui
