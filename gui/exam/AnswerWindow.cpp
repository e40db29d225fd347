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

AnswerWindow::AnswerWindow(Program& program) : Window(program) {}
AnswerWindow::~AnswerWindow() = default;

QWidget* AnswerWindow::createWidget()
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
    // The design numbers the boxes text2(0) question, (1) ID and (2) to (6) the answers.
    c.question = box(6);
    c.question->setObjectName(QStringLiteral("text2_0"));
    c.questionId = box(1);
    c.questionId->setObjectName(QStringLiteral("text2_1"));
    for (int k = 1; k <= 5; ++k) {
        c.answerTexts[std::size_t(k)] = box(2);
        c.answerTexts[std::size_t(k)]->setObjectName(QStringLiteral("text2_%1").arg(k + 1));
        QObject::connect(c.answerTexts[std::size_t(k)], &QPlainTextEdit::textChanged, window,
                         [this] { showAnswerRows(); });
    }
    c.question->setAccessibleName(QStringLiteral("Question"));
    c.questionId->setMaximumWidth(90);
    c.questionId->setMaximumHeight(c.questionId->minimumHeight());
    c.questionId->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.questionId->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.questionId->setAccessibleName(QStringLiteral("Question ID:"));
    c.questionIdCaption = new QLabel(QStringLiteral("Question ID:"), window);
    c.questionIdCaption->setObjectName(QStringLiteral("lblID"));
    c.clock = new QLabel(QStringLiteral("ClockDisplay"), window);
    c.clock->setObjectName(QStringLiteral("lblClock"));
    c.clock->setAccessibleName(QStringLiteral("Time open: ") + core::clockWords(0));
    QFont clockFont = c.clock->font();
    clockFont.setFamily(QStringLiteral("DejaVu Sans Mono"));
    clockFont.setBold(true);
    c.clock->setFont(clockFont);

    auto* top = new QHBoxLayout;
    top->addWidget(c.questionIdCaption);
    top->addWidget(c.questionId);
    top->addStretch();
    top->addWidget(c.clock);

    auto* answers = new QGridLayout;
    answers->setColumnStretch(1, 1);
    for (int k = 1; k <= 5; ++k) {
        auto* check = new QCheckBox(window);
        check->setObjectName(QStringLiteral("Check%1").arg(k));
        check->setAccessibleName(QStringLiteral("Answer %1").arg(k));
        c.checks[std::size_t(k)] = check;
        QPlainTextEdit* text = c.answerTexts[std::size_t(k)];
        text->setAccessibleName(QStringLiteral("Answer %1 text").arg(k));
        text->setFrameShape(QFrame::NoFrame);
        text->setBackgroundRole(QPalette::Window);
        text->viewport()->setAutoFillBackground(false);
        text->setMaximumHeight(text->minimumHeight());
        answers->addWidget(check, k - 1, 0, Qt::AlignTop);
        answers->addWidget(c.answerTexts[std::size_t(k)], k - 1, 1);
    }

    c.explanationCaption = new QLabel(QStringLiteral("Explanation"), window);
    c.explanationCaption->setObjectName(QStringLiteral("Label1"));
    c.explanation = box(5);
    c.explanation->setObjectName(QStringLiteral("Text3"));
    c.explanation->setAccessibleName(QStringLiteral("Explanation"));
    c.explanationCaption->setBuddy(c.explanation);
    c.returnHint = new QLabel(
        QStringLiteral("Click \"Return\" to close this Window and resume test."), window);
    c.returnHint->setObjectName(QStringLiteral("Label2"));
    c.returnButton = new QPushButton(QStringLiteral("&Return"), window);
    c.returnButton->setObjectName(QStringLiteral("cmdEnd"));
    c.returnButton->setDefault(true);
    QObject::connect(c.returnButton, &QPushButton::clicked, window, [this] { returnToExam(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(c.returnHint, 1);
    bottom->addWidget(c.returnButton);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.question, 2);
    layout->addLayout(answers);
    layout->addSpacing(8);
    layout->addWidget(c.explanationCaption);
    layout->addWidget(c.explanation, 1);
    layout->addLayout(bottom);

    c.timer = new RepeatingTimer(window, [this] { tick(); });
    c.answer.DatabaseName = edition.databaseFile;
    c.answer.Connect = QStringLiteral(";Rorura36");
    c.answer.RecordSource = QStringLiteral("sql");
    c.bindings = std::make_unique<Bindings>(c.answer);
    return window;
}

void AnswerWindow::onLoad()
{
    Controls& c = *m_controls;
    Program& p = program();
    c.timer->setInterval(1000);
    const int code = p.run().examCode;
    const int exam = p.edition().offersExam(code) ? code : 1;
    try {
        c.answer.RecordSource = data::sql::shownAnswer(exam);
        c.answer.Refresh();
        c.bindings->bind(c.question, QStringLiteral("question"));
        c.bindings->bind(c.questionId, QStringLiteral("ID"));
        for (int k = 1; k <= 5; ++k) {
            c.bindings->bind(c.answerTexts[std::size_t(k)], QStringLiteral("answer%1").arg(k));
            // the key is shown, never written
            c.bindings->bind(c.checks[std::size_t(k)], QStringLiteral("correctanswer%1").arg(k),
                             Bindings::Access::DisplayOnly);
        }
        c.bindings->bind(c.explanation, QStringLiteral("explanation"));
    } catch (const data::DataError& error) {
        c.timer->setEnabled(false);
        p.reportDataError(error);
        throw LoadAbandoned();
    }
    showAnswerRows();
}

void AnswerWindow::onUnload()
{
    if (m_controls) {
        m_controls->bindings.reset();
        m_controls->timer->setEnabled(false);
    }
    m_controls.reset();
}

void AnswerWindow::showAnswerRows()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // Only answers with a text show: a fifth answer where there is one, and
    // no empty third line under a true/false question.
    for (std::size_t k = 1; k <= 5; ++k) {
        const bool shown = !c.answerTexts[k]->toPlainText().isEmpty();
        c.answerTexts[k]->setVisible(shown);
        c.checks[k]->setVisible(shown);
    }
}

void AnswerWindow::tick()
{
    if (!m_controls)
        return;
    m_clock.tick();
    m_controls->clock->setText(m_clock.text());
    m_controls->clock->setAccessibleName(QStringLiteral("Time open: ") +
                                         core::clockWords(m_clock.seconds()));
}

void AnswerWindow::returnToExam()
{
    Program& p = program();
    ExamWindow* exam = p.windows().existing<ExamWindow>();
    auto showExam = [exam] {
        if (exam && exam->isLoaded())
            exam->show();
    };
    if (p.edition().showAnswerReturnDiscards) {
        unload();
        showExam();
        p.windows().discard<AnswerWindow>();
    } else {
        showExam();
        unload();
    }
}

bool AnswerWindow::queryClose()
{
    returnToExam();
    return false;
}

} // namespace gui
