#pragma once

#include "core/ElapsedClock.h"
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
class AnswerWindow final : public Window {
public:
    explicit AnswerWindow(Program& program);
    ~AnswerWindow() override;

    // An answer's line and box show only when it has a text.
    void showAnswerRows();
    // One second of the window's clock.
    void tick();
    // Back to the exam, on the same question.
    void returnToExam();
    // The frame's close button is Return.
    bool queryClose() override;

    qint64 elapsedSeconds() const { return m_clock.seconds(); }

    struct Controls {
        QPlainTextEdit* question = nullptr;
        QPlainTextEdit* questionId = nullptr;
        std::array<QPlainTextEdit*, 6> answerTexts{}; // 1..5
        std::array<QCheckBox*, 6> checks{};           // 1..5, the key
        QPlainTextEdit* explanation = nullptr;
        QLabel* explanationCaption = nullptr;
        QLabel* returnHint = nullptr;
        QLabel* questionIdCaption = nullptr;
        QLabel* clock = nullptr;
        QPushButton* returnButton = nullptr;
        RepeatingTimer* timer = nullptr;
        data::DataControl answer; // the key of the question in showans
        std::unique_ptr<Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onUnload() override;

private:
    std::unique_ptr<Controls> m_controls;
    core::ElapsedClock m_clock;
};

} // namespace gui
