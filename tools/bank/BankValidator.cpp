#include "BankValidator.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace bank {
namespace {

// The program grades four (full edition) or five (demo) answer columns and the
// database holds five.
constexpr int fewestAnswerColumns = 4;
constexpr int mostAnswerColumns = 5;
constexpr int fewestAnswers = 3;
constexpr int lastExam = 3;
// An explanation says why the key is right and why the tempting wrong choice
// is wrong: at least two sentences, and short enough to read after each
// question.
constexpr int fewestSentences = 2;
constexpr int mostSentences = 4;

const QStringList pictureSuffixes = {QStringLiteral("svg"), QStringLiteral("png"),
                                     QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                     QStringLiteral("gif"), QStringLiteral("bmp")};

QString cardinal(qsizetype n)
{
    static const char* const words[] = {"no",  "one",   "two",   "three", "four", "five",
                                        "six", "seven", "eight", "nine",  "ten"};
    if (n >= 0 && n <= 10)
        return QString::fromLatin1(words[n]);
    return QString::number(n);
}

QString ordinal(qsizetype n)
{
    static const char* const words[] = {"zeroth", "first",   "second", "third", "fourth", "fifth",
                                        "sixth",  "seventh", "eighth", "ninth", "tenth"};
    if (n >= 0 && n <= 10)
        return QString::fromLatin1(words[n]);
    return QString::number(n) + QStringLiteral("th");
}

bool blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// A sentence ends in ".", "!" or "?" (perhaps repeated, perhaps closed by a
// quote or bracket) before a space or the end of the text; "e.g." and "i.e."
// end none, and neither does the dot of "10.0.0.1". Words after the last end
// are one more sentence that lacks its full stop.
int sentenceCount(const QString& text)
{
    static const QRegularExpression end(
        QStringLiteral("(?<!\\be\\.g)(?<!\\bi\\.e)[.!?]+[\"'\\x{2019}\\x{201D})\\]]*(?=\\s|$)"),
        QRegularExpression::CaseInsensitiveOption);
    int count = 0;
    qsizetype after = 0;
    for (auto it = end.globalMatch(text); it.hasNext();) {
        after = it.next().capturedEnd();
        ++count;
    }
    const QStringView rest = QStringView(text).mid(after);
    if (std::any_of(rest.begin(), rest.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        ++count;
    return count;
}

class Checker {
public:
    Checker(const Edition& edition, const QString& exhibitsDir, Standard standard)
        : m_edition(edition), m_exhibits(exhibitsDir), m_standard(standard)
    {
    }

    QStringList run()
    {
        checkEdition();
        for (const Exam& exam : m_edition.exams)
            checkExam(exam);
        return m_problems;
    }

private:
    void editionProblem(const QString& problem)
    {
        m_problems << m_edition.sourceFile + QStringLiteral(": ") + problem;
    }

    void checkEdition()
    {
        if (m_edition.answerColumns < fewestAnswerColumns ||
            m_edition.answerColumns > mostAnswerColumns)
            editionProblem(QStringLiteral("answer_columns is %1; the program grades four or five "
                                          "answer columns")
                               .arg(m_edition.answerColumns));

        for (const Category& category : m_edition.categories) {
            if (m_categories.contains(category.catid))
                editionProblem(QStringLiteral("category %1 is listed twice").arg(category.catid));
            else
                m_categories.insert(category.catid, category.description);
            if (blank(category.description))
                editionProblem(
                    QStringLiteral("category %1 has no description").arg(category.catid));
        }
        if (m_edition.categories.isEmpty()) {
            editionProblem(QStringLiteral("no categories"));
        } else {
            const QList<int> numbers = m_categories.keys(); // ascending
            const bool gapless = numbers.first() == 0 && numbers.last() == numbers.size() - 1;
            if (!gapless) {
                QStringList found;
                for (int n : numbers)
                    found << QString::number(n);
                editionProblem(QStringLiteral("categories must be numbered 0 to %1 without gaps, "
                                              "found %2")
                                   .arg(numbers.size() - 1)
                                   .arg(found.join(QStringLiteral(", "))));
            }
        }

        bool numeric = false;
        m_questionsDrawn = m_edition.testInformation.numberOfQuestions.trimmed().toInt(&numeric);
        if (!numeric || m_questionsDrawn <= 0) {
            m_questionsDrawn = 0;
            editionProblem(QStringLiteral("number_of_questions must be a positive whole number, "
                                          "not \"%1\"")
                               .arg(m_edition.testInformation.numberOfQuestions));
        }

        if (m_edition.exams.isEmpty())
            editionProblem(QStringLiteral("no exams"));
        QSet<int> exams;
        for (const Exam& exam : m_edition.exams) {
            if (exam.exam < 1 || exam.exam > lastExam)
                editionProblem(
                    QStringLiteral("exam %1 is outside 1 to %2").arg(exam.exam).arg(lastExam));
            if (exams.contains(exam.exam))
                editionProblem(QStringLiteral("exam %1 is listed twice").arg(exam.exam));
            exams.insert(exam.exam);
        }
    }

    void checkExam(const Exam& exam)
    {
        const auto fileProblem = [&](const QString& problem) {
            m_problems << exam.sourceFile + QStringLiteral(": ") + problem;
        };
        if (exam.questions.isEmpty())
            fileProblem(QStringLiteral("no questions"));

        QSet<qint64> ids;
        QSet<int> usedCategories;
        bool first = true;
        qint64 previous = 0;
        for (const Question& q : exam.questions) {
            const auto problem = [&](const QString& text) {
                m_problems << exam.sourceFile + QStringLiteral(": question ") +
                                  QString::number(q.id) + QStringLiteral(": ") + text;
            };

            if (q.id <= 0)
                problem(QStringLiteral("ID must be positive"));
            else if (ids.contains(q.id))
                problem(QStringLiteral("duplicate ID"));
            else if (!first && q.id < previous)
                problem(QStringLiteral("ID comes after ID %1; IDs must be strictly ascending")
                            .arg(previous));
            ids.insert(q.id);
            previous = q.id;
            first = false;

            checkQuestion(q, problem);
            usedCategories.insert(q.catid);
        }

        for (auto it = m_categories.cbegin(); it != m_categories.cend(); ++it) {
            if (!usedCategories.contains(it.key()))
                fileProblem(QStringLiteral("category %1 (%2) has no question in this exam")
                                .arg(it.key())
                                .arg(it.value()));
        }
        if (m_questionsDrawn > 0 && exam.questions.size() < m_questionsDrawn)
            fileProblem(QStringLiteral("%1 questions, fewer than the %2 each exam draws "
                                       "(number_of_questions)")
                            .arg(exam.questions.size())
                            .arg(m_questionsDrawn));
    }

    template <typename Report> void checkQuestion(const Question& q, const Report& problem)
    {
        const bool single = q.type == QStringLiteral("single_answer");
        if (!single && q.type != QStringLiteral("multiple_answer"))
            problem(QStringLiteral("type \"%1\" is neither single_answer nor multiple_answer")
                        .arg(q.type));
        if (blank(q.question))
            problem(QStringLiteral("empty question text"));
        if (blank(q.explanation))
            problem(QStringLiteral("empty explanation"));
        else if (const int sentences = sentenceCount(q.explanation);
                 m_standard == Standard::Shipped &&
                 (sentences < fewestSentences || sentences > mostSentences))
            problem(
                QStringLiteral("the explanation has %1 %2; it needs %3 to %4")
                    .arg(cardinal(sentences),
                         sentences == 1 ? QStringLiteral("sentence") : QStringLiteral("sentences"),
                         cardinal(fewestSentences), cardinal(mostSentences)));
        if (!m_categories.contains(q.catid))
            problem(QStringLiteral("unknown category %1").arg(q.catid));

        const qsizetype answers = q.answers.size();
        // A true/false question is the one question with two answers: any
        // other question with two is one whose third answer went missing.
        const bool trueFalse = single && answers == 2 &&
                               QSet<QString>{q.answers.at(0), q.answers.at(1)} ==
                                   QSet<QString>{QStringLiteral("True"), QStringLiteral("False")};
        if (answers < fewestAnswers && !trueFalse)
            problem(QStringLiteral("%1 answers; a question needs at least %2")
                        .arg(cardinal(answers), cardinal(fewestAnswers)));
        if (answers > m_edition.answerColumns)
            problem(
                QStringLiteral("a %1 answer, but this edition grades %2 answer columns")
                    .arg(ordinal(m_edition.answerColumns + 1), cardinal(m_edition.answerColumns)));
        for (qsizetype k = 0; k < answers; ++k) {
            if (blank(q.answers.at(k)))
                problem(QStringLiteral("answer %1 is empty").arg(k + 1));
        }

        if (q.correct.isEmpty())
            problem(QStringLiteral("no correct answer"));
        else if (single && q.correct.size() != 1)
            problem(QStringLiteral("a single_answer question needs exactly one correct answer, "
                                   "not %1")
                        .arg(cardinal(q.correct.size())));
        QSet<int> positions;
        for (int position : q.correct) {
            if (position < 1 || position > answers)
                problem(QStringLiteral("correct answer %1 is outside the %2 answers")
                            .arg(position)
                            .arg(answers));
            else if (positions.contains(position))
                problem(QStringLiteral("correct answer %1 is listed twice").arg(position));
            positions.insert(position);
        }

        if (!q.exhibit.isEmpty())
            checkExhibit(q.exhibit, problem);
    }

    template <typename Report> void checkExhibit(const QString& name, const Report& problem)
    {
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name.startsWith(QLatin1Char('.'))) {
            problem(QStringLiteral("exhibit \"%1\" must be a plain file name").arg(name));
            return;
        }
        if (!pictureSuffixes.contains(QFileInfo(name).suffix().toLower())) {
            problem(QStringLiteral("exhibit \"%1\" is not a picture (%2)")
                        .arg(name, pictureSuffixes.join(QStringLiteral(", "))));
            return;
        }
        if (!QFileInfo(m_exhibits.filePath(name)).isFile())
            problem(QStringLiteral("missing exhibit file %1").arg(m_exhibits.filePath(name)));
    }

    const Edition& m_edition;
    const QDir m_exhibits;
    QMap<int, QString> m_categories;
    int m_questionsDrawn = 0;
    Standard m_standard;
    QStringList m_problems;
};

} // namespace

QStringList validate(const Edition& edition, const QString& exhibitsDir, Standard standard)
{
    return Checker(edition, exhibitsDir, standard).run();
}

} // namespace bank
