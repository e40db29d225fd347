#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace core {
struct Edition;
}

namespace bank {

// What an imported bank has to fit: the numbers of the edition that will
// open it, read from that program's own edition record.
struct ImportTarget {
    QString name;         // as --edition names it: "full" or "demo"
    QString programName;  // for messages
    QString databaseFile; // the file that program opens
    int questionCount;    // questions each exam draws
    int answerColumns;    // choices a question may have
    int categorySlots;    // categories the score sheet has room for
    int exams;            // exams 1 to this one

    static ImportTarget of(const QString& name, const core::Edition& edition);
};

// The target --edition names ("full" or "demo"), if any.
std::optional<ImportTarget> importTargetNamed(QStringView name);

} // namespace bank
