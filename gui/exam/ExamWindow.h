#pragma once

#include "core/Countdown.h"
#include "data/Database.h"
#include "gui/toolkit/Bindings.h"
#include "gui/toolkit/OptionGroup.h"
#include "gui/toolkit/RepeatingTimer.h"
#include "gui/toolkit/Window.h"

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace data {
class DataError;
}

namespace gui {

class ClickableLabel;

// The timed exam: one drawn question at a time, its choices stored in the
// exam's working table through the bound check boxes as the candidate moves
// on, a countdown, the exhibit and show-answer side trips, and End Exam.
class ExamWindow final : public Window {
public:
    explicit ExamWindow(Program& program);
    ~ExamWindow() override;

    void nextQuestion();
    void previousQuestion();
    // Asks whether to end; on OK stores the choices and shows the score sheet.
    void endExam();
    void showAnswer();
    void showExhibit();
    // Option k of a single-answer question was chosen: only answer k is ticked.
    void chooseOption(int k);
    // An answer's line and box show only when it has a text.
    void showAnswerRows();
    void togglePause();
    // One second of the countdown.
    void tick();
    // Option buttons for a single-answer question, check boxes otherwise.
    void applyAnswerMode();
    // Next and Previous as the position in the exam allows.
    void updateButtons();

    // The frame's close button asks as End Exam does.
    bool queryClose() override;

    qint64 elapsedSeconds() const { return m_countdown.elapsedSeconds(); }

    struct Controls {
        QPlainTextEdit* question = nullptr;
        std::array<QPlainTextEdit*, 6> answerTexts{}; // 1..5
        std::array<QCheckBox*, 6> checks{};           // 1..5, bound to the choices
        std::array<QRadioButton*, 6> options{};       // 1..5, stand in for the check boxes
        QLineEdit* questionId = nullptr;
        QLineEdit* questionType = nullptr; // hidden; read by the answer mode
        QLabel* questionNoCaption = nullptr;
        QLabel* questionNo = nullptr;
        QLabel* questionTotal = nullptr; // "/ 83" beside the number
        QLabel* questionIdCaption = nullptr;
        QLabel* bestChoiceHint = nullptr;
        QPushButton* previousButton = nullptr;
        QPushButton* nextButton = nullptr;
        QPushButton* endButton = nullptr;
        QPushButton* showAnswerButton = nullptr;
        ClickableLabel* exhibitButton = nullptr;
        // in the button's place when its picture may not be opened
        QLabel* exhibitNotAvailable = nullptr;
        QLabel* timeLeftCaption = nullptr;
        QLabel* clock = nullptr;
        ClickableLabel* pauseLink = nullptr;
        RepeatingTimer* timer = nullptr;
        OptionGroup* optionGroup = nullptr;
        data::DataControl questions;   // the drawn questions, in the order drawn
        data::DataControl shownAnswer; // showans: the question the answer window shows
        std::unique_ptr<Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onActivate() override;
    void onUnload() override;

private:
    // The draw, the clearing of the drawn questions' choices and the first
    // question on screen, stored together or not at all; false when the
    // exam's table holds too few questions.
    bool drawAndOpenQuestions(int exam);
    void showQuestionNumber();
    void showTimeLeft();
    void orderTabs();
    void updateExhibitButton();
    QString currentDiagram() const;
    // Stores the choices, stops the clock and hands over to the score sheet.
    void finishExam();
    void closeSideWindows();
    // A database failure: told once, choices kept, back to the main window.
    void abandonExam(const data::DataError& error);
    template <typename Body> void guarded(Body&& body);
    int examNumber() const;

    std::unique_ptr<Controls> m_controls;
    core::Countdown m_countdown;
    bool m_askingToEnd = false;
    data::DatabasePtr m_showAnswerDatabase;
};

} // namespace gui
