#pragma once

#include "gui/toolkit/Window.h"

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;

namespace gui {

// The exhibit viewer: the picture named by exhibitPath in a window of its
// own, until "&Return" brings back the window the candidate came from.
class ExhibitViewer final : public Window {
public:
    explicit ExhibitViewer(Program& program);
    ~ExhibitViewer() override;

    // Back to the window the candidate came from.
    void returnToCaller();
    // The frame's close button is Return.
    bool queryClose() override;

    // Shows the viewer with the picture of exhibitPath, whatever it showed before.
    void present();

    // The question on screen in a caller names `diagram` as its exhibit: it
    // becomes the run's exhibitPath, and the caller shows its exhibit
    // button, its "not available" label in the button's place, or neither.
    static void offer(Program& program, const QString& diagram, QWidget* button,
                      QLabel* notAvailable);
    // The caller's exhibit button was pressed: the viewer shows `diagram`'s
    // picture when it may be opened, and the caller hides where the edition
    // says so.
    static void openFrom(Program& program, Window& caller, const QString& diagram);
    // The path of the picture on show, and what is shown when it cannot be read.
    const QString& shownPath() const { return m_shownPath; }
    QString problemText() const;

    struct Controls {
        QScrollArea* scroll = nullptr;
        QLabel* picture = nullptr;
        QLabel* problem = nullptr;
        QPushButton* returnButton = nullptr;
    };
    Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onUnload() override;

private:
    void showPicture();

    std::unique_ptr<Controls> m_controls;
    QString m_shownPath;
};

} // namespace gui
