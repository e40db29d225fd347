#include "gui/help/HelpTexts.h"

#include "core/Edition.h"
#include "core/Grading.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace gui::helptext {
namespace {

QString resourcePath(HelpTopic topic)
{
    switch (topic) {
    case HelpTopic::Navigation:
        return QStringLiteral(":/help/navigation.md");
    case HelpTopic::Certification:
        return QStringLiteral(":/help/certification.md");
    case HelpTopic::ReadMe:
        return QStringLiteral(":/help/readme.md");
    case HelpTopic::Ordering:
        return QStringLiteral(":/help/ordering.md");
    }
    return QString();
}

// Every ASCII punctuation mark escaped, so that a value (a folder with a *
// or an _ in its name) reads as the text it is and never as Markdown.
QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (c.unicode() < 128 && c.isPunct())
            out += u'\\';
        else if (c.unicode() < 128 && c.isSymbol())
            out += u'\\';
        out += c;
    }
    return out;
}

// The menu captions of the exams the edition offers, as the menu shows them.
QString menuItems(const core::Edition& edition, const std::array<QString, 3>& captions)
{
    QStringList items;
    for (int exam = 1; exam <= 3; ++exam) {
        if (edition.offersExam(exam))
            items << QString(captions[std::size_t(exam - 1)]).remove(u'&').simplified();
    }
    if (items.size() < 2)
        return items.join(QString());
    const QString last = items.takeLast();
    return items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

} // namespace

QMap<QString, QString> values(const core::Edition& edition, const QString& databasePath)
{
    int exams = 0;
    for (int exam = 1; exam <= 3; ++exam)
        exams += edition.offersExam(exam) ? 1 : 0;
    // the fewest right answers that reach the pass mark, by the score sheet's own arithmetic
    int toPass = 0;
    while (toPass < edition.questionCount &&
           core::Grading::scoreFromCorrect(toPass, edition.questionCount) < edition.passScore)
        ++toPass;
    const int count = std::max(edition.questionCount, 1);

    QMap<QString, QString> v;
    v[QStringLiteral("applicationTitle")] = edition.applicationTitle;
    v[QStringLiteral("programName")] = edition.programName;
    v[QStringLiteral("version")] = QStringLiteral("%1.%2.%3")
                                       .arg(edition.versionMajor)
                                       .arg(edition.versionMinor)
                                       .arg(edition.versionRevision);
    v[QStringLiteral("databaseFile")] = edition.databaseFile;
    v[QStringLiteral("examCount")] = QString::number(exams);
    v[QStringLiteral("examItems")] = menuItems(edition, edition.examMenuCaptions);
    v[QStringLiteral("reviewItems")] = menuItems(edition, edition.reviewMenuCaptions);
    v[QStringLiteral("questionCount")] = QString::number(edition.questionCount);
    v[QStringLiteral("timeLimit")] = QString::number(edition.timeLimitMinutes);
    v[QStringLiteral("secondsPerQuestion")] =
        QString::number(qRound(edition.timeLimitMinutes * 60.0 / count));
    v[QStringLiteral("passScore")] = QString::number(edition.passScore);
    v[QStringLiteral("correctToPass")] = QString::number(toPass);
    v[QStringLiteral("pointsPerQuestion")] = QString::number(qRound(1000.0 / count));
    v[QStringLiteral("answerChoices")] = QString::number(edition.answerColumns);
    v[QStringLiteral("databasePath")] = databasePath;
    // Parentheses would end the Markdown link early.
    v[QStringLiteral("databaseFolderUrl")] =
        QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(databasePath).absolutePath())
                                .toEncoded()
                                .replace('(', "%28")
                                .replace(')', "%29"));
    return v;
}

QString source(HelpTopic topic)
{
    QFile file(resourcePath(topic));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString markdown(HelpTopic topic, const QMap<QString, QString>& values)
{
    static const QRegularExpression name(QStringLiteral("\\{\\{([A-Za-z]+)\\}\\}"));
    const QString text = source(topic);
    QString out;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : name.globalMatch(text)) {
        out += QStringView(text).mid(from, m.capturedStart() - from);
        const QString key = m.captured(1);
        const auto value = values.constFind(key);
        if (value == values.cend())
            out += m.captured(); // left for the tests to find
        else if (key.endsWith(QLatin1StringView("Url")))
            out += *value;
        else
            out += escaped(*value);
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace gui::helptext
