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

    // On to the exam notice.
    void next();
    // Closes the window: the exam is not started.
    void abandon();

    struct Controls {
        QFrame* titleFrame = nullptr;
        QLabel* logo = nullptr;
        QLabel* companyProduct = nullptr;
        QLabel* productName = nullptr;
        QLabel* version = nullptr;
        QLabel* examNameCaption = nullptr;
        QLabel* authorCaption = nullptr;
        QLabel* copyrightCaption = nullptr;
        QLabel* descriptionCaption = nullptr;
        QLabel* disclaimerCaption = nullptr;
        QLabel* questionCountCaption = nullptr;
        QPlainTextEdit* examName = nullptr;
        QLineEdit* author = nullptr;
        QLineEdit* copyright = nullptr;
        QPlainTextEdit* description = nullptr;
        QPlainTextEdit* disclaimer = nullptr;
        QPlainTextEdit* questionCount = nullptr;
        QPushButton* nextButton = nullptr;
        data::DataControl testInformation;
        std::unique_ptr<Bindings> bindings;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onKeyPress(QKeyEvent& event) override;
    void onUnload() override;

private:
    std::unique_ptr<Controls> m_controls;
};

} // namespace gui
