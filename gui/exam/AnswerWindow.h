#pragma once

#include "gui/toolkit/Bindings.h"
#include "gui/toolkit/RepeatingTimer.h"
#include "gui/toolkit/Window.h"

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace gui {

// The answer key of the question on screen, with its explanation and a clock
// of how long the window has been open. It shows; it never writes.
class AnswerWindow final : public gui::Window {
public:
    explicit AnswerWindow(gui::Program& program);
    ~AnswerWindow() override;

    void Form_Load() override;
    void text2_Change(int index);
    void Timer1_Timer();
    void cmdEnd_Click(); // "&Return"
    // The frame's close button is Return.
    bool queryClose() override;

    int ElapsedSeconds() const { return m_elapsedSeconds; }

    struct Controls {
        std::array<QPlainTextEdit*, 7> text2{}; // 0 question, 1 ID, 2..6 answers 1..5
        std::array<QCheckBox*, 6> Check{};      // 1..5
        QPlainTextEdit* Text3 = nullptr;        // explanation
        QLabel* Label1 = nullptr;
        QLabel* Label2 = nullptr;
        QLabel* lblID = nullptr;
        QLabel* lblClock = nullptr;
        QPushButton* cmdEnd = nullptr;
        gui::RepeatingTimer* Timer1 = nullptr;
        data::DataControl Data1;
        std::unique_ptr<gui::Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWindow() override;
    void Form_Unload() override;

private:
    std::unique_ptr<Controls> m_controls;
    int m_elapsedSeconds = 0;
};

} // namespace gui
