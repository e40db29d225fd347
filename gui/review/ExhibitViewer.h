#pragma once

#include "gui/toolkit/Window.h"

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;

namespace gui {

// The exhibit viewer: the picture named by ExhibitPath in a window of its
// own, until "&Return" brings back the window the candidate came from.
class ExhibitViewer final : public gui::Window {
public:
    explicit ExhibitViewer(gui::Program& program);
    ~ExhibitViewer() override;

    void Form_Load() override;
    void Command1_Click(); // "&Return"
    // The frame's close button is Return.
    bool queryClose() override;

    // Shows the viewer with the picture of ExhibitPath, whatever it showed before.
    void present();
    // The path of the picture on show, and what is shown when it cannot be read.
    const QString& shownPath() const { return m_shownPath; }
    QString problemText() const;

    struct Controls {
        QScrollArea* scroll = nullptr;
        QLabel* Picture1 = nullptr;
        QLabel* problem = nullptr;
        QPushButton* Command1 = nullptr;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWindow() override;
    void Form_Unload() override;

private:
    void loadPicture();

    std::unique_ptr<Controls> m_controls;
    QString m_shownPath;
};

} // namespace gui
