#include "core/Edition.h"

namespace core {

QString Edition::version() const
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(versionMajor)
        .arg(versionMinor)
        .arg(versionRevision);
}

QString Edition::examCaption(int exam) const
{
    return examCaptionNamesExam ? QStringLiteral("Exam #%1").arg(exam) : examDesignCaption;
}

QString Edition::reviewCaption(int exam) const
{
    return reviewCaptionNamesExam ? QStringLiteral("Review Exam #%1").arg(exam)
                                  : reviewDesignCaption;
}

QString Edition::wrongAnswerCaption(int exam) const
{
    return wrongAnswerCaptionNamesExam ? QStringLiteral("Exam #%1 wrong answers").arg(exam)
                                       : wrongAnswerDesignCaption;
}

} // namespace core
