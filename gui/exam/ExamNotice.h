#pragma once

#include "gui/toolkit/Window.h"

class QLabel;
class QPushButton;

namespace gui {

// "Please Note...": the question count and time limit, before the clock starts.
class ExamNotice final : public gui::Window {
public:
    explicit ExamNotice(gui::Program& program);
    ~ExamNotice() override;

    void OKButton_Click();
    void CancelButton_Click();
    // Closing through the frame is Cancel.
    bool queryClose() override;

    struct Controls {
        QLabel* Label1 = nullptr;
        QPushButton* OKButton = nullptr;
        QPushButton* CancelButton = nullptr;
    };
    const Controls& controls() const { return m_controls; }

protected:
    QWidget* createWindow() override;

private:
    Controls m_controls;
};

} // namespace gui
