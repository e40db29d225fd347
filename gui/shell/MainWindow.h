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

    // Exam menu
    void mnuExamsub1_Click();
    void mnuExamsub2_Click();
    void mnuExamsub3_Click();
    void mnuFileSubExit_Click();
    // Review menu
    void menuFileSubExam1_Click();
    void menuFileSubExam2_Click();
    void menuFileSubExam3_Click();
    // Help menu
    void mnuHelpsubNavigate_Click();
    void mnuHelpSubCer_Click();
    void mnuhelpsubmnureadme_Click();
    void mnuhelpsubmnuorder_Click();
    void mnuHelpsubCertification_Click();

    // The item of that name (object name), for tests and the window's own use.
    QAction* menuItem(const QString& name) const;

    // Closing the frame asks as Exit does, and ends the program on Yes.
    bool queryClose() override;

protected:
    QWidget* createWindow() override;

private:
    void startExam(int exam);
    void startReview(int exam);
};

} // namespace gui
