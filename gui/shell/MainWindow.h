#pragma once

#include "gui/toolkit/Window.h"

class QAction;
class QMainWindow;
class QMenu;

namespace gui {

// The main window: the menu bar from which every activity starts. It lives
// from start-up to the end of the program; exams and reviews hide it.
class MainWindow final : public Window {
public:
    explicit MainWindow(Program& program);

    // Exam menu: an exam item asks for the candidate's name and shows the
    // exam information; exam is 1, 2 or 3.
    void startExam(int exam);
    void exitProgram();
    // Review menu: pages through the answer key of exam 1, 2 or 3.
    void startReview(int exam);
    // Help menu
    void showNavigationHelp();
    void showCertificationHelp();
    void showReadMe();
    void showOrdering();
    void showAbout();

    // The item of that name (object name), for tests and the window's own use.
    QAction* menuItem(const QString& name) const;

    // Closing the frame asks as Exit does, and ends the program on Yes.
    bool queryClose() override;

protected:
    QWidget* createWidget() override;
};

} // namespace gui
