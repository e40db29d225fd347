#pragma once

#include <QString>
#include <vector>

namespace core {

// The result of one category: its questions in the exam, those answered
// correctly, and the percentage, cut to a whole number (2 of 3 is 66).
struct CategoryScore {
    int total = 0;
    int correct = 0;
    int percent = 0;
};

// Where grading writes a category's result in each row of cat_scores,
// counting columns from 0; the names of those columns are the bank's.
constexpr int categoryTotalPosition = 2;
constexpr int categoryCorrectPosition = 3;
constexpr int categoryPercentPosition = 4;

// A graded exam. The score is out of 1000.
struct ExamGrade {
    int exam = 0;
    int questionCount = 0;
    int drawn = 0;   // questions of the exam's draw found in its working table
    int counted = 0; // correct answers (exam 1) or wrong ones (exams 2 and 3)
    int score = 0;
    std::vector<CategoryScore> categories; // by category number, 0 to K - 1
};

// Grades a finished exam from the question database: compares the
// candidate's choices in the exam's working table with its answer key and
// rebuilds the per-category table cat_scores. Only the questions of the
// exam's draw (tblrandom) count, so questions the candidate never saw
// neither score nor cost anything. Knows nothing of windows.
class Grading {
public:
    // answerColumns: the choices compared, 4 (full edition) or 5 (demo).
    Grading(QString databaseFile, int answerColumns);

    // Grades exam 1, 2 or 3 of `questionCount` questions. Throws
    // data::DataError when the database cannot be read or written; then
    // cat_scores is left as it was.
    ExamGrade grade(int exam, int questionCount) const;

    // Exam 1 counts correct answers: Int(correct / questionCount * 1000).
    static int scoreFromCorrect(int correct, int questionCount);
    // Exams 2 and 3 count wrong ones: Int((questionCount - wrong) / questionCount * 1000).
    static int scoreFromWrong(int wrong, int questionCount);
    // Int(correct / total * 100); a category without questions is 0.
    static int percent(int correct, int total);

private:
    QString m_databaseFile;
    int m_answerColumns;
};

} // namespace core
