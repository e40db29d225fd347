#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QStringView>

namespace bank {

// What an imported bank has to fit, per edition. These repeat the programs'
// edition records (app/FullEdition.cpp, app/DemoEdition.cpp: questionCount,
// answerColumns, categoryLabelSlots, databaseFile, examAvailable) and are to
// be read from them once this tool can link those records.
struct ImportTarget {
    QLatin1StringView name;         // as --edition names it
    QLatin1StringView programName;  // for messages
    QLatin1StringView databaseFile; // the file that program opens
    int questionCount;              // questions each exam draws
    int answerColumns;              // choices a question may have
    int categorySlots;              // categories the score sheet has room for
    int exams;                      // exams 1 to this one
};

inline constexpr ImportTarget fullImportTarget{QLatin1StringView("full"),
                                               QLatin1StringView("brel"),
                                               QLatin1StringView("qbk09.mdb"),
                                               83,
                                               4,
                                               19,
                                               3};
inline constexpr ImportTarget demoImportTarget{QLatin1StringView("demo"),
                                               QLatin1StringView("brel_demo"),
                                               QLatin1StringView("qbk009.mdb"),
                                               30,
                                               5,
                                               18,
                                               1};

// The target --edition names ("full" or "demo"), or nullptr.
inline const ImportTarget* importTargetNamed(QStringView name)
{
    for (const ImportTarget* target : {&fullImportTarget, &demoImportTarget}) {
        if (name == target->name)
            return target;
    }
    return nullptr;
}

} // namespace bank
