#pragma once

#include "gui/toolkit/Bindings.h"
#include "gui/toolkit/Window.h"

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace data {
class DataError;
}

namespace gui {

// After an exam, the questions the candidate answered wrongly, one at a time
// and in the order they were asked: the question, its answers with the
// correct choices beside the candidate's own, the explanation and the
// category. Opened by the score sheet's "&View Wrong Answers"; "&Score Report"
// goes back to the same sheet. It reads the database and never writes it.
class WrongAnswerReview final : public Window {
public:
    explicit WrongAnswerReview(Program& program);
    ~WrongAnswerReview() override;

    void nextQuestion();
    void previousQuestion();
    void showExhibit();
    void printQuestion();
    // Back to the score sheet the candidate came from.
    void returnToScoreReport();
    // An answer's line and its two boxes show only when the answer has a text.
    void showAnswerRows();
    // Next and Previous as the position in the wrong answers allows.
    void updateButtons();

    // The frame's close button is "&Score Report".
    bool queryClose() override;

    // The shown question's place among the wrong answers, from 1, and how many there are.
    int currentNo() const { return m_currentNo; }
    int wrongCount() const { return m_wrongCount; }

    struct Controls {
        QLabel* heading = nullptr;
        QLabel* position = nullptr;      // "Question 3 of 12"
        QLabel* noneWrong = nullptr;     // said instead of empty boxes
        QWidget* questionArea = nullptr; // all that shows one question
        QPlainTextEdit* question = nullptr;
        std::array<QPlainTextEdit*, 6> answerTexts{}; // 1..5
        std::array<QCheckBox*, 6> keyChecks{};        // 1..5, the correct choices
        std::array<QCheckBox*, 6> yourChecks{};       // 1..5, the candidate's choices
        QLabel* keyCaption = nullptr;
        QLabel* yourCaption = nullptr;
        QLabel* explanationCaption = nullptr;
        QPlainTextEdit* explanation = nullptr;
        QLabel* categoryCaption = nullptr;
        QLineEdit* category = nullptr;
        QWidget* exhibitButton = nullptr; // a button, or the demo's picture of the word
        // in the button's place when its picture may not be opened
        QLabel* exhibitNotAvailable = nullptr;
        QPushButton* nextButton = nullptr;
        QPushButton* previousButton = nullptr;
        QPushButton* printButton = nullptr;
        QPushButton* scoreReportButton = nullptr;
        data::DataControl selection; // the wrong answers
        std::unique_ptr<Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onActivate() override;
    void onUnload() override;

private:
    void showPosition();
    void updateExhibitButton();
    QString currentDiagram() const;
    // A database failure: told once, then back to the score sheet.
    template <typename Body> void guarded(Body&& body);

    std::unique_ptr<Controls> m_controls;
    int m_currentNo = 1;
    int m_wrongCount = 0;
};

} // namespace gui
