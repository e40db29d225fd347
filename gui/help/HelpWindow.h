#pragma once

#include "gui/help/HelpTexts.h"
#include "gui/toolkit/Window.h"

#include <QUrl>
#include <functional>

class QPushButton;
class QTextBrowser;

namespace gui {

class HelpLink;

// One help window: a scrolling text, links and a return button. Each topic
// is a window of its own (HelpTopicWindow below): its own instance, its own
// scroll position, its own Return.
class HelpWindow : public Window {
public:
    HelpWindow(Program& program, HelpTopic topic);
    ~HelpWindow() override;

    HelpTopic topic() const { return m_topic; }

    // Command1: this window goes, the main window comes to the front.
    void returnToMain();
    // A link of the window or of its text: "help:readme" and the like open
    // the program's own help; any other address goes to the desktop (the
    // default browser), and the candidate hears when that fails.
    void followLink(const QUrl& url);
    // How addresses outside the program are opened; the desktop's services
    // unless a test says otherwise.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

    // The controls, while the window is loaded.
    QTextBrowser* text() const { return m_text; }
    QPushButton* returnButton() const { return m_returnButton; }
    HelpLink* link(const QString& objectName) const;

protected:
    QWidget* createWidget() override;
    void onUnload() override;

private:
    HelpTopic m_topic;
    std::function<bool(const QUrl&)> m_openUrl;
    QTextBrowser* m_text = nullptr;
    QPushButton* m_returnButton = nullptr;
};

template <HelpTopic Topic> class HelpTopicWindow final : public HelpWindow {
public:
    explicit HelpTopicWindow(Program& program) : HelpWindow(program, Topic) {}
};

using NavigationHelp = HelpTopicWindow<HelpTopic::Navigation>;       // Form31
using CertificationHelp = HelpTopicWindow<HelpTopic::Certification>; // Form32
using ReadMeHelp = HelpTopicWindow<HelpTopic::ReadMe>;               // Form33
using OrderingHelp = HelpTopicWindow<HelpTopic::Ordering>;           // Form34

// Shows the window of a topic, creating it on first use.
HelpWindow& showHelp(Program& program, HelpTopic topic);

} // namespace gui
