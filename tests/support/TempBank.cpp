#include "TempBank.h"

#include "BankWriter.h"

#include <algorithm>

// Generated questions, for question i (0-based place in the exam) with ID n:
//   text "Question n of exam E", answers "Answer k of question n",
//   explanation "Explanation n.", catid i % categories;
//   single-answer: answer (i % 4) + 1 is correct;
//   every third (i % 3 == 2) multiple-answer: answers (i % 4) + 1 and
//   ((i + 1) % 4) + 1 are correct.

TempBank::TempBank(int answerColumns, int categories) : m_categories(std::max(1, categories))
{
    m_edition.sourceFile = m_dir.filePath(QStringLiteral("edition.json"));
    m_edition.answerColumns = answerColumns;
    for (int c = 0; c < m_categories; ++c)
        m_edition.categories << bank::Category{c, QStringLiteral("Category %1").arg(c)};

    bank::TestInformation& info = m_edition.testInformation;
    info.testName = QStringLiteral("Temporary test");
    info.authorName = QStringLiteral("Test author");
    info.copyrightDate = QStringLiteral("Copyright 2026");
    info.testDescription = QStringLiteral("A generated test bank.");
    info.testDisclaimer = QStringLiteral("For testing only.");
    info.numberOfQuestions = QStringLiteral("0");
}

bank::Exam& TempBank::addExam(int exam, int count, QList<qint64> ids)
{
    bank::Exam generated;
    generated.exam = exam;
    generated.sourceFile = m_dir.filePath(QStringLiteral("exam%1.json").arg(exam));
    for (int i = 0; i < count; ++i) {
        bank::Question q;
        q.id = i < ids.size() ? ids.at(i) : i + 1;
        q.catid = i % m_categories;
        q.question = QStringLiteral("Question %1 of exam %2").arg(q.id).arg(exam);
        q.explanation = QStringLiteral("Explanation %1.").arg(q.id);
        const int answers = (i == 0 && m_edition.answerColumns >= 5) ? 5 : 4;
        for (int k = 1; k <= answers; ++k)
            q.answers << QStringLiteral("Answer %1 of question %2").arg(k).arg(q.id);
        if (i % 3 == 2) {
            q.type = QStringLiteral("multiple_answer");
            q.correct = {(i % 4) + 1, ((i + 1) % 4) + 1};
            std::sort(q.correct.begin(), q.correct.end());
        } else {
            q.type = QStringLiteral("single_answer");
            q.correct = {(i % 4) + 1};
        }
        generated.questions << q;
    }

    // Each exam draws as many questions as the smallest exam holds.
    int smallest = count;
    for (const bank::Exam& other : m_edition.exams)
        smallest = std::min(smallest, int(other.questions.size()));
    m_edition.testInformation.numberOfQuestions = QString::number(smallest);

    m_edition.exams << generated;
    return m_edition.exams.last();
}

// Exhibit files are taken from dir() itself: put the picture at path(name)
// and set the question's exhibit to name.
QString TempBank::write(const QString& fileName)
{
    const QString database = path(fileName);
    bank::writeDatabase(m_edition, database, dir(), path(QStringLiteral("exhibits")));
    return database;
}
