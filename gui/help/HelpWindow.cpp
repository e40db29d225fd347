#include "gui/help/HelpWindow.h"

#include "gui/help/AboutBox.h"
#include "gui/help/HelpLink.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace gui {
namespace {

struct Design {
    const char* name;
    QString caption;
    const char* textName;
    QString returnCaption;
};

Design design(HelpTopic topic)
{
    switch (topic) {
    case HelpTopic::Navigation:
        return {"Form31", QStringLiteral("Navigation"), "Text1", QStringLiteral("&Return")};
    case HelpTopic::Certification:
        return {"Form32", QStringLiteral("Certification.."), "Text1", QStringLiteral("&Return")};
    case HelpTopic::ReadMe:
        return {"Form33", QStringLiteral("Read Me"), "Text1", QStringLiteral("Return")};
    case HelpTopic::Ordering:
        break;
    }
    return {"Form34", QStringLiteral("Ordering"), "Text2", QStringLiteral("Return")};
}

// There is no help or order page on the web for this program, so the links
// that would have led there lead to the Read Me, and say so; the Read Me's
// own, and the order page's, are hidden rather than pointing nowhere.
const QUrl readMeLink(QStringLiteral("help:readme"));
const QString readMeLinkText = QStringLiteral("Click Here for the Read Me");

} // namespace

HelpWindow::HelpWindow(Program& program, HelpTopic topic)
    : Window(program), m_topic(topic),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
}

HelpWindow::~HelpWindow() = default;

QWidget* HelpWindow::createWidget()
{
    const Design d = design(m_topic);
    auto* window = new QWidget;
    window->setObjectName(QLatin1StringView(d.name));
    window->setWindowTitle(d.caption);
    window->setWindowIcon(applicationIcon());
    window->resize(900, 680);
    window->setWindowState(Qt::WindowMaximized);

    m_text = new QTextBrowser(window);
    m_text->setObjectName(QLatin1StringView(d.textName));
    m_text->setAccessibleName(d.caption);
    m_text->setOpenLinks(false);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->document()->setDocumentMargin(16);
    m_text->setMarkdown(helptext::markdown(
        m_topic, helptext::values(program().edition(), program().databasePath())));
    QObject::connect(m_text, &QTextBrowser::anchorClicked, window,
                     [this](const QUrl& url) { followLink(url); });

    auto* links = new QHBoxLayout;
    auto addLink = [&](const char* name, const QString& text, const QUrl& url) {
        auto* link = new HelpLink(window);
        link->setObjectName(QLatin1StringView(name));
        link->setLink(text, url);
        link->setClickHandler([this](const QUrl& address) { followLink(address); });
        link->setVisible(!url.isEmpty());
        links->addWidget(link);
    };
    if (m_topic == HelpTopic::Ordering) {
        addLink("HyperLink2", QString(), QUrl());
        addLink("HyperLink3", readMeLinkText, readMeLink);
    } else {
        addLink("HyperLink1", readMeLinkText, m_topic == HelpTopic::ReadMe ? QUrl() : readMeLink);
    }
    links->addStretch();

    m_returnButton = new QPushButton(d.returnCaption, window);
    m_returnButton->setObjectName(QStringLiteral("Command1"));
    m_returnButton->setMinimumWidth(120);
    QObject::connect(m_returnButton, &QPushButton::clicked, window, [this] { returnToMain(); });
    links->addWidget(m_returnButton);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(m_text, 1);
    layout->addLayout(links);
    // The keys scroll the text from the start; Tab reaches the links and Return.
    m_text->setFocus();
    return window;
}

void HelpWindow::onUnload()
{
    m_text = nullptr;
    m_returnButton = nullptr;
}

HelpLink* HelpWindow::link(const QString& objectName) const
{
    return widget() ? widget()->findChild<HelpLink*>(objectName) : nullptr;
}

void HelpWindow::returnToMain()
{
    hide();
    program().window<MainWindow>().show();
}

void HelpWindow::followLink(const QUrl& url)
{
    if (url.scheme() == QLatin1StringView("help")) {
        const QString page = url.path();
        if (page == QLatin1StringView("navigation"))
            showHelp(program(), HelpTopic::Navigation);
        else if (page == QLatin1StringView("certification"))
            showHelp(program(), HelpTopic::Certification);
        else if (page == QLatin1StringView("readme"))
            showHelp(program(), HelpTopic::ReadMe);
        else if (page == QLatin1StringView("ordering"))
            showHelp(program(), HelpTopic::Ordering);
        else if (page == QLatin1StringView("about"))
            program().window<AboutBox>().show();
        return;
    }
    if (!m_openUrl(url)) {
        program().msgBox(QStringLiteral("The link could not be opened: no web browser or other "
                                        "program could be started to show %1.")
                             .arg(url.toDisplayString()));
    }
}

HelpWindow& showHelp(Program& program, HelpTopic topic)
{
    HelpWindow* window = nullptr;
    switch (topic) {
    case HelpTopic::Navigation:
        window = &program.window<NavigationHelp>();
        break;
    case HelpTopic::Certification:
        window = &program.window<CertificationHelp>();
        break;
    case HelpTopic::ReadMe:
        window = &program.window<ReadMeHelp>();
        break;
    case HelpTopic::Ordering:
        window = &program.window<OrderingHelp>();
        break;
    }
    window->show();
    return *window;
}

} // namespace gui
