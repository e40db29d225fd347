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

QWidget* ExamInfoWindow::createWindow()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    // A fixed-size dialog without a caption.
    auto* window = new QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint);
    window->setObjectName(QStringLiteral("frmSplash"));
    window->setWindowTitle(edition.applicationTitle);

    auto* frame = new TitleFrame([this] { Frame1_Click(); });
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette framePalette = frame->palette();
    framePalette.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0x99));
    framePalette.setColor(QPalette::WindowText, Qt::white);
    frame->setPalette(framePalette);
    c.Frame1 = frame;
    auto* frameLayout = new QGridLayout(frame);
    frameLayout->setContentsMargins(16, 12, 16, 12);
    auto makeLabel = [](QWidget* parent, const char* name, const QString& text) {
        auto* label = new QLabel(text, parent);
        label->setObjectName(QLatin1StringView(name));
        // clicks on the frame's pictures and labels are theirs, not the frame's
        label->setAttribute(Qt::WA_NoMousePropagation);
        return label;
    };
    c.imgLogo = makeLabel(frame, "imgLogo", QString());
    c.imgLogo->setPixmap(applicationIcon().pixmap(56, 56));
    c.lblCompanyProduct = makeLabel(frame, "lblCompanyProduct", QStringLiteral("Quizmoor"));
    c.lblProductName = makeLabel(frame, "lblProductName", QString());
    c.lblVersion = makeLabel(frame, "lblVersion", QStringLiteral("Ver.3.0"));
    QFont big = c.lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    c.lblProductName->setFont(big);
    frameLayout->addWidget(c.imgLogo, 0, 0, 2, 1);
    frameLayout->addWidget(c.lblCompanyProduct, 0, 1);
    frameLayout->addWidget(c.lblVersion, 0, 2, Qt::AlignRight);
    frameLayout->addWidget(c.lblProductName, 1, 1, 1, 2);
    frameLayout->setColumnStretch(1, 1);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(12);
    c.Label2 = makeLabel(window, "Label2", QStringLiteral("Exam Name:"));
    c.Label1 = makeLabel(window, "Label1", QStringLiteral("Author Name"));
    c.Label3 = makeLabel(window, "Label3", QStringLiteral("Copy Right"));
    c.Label4 = makeLabel(window, "Label4", QStringLiteral("Test Description"));
    c.Label5 = makeLabel(window, "Label5", edition.disclaimerLabel);
    c.Label6 = makeLabel(window, "Label6", QStringLiteral("Number Of Questions"));
    c.Label5->setWordWrap(true);
    c.Text1 = multiLine(window, 2, false);
    c.Text2 = new QLineEdit(window);
    c.Text3 = new QLineEdit(window);
    c.Text4 = multiLine(window, 6, true);
    c.Text5 = multiLine(window, 6, true);
    c.Text6 = multiLine(window, 1, false);
    c.Text6->setMaximumWidth(120);
    c.Text2->setReadOnly(true);
    c.Text3->setReadOnly(true);
    const std::pair<QLabel*, QWidget*> rows[] = {{c.Label2, c.Text1}, {c.Label1, c.Text2},
                                                 {c.Label3, c.Text3}, {c.Label4, c.Text4},
                                                 {c.Label5, c.Text5}, {c.Label6, c.Text6}};
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
    c.Text1->setPlainText(QStringLiteral("Exam Name\n"));
    c.Text2->setText(QStringLiteral("Author Name"));
    c.Text3->setText(QStringLiteral("Copy Right Date"));
    c.Text4->setPlainText(QStringLiteral("Test Description\n"));
    c.Text5->setPlainText(QStringLiteral("Test Disclaimer"));
    c.Text6->setPlainText(QStringLiteral("Number Of Questions"));

    c.Command1 = new QPushButton(QStringLiteral("&Next >>"), window);
    c.Command1->setObjectName(QStringLiteral("Command1"));
    c.Command1->setDefault(true);
    QObject::connect(c.Command1, &QPushButton::clicked, c.Command1, [this] { Command1_Click(); });

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(frame);
    layout->addLayout(fields);
    layout->addWidget(c.Command1, 0, Qt::AlignRight);
    window->setFixedSize(640, layout->sizeHint().height());

    c.Data1.DatabaseName = edition.databaseFile;
    c.Data1.Connect = QStringLiteral(";pwd=Rorura36");
    c.Data1.RecordSource = data::sql::testInformationTable();
    c.bindings = std::make_unique<Bindings>(c.Data1);
    return window;
}

void ExamInfoWindow::Form_Load()
{
    Controls& c = *m_controls;
    c.lblVersion->setText(program().edition().version());
    c.lblProductName->setText(program().edition().applicationTitle);
    // The data control opens its record source as the window loads; the bound
    // controls then show the first (the only) row.
    try {
        c.Data1.Refresh();
        c.bindings->bind(c.lblProductName, QStringLiteral("test_name"));
        c.bindings->bind(c.Text1, QStringLiteral("test_name"));
        c.bindings->bind(c.Text2, QStringLiteral("author_name"));
        c.bindings->bind(c.Text3, QStringLiteral("copyright_date"));
        c.bindings->bind(c.Text4, QStringLiteral("test_description"));
        c.bindings->bind(c.Text5, QStringLiteral("test_disclaimer"));
        c.bindings->bind(c.Text6, QStringLiteral("number_of_questions"));
    } catch (const data::DataError& error) {
        program().reportDataError(error);
        throw LoadAbandoned();
    }
    // The candidate reads from the top.
    for (QPlainTextEdit* box : {c.Text1, c.Text4, c.Text5, c.Text6})
        box->moveCursor(QTextCursor::Start);
}

void ExamInfoWindow::Command1_Click()
{
    program().form<gui::ExamNotice>().Show();
    Hide();
}

void ExamInfoWindow::Frame1_Click()
{
    Unload();
}

void ExamInfoWindow::Form_KeyPress(QKeyEvent& event)
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
    if (key == Qt::Key_Space && m_controls && m_controls->Command1->hasFocus())
        return;
    Unload();
}

void ExamInfoWindow::Form_Unload()
{
    // Bindings listen to the data control: let them go first.
    if (m_controls)
        m_controls->bindings.reset();
    m_controls.reset();
}

} // namespace gui
