#pragma once

#include "Form.h"

class QLabel;
class QPushButton;

namespace exam {

// "Please Note...": the question count and time limit, before the clock starts.
class Dialog final : public app::Form {
public:
    explicit Dialog(app::Program& program);
    ~Dialog() override;

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

} // namespace exam
