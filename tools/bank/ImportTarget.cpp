#include "ImportTarget.h"

#include "core/Edition.h"

namespace bank {

ImportTarget ImportTarget::of(const QString& name, const core::Edition& edition)
{
    int exams = 0;
    while (edition.offersExam(exams + 1))
        ++exams;
    return {name,
            edition.programName,
            edition.databaseFile,
            edition.questionCount,
            edition.answerColumns,
            edition.categoryLabelSlots,
            exams};
}

std::optional<ImportTarget> importTargetNamed(QStringView name)
{
    if (name == u"full")
        return ImportTarget::of(QStringLiteral("full"), core::fullEdition());
    if (name == u"demo")
        return ImportTarget::of(QStringLiteral("demo"), core::demoEdition());
    return std::nullopt;
}

} // namespace bank
