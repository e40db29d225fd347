// Aiken: a question's text, its choices "A. ..." or "A) ..." in letter order,
// then "ANSWER: B". Questions may follow one another without a blank line.
// Beyond the format, a question's text may run over several lines, and
// "ANSWER: A, C" names several right choices.

#include "QuestionFile.h"

#include <QRegularExpression>

namespace bank {
namespace {

class AikenReader {
public:
    AikenReader(const QString& file, QStringView text)
        : m_file(file), m_text(text), m_category(fileCategory(file))
    {
    }

    QList<ImportedQuestion> read()
    {
        static const QRegularExpression choice(QStringLiteral(R"(^([A-Za-z])[.)](?:\s+(.*))?$)"));
        static const QRegularExpression answer(QStringLiteral(R"(^ANSWER:(.*)$)"));
        qint64 number = 0;
        for (QStringView line : m_text.split(u'\n')) {
            ++number;
            const QStringView trimmed = line.trimmed();
            if (trimmed.isEmpty())
                continue;
            if (const auto m = answer.match(trimmed); m.hasMatch()) {
                finish(number, m.capturedView(1));
                continue;
            }
            const auto m = choice.match(trimmed);
            if (m.hasMatch() && !m_stem.isEmpty()) {
                const QChar letter = m.capturedView(1).at(0);
                if (m_choices.isEmpty()) {
                    m_lowerCase = letter.isLower();
                } else if (letterIndex(letter) != m_choices.size()) {
                    refuseFile(m_file, number,
                               QStringLiteral("choice %1 where %2 comes next")
                                   .arg(letter)
                                   .arg(letterFor(m_choices.size())));
                }
                if (letterIndex(letter) == m_choices.size()) {
                    m_choices << m.captured(2).trimmed();
                    continue;
                }
            }
            if (!m_choices.isEmpty())
                refuseFile(
                    m_file, m_line,
                    QStringLiteral("the question has no ANSWER: line before line %1").arg(number));
            if (m_stem.isEmpty())
                m_line = number;
            m_stem << trimmed.toString();
        }
        if (!m_stem.isEmpty())
            refuseFile(m_file, m_line, QStringLiteral("the question has no ANSWER: line"));
        return std::move(m_questions);
    }

private:
    qsizetype letterIndex(QChar letter) const
    {
        return letter.unicode() - (m_lowerCase ? u'a' : u'A');
    }

    QChar letterFor(qsizetype index) const
    {
        return QChar(char16_t((m_lowerCase ? u'a' : u'A') + index));
    }

    void finish(qint64 number, QStringView letters)
    {
        if (m_stem.isEmpty())
            refuseFile(m_file, number, QStringLiteral("ANSWER: without a question before it"));
        if (m_choices.isEmpty())
            refuseFile(m_file, m_line, QStringLiteral("the question has no choices"));

        ImportedQuestion q;
        q.file = m_file;
        q.line = int(m_line);
        q.category = m_category;
        q.text = m_stem.join(u'\n');
        for (const QString& text : std::as_const(m_choices))
            q.choices << ImportedChoice{text, 0, QString(), false};

        static const QRegularExpression separators(QStringLiteral(R"([\s,;]+)"));
        const QStringList named = letters.toString().split(separators, Qt::SkipEmptyParts);
        if (named.isEmpty())
            refuseFile(m_file, number, QStringLiteral("ANSWER: names no choice"));
        for (const QString& each : named) {
            const qsizetype index =
                each.size() == 1 ? each.at(0).toUpper().unicode() - u'A' : qsizetype(-1);
            if (index < 0 || index >= q.choices.size())
                refuseFile(m_file, number,
                           QStringLiteral("ANSWER: %1 names no choice of the question at line %2")
                               .arg(each)
                               .arg(m_line));
            q.choices[index].weight = 100;
        }
        q.singleChoice = named.size() == 1;
        m_questions << q;
        m_stem.clear();
        m_choices.clear();
    }

    QString m_file;
    QStringView m_text;
    QString m_category;
    QStringList m_stem;
    QStringList m_choices;
    bool m_lowerCase = false;
    qint64 m_line = 0;
    QList<ImportedQuestion> m_questions;
};

} // namespace

QList<ImportedQuestion> readAiken(const QString& file, QStringView text)
{
    return AikenReader(file, text).read();
}

} // namespace bank
