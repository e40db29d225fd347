#pragma once

#include "gui/toolkit/Window.h"

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace core {
class SystemTools;
}

namespace gui {

// The About box: title, version, the edition's description, a button that
// starts the system's own system-information tool, and a page of support
// details (versions, system, screen, database) to copy into a request for help.
// Modeless; Enter and Escape press OK, which unloads it.
class AboutBox final : public Window {
public:
    explicit AboutBox(Program& program);
    ~AboutBox() override;

    // cmdOK
    void ok();
    // cmdSysInfo: starts the system-information tool or says it is unavailable.
    void startSystemInfo();
    // cmdCopy: the support details to the clipboard.
    void copyDetails();
    // What a request for help should quote, one fact a line.
    QString supportDetails() const;

    // Where the system-information tool is looked for; the machine's own
    // unless a test hands in another. Not owned.
    void setSystemTools(core::SystemTools* tools) { m_tools = tools; }

    struct Controls {
        QTabWidget* pages = nullptr;
        QLabel* logo = nullptr;
        QLabel* title = nullptr;
        QLabel* version = nullptr;
        QLabel* description = nullptr;
        QLabel* disclaimer = nullptr;
        QPlainTextEdit* details = nullptr;
        QPushButton* copyButton = nullptr;
        QPushButton* okButton = nullptr;
        QPushButton* sysInfoButton = nullptr;
    };
    const Controls* controls() const { return m_controls.get(); }

protected:
    QWidget* createWidget() override;
    void onLoad() override;
    void onUnload() override;
    void onKeyPress(QKeyEvent& event) override;

private:
    core::SystemTools& tools();

    std::unique_ptr<Controls> m_controls;
    std::unique_ptr<core::SystemTools> m_nativeTools;
    core::SystemTools* m_tools = nullptr;
};

} // namespace gui
