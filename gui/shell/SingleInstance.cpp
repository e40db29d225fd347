#include "gui/shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

namespace gui {

SingleInstance::SingleInstance(const QString& key)
{
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString path = QDir::temp().filePath(QStringLiteral("quizmoor-") +
                                               QString::fromLatin1(hash) + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(path);
    // A lock left by a copy that crashed is taken over.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
}

} // namespace gui
