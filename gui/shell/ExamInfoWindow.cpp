#include "gui/shell/ExamInfoWindow.h"

#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/exam/ExamNotice.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {
namespace {

// The title frame closes the window when its own area is clicked, not when
// one of the pictures or labels on it is.
class TitleFrame final : public QFrame {
public:
    explicit TitleFrame(std::function<void()> clicked) : m_clicked(std::move(clicked)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr)
            m_clicked();
    }

private:
    std::function<void()> m_clicked;
};

QPlainTextEdit* multiLine(QWidget* parent, int lines, bool scrollBar)
{
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + 12);
    return box;
}

} // namespace

ExamInfoWindow::ExamInfoWindow(Program& program) : Window(program)
{
    setKeyPreview(true);
}

ExamInfoWindow::~ExamInfoWindow() = default;

QWidget* ExamInfoWindow::createWidget()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    // A fixed-size dialog without a caption.
    auto* window = new QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint);
    window->setObjectName(QStringLiteral("frmSplash"));
    window->setWindowTitle(edition.applicationTitle);

    auto* frame = new TitleFrame([this] { abandon(); });
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette framePalette = frame->palette();
    framePalette.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0x99));
    framePalette.setColor(QPalette::WindowText, Qt::white);
    frame->setPalette(framePalette);
    c.titleFrame = frame;
    auto* frameLayout = new QGridLayout(frame);
    frameLayout->setContentsMargins(16, 12, 16, 12);
    auto makeLabel = [](QWidget* parent, const char* name, const QString& text) {
        auto* label = new QLabel(text, parent);
        label->setObjectName(QLatin1StringView(name));
        // clicks on the frame's pictures and labels are theirs, not the frame's
        label->setAttribute(Qt::WA_NoMousePropagation);
        return label;
    };
    c.logo = makeLabel(frame, "imgLogo", QString());
    c.logo->setPixmap(applicationIcon().pixmap(56, 56));
    c.companyProduct = makeLabel(frame, "lblCompanyProduct", QStringLiteral("Quizmoor"));
    c.productName = makeLabel(frame, "lblProductName", QString());
    c.version = makeLabel(frame, "lblVersion", QStringLiteral("Ver.3.0"));
    QFont big = c.productName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    c.productName->setFont(big);
    frameLayout->addWidget(c.logo, 0, 0, 2, 1);
    frameLayout->addWidget(c.companyProduct, 0, 1);
    frameLayout->addWidget(c.version, 0, 2, Qt::AlignRight);
    frameLayout->addWidget(c.productName, 1, 1, 1, 2);
    frameLayout->setColumnStretch(1, 1);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(12);
    c.examNameCaption = makeLabel(window, "Label2", QStringLiteral("Exam Name:"));
    c.authorCaption = makeLabel(window, "Label1", QStringLiteral("Author Name"));
    c.copyrightCaption = makeLabel(window, "Label3", QStringLiteral("Copy Right"));
    c.descriptionCaption = makeLabel(window, "Label4", QStringLiteral("Test Description"));
    c.disclaimerCaption = makeLabel(window, "Label5", edition.disclaimerLabel);
    c.questionCountCaption = makeLabel(window, "Label6", QStringLiteral("Number Of Questions"));
    c.disclaimerCaption->setWordWrap(true);
    c.examName = multiLine(window, 2, false);
    c.author = new QLineEdit(window);
    c.copyright = new QLineEdit(window);
    c.description = multiLine(window, 6, true);
    c.disclaimer = multiLine(window, 6, true);
    c.questionCount = multiLine(window, 1, false);
    c.questionCount->setMaximumWidth(120);
    c.author->setReadOnly(true);
    c.copyright->setReadOnly(true);
    const std::pair<QLabel*, QWidget*> rows[] = {
        {c.examNameCaption, c.examName},     {c.authorCaption, c.author},
        {c.copyrightCaption, c.copyright},   {c.descriptionCaption, c.description},
        {c.disclaimerCaption, c.disclaimer}, {c.questionCountCaption, c.questionCount}};
    const char* names[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"};
    int row = 0;
    for (const auto& [label, value] : rows) {
        value->setObjectName(QLatin1StringView(names[row]));
        value->setAccessibleName(label->text());
        label->setBuddy(value);
        fields->addWidget(label, row, 0, Qt::AlignTop);
        fields->addWidget(value, row, 1);
        ++row;
    }
    // design-time texts, replaced by the bound values
    c.examName->setPlainText(QStringLiteral("Exam Name\n"));
    c.author->setText(QStringLiteral("Author Name"));
    c.copyright->setText(QStringLiteral("Copy Right Date"));
    c.description->setPlainText(QStringLiteral("Test Description\n"));
    c.disclaimer->setPlainText(QStringLiteral("Test Disclaimer"));
    c.questionCount->setPlainText(QStringLiteral("Number Of Questions"));

    c.nextButton = new QPushButton(QStringLiteral("&Next >>"), window);
    c.nextButton->setObjectName(QStringLiteral("Command1"));
    c.nextButton->setDefault(true);
    QObject::connect(c.nextButton, &QPushButton::clicked, c.nextButton, [this] { next(); });

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(frame);
    layout->addLayout(fields);
    layout->addWidget(c.nextButton, 0, Qt::AlignRight);
    window->setFixedSize(640, layout->sizeHint().height());

    c.testInformation.DatabaseName = edition.databaseFile;
    c.testInformation.Connect = QStringLiteral(";pwd=Rorura36");
    c.testInformation.RecordSource = data::sql::testInformationTable();
    c.bindings = std::make_unique<Bindings>(c.testInformation);
    return window;
}

void ExamInfoWindow::onLoad()
{
    Controls& c = *m_controls;
    c.version->setText(program().edition().version());
    c.productName->setText(program().edition().applicationTitle);
    // The data control opens its record source as the window loads; the bound
    // controls then show the first (the only) row.
    try {
        c.testInformation.Refresh();
        c.bindings->bind(c.productName, QStringLiteral("test_name"));
        c.bindings->bind(c.examName, QStringLiteral("test_name"));
        c.bindings->bind(c.author, QStringLiteral("author_name"));
        c.bindings->bind(c.copyright, QStringLiteral("copyright_date"));
        c.bindings->bind(c.description, QStringLiteral("test_description"));
        c.bindings->bind(c.disclaimer, QStringLiteral("test_disclaimer"));
        c.bindings->bind(c.questionCount, QStringLiteral("number_of_questions"));
    } catch (const data::DataError& error) {
        program().reportDataError(error);
        throw LoadAbandoned();
    }
    // The candidate reads from the top.
    for (QPlainTextEdit* box : {c.examName, c.description, c.disclaimer, c.questionCount})
        box->moveCursor(QTextCursor::Start);
}

void ExamInfoWindow::next()
{
    program().window<ExamNotice>().show();
    hide();
}

void ExamInfoWindow::abandon()
{
    unload();
}

void ExamInfoWindow::onKeyPress(QKeyEvent& event)
{
    // Keys that type something (and Escape) close the window and abandon the
    // start. Tab, arrows, modifiers and access keys such as Alt+N keep working,
    // and Enter, like Space on the focused button, presses "&Next >>".
    if (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return;
    const int key = event.key();
    if (event.text().isEmpty() && key != Qt::Key_Escape)
        return;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return ||
        key == Qt::Key_Enter)
        return;
    if (key == Qt::Key_Space && m_controls && m_controls->nextButton->hasFocus())
        return;
    unload();
}

void ExamInfoWindow::onUnload()
{
    // Bindings listen to the data control: let them go first.
    if (m_controls)
        m_controls->bindings.reset();
    m_controls.reset();
}

} // namespace gui
