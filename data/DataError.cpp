#include "data/DataError.h"

#include <QDir>
#include <QFileInfo>

namespace data {

DataError::DataError(Kind kind, QString file, QString detail)
    : std::runtime_error((detail.isEmpty() ? file : detail).toStdString()), m_kind(kind),
      m_file(std::move(file)), m_detail(std::move(detail))
{
}

QString DataError::describe() const
{
    const QFileInfo info(m_file);
    const QString name = info.fileName();
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    switch (m_kind) {
    case Kind::MissingFile:
        return QStringLiteral("The question database \"%1\" was not found in the folder \"%2\".")
            .arg(name, folder);
    case Kind::NotADatabase:
        return QStringLiteral("The file \"%1\" in the folder \"%2\" is not a question database "
                              "or is damaged (%3).")
            .arg(name, folder, m_detail);
    case Kind::MissingTable:
        return QStringLiteral("The question database \"%1\" is incomplete: %2.")
            .arg(name, m_detail);
    case Kind::NoCurrentRecord:
        return QStringLiteral("There is no current question (%1).").arg(m_detail);
    case Kind::ReadOnly:
        return QStringLiteral("The question database \"%1\" in the folder \"%2\" cannot be "
                              "written (%3).")
            .arg(name, folder, m_detail);
    case Kind::StoredCode:
        return QStringLiteral("The question database \"%1\" cannot be used: it contains %2, "
                              "which would run instructions of its own. Instructions stored in "
                              "a question bank are never run.")
            .arg(name, m_detail);
    case Kind::Other:
        break;
    }
    return QStringLiteral("The question database \"%1\" could not be used: %2.")
        .arg(name, m_detail);
}

} // namespace data
