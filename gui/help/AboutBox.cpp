#include "gui/help/AboutBox.h"

#include "core/SystemInformation.h"
#include "data/Sqlite.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QTabWidget>
#include <QVBoxLayout>

namespace gui {
namespace {

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

AboutBox::AboutBox(Program& program) : Window(program)
{
    setKeyPreview(true);
}

AboutBox::~AboutBox() = default;

QWidget* AboutBox::createWidget()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    window->setObjectName(QStringLiteral("frmAbout"));
    window->setWindowTitle(QStringLiteral("About Certification"));

    c.pages = new QTabWidget(window);
    c.pages->setObjectName(QStringLiteral("tabPages"));
    c.pages->setAccessibleName(QStringLiteral("About"));

    auto* about = new QWidget;
    about->setObjectName(QStringLiteral("pageAbout"));
    c.logo = new QLabel(about);
    c.logo->setObjectName(QStringLiteral("Picture1"));
    c.logo->setPixmap(applicationIcon().pixmap(64, 64));
    c.logo->setAccessibleName(QStringLiteral("Logo"));
    c.title = new QLabel(QStringLiteral("Application Title"), about);
    c.title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = c.title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    c.title->setFont(big);
    c.version = new QLabel(QStringLiteral("Version"), about);
    c.version->setObjectName(QStringLiteral("lblVersion"));
    c.description = new QLabel(edition.aboutDescription, about);
    c.description->setObjectName(QStringLiteral("lblDescription"));
    c.description->setWordWrap(true);
    c.disclaimer = new QLabel(QString(), about);
    c.disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    c.disclaimer->setWordWrap(true);
    for (QLabel* label : {c.title, c.version, c.description})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grid = new QGridLayout(about);
    grid->addWidget(c.logo, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(c.title, 0, 1);
    grid->addWidget(c.version, 1, 1);
    grid->addWidget(c.description, 2, 1);
    grid->addWidget(separator(about), 3, 0, 1, 2);
    grid->addWidget(c.disclaimer, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
    c.pages->addTab(about, QStringLiteral("&About"));

    auto* support = new QWidget;
    support->setObjectName(QStringLiteral("pageSupport"));
    c.details = new QPlainTextEdit(support);
    c.details->setObjectName(QStringLiteral("txtDetails"));
    c.details->setAccessibleName(QStringLiteral("Support details"));
    c.details->setReadOnly(true);
    c.details->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* hint = new QLabel(QStringLiteral("Quote these details when you ask for help."), support);
    hint->setWordWrap(true);
    c.copyButton = new QPushButton(QStringLiteral("&Copy"), support);
    c.copyButton->setObjectName(QStringLiteral("cmdCopy"));
    QObject::connect(c.copyButton, &QPushButton::clicked, window, [this] { copyDetails(); });
    auto* supportLayout = new QVBoxLayout(support);
    supportLayout->addWidget(hint);
    supportLayout->addWidget(c.details, 1);
    supportLayout->addWidget(c.copyButton, 0, Qt::AlignRight);
    c.pages->addTab(support, QStringLiteral("Support &Details"));

    c.okButton = new QPushButton(QStringLiteral("OK"), window);
    c.okButton->setObjectName(QStringLiteral("cmdOK"));
    c.okButton->setDefault(true);
    c.sysInfoButton = new QPushButton(QStringLiteral("&System Info..."), window);
    c.sysInfoButton->setObjectName(QStringLiteral("cmdSysInfo"));
    QObject::connect(c.okButton, &QPushButton::clicked, window, [this] { ok(); });
    QObject::connect(c.sysInfoButton, &QPushButton::clicked, window, [this] { startSystemInfo(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(c.okButton);
    buttons->addWidget(c.sysInfoButton);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(c.pages, 1);
    layout->addLayout(buttons);
    window->setFixedSize(560, 340);
    c.okButton->setFocus();
    return window;
}

void AboutBox::onLoad()
{
    Controls& c = *m_controls;
    const core::Edition& edition = program().edition();
    widget()->setWindowTitle(QStringLiteral("About ") + edition.applicationTitle);
    c.version->setText(edition.version());
    c.title->setText(edition.applicationTitle);
    c.details->setPlainText(supportDetails());
}

void AboutBox::onUnload()
{
    m_controls.reset();
}

void AboutBox::onKeyPress(QKeyEvent& event)
{
    // Escape is Cancel, Enter the default button: both are OK here. Enter on
    // another button that has the focus presses that one, as Space would.
    const int key = event.key();
    if (key == Qt::Key_Escape) {
        ok();
        return;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        focused && m_controls && focused->window() == widget() && focused != m_controls->okButton)
        focused->click();
    else
        ok();
}

void AboutBox::ok()
{
    unload();
}

core::SystemTools& AboutBox::tools()
{
    if (m_tools)
        return *m_tools;
    if (!m_nativeTools)
        m_nativeTools = core::nativeSystemTools();
    return *m_nativeTools;
}

void AboutBox::startSystemInfo()
{
    // The About box stays open either way.
    if (!core::startSystemInformation(tools()))
        program().msgBox(QStringLiteral("System Information Is Unavailable At This Time"),
                         core::Prompter::OkOnly);
}

QString AboutBox::supportDetails() const
{
    const core::Edition& edition = program().edition();
    int exams = 0;
    for (int exam = 1; exam <= 3; ++exam)
        exams += edition.offersExam(exam) ? 1 : 0;
    const QString database = program().databasePath();
    QString scale = QStringLiteral("unknown");
    const QWidget* w = widget();
    if (const QScreen* screen = w ? w->screen() : QGuiApplication::primaryScreen()) {
        scale = QStringLiteral("%1 (%2 dpi, %3 x %4)")
                    .arg(screen->devicePixelRatio(), 0, 'f', 2)
                    .arg(qRound(screen->logicalDotsPerInch()))
                    .arg(screen->size().width())
                    .arg(screen->size().height());
    }
    const QStringList lines{
        QStringLiteral("%1 %2.%3.%4")
            .arg(edition.applicationTitle)
            .arg(edition.versionMajor)
            .arg(edition.versionMinor)
            .arg(edition.versionRevision),
        QStringLiteral("Edition: %1 (exams: %2, questions per exam: %3, minutes per exam: %4)")
            .arg(edition.programName)
            .arg(exams)
            .arg(edition.questionCount)
            .arg(edition.timeLimitMinutes),
        QStringLiteral("Qt: %1 (built with %2), %3 platform")
            .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
                 QGuiApplication::platformName()),
        QStringLiteral("SQLite: %1").arg(data::sqliteVersion()),
        QStringLiteral("Operating system: %1 (%2 %3, %4)")
            .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                 QSysInfo::currentCpuArchitecture()),
        QStringLiteral("Screen scale: %1").arg(scale),
        QStringLiteral("Question database: %1%2")
            .arg(QDir::toNativeSeparators(database),
                 QFileInfo(database).isFile() ? QString() : QStringLiteral(" (missing)")),
    };
    return lines.join(u'\n');
}

void AboutBox::copyDetails()
{
    QGuiApplication::clipboard()->setText(supportDetails());
}

} // namespace gui
