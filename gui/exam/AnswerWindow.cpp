#include "gui/exam/AnswerWindow.h"

#include "core/ClockText.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/exam/ExamWindow.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/WindowParts.h"

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

    // The design numbers the boxes text2(0) question, (1) ID and (2) to (6) the answers.
    c.question = readOnlyText(window, QStringLiteral("text2_0"), 6);
    c.questionId = readOnlyText(window, QStringLiteral("text2_1"), 1);
    for (int k = 1; k <= 5; ++k) {
        QPlainTextEdit* line = answerLine(window, QStringLiteral("text2_%1").arg(k + 1),
                                          QStringLiteral("Answer %1 text").arg(k));
        c.answerTexts[std::size_t(k)] = line;
        QObject::connect(line, &QPlainTextEdit::textChanged, window, [this] { showAnswerRows(); });
    }
    c.question->setAccessibleName(QStringLiteral("Question"));
    c.questionId->setMaximumWidth(90);
    c.questionId->setMaximumHeight(c.questionId->minimumHeight());
    c.questionId->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.questionId->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.questionId->setAccessibleName(QStringLiteral("Question ID:"));
    c.questionIdCaption = namedLabel(window, "lblID", QStringLiteral("Question ID:"));
    c.clock = namedLabel(window, "lblClock", QStringLiteral("ClockDisplay"));
    c.clock->setAccessibleName(QStringLiteral("Time open: ") + core::clockWords(0));
    setClockFont(c.clock);

    auto* top = new QHBoxLayout;
    top->addWidget(c.questionIdCaption);
    top->addWidget(c.questionId);
    top->addStretch();
    top->addWidget(c.clock);

    auto* answers = new QGridLayout;
    answers->setColumnStretch(1, 1);
    for (int k = 1; k <= 5; ++k) {
        auto* check = answerBox<QCheckBox>(window, QStringLiteral("Check%1").arg(k),
                                           QStringLiteral("Answer %1").arg(k));
        c.checks[std::size_t(k)] = check;
        answers->addWidget(check, k - 1, 0, Qt::AlignTop);
        answers->addWidget(c.answerTexts[std::size_t(k)], k - 1, 1);
    }

    c.explanationCaption = namedLabel(window, "Label1", QStringLiteral("Explanation"));
    c.explanation = readOnlyText(window, QStringLiteral("Text3"), 5);
    c.explanation->setAccessibleName(QStringLiteral("Explanation"));
    c.explanationCaption->setBuddy(c.explanation);
    c.returnHint = namedLabel(
        window, "Label2", QStringLiteral("Click \"Return\" to close this Window and resume test."));
    c.returnButton =
        namedButton(window, "cmdEnd", QStringLiteral("&Return"), [this] { returnToExam(); });
    c.returnButton->setDefault(true);

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
    showAnsweredRows(c.answerTexts, c.checks);
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
