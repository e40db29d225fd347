#pragma once

#include "core/Grading.h"
#include "gui/toolkit/Window.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace gui {

// The score sheet. Creating it grades the exam that has just ended, once:
// coming back to the same instance (from the wrong-answer review) shows the
// same result. It shows the score, the verdict and the result per category,
// prints, and its Exit clears the exam's choices and returns to the main
// window ready for the next exam.
class ScoreSheet final : public Window {
public:
    explicit ScoreSheet(Program& program);
    ~ScoreSheet() override;

    void onInitialize() override;
    void print();
    void viewWrongAnswers();
    void exit();
    // The frame's close button is Exit.
    bool queryClose() override;

    // The grading this sheet shows; empty when the exam could not be graded.
    const std::optional<core::ExamGrade>& grade() const { return m_grade; }
    const QDateTime& gradedAt() const { return m_gradedAt; }

    // The per-category values kept out of sight, by category number, as text:
    // questions, correct answers, percentage. One entry per category, also
    // beyond the edition's categoryLabelSlots.
    const std::vector<QString>& categoryTotals() const { return m_categoryTotals; }
    const std::vector<QString>& categoryCorrectCounts() const { return m_categoryCorrectCounts; }
    const std::vector<QString>& categoryPercents() const { return m_categoryPercents; }

protected:
    QWidget* createWidget() override;
    void onLoad() override;

private:
    // The edition's title, and the pass score (also kept in the run values) as "700/1000".
    void showTitleAndPassScore();
    // The rows of cat (sl_no, cat_desc) and of cat_scores (Cat_correct as
    // "66%", cat_scores) as the grids show them.
    void readGridRows();
    // Writes the captions and grid rows into the controls, when there are any.
    void showValues();
    // Exit's work. Reports a failed reset only when asked, so that a sheet
    // that could not grade tells the candidate one thing only.
    void leaveToMainWindow(bool reportResetFailure);

    QString m_examTitle;
    QString m_passScoreText;
    QString m_scoreText;
    QString m_candidateName;
    QString m_dateText;
    QString m_timeText;
    QString m_verdict;
    bool m_passed = false;
    bool m_failed = false;
    std::optional<core::ExamGrade> m_grade;
    QDateTime m_gradedAt;
    std::vector<QString> m_categoryTotals;
    std::vector<QString> m_categoryCorrectCounts;
    std::vector<QString> m_categoryPercents;
    std::vector<std::pair<QString, QString>> m_categoryRows; // DBGrid1
    std::vector<std::pair<QString, QString>> m_scoreRows;    // DBGrid2
};

} // namespace gui
