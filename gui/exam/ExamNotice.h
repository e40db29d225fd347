#pragma once

#include "gui/toolkit/Window.h"

class QLabel;
class QPushButton;

namespace gui {

// "Please Note...": the question count and time limit, before the clock starts.
class ExamNotice final : public Window {
public:
    explicit ExamNotice(Program& program);
    ~ExamNotice() override;

    // Starts the exam: the exam window draws its questions and takes over.
    void accept();
    // Abandons the start and returns to the main window.
    void cancel();
    // Closing through the frame is Cancel.
    bool queryClose() override;

    struct Controls {
        QLabel* text = nullptr;
        QPushButton* okButton = nullptr;
        QPushButton* cancelButton = nullptr;
    };
    const Controls& controls() const { return m_controls; }

protected:
    QWidget* createWidget() override;

private:
    Controls m_controls;
};

} // namespace gui
