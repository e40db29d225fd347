#include "core/BankLocation.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <unistd.h>

namespace core {
namespace {

bool holds(const QString& folder, const QString& file)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(file)).isFile();
}

bool pour(QFile& in, QFileDevice& out, QString& reason)
{
    for (QByteArray chunk = in.read(1 << 16); !chunk.isEmpty(); chunk = in.read(1 << 16)) {
        if (out.write(chunk) != chunk.size()) {
            reason = out.errorString();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        reason = in.errorString();
        return false;
    }
    return true;
}

// Writes `target` whole or not at all: the bytes go to a temporary file in
// the target's folder, reach the disk, and only then take the target's name.
std::optional<CopyFailure> copyFile(const QString& source, const QString& target, bool replace)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return CopyFailure{source, in.errorString()};
    QString reason;
    if (replace) {
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || !pour(in, out, reason) || !out.commit())
            return CopyFailure{target, reason.isEmpty() ? out.errorString() : reason};
        return {};
    }
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open() || !pour(in, out, reason) || !out.flush() || ::fsync(out.handle()) != 0)
        return CopyFailure{target, reason.isEmpty() ? out.errorString() : reason};
    // The rename never replaces: a copy that another start made meanwhile is
    // just as fresh, and it is kept.
    if (out.rename(target))
        out.setAutoRemove(false); // it is the target now
    else if (!QFileInfo::exists(target))
        return CopyFailure{target, out.errorString()};
    return {};
}

// Creates `folder` and any missing folders above it; adds those it made to `made`.
bool makeFolder(const QString& folder, QStringList& made)
{
    QStringList missing;
    for (QString f = QDir::cleanPath(folder); !QFileInfo::exists(f);
         f = QFileInfo(f).absolutePath())
        missing.prepend(f);
    if (!QDir().mkpath(folder))
        return false;
    made << missing;
    return true;
}

} // namespace

BankLocation locateBank(const QString& databaseFile, const BankFolders& folders)
{
    if (holds(folders.current, databaseFile))
        return {BankPlace::CurrentFolder, folders.current};
    if (holds(folders.program, databaseFile))
        return {BankPlace::ProgramFolder, folders.program};
    if (holds(folders.user, databaseFile))
        return {BankPlace::UserCopy, folders.user};
    return {};
}

std::optional<CopyFailure> copyBank(const QString& databaseFile, const QString& from,
                                    const QString& to, bool replace)
{
    if (from.isEmpty() || to.isEmpty()) // never the current folder by mistake
        return CopyFailure{to, QStringLiteral("no folder was given")};
    const QDir source(from), target(to);
    const QString database = target.filePath(databaseFile);
    if (!replace && QFileInfo::exists(database))
        return {};

    QStringList madeFolders, madeFiles;
    auto failed = [&](CopyFailure failure) {
        for (const QString& file : std::as_const(madeFiles))
            QFile::remove(file);
        for (auto f = madeFolders.crbegin(); f != madeFolders.crend(); ++f)
            QDir().rmdir(*f);
        return std::optional<CopyFailure>(std::move(failure));
    };
    if (!makeFolder(to, madeFolders))
        return failed({to, QStringLiteral("the folder cannot be created")});

    // The whole exhibits folder: the installed banks of both editions share
    // it, and names read out of a database never choose what is copied.
    QDirIterator exhibits(source.filePath(QStringLiteral("exhibits")), QDir::Files,
                          QDirIterator::Subdirectories);
    while (exhibits.hasNext()) {
        const QString file = exhibits.next();
        const QString copy = target.filePath(source.relativeFilePath(file));
        const QString folder = QFileInfo(copy).absolutePath();
        if (!makeFolder(folder, madeFolders))
            return failed({folder, QStringLiteral("the folder cannot be created")});
        const bool existed = QFileInfo::exists(copy);
        if (auto failure = copyFile(file, copy, true))
            return failed(*failure);
        if (!existed)
            madeFiles << copy;
    }
    if (auto failure = copyFile(source.filePath(databaseFile), database, replace))
        return failed(*failure);
    return {};
}

QString bankWriteProblem(const QString& path)
{
    const auto writable = [](const QFileInfo& info) {
        return info.isWritable() && info.permissions().testAnyFlags(
                                        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
    };
    const QFileInfo file(path);
    if (!writable(file))
        return QStringLiteral("the file is read-only");
    const QFileInfo folder(file.absolutePath());
    if (!writable(folder))
        return QStringLiteral("its folder %1 is read-only")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    return {};
}

} // namespace core
