#pragma once

#include <QString>
#include <stdexcept>

namespace data {

// Everything the data layer cannot do is reported as one of these. It carries
// the database file and SQLite's own words; windows turn it into a message.
class DataError : public std::runtime_error {
public:
    enum class Kind {
        MissingFile,  // the database file is not there
        NotADatabase, // the file is there but is no (readable) database
        MissingTable, // a table or column a statement needs is absent
        NoCurrentRecord,
        ReadOnly, // the file or its folder cannot be written
        // the bank holds triggers or views of its own, which never run
        StoredCode,
        Other,
    };

    // `statement` is the SQL that failed, if any: kept apart from the
    // detail, so that it reaches the technical report and never the candidate.
    DataError(Kind kind, QString file, QString detail, QString statement = QString());

    Kind kind() const { return m_kind; }
    const QString& file() const { return m_file; }
    const QString& detail() const { return m_detail; }
    const QString& statement() const { return m_statement; }

    // One or two plain sentences for the candidate, without any SQL.
    QString describe() const;
    // Everything known about the failure, for standard error and a box's details.
    QString technical() const;

private:
    Kind m_kind;
    QString m_file;
    QString m_detail;
    QString m_statement;
};

} // namespace data
