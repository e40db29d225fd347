#pragma once

#include "core/ElapsedClock.h"
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

namespace gui {

// The Review menu's window: an exam's answer key, one question at a time,
// with the correct choices marked, the explanation, the question's ID and a
// clock of the time spent. Nothing is asked, scored or stored; "&End" goes
// back to the main window.
class ReviewExamWindow final : public Window {
public:
    explicit ReviewExamWindow(Program& program);
    ~ReviewExamWindow() override;

    void nextQuestion();
    void previousQuestion();
    void showExhibit();
    // Back to the main window.
    void endReview();
    // One second of the clock.
    void tick();
    // Option buttons marking the correct one for a single-answer question,
    // check boxes marking the correct ones otherwise.
    void applyAnswerMode();
    // An answer's line and its marks show only when the answer has a text.
    void showAnswerRows();
    // Next and Previous as the position in the exam allows.
    void updateButtons();

    // The frame's close button is "&End".
    bool queryClose() override;

    int currentNo() const { return m_currentNo; }
    core::ElapsedClock& elapsedClock() { return m_clock; }

    struct Controls {
        QLabel* questionIdCaption = nullptr;
        QLineEdit* questionId = nullptr;
        QLabel* questionNoCaption = nullptr;
        QLabel* questionNo = nullptr;
        QLabel* clockCaption = nullptr;
        QLabel* clock = nullptr;
        QPlainTextEdit* question = nullptr;
        std::array<QPlainTextEdit*, 6> answerTexts{}; // 1..5
        std::array<QCheckBox*, 6> checks{};           // 1..5, the key
        std::array<QRadioButton*, 6> options{};       // 1..5, the key of a single-answer question
        QLineEdit* questionType = nullptr;            // hidden; read by the answer mode
        QLabel* explanationCaption = nullptr;
        QPlainTextEdit* explanation = nullptr;
        QWidget* exhibitButton = nullptr; // a button, or the demo's picture of the word
        // in the button's place when its picture may not be opened
        QLabel* exhibitNotAvailable = nullptr;
        QPushButton* nextButton = nullptr;
        QPushButton* previousButton = nullptr;
        QPushButton* endButton = nullptr;
        RepeatingTimer* timer = nullptr;
        OptionGroup* optionGroup = nullptr;
        data::DataControl questions; // the answer key
        std::unique_ptr<Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onActivate() override;
    void onUnload() override;

private:
    void showQuestionNumber();
    void updateExhibitButton();
    QString currentDiagram() const;
    // A database failure: told once, then back to the main window.
    template <typename Body> void guarded(Body&& body);
    void leaveAfterFailure();

    std::unique_ptr<Controls> m_controls;
    int m_currentNo = 0;
    core::ElapsedClock m_clock;
    bool m_applyingMode = false;
};

} // namespace gui
