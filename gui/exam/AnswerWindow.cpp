#include "gui/exam/AnswerWindow.h"

#include "core/ClockText.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/exam/ExamWindow.h"
#include "gui/toolkit/Program.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

AnswerWindow::AnswerWindow(gui::Program& program) : Window(program) {}
AnswerWindow::~AnswerWindow() = default;

QWidget* AnswerWindow::createWindow()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form5"));
    window->setWindowTitle(edition.showAnswerCaption);
    window->resize(860, 640);

    auto box = [window](int lines) {
        auto* b = new QPlainTextEdit(window);
        b->setReadOnly(true);
        b->setTabChangesFocus(true);
        b->setMinimumHeight(b->fontMetrics().lineSpacing() * lines + 10);
        return b;
    };
    for (int i = 0; i <= 6; ++i) {
        c.text2[std::size_t(i)] = box(i == 0 ? 6 : (i == 1 ? 1 : 2));
        c.text2[std::size_t(i)]->setObjectName(QStringLiteral("text2_%1").arg(i));
        QObject::connect(c.text2[std::size_t(i)], &QPlainTextEdit::textChanged, window,
                         [this, i] { text2_Change(i); });
    }
    c.text2[0]->setAccessibleName(QStringLiteral("Question"));
    c.text2[1]->setMaximumWidth(90);
    c.text2[1]->setMaximumHeight(c.text2[1]->minimumHeight());
    c.text2[1]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.text2[1]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.text2[1]->setAccessibleName(QStringLiteral("Question ID:"));
    c.lblID = new QLabel(QStringLiteral("Question ID:"), window);
    c.lblID->setObjectName(QStringLiteral("lblID"));
    c.lblClock = new QLabel(QStringLiteral("ClockDisplay"), window);
    c.lblClock->setObjectName(QStringLiteral("lblClock"));
    QFont clockFont = c.lblClock->font();
    clockFont.setFamily(QStringLiteral("DejaVu Sans Mono"));
    clockFont.setBold(true);
    c.lblClock->setFont(clockFont);

    auto* top = new QHBoxLayout;
    top->addWidget(c.lblID);
    top->addWidget(c.text2[1]);
    top->addStretch();
    top->addWidget(c.lblClock);

    auto* answers = new QGridLayout;
    answers->setColumnStretch(1, 1);
    for (int k = 1; k <= 5; ++k) {
        auto* check = new QCheckBox(window);
        check->setObjectName(QStringLiteral("Check%1").arg(k));
        check->setAccessibleName(QStringLiteral("Answer %1").arg(k));
        c.Check[std::size_t(k)] = check;
        QPlainTextEdit* text = c.text2[std::size_t(k + 1)];
        text->setAccessibleName(QStringLiteral("Answer %1 text").arg(k));
        text->setFrameShape(QFrame::NoFrame);
        text->setBackgroundRole(QPalette::Window);
        text->viewport()->setAutoFillBackground(false);
        text->setMaximumHeight(text->minimumHeight());
        answers->addWidget(check, k - 1, 0, Qt::AlignTop);
        answers->addWidget(c.text2[std::size_t(k + 1)], k - 1, 1);
    }

    c.Label1 = new QLabel(QStringLiteral("Explanation"), window);
    c.Label1->setObjectName(QStringLiteral("Label1"));
    c.Text3 = box(5);
    c.Text3->setObjectName(QStringLiteral("Text3"));
    c.Text3->setAccessibleName(QStringLiteral("Explanation"));
    c.Label1->setBuddy(c.Text3);
    c.Label2 = new QLabel(QStringLiteral("Click \"Return\" to close this Window and resume test."),
                          window);
    c.Label2->setObjectName(QStringLiteral("Label2"));
    c.cmdEnd = new QPushButton(QStringLiteral("&Return"), window);
    c.cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    c.cmdEnd->setDefault(true);
    QObject::connect(c.cmdEnd, &QPushButton::clicked, window, [this] { cmdEnd_Click(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(c.Label2, 1);
    bottom->addWidget(c.cmdEnd);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.text2[0], 2);
    layout->addLayout(answers);
    layout->addSpacing(8);
    layout->addWidget(c.Label1);
    layout->addWidget(c.Text3, 1);
    layout->addLayout(bottom);

    c.Timer1 = new gui::RepeatingTimer(window, [this] { Timer1_Timer(); });
    c.Data1.DatabaseName = edition.databaseFile;
    c.Data1.Connect = QStringLiteral(";Rorura36");
    c.Data1.RecordSource = QStringLiteral("sql");
    c.bindings = std::make_unique<gui::Bindings>(c.Data1);
    return window;
}

void AnswerWindow::Form_Load()
{
    Controls& c = *m_controls;
    gui::Program& p = program();
    c.Timer1->setInterval(1000);
    const int code = p.run().ExamCode;
    const int exam = p.edition().offersExam(code) ? code : 1;
    try {
        c.Data1.RecordSource = data::sql::shownAnswer(exam);
        c.Data1.Refresh();
        c.bindings->bind(c.text2[0], QStringLiteral("question"));
        c.bindings->bind(c.text2[1], QStringLiteral("ID"));
        for (int k = 1; k <= 5; ++k) {
            c.bindings->bind(c.text2[std::size_t(k + 1)], QStringLiteral("answer%1").arg(k));
            // the key is shown, never written
            c.bindings->bind(c.Check[std::size_t(k)], QStringLiteral("correctanswer%1").arg(k),
                             gui::Bindings::Access::DisplayOnly);
        }
        c.bindings->bind(c.Text3, QStringLiteral("explanation"));
    } catch (const data::DataError& error) {
        c.Timer1->setEnabled(false);
        p.reportDataError(error);
        throw gui::LoadAbandoned();
    }
    text2_Change(6);
}

void AnswerWindow::Form_Unload()
{
    if (m_controls) {
        m_controls->bindings.reset();
        m_controls->Timer1->setEnabled(false);
    }
    m_controls.reset();
}

void AnswerWindow::text2_Change(int)
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    const bool hasFifth = !c.text2[6]->toPlainText().isEmpty();
    c.text2[6]->setVisible(hasFifth);
    c.Check[5]->setVisible(hasFifth);
}

void AnswerWindow::Timer1_Timer()
{
    if (!m_controls)
        return;
    ++m_elapsedSeconds;
    m_controls->lblClock->setText(core::clockText(m_elapsedSeconds));
}

void AnswerWindow::cmdEnd_Click()
{
    gui::Program& p = program();
    ExamWindow* exam = p.forms().existing<ExamWindow>();
    auto showExam = [exam] {
        if (exam && exam->isLoaded())
            exam->Show();
    };
    if (p.edition().showAnswerReturnDiscards) {
        Unload();
        showExam();
        p.forms().discard<AnswerWindow>();
    } else {
        showExam();
        Unload();
    }
}

bool AnswerWindow::queryClose()
{
    cmdEnd_Click();
    return false;
}

} // namespace gui
