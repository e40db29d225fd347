#include "core/ExhibitFile.h"

#include "data/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace core {
namespace {

const QLatin1StringView exhibitsFolderName("exhibits");
// More links than this on one path is a loop, or a bank up to no good.
constexpr int mostLinks = 16;

// Whether the name itself is a symbolic link; what it points to is not looked at.
bool isLink(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
#else
    return QFileInfo(path).isSymLink();
#endif
}

// What a symbolic link holds, as written in it. Unlike QFileInfo's link
// target this does not look at the file the link points to.
QString linkText(const QString& link)
{
#ifdef Q_OS_UNIX
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t length =
        ::readlink(QFile::encodeName(link).constData(), buffer.data(), std::size_t(buffer.size()));
    if (length <= 0 || length >= buffer.size())
        return QString();
    return QFile::decodeName(buffer.left(length));
#else
    return QFileInfo(link).symLinkTarget();
#endif
}

// The parts of a stored path below the exhibits folder, or nothing when the
// text itself leads anywhere else.
std::optional<QStringList> partsBelowExhibits(const QString& diagram)
{
    // Windows banks write \ between names; no file name of a bank needs a
    // \, a colon (a drive, or a stream of a file) or a NUL.
    QString path = diagram;
    path.replace(u'\\', u'/');
    if (path.isEmpty() || path.startsWith(u'/') || path.contains(u':') || path.contains(QChar(0)) ||
        QDir::isAbsolutePath(path))
        return std::nullopt;
    QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    // ".." is refused outright: taken out by text alone it could hide a
    // climb through a linked folder.
    if (parts.size() < 2 || parts.first() != exhibitsFolderName ||
        parts.contains(QStringLiteral("..")))
        return std::nullopt;
    parts.removeFirst();
    return parts;
}

} // namespace

QString questionDiagram(const data::Recordset& questions)
{
    if (!questions.hasCurrent())
        return QString();
    const QVariant value = questions.value(QStringLiteral("diagram1"));
    return value.isNull() ? QString() : value.toString();
}

std::optional<QString> exhibitFile(const QString& diagram, const QString& databaseFile)
{
    const std::optional<QStringList> below = partsBelowExhibits(diagram);
    if (!below)
        return std::nullopt;

    // The bank's own folder may be reached through links (a home folder on
    // another disk); the exhibits folder in it must be a real folder.
    const QString bankFolder = QFileInfo(databaseFile).absoluteDir().canonicalPath();
    if (bankFolder.isEmpty())
        return std::nullopt;
    const QString root = bankFolder + u'/' + exhibitsFolderName;
    if (isLink(root) || !QFileInfo(root).isDir())
        return std::nullopt;

    // Walk down from the exhibits folder one name at a time. `current` is
    // always a path inside it with no link in it, so a link's relative text
    // can be resolved against it by text alone.
    QStringList pending = *below;
    QString current = root;
    int links = 0;
    while (!pending.isEmpty()) {
        const QString part = pending.takeFirst();
        const QString next = current + u'/' + part;
        if (!isLink(next)) {
            current = next;
            continue;
        }
        if (++links > mostLinks)
            return std::nullopt;
        QString target = linkText(next);
        if (target.isEmpty())
            return std::nullopt;
        if (!QDir::isAbsolutePath(target))
            target = current + u'/' + target;
        target = QDir::cleanPath(target);
        if (target != root && !target.startsWith(root + u'/'))
            return std::nullopt;
        // Go on from the folder the link leads to, itself checked name by name.
        pending = target.mid(root.size()).split(u'/', Qt::SkipEmptyParts) + pending;
        current = root;
    }
    if (current == root)
        return std::nullopt;
    return current;
}

} // namespace core
