#include "gui/review/ReviewExamWindow.h"

#include "core/ExamRules.h"
#include "core/ExhibitFile.h"
#include "core/ReviewRules.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/WindowParts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {
namespace {

// A mark of the key: shown, never offered to the mouse or the keyboard.
void showOnly(QWidget* mark)
{
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark->setFocusPolicy(Qt::NoFocus);
}

} // namespace

ReviewExamWindow::ReviewExamWindow(Program& program) : Window(program) {}
ReviewExamWindow::~ReviewExamWindow() = default;

QWidget* ReviewExamWindow::createWidget()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form11"));
    window->setWindowTitle(edition.reviewCaptionNamesExam ? QStringLiteral("Review")
                                                          : edition.reviewDesignCaption);
    window->resize(960, 760);

    // --- top bar: question ID and number, the clock
    c.questionIdCaption = namedLabel(window, "lblID", QStringLiteral("Question ID:"));
    c.questionId = readOnlyField(window, "Text1", QStringLiteral("Question ID"));
    c.questionId->setMaximumWidth(90);
    c.questionIdCaption->setBuddy(c.questionId);
    c.questionNoCaption = namedLabel(window, "Label2", QStringLiteral("Question No."));
    c.questionNo = namedLabel(window, "LblRec_Count11", QStringLiteral("Record_count"));
    c.questionNo->setAccessibleName(QStringLiteral("Question No."));
    enlargeFont(c.questionNo, 1.3, true);
    c.clockCaption = namedLabel(window, "Label3", QStringLiteral("Time Elapsed:"));
    c.clock = namedLabel(window, "lblClock", QStringLiteral("ClockDisplay"));
    c.clock->setAccessibleName(QStringLiteral("Time Elapsed:"));
    setClockFont(c.clock, 1.3);
    c.questionType = readOnlyField(window, "Text4", QStringLiteral("Question type"));
    c.questionType->setVisible(false);

    auto* top = new QHBoxLayout;
    top->addWidget(c.questionNoCaption);
    top->addWidget(c.questionNo);
    top->addSpacing(24);
    top->addWidget(c.questionIdCaption);
    top->addWidget(c.questionId);
    top->addStretch();
    top->addWidget(c.clockCaption);
    top->addWidget(c.clock);

    // --- the question and its answers, in a fixed-pitch font as designed
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(window->font().pointSizeF());
    c.question = readOnlyText(window, QStringLiteral("text2_0"), 7);
    c.question->setFont(fixed);
    c.question->setAccessibleName(QStringLiteral("Question"));
    limitToLines(c.question, 14);

    c.exhibitButton = exhibitButton(window, edition.exhibitButtonsArePictures,
                                    edition.reviewExhibitCaption, [this] { showExhibit(); });
    c.exhibitNotAvailable = exhibitNotAvailableLabel(window);

    c.optionGroup = new OptionGroup(window);
    auto* answers = new QGridLayout;
    answers->setColumnStretch(2, 1);
    for (std::size_t k = 1; k <= 5; ++k) {
        const QString name = QStringLiteral("Correct choice %1").arg(k);
        auto* check = answerBox<QCheckBox>(window, QStringLiteral("Check%1").arg(k), name);
        auto* option = answerBox<QRadioButton>(window, QStringLiteral("Option%1").arg(k), name);
        showOnly(option);
        c.checks[k] = check;
        c.options[k] = option;
        // Whatever turns an option (an assistive tool, a click sent to it
        // directly), the key's marks come straight back.
        c.optionGroup->add(option, [this] {
            if (!m_applyingMode)
                applyAnswerMode();
        });
        QPlainTextEdit* text =
            answerLine(window, numberedAnswerName(int(k)), QStringLiteral("Answer %1").arg(k));
        text->setFont(fixed);
        c.answerTexts[k] = text;
        QObject::connect(text, &QPlainTextEdit::textChanged, window, [this] { showAnswerRows(); });
        answers->addWidget(check, int(k) - 1, 0, Qt::AlignTop);
        answers->addWidget(option, int(k) - 1, 1, Qt::AlignTop);
        answers->addWidget(text, int(k) - 1, 2);
    }

    c.explanationCaption = namedLabel(window, "Label1", QStringLiteral("Explanation:"));
    c.explanation = readOnlyText(window, QStringLiteral("Text3"), 4);
    c.explanation->setAccessibleName(QStringLiteral("Explanation"));
    c.explanationCaption->setBuddy(c.explanation);

    // --- the buttons
    c.previousButton = namedButton(window, "cmdPrevQ", QStringLiteral("&Previous Question"),
                                   [this] { previousQuestion(); });
    c.nextButton = namedButton(window, "CmdNextQ", QStringLiteral("&Next Question"),
                               [this] { nextQuestion(); });
    c.endButton = namedButton(window, "cmdEnd", QStringLiteral("&End"), [this] { endReview(); });
    c.nextButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.previousButton);
    buttons->addWidget(c.nextButton);
    buttons->addStretch();
    buttons->addWidget(c.endButton);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.question, 2);
    layout->addWidget(c.exhibitButton, 0, Qt::AlignLeft);
    layout->addWidget(c.exhibitNotAvailable, 0, Qt::AlignLeft);
    layout->addLayout(answers);
    layout->addSpacing(6);
    layout->addWidget(c.explanationCaption);
    layout->addWidget(c.explanation, 1);
    layout->addWidget(horizontalRule(window));
    layout->addLayout(buttons);

    c.timer = new RepeatingTimer(window, [this] { tick(); });

    c.questions.DatabaseName = edition.databaseFile;
    c.questions.Connect = QStringLiteral(";pwd=Rorura36");
    // The full edition sets its statement when the window loads; the demo's
    // design reads the table of its one exam by name.
    c.questions.RecordSource =
        edition.reviewCaptionNamesExam ? QStringLiteral("SQL11") : data::sql::keyTable(1);
    // Read as the candidate pages, so a large key costs no more than a small one.
    c.questions.ReadOnly = true;
    c.bindings = std::make_unique<Bindings>(c.questions);
    c.bindings->bind(c.questionId, QStringLiteral("ID"));
    c.bindings->bind(c.question, QStringLiteral("question"));
    for (std::size_t k = 1; k <= 5; ++k) {
        c.bindings->bind(c.answerTexts[k], QStringLiteral("answer%1").arg(k));
        c.bindings->bind(c.checks[k], QStringLiteral("correctanswer%1").arg(k),
                         Bindings::Access::DisplayOnly);
    }
    c.bindings->bind(c.questionType, QStringLiteral("question_type"));
    c.bindings->bind(c.explanation, QStringLiteral("explanation"));
    return window;
}

void ReviewExamWindow::onLoad()
{
    Controls& c = *m_controls;
    Program& p = program();
    const core::Edition& edition = p.edition();
    c.timer->setInterval(1000);
    // Each review counts its own time from zero, also a second one in the same run.
    m_clock.reset();
    m_currentNo = 1;
    showQuestionNumber();
    int exam = core::reviewedExam(p.run().examCode);
    if (!edition.offersExam(exam))
        exam = 1;
    // The demo keeps its design caption and record source; the full edition
    // sets both for the exam chosen.
    if (edition.reviewCaptionNamesExam) {
        widget()->setWindowTitle(edition.reviewCaption(exam));
        c.questions.RecordSource = data::sql::reviewExam(exam);
    }
    try {
        c.questions.Refresh();
        if (!c.questions.recordset().hasCurrent())
            throw data::DataError(data::DataError::Kind::MissingTable, edition.databaseFile,
                                  QStringLiteral("the answer key \"%1\" holds no questions")
                                      .arg(data::sql::keyTable(exam)));
    } catch (const data::DataError& error) {
        c.timer->setEnabled(false);
        m_currentNo = 0;
        p.reportDataError(error);
        throw LoadAbandoned();
    }
    // The first question shows as every other one does: in its answer mode
    // and with its exhibit button, before any move.
    applyAnswerMode();
    updateExhibitButton();
    updateButtons();
    c.nextButton->setFocus();
}

void ReviewExamWindow::onActivate()
{
    updateButtons();
    if (program().edition().reviewReappliesModeOnActivate && m_controls)
        applyAnswerMode();
}

void ReviewExamWindow::onUnload()
{
    if (m_controls) {
        m_controls->bindings.reset();
        m_controls->timer->setEnabled(false);
    }
    m_controls.reset();
}

template <typename Body> void ReviewExamWindow::guarded(Body&& body)
{
    try {
        body();
    } catch (const data::DataError& error) {
        program().reportDataError(error);
        leaveAfterFailure();
    }
}

void ReviewExamWindow::leaveAfterFailure()
{
    // The cursor is not to be trusted any more: the next review loads afresh.
    m_currentNo = 0;
    unload();
    program().window<MainWindow>().show();
}

void ReviewExamWindow::showQuestionNumber()
{
    if (m_controls)
        m_controls->questionNo->setText(QString::number(m_currentNo));
}

void ReviewExamWindow::updateButtons()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    enablePaging(c.previousButton, c.nextButton,
                 core::pagingButtons(m_currentNo, program().run().questionCount));
}

void ReviewExamWindow::applyAnswerMode()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    m_applyingMode = true;
    const bool single = core::isSingleAnswer(c.questionType->text());
    if (single) {
        for (std::size_t k = 1; k <= 5; ++k)
            c.optionGroup->setValue(int(k) - 1, c.checks[k]->isChecked());
    }
    for (std::size_t k = 1; k <= 5; ++k) {
        c.checks[k]->setVisible(!single);
        c.options[k]->setVisible(single);
    }
    // The fifth choice is marked only where it is correct.
    if (!c.optionGroup->value(4))
        c.options[5]->setVisible(false);
    if (!c.checks[5]->isChecked())
        c.checks[5]->setVisible(false);
    m_applyingMode = false;
    showAnswerRows();
}

void ReviewExamWindow::showAnswerRows()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // An empty fourth or fifth answer hides with its marks, as designed, and
    // so does the empty third line of a true/false question.
    hideEmptyAnswerRows(c.answerTexts, c.options, c.checks);
}

QString ReviewExamWindow::currentDiagram() const
{
    return core::questionDiagram(m_controls->questions.recordset());
}

void ReviewExamWindow::updateExhibitButton()
{
    ExhibitViewer::offer(program(), currentDiagram(), m_controls->exhibitButton,
                         m_controls->exhibitNotAvailable);
}

void ReviewExamWindow::nextQuestion()
{
    guarded([this] {
        if (!m_controls)
            return;
        // A key shorter than the exam: the last question stays, and its number.
        if (core::stepForward(m_controls->questions.recordset()))
            m_currentNo += 1;
        applyAnswerMode();
        showQuestionNumber();
        updateExhibitButton();
        updateButtons();
    });
}

void ReviewExamWindow::previousQuestion()
{
    guarded([this] {
        if (!m_controls)
            return;
        if (core::stepBack(m_controls->questions.recordset()))
            m_currentNo -= 1;
        applyAnswerMode();
        showQuestionNumber();
        updateExhibitButton();
        updateButtons();
    });
}

void ReviewExamWindow::showExhibit()
{
    guarded([this] {
        if (m_controls)
            ExhibitViewer::openFrom(program(), *this, currentDiagram());
    });
}

void ReviewExamWindow::endReview()
{
    Program& p = program();
    if (!m_controls) {
        p.window<MainWindow>().show();
        return;
    }
    try {
        data::Recordset& rs = m_controls->questions.recordset();
        rs.MoveFirst();
    } catch (const data::DataError& error) {
        p.reportDataError(error);
        leaveAfterFailure();
        return;
    }
    if (p.edition().reviewEndUnloads) {
        m_currentNo = 0;
        showQuestionNumber();
        p.window<MainWindow>().show();
        unload();
        return;
    }
    // The demo keeps the window, on its first question, and its clock runs on.
    m_currentNo = 1;
    showQuestionNumber();
    applyAnswerMode();
    updateExhibitButton();
    updateButtons();
    p.window<MainWindow>().show();
    hide();
}

void ReviewExamWindow::tick()
{
    if (!m_controls)
        return;
    m_clock.tick();
    m_controls->clock->setText(m_clock.text());
}

bool ReviewExamWindow::queryClose()
{
    endReview();
    return false;
}

} // namespace gui
