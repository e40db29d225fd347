#pragma once

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
}

namespace gui {

// The timed exam: one drawn question at a time, its choices stored in the
// exam's working table through the bound check boxes as the candidate moves
// on, a countdown, the exhibit and show-answer side trips, and End Exam.
class ExamWindow final : public gui::Window {
public:
    explicit ExamWindow(gui::Program& program);
    ~ExamWindow() override;

    void Form_Load() override;
    void Form_Activate() override; // the button rule

    void CmdNextQ_Click();
    void cmdPrevQ_Click();
    void cmdEndExam_Click();
    void Command1_Click(); // "Show Answer Now !"
    void Picture1_Click(); // the exhibit
    void Option1_Click() { optionClick(1); }
    void Option2_Click() { optionClick(2); }
    void Option3_Click() { optionClick(3); }
    void Option4_Click() { optionClick(4); }
    void Option5_Click() { optionClick(5); }
    void text2_Change(int index);
    void LblPause_Click();
    void Timer1_Timer();
    void ApplyAnswerMode();

    // The frame's close button asks as End Exam does.
    bool queryClose() override;

    int ElapsedSeconds() const { return m_elapsedSeconds; }

    struct Controls {
        std::array<QPlainTextEdit*, 6> text2{}; // 0 question; 1, 2, 4, 5, 3: answers 1..5
        std::array<QCheckBox*, 6> Check{};      // 1..5
        std::array<QRadioButton*, 6> Option{};  // 1..5
        QLineEdit* Text1 = nullptr;             // the question's ID
        QLineEdit* Text3 = nullptr;             // question_type, read by the answer mode
        QLabel* Label2 = nullptr;
        QLabel* LblRec_Count = nullptr;
        QLabel* lblID = nullptr;
        QLabel* lblBestChoice = nullptr;
        QPushButton* cmdPrevQ = nullptr;
        QPushButton* CmdNextQ = nullptr;
        QPushButton* cmdEndExam = nullptr;
        QPushButton* Command1 = nullptr;
        gui::ClickableLabel* Picture1 = nullptr;
        QLabel* Label1 = nullptr;
        QLabel* lblClock = nullptr;
        gui::ClickableLabel* LblPause = nullptr;
        gui::RepeatingTimer* Timer1 = nullptr;
        gui::OptionGroup* options = nullptr;
        data::DataControl iis;   // the question cursor
        data::DataControl Data1; // showans
        std::unique_ptr<gui::Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }
    // The text box of answer k (1..5).
    QPlainTextEdit* answerBox(int k) const;

protected:
    QWidget* createWindow() override;
    void Form_Unload() override;

private:
    void optionClick(int k);
    void showQuestionNumber();
    void updateExhibitButton();
    QString currentDiagram() const;
    // Stores the choices, stops the clock and hands over to the score sheet.
    void endExam();
    void closeSideWindows();
    // A database failure: told once, choices kept, back to the main window.
    void abandonExam(const data::DataError& error);
    template <typename Body> void guarded(Body&& body);
    int examNumber() const;

    std::unique_ptr<Controls> m_controls;
    int m_elapsedSeconds = 0;
    bool m_askingToEnd = false;
    data::DatabasePtr m_showAnswerDatabase;
};

} // namespace gui
