#include "data/DataError.h"

#include <QDir>
#include <QFileInfo>

namespace data {
namespace {

// SQLite's words for what is missing or unknown, said as the program says it;
// other words stand as they are.
QString plainWords(const QString& detail)
{
    struct Phrase {
        QLatin1StringView sqlite;
        const char* plain;
    };
    static const Phrase phrases[] = {
        {QLatin1StringView("no such table: "), "the table \"%1\" is missing"},
        {QLatin1StringView("no such column: "), "the column \"%1\" is missing"},
        {QLatin1StringView("no such collation sequence: "),
         "it asks for a sort order (\"%1\") that this program does not have"},
    };
    for (const Phrase& phrase : phrases) {
        if (detail.startsWith(phrase.sqlite))
            return QString::fromLatin1(phrase.plain).arg(detail.mid(phrase.sqlite.size()));
    }
    return detail;
}

} // namespace

DataError::DataError(Kind kind, QString file, QString detail, QString statement)
    : std::runtime_error((detail.isEmpty() ? file : detail).toStdString()), m_kind(kind),
      m_file(std::move(file)), m_detail(std::move(detail)), m_statement(std::move(statement))
{
}

QString DataError::describe() const
{
    const QFileInfo info(m_file);
    const QString name = info.fileName();
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QString words = plainWords(m_detail);
    switch (m_kind) {
    case Kind::MissingFile:
        return QStringLiteral("The question database \"%1\" was not found in the folder \"%2\".")
            .arg(name, folder);
    case Kind::NotADatabase:
        return QStringLiteral("The file \"%1\" in the folder \"%2\" is not a question database "
                              "or is damaged (%3).")
            .arg(name, folder, words);
    case Kind::MissingTable:
        return QStringLiteral("The question database \"%1\" is incomplete: %2.").arg(name, words);
    case Kind::NoCurrentRecord:
        return QStringLiteral("There is no current question (%1).").arg(words);
    case Kind::ReadOnly:
        return QStringLiteral("The question database \"%1\" in the folder \"%2\" cannot be "
                              "written (%3).")
            .arg(name, folder, words);
    case Kind::StoredCode:
        return QStringLiteral("The question database \"%1\" cannot be used: it contains %2, "
                              "which would run instructions of its own. Instructions stored in "
                              "a question bank are never run.")
            .arg(name, m_detail);
    case Kind::Other:
        break;
    }
    return QStringLiteral("The question database \"%1\" could not be used: %2.").arg(name, words);
}

QString DataError::technical() const
{
    QString text = QDir::toNativeSeparators(m_file);
    if (!m_detail.isEmpty())
        text += QStringLiteral(": ") + m_detail;
    if (!m_statement.isEmpty())
        text += QStringLiteral("\nStatement: ") + m_statement;
    return text;
}

} // namespace data
