#pragma once

#include "gui/toolkit/Bindings.h"
#include "gui/toolkit/Window.h"

#include <memory>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QLineEdit;
class QPushButton;

namespace gui {

// The exam information window: the test's name, author, copyright,
// description, agreement and question count, before the exam notice.
// A key press or a click on the title frame closes it and abandons the start.
class ExamInfoWindow final : public Window {
public:
    explicit ExamInfoWindow(Program& program);
    ~ExamInfoWindow() override;

    void Form_Load() override;
    void Command1_Click(); // "&Next >>"
    void Frame1_Click();
    void Form_KeyPress(QKeyEvent& event) override;

    struct Controls {
        QFrame* Frame1 = nullptr;
        QLabel* imgLogo = nullptr;
        QLabel* lblCompanyProduct = nullptr;
        QLabel* lblProductName = nullptr;
        QLabel* lblVersion = nullptr;
        QLabel* Label2 = nullptr;
        QLabel* Label1 = nullptr;
        QLabel* Label3 = nullptr;
        QLabel* Label4 = nullptr;
        QLabel* Label5 = nullptr;
        QLabel* Label6 = nullptr;
        QPlainTextEdit* Text1 = nullptr;
        QLineEdit* Text2 = nullptr;
        QLineEdit* Text3 = nullptr;
        QPlainTextEdit* Text4 = nullptr;
        QPlainTextEdit* Text5 = nullptr;
        QPlainTextEdit* Text6 = nullptr;
        QPushButton* Command1 = nullptr;
        data::DataControl Data1;
        std::unique_ptr<Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWindow() override;
    void Form_Unload() override;

private:
    std::unique_ptr<Controls> m_controls;
};

} // namespace gui
