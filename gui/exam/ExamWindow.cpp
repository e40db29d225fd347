#include "gui/exam/ExamWindow.h"

#include "core/ClockText.h"
#include "core/ExamRules.h"
#include "core/ExhibitFile.h"
#include "core/QuestionDraw.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/exam/AnswerWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/WindowParts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {
namespace {

// A click on an answer's text chooses that answer, as a click on its box does.
class AnswerTextClicks final : public QObject {
public:
    AnswerTextClicks(QObject* parent, std::function<void()> clicked)
        : QObject(parent), m_clicked(std::move(clicked))
    {
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_clicked();
        return false;
    }

private:
    std::function<void()> m_clicked;
};

} // namespace

ExamWindow::ExamWindow(Program& program) : Window(program) {}

ExamWindow::~ExamWindow() = default;

int ExamWindow::examNumber() const
{
    return core::examTables(program().edition(), program().run().examCode);
}

QWidget* ExamWindow::createWidget()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form211"));
    window->setWindowTitle(edition.examDesignCaption);
    window->resize(960, 720);

    // --- top bar: question number and ID, the clock
    c.questionNoCaption = namedLabel(window, "Label2", QStringLiteral("Question No."));
    c.questionNo = namedLabel(window, "LblRec_Count", QStringLiteral("Record_count"));
    c.questionNo->setAccessibleName(QStringLiteral("Question No."));
    c.questionTotal = namedLabel(window, "lblQuestionTotal", QString());
    c.questionIdCaption = namedLabel(window, "lblID", QStringLiteral("Question ID"));
    c.questionId = readOnlyField(window, "Text1", QStringLiteral("Question ID"));
    c.questionId->setMaximumWidth(90);
    c.questionIdCaption->setBuddy(c.questionId);
    c.questionType = readOnlyField(window, "Text3", QStringLiteral("Question type"));
    c.questionType->setVisible(false);
    c.timeLeftCaption = namedLabel(window, "Label1", QStringLiteral("Time Left:"));
    c.clock = namedLabel(window, "lblClock", QStringLiteral("ClockDisplay"));
    c.clock->setAccessibleName(QStringLiteral("Time Left:"));
    setClockFont(c.clock, 1.5);
    c.pauseLink = new ClickableLabel(window);
    c.pauseLink->setObjectName(QStringLiteral("LblPause"));
    c.pauseLink->setText(QStringLiteral("Pause Timer"));
    c.pauseLink->setAccessibleName(QStringLiteral("Pause Timer"));
    c.pauseLink->setStyleSheet(
        QStringLiteral("QLabel { color: #1f5f99; text-decoration: underline; }"));
    c.pauseLink->setClickHandler([this] { togglePause(); });
    enlargeFont(c.questionNo, 1.3, true);
    enlargeFont(c.questionTotal, 1.3, true);

    auto* top = new QHBoxLayout;
    top->addWidget(c.questionNoCaption);
    top->addWidget(c.questionNo);
    top->addWidget(c.questionTotal);
    top->addSpacing(24);
    top->addWidget(c.questionIdCaption);
    top->addWidget(c.questionId);
    top->addStretch();
    top->addWidget(c.timeLeftCaption);
    top->addWidget(c.clock);
    top->addSpacing(12);
    top->addWidget(c.pauseLink);

    // --- the question
    c.question = readOnlyText(window, QStringLiteral("text2_0"), 7);
    for (int k = 1; k <= 5; ++k) {
        QPlainTextEdit* line =
            answerLine(window, numberedAnswerName(k), QStringLiteral("Answer %1 text").arg(k));
        c.answerTexts[std::size_t(k)] = line;
        QObject::connect(line, &QPlainTextEdit::textChanged, window, [this] { showAnswerRows(); });
    }
    c.question->setAccessibleName(QStringLiteral("Question"));
    // long questions scroll; short ones leave the answers close below them
    limitToLines(c.question, 14);
    enlargeFont(c.question, 1.15);

    c.exhibitButton = exhibitPictureButton(window, [this] { showExhibit(); });
    c.exhibitNotAvailable = exhibitNotAvailableLabel(window);

    c.bestChoiceHint = namedLabel(
        window, "lblBestChoice",
        QStringLiteral(
            "Select the best Choice(s). Choose only ONE choice unless specified above."));
    c.bestChoiceHint->setWordWrap(true);

    // --- the answers: a check box and an option button share each row
    c.optionGroup = new OptionGroup(window);
    auto* answers = new QGridLayout;
    answers->setColumnStretch(1, 1);
    for (int k = 1; k <= 5; ++k) {
        // The answer's number is its access key: Alt+1 to Alt+5 choose as a click does.
        const QString name = QStringLiteral("Answer %1").arg(k);
        const QString accessKey = QStringLiteral("&%1").arg(k);
        auto* check =
            answerBox<QCheckBox>(window, QStringLiteral("Check%1").arg(k), name, accessKey);
        auto* option =
            answerBox<QRadioButton>(window, QStringLiteral("Option%1").arg(k), name, accessKey);
        c.checks[std::size_t(k)] = check;
        c.options[std::size_t(k)] = option;
        c.optionGroup->add(option, [this, k] { chooseOption(k); });
        QPlainTextEdit* text = c.answerTexts[std::size_t(k)];
        // The choice control beside it takes the focus and reads the text
        // as its description; a click on the text still chooses.
        text->setFocusPolicy(Qt::NoFocus);
        text->viewport()->setCursor(Qt::PointingHandCursor);
        text->viewport()->installEventFilter(new AnswerTextClicks(text, [this, k] {
            Controls& cc = *m_controls;
            if (cc.options[std::size_t(k)]->isVisible())
                cc.optionGroup->setValue(k - 1, true);
            else if (cc.checks[std::size_t(k)]->isVisible())
                cc.checks[std::size_t(k)]->toggle();
        }));
        // one of the two shows at a time, in the same place
        answers->addWidget(check, k - 1, 0, Qt::AlignTop);
        answers->addWidget(option, k - 1, 0, Qt::AlignTop);
        answers->addWidget(text, k - 1, 1);
    }

    // --- the buttons
    c.previousButton = namedButton(window, "cmdPrevQ", QStringLiteral("&Previous Question"),
                                   [this] { previousQuestion(); });
    c.nextButton = namedButton(window, "CmdNextQ", QStringLiteral("&Next Question"),
                               [this] { nextQuestion(); });
    c.showAnswerButton = namedButton(window, "Command1", QStringLiteral("Show Answer Now !"),
                                     [this] { showAnswer(); });
    c.endButton =
        namedButton(window, "cmdEndExam", QStringLiteral("&End Exam"), [this] { endExam(); });
    c.nextButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.previousButton);
    buttons->addWidget(c.nextButton);
    buttons->addStretch();
    buttons->addWidget(c.showAnswerButton);
    buttons->addWidget(c.endButton);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.question);
    layout->addWidget(c.exhibitButton, 0, Qt::AlignLeft);
    layout->addWidget(c.exhibitNotAvailable, 0, Qt::AlignLeft);
    layout->addWidget(c.bestChoiceHint);
    layout->addLayout(answers);
    layout->addStretch(1);
    layout->addWidget(horizontalRule(window));
    layout->addLayout(buttons);

    c.timer = new RepeatingTimer(window, [this] { tick(); });

    c.questions.DatabaseName = edition.databaseFile;
    c.questions.Connect = QStringLiteral(";pwd=Rorura36");
    c.questions.RecordSource = QStringLiteral("strQuerySQL");
    c.shownAnswer.DatabaseName = edition.databaseFile;
    c.shownAnswer.Connect = QStringLiteral(";Rorura36");
    c.shownAnswer.RecordSource = QStringLiteral("showans");
    c.bindings = std::make_unique<Bindings>(c.questions);
    orderTabs();
    return window;
}

void ExamWindow::onLoad()
{
    Controls& c = *m_controls;
    core::RunValues& run = program().run();
    const core::Edition& edition = program().edition();
    m_countdown.reset();
    c.timer->setInterval(1000);
    run.questionNo += 1;
    c.questionTotal->setText(QStringLiteral("/ %1").arg(run.questionCount));
    showQuestionNumber();
    showTimeLeft();
    widget()->setWindowTitle(edition.examCaption(run.examCode));
    try {
        if (!drawAndOpenQuestions(examNumber())) {
            program().msgBox(
                QStringLiteral("Request is greated than the total number of records."));
            throw LoadAbandoned();
        }
        applyAnswerMode();
        showAnswerRows();
        updateButtons();
        updateExhibitButton();
    } catch (const data::DataError& error) {
        c.timer->setEnabled(false);
        run.questionNo = 0;
        program().reportDataError(error);
        throw LoadAbandoned();
    } catch (const LoadAbandoned&) {
        c.timer->setEnabled(false);
        run.questionNo = 0;
        throw;
    }
    c.nextButton->setFocus();
}

bool ExamWindow::drawAndOpenQuestions(int exam)
{
    Controls& c = *m_controls;
    const core::Edition& edition = program().edition();
    // One connection and one transaction for all the start writes and the
    // reads that must succeed on them: a start refused or failing on the way
    // leaves the bank exactly as it was, the earlier draw included.
    const data::DatabasePtr db = data::Database::OpenDatabase(edition.databaseFile);
    data::Database::Transaction start(*db);
    if (!core::drawQuestions(db, exam, edition.questionCount))
        return false;
    // Choices left behind by an exam that never reached the score sheet's
    // Exit (a crash, a killed program) would show up pre-ticked.
    db->Execute(data::sql::resetDrawnChoices(exam, edition.answerColumns));
    c.questions.useDatabase(db);
    c.shownAnswer.useDatabase(db);
    c.questions.RecordSource = data::sql::examQuestionsInDrawOrder(exam);
    c.questions.Refresh();
    c.shownAnswer.Refresh();
    c.bindings->bind(c.question, QStringLiteral("question"));
    for (int k = 1; k <= 5; ++k) {
        c.bindings->bind(c.answerTexts[std::size_t(k)], QStringLiteral("answer%1").arg(k));
        c.bindings->bind(c.checks[std::size_t(k)], QStringLiteral("correctanswer%1").arg(k),
                         Bindings::Access::ReadWrite);
    }
    c.bindings->bind(c.questionId, QStringLiteral("tblrandom.ID"));
    c.bindings->bind(c.questionType, QStringLiteral("question_type"));
    if (!c.questions.recordset().hasCurrent())
        throw data::DataError(data::DataError::Kind::MissingTable, edition.databaseFile,
                              QStringLiteral("the drawn questions are missing from \"%1\"")
                                  .arg(data::sql::workingTable(exam)));
    start.commit();
    return true;
}

void ExamWindow::onUnload()
{
    if (m_controls) {
        m_controls->bindings.reset();
        m_controls->timer->setEnabled(false);
    }
    m_controls.reset();
    m_showAnswerDatabase.reset();
}

template <typename Body> void ExamWindow::guarded(Body&& body)
{
    try {
        body();
    } catch (const data::DataError& error) {
        abandonExam(error);
    }
}

void ExamWindow::showQuestionNumber()
{
    const core::RunValues& run = program().run();
    m_controls->questionNo->setText(QString::number(run.questionNo));
    m_controls->questionNo->setAccessibleName(
        QStringLiteral("Question %1 of %2").arg(run.questionNo).arg(run.questionCount));
}

void ExamWindow::showTimeLeft()
{
    // The label shows digits (and its design text until the first tick); a
    // screen reader hears the time left in words.
    core::Countdown countdown = m_countdown;
    countdown.setLimitMinutes(program().edition().timeLimitMinutes);
    m_controls->clock->setAccessibleName(QStringLiteral("Time left: ") +
                                         core::clockWords(countdown.remainingSeconds()));
}

void ExamWindow::orderTabs()
{
    Controls& c = *m_controls;
    // Reading order: the question, its exhibit, the answers, then what to
    // do next; the clock's pause and the question's ID come last.
    QList<QWidget*> order{c.question, c.exhibitButton};
    for (int k = 1; k <= 5; ++k)
        order << c.checks[std::size_t(k)] << c.options[std::size_t(k)];
    order << c.previousButton << c.nextButton << c.showAnswerButton << c.endButton << c.pauseLink
          << c.questionId;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void ExamWindow::onActivate()
{
    updateButtons();
}

void ExamWindow::updateButtons()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    const core::RunValues& run = program().run();
    enablePaging(c.previousButton, c.nextButton,
                 core::pagingButtons(run.questionNo, run.questionCount));
}

void ExamWindow::applyAnswerMode()
{
    Controls& c = *m_controls;
    const bool single = core::isSingleAnswer(c.questionType->text());
    if (single) {
        int chosen = 1;
        for (int k = 1; k <= 5; ++k) {
            c.optionGroup->setValue(k - 1, c.checks[std::size_t(k)]->isChecked());
            if (c.options[std::size_t(k)]->isChecked())
                chosen = k;
        }
        // Tab enters the options at the chosen one (the first while none is);
        // the arrow keys move within them.
        for (int k = 1; k <= 5; ++k)
            c.options[std::size_t(k)]->setFocusPolicy(k == chosen ? Qt::StrongFocus
                                                                  : Qt::ClickFocus);
    }
    for (int k = 1; k <= 5; ++k) {
        c.checks[std::size_t(k)]->setVisible(!single);
        c.options[std::size_t(k)]->setVisible(single);
    }
}

void ExamWindow::showAnswerRows()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // An answer without a text shows neither its line nor a box to choose:
    // the design hides empty fourth and fifth answers, and a true/false
    // question has no third answer either.
    for (std::size_t k = 1; k <= 5; ++k) {
        const QString text = c.answerTexts[k]->toPlainText();
        c.checks[k]->setAccessibleDescription(text);
        c.options[k]->setAccessibleDescription(text);
    }
    hideEmptyAnswerRows(c.answerTexts, c.options, c.checks);
}

void ExamWindow::chooseOption(int k)
{
    Controls& c = *m_controls;
    for (int i = 1; i <= 5; ++i)
        c.checks[std::size_t(i)]->setChecked(i == k);
}

QString ExamWindow::currentDiagram() const
{
    return core::questionDiagram(m_controls->questions.recordset());
}

void ExamWindow::updateExhibitButton()
{
    ExhibitViewer::offer(program(), currentDiagram(), m_controls->exhibitButton,
                         m_controls->exhibitNotAvailable);
}

void ExamWindow::nextQuestion()
{
    guarded([this] {
        Controls& c = *m_controls;
        core::RunValues& run = program().run();
        data::Recordset& rs = c.questions.recordset();
        rs.MoveNext();
        applyAnswerMode();
        showAnswerRows();
        run.questionNo += 1;
        showQuestionNumber();
        updateButtons();
        if (rs.Eof()) {
            rs.MovePrevious();
            applyAnswerMode();
            run.questionNo -= 1;
            showQuestionNumber();
        }
        updateExhibitButton();
    });
}

void ExamWindow::previousQuestion()
{
    guarded([this] {
        Controls& c = *m_controls;
        core::RunValues& run = program().run();
        data::Recordset& rs = c.questions.recordset();
        rs.MovePrevious();
        applyAnswerMode();
        showAnswerRows();
        run.questionNo -= 1;
        showQuestionNumber();
        if (rs.Bof()) {
            rs.MoveNext();
            applyAnswerMode();
            run.questionNo += 1;
            showQuestionNumber();
        }
        updateButtons();
        updateExhibitButton();
    });
}

void ExamWindow::showExhibit()
{
    guarded([this] { ExhibitViewer::openFrom(program(), *this, currentDiagram()); });
}

void ExamWindow::showAnswer()
{
    guarded([this] {
        Program& p = program();
        Controls& c = *m_controls;
        m_showAnswerDatabase = data::Database::OpenDatabase(p.edition().databaseFile);
        m_showAnswerDatabase->Execute(data::sql::deleteShownAnswer());
        data::Recordset& shown = c.shownAnswer.recordset();
        shown.AddNew();
        shown.setValue(1, c.questionId->text().toLongLong());
        shown.Update();
        // The question cursor does not move: a pending choice stays pending.
        AnswerWindow& answer = p.window<AnswerWindow>();
        if (p.edition().showAnswerHidesExamFirst) {
            hide();
            answer.show();
        } else {
            answer.show();
            hide();
        }
    });
}

void ExamWindow::endExam()
{
    if (m_askingToEnd || !m_controls)
        return;
    m_askingToEnd = true;
    const int answer =
        program().msgBox(QStringLiteral("Do you really wish to end the test?"),
                         core::Prompter::OkCancelQuestion, QStringLiteral("Confirmation"));
    m_askingToEnd = false;
    if (answer != core::Prompter::Ok)
        return;
    guarded([this] { finishExam(); });
}

void ExamWindow::finishExam()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    data::Recordset& rs = c.questions.recordset();
    // Moving the cursor stores the choices of the question on screen.
    if (rs.RecordCount() > 0) {
        rs.MoveFirst();
        rs.MoveLast();
    }
    c.bindings->commit();
    c.timer->setEnabled(false);
    closeSideWindows();
    unload();
    program().window<ScoreSheet>().show();
}

void ExamWindow::closeSideWindows()
{
    WindowRegistry& windows = program().windows();
    if (windows.existing<AnswerWindow>())
        windows.discard<AnswerWindow>();
    if (windows.existing<ExhibitViewer>())
        windows.discard<ExhibitViewer>();
}

void ExamWindow::abandonExam(const data::DataError& error)
{
    Program& p = program();
    if (m_controls)
        m_controls->timer->setEnabled(false);
    p.reportDataError(error);
    closeSideWindows();
    p.run().questionNo = 0;
    // Choices already stored stay in the working table; the next exam
    // starts from a fresh window.
    p.windows().discard<ExamWindow>();
    p.window<MainWindow>().show();
}

void ExamWindow::togglePause()
{
    Controls& c = *m_controls;
    if (c.timer->isEnabled()) {
        c.timer->setEnabled(false);
        c.pauseLink->setText(QStringLiteral("Restart Timer"));
    } else {
        c.timer->setEnabled(true);
        c.pauseLink->setText(QStringLiteral("Pause Timer"));
    }
    c.pauseLink->setAccessibleName(c.pauseLink->text());
}

void ExamWindow::tick()
{
    // No tick while the candidate is being asked whether to end.
    if (m_askingToEnd || !m_controls)
        return;
    Program& p = program();
    p.run().timeLimitMinutes = p.edition().timeLimitMinutes;
    m_countdown.setLimitMinutes(p.run().timeLimitMinutes);
    m_countdown.tick();
    // Past the limit, while the candidate declines to end, the clock stays at 00:00:00.
    m_controls->clock->setText(m_countdown.text());
    showTimeLeft();
    if (!m_countdown.expired())
        return;
    if (p.edition().timeOutAsksToEnd) {
        endExam();
        // Declined: the ticks that came due while the question was open are
        // not asked about again at once; the next comes a second from now.
        if (m_controls)
            m_controls->timer->restart();
        return;
    }
    m_askingToEnd = true;
    p.msgBox(p.edition().timeOutMessage);
    m_askingToEnd = false;
    guarded([this] { finishExam(); });
}

bool ExamWindow::queryClose()
{
    endExam();
    // End Exam has unloaded the window on OK; on Cancel it stays.
    return false;
}

} // namespace gui
