#include "gui/exam/ExamWindow.h"

#include "core/ClockText.h"
#include "core/QuestionDraw.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/exam/AnswerWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"
#include "gui/toolkit/ExhibitButtonPicture.h"
#include "gui/toolkit/Program.h"

#include <QCheckBox>
#include <QFrame>
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

// The text box of answer k sits at this index of text2.
constexpr std::array<int, 6> answerIndex{0, 1, 2, 4, 5, 3};

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

QPlainTextEdit* textBox(QWidget* parent, int lines)
{
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * lines + 10);
    return box;
}

// An answer reads as a line of text beside its box, not as a field to type in.
void flatten(QPlainTextEdit* box)
{
    box->setFrameShape(QFrame::NoFrame);
    box->setBackgroundRole(QPalette::Window);
    box->viewport()->setAutoFillBackground(false);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setMaximumHeight(box->minimumHeight());
    box->viewport()->setCursor(Qt::PointingHandCursor);
}

} // namespace

ExamWindow::ExamWindow(gui::Program& program) : Window(program) {}

ExamWindow::~ExamWindow() = default;

int ExamWindow::examNumber() const
{
    const int code = program().run().ExamCode;
    // the demo has exam 1 only
    return program().edition().offersExam(code) ? code : 1;
}

QPlainTextEdit* ExamWindow::answerBox(int k) const
{
    return m_controls ? m_controls->text2[std::size_t(answerIndex[std::size_t(k)])] : nullptr;
}

QWidget* ExamWindow::createWindow()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form211"));
    window->setWindowTitle(edition.examDesignCaption);
    window->resize(960, 720);

    auto label = [window](const char* name, const QString& text) {
        auto* l = new QLabel(text, window);
        l->setObjectName(QLatin1StringView(name));
        return l;
    };

    // --- top bar: question number and ID, the clock
    c.Label2 = label("Label2", QStringLiteral("Question No."));
    c.LblRec_Count = label("LblRec_Count", QStringLiteral("Record_count"));
    c.LblRec_Count->setAccessibleName(QStringLiteral("Question No."));
    c.lblID = label("lblID", QStringLiteral("Question ID"));
    c.Text1 = new QLineEdit(window);
    c.Text1->setObjectName(QStringLiteral("Text1"));
    c.Text1->setReadOnly(true);
    c.Text1->setMaximumWidth(90);
    c.Text1->setAccessibleName(QStringLiteral("Question ID"));
    c.lblID->setBuddy(c.Text1);
    c.Text3 = new QLineEdit(window);
    c.Text3->setObjectName(QStringLiteral("Text3"));
    c.Text3->setReadOnly(true);
    c.Text3->setVisible(false);
    c.Text3->setAccessibleName(QStringLiteral("Question type"));
    c.Label1 = label("Label1", QStringLiteral("Time Left:"));
    c.lblClock = label("lblClock", QStringLiteral("ClockDisplay"));
    c.lblClock->setAccessibleName(QStringLiteral("Time Left:"));
    QFont clockFont = c.lblClock->font();
    clockFont.setFamily(QStringLiteral("DejaVu Sans Mono"));
    clockFont.setPointSizeF(clockFont.pointSizeF() * 1.5);
    clockFont.setBold(true);
    c.lblClock->setFont(clockFont);
    c.LblPause = new gui::ClickableLabel(window);
    c.LblPause->setObjectName(QStringLiteral("LblPause"));
    c.LblPause->setText(QStringLiteral("Pause Timer"));
    c.LblPause->setAccessibleName(QStringLiteral("Pause Timer"));
    c.LblPause->setStyleSheet(
        QStringLiteral("QLabel { color: #1f5f99; text-decoration: underline; }"));
    c.LblPause->setClickHandler([this] { LblPause_Click(); });
    QFont numberFont = c.LblRec_Count->font();
    numberFont.setBold(true);
    numberFont.setPointSizeF(numberFont.pointSizeF() * 1.3);
    c.LblRec_Count->setFont(numberFont);

    auto* top = new QHBoxLayout;
    top->addWidget(c.Label2);
    top->addWidget(c.LblRec_Count);
    top->addSpacing(24);
    top->addWidget(c.lblID);
    top->addWidget(c.Text1);
    top->addStretch();
    top->addWidget(c.Label1);
    top->addWidget(c.lblClock);
    top->addSpacing(12);
    top->addWidget(c.LblPause);

    // --- the question
    for (int i = 0; i < 6; ++i) {
        c.text2[std::size_t(i)] = textBox(window, i == 0 ? 7 : 2);
        c.text2[std::size_t(i)]->setObjectName(QStringLiteral("text2_%1").arg(i));
        QObject::connect(c.text2[std::size_t(i)], &QPlainTextEdit::textChanged, window,
                         [this, i] { text2_Change(i); });
    }
    c.text2[0]->setAccessibleName(QStringLiteral("Question"));
    // long questions scroll; short ones leave the answers close below them
    c.text2[0]->setMaximumHeight(c.text2[0]->fontMetrics().lineSpacing() * 14 + 10);
    QFont questionFont = c.text2[0]->font();
    questionFont.setPointSizeF(questionFont.pointSizeF() * 1.15);
    c.text2[0]->setFont(questionFont);

    c.Picture1 = new gui::ClickableLabel(window);
    c.Picture1->setObjectName(QStringLiteral("Picture1"));
    c.Picture1->setPixmap(gui::exhibitButtonPicture(window->devicePixelRatioF()));
    c.Picture1->setFixedSize(104, 33);
    c.Picture1->setAccessibleName(QStringLiteral("Exhibit"));
    c.Picture1->setToolTip(QStringLiteral("Show the exhibit of this question"));
    c.Picture1->setClickHandler([this] { Picture1_Click(); });

    c.lblBestChoice =
        label("lblBestChoice",
              QStringLiteral(
                  "Select the best Choice(s). Choose only ONE choice unless specified above."));
    c.lblBestChoice->setWordWrap(true);

    // --- the answers: a check box and an option button share each row
    c.options = new gui::OptionGroup(window);
    auto* answers = new QGridLayout;
    answers->setColumnStretch(2, 1);
    for (int k = 1; k <= 5; ++k) {
        auto* check = new QCheckBox(window);
        check->setObjectName(QStringLiteral("Check%1").arg(k));
        check->setAccessibleName(QStringLiteral("Answer %1").arg(k));
        auto* option = new QRadioButton(window);
        option->setObjectName(QStringLiteral("Option%1").arg(k));
        option->setAccessibleName(QStringLiteral("Answer %1").arg(k));
        c.Check[std::size_t(k)] = check;
        c.Option[std::size_t(k)] = option;
        c.options->add(option, [this, k] { optionClick(k); });
        QPlainTextEdit* text = c.text2[std::size_t(answerIndex[std::size_t(k)])];
        flatten(text);
        text->setAccessibleName(QStringLiteral("Answer %1 text").arg(k));
        text->viewport()->installEventFilter(new AnswerTextClicks(text, [this, k] {
            Controls& cc = *m_controls;
            if (cc.Option[std::size_t(k)]->isVisible())
                cc.options->setValue(k - 1, true);
            else if (cc.Check[std::size_t(k)]->isVisible())
                cc.Check[std::size_t(k)]->toggle();
        }));
        answers->addWidget(check, k - 1, 0, Qt::AlignTop);
        answers->addWidget(option, k - 1, 1, Qt::AlignTop);
        answers->addWidget(text, k - 1, 2);
    }

    // --- the buttons
    auto button = [window](const char* name, const QString& text) {
        auto* b = new QPushButton(text, window);
        b->setObjectName(QLatin1StringView(name));
        return b;
    };
    c.cmdPrevQ = button("cmdPrevQ", QStringLiteral("&Previous Question"));
    c.CmdNextQ = button("CmdNextQ", QStringLiteral("&Next Question"));
    c.Command1 = button("Command1", QStringLiteral("Show Answer Now !"));
    c.cmdEndExam = button("cmdEndExam", QStringLiteral("&End Exam"));
    QObject::connect(c.cmdPrevQ, &QPushButton::clicked, window, [this] { cmdPrevQ_Click(); });
    QObject::connect(c.CmdNextQ, &QPushButton::clicked, window, [this] { CmdNextQ_Click(); });
    QObject::connect(c.Command1, &QPushButton::clicked, window, [this] { Command1_Click(); });
    QObject::connect(c.cmdEndExam, &QPushButton::clicked, window, [this] { cmdEndExam_Click(); });
    c.CmdNextQ->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.cmdPrevQ);
    buttons->addWidget(c.CmdNextQ);
    buttons->addStretch();
    buttons->addWidget(c.Command1);
    buttons->addWidget(c.cmdEndExam);

    auto* rule = new QFrame(window);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.text2[0]);
    layout->addWidget(c.Picture1, 0, Qt::AlignLeft);
    layout->addWidget(c.lblBestChoice);
    layout->addLayout(answers);
    layout->addStretch(1);
    layout->addWidget(rule);
    layout->addLayout(buttons);

    c.Timer1 = new gui::RepeatingTimer(window, [this] { Timer1_Timer(); });

    c.iis.DatabaseName = edition.databaseFile;
    c.iis.Connect = QStringLiteral(";pwd=Rorura36");
    c.iis.RecordSource = QStringLiteral("strQuerySQL");
    c.Data1.DatabaseName = edition.databaseFile;
    c.Data1.Connect = QStringLiteral(";Rorura36");
    c.Data1.RecordSource = QStringLiteral("showans");
    c.bindings = std::make_unique<gui::Bindings>(c.iis);
    return window;
}

void ExamWindow::Form_Load()
{
    Controls& c = *m_controls;
    core::RunValues& run = program().run();
    const core::Edition& edition = program().edition();
    m_elapsedSeconds = 0;
    c.Timer1->setInterval(1000);
    run.QuestionNo += 1;
    showQuestionNumber();
    window()->setWindowTitle(edition.examCaption(run.ExamCode));
    try {
        const int exam = examNumber();
        if (!core::drawQuestions(edition.databaseFile, exam, edition.questionCount)) {
            program().MsgBox(
                QStringLiteral("Request is greated than the total number of records."));
            throw gui::LoadAbandoned();
        }
        // Choices left behind by an exam that never reached the score
        // sheet's Exit (a crash, a killed program) would show up pre-ticked.
        data::Database::OpenDatabase(edition.databaseFile)
            ->Execute(data::sql::resetDrawnChoices(exam, edition.answerColumns));
        c.iis.RecordSource = data::sql::examQuestionsInDrawOrder(exam);
        c.iis.Refresh();
        c.Data1.Refresh();
        c.bindings->bind(c.text2[0], QStringLiteral("question"));
        for (int k = 1; k <= 5; ++k) {
            c.bindings->bind(answerBox(k), QStringLiteral("answer%1").arg(k));
            c.bindings->bind(c.Check[std::size_t(k)], QStringLiteral("correctanswer%1").arg(k),
                             gui::Bindings::Access::ReadWrite);
        }
        c.bindings->bind(c.Text1, QStringLiteral("tblrandom.ID"));
        c.bindings->bind(c.Text3, QStringLiteral("question_type"));
        if (!c.iis.recordset().hasCurrent())
            throw data::DataError(data::DataError::Kind::MissingTable, edition.databaseFile,
                                  QStringLiteral("the drawn questions are missing from \"%1\"")
                                      .arg(data::sql::workingTable(exam)));
        text2_Change(5);
        Form_Activate();
        ApplyAnswerMode();
        text2_Change(5);
        Form_Activate();
        updateExhibitButton();
    } catch (const data::DataError& error) {
        c.Timer1->setEnabled(false);
        run.QuestionNo = 0;
        program().reportDataError(error);
        throw gui::LoadAbandoned();
    } catch (const gui::LoadAbandoned&) {
        c.Timer1->setEnabled(false);
        run.QuestionNo = 0;
        throw;
    }
    c.CmdNextQ->setFocus();
}

void ExamWindow::Form_Unload()
{
    if (m_controls) {
        m_controls->bindings.reset();
        m_controls->Timer1->setEnabled(false);
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
    m_controls->LblRec_Count->setText(QString::number(program().run().QuestionNo));
}

void ExamWindow::Form_Activate()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    const core::RunValues& run = program().run();
    c.CmdNextQ->setEnabled(run.QuestionNo != run.QuestionCount);
    c.cmdPrevQ->setEnabled(true);
    if (run.QuestionNo == 1) {
        c.CmdNextQ->setEnabled(true);
        c.cmdPrevQ->setEnabled(false);
    }
}

void ExamWindow::ApplyAnswerMode()
{
    Controls& c = *m_controls;
    const bool single = c.Text3->text() == QLatin1StringView("single_answer");
    if (single) {
        for (int k = 1; k <= 5; ++k)
            c.options->setValue(k - 1, c.Check[std::size_t(k)]->isChecked());
    }
    for (int k = 1; k <= 5; ++k) {
        c.Check[std::size_t(k)]->setVisible(!single);
        c.Option[std::size_t(k)]->setVisible(single);
    }
}

void ExamWindow::text2_Change(int)
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // answers 4 and 5 show only when they have a text; rows 1 to 3 always show
    for (int k : {4, 5}) {
        QPlainTextEdit* box = answerBox(k);
        box->setVisible(true);
        if (box->toPlainText().isEmpty()) {
            box->setVisible(false);
            c.Option[std::size_t(k)]->setVisible(false);
            c.Check[std::size_t(k)]->setVisible(false);
        }
    }
}

void ExamWindow::optionClick(int k)
{
    Controls& c = *m_controls;
    for (int i = 1; i <= 5; ++i)
        c.Check[std::size_t(i)]->setChecked(i == k);
}

QString ExamWindow::currentDiagram() const
{
    data::Recordset& rs = m_controls->iis.recordset();
    if (!rs.hasCurrent())
        return QString();
    const QVariant value = rs.value(QStringLiteral("diagram1"));
    return value.isNull() ? QString() : value.toString();
}

void ExamWindow::updateExhibitButton()
{
    program().run().ExhibitPath = currentDiagram();
    m_controls->Picture1->setVisible(!program().run().ExhibitPath.isEmpty());
}

void ExamWindow::CmdNextQ_Click()
{
    guarded([this] {
        Controls& c = *m_controls;
        core::RunValues& run = program().run();
        data::Recordset& rs = c.iis.recordset();
        rs.MoveNext();
        ApplyAnswerMode();
        text2_Change(5);
        run.QuestionNo += 1;
        showQuestionNumber();
        Form_Activate();
        if (rs.Eof()) {
            rs.MovePrevious();
            ApplyAnswerMode();
            run.QuestionNo -= 1;
            showQuestionNumber();
        }
        updateExhibitButton();
    });
}

void ExamWindow::cmdPrevQ_Click()
{
    guarded([this] {
        Controls& c = *m_controls;
        core::RunValues& run = program().run();
        data::Recordset& rs = c.iis.recordset();
        rs.MovePrevious();
        ApplyAnswerMode();
        text2_Change(5);
        run.QuestionNo -= 1;
        showQuestionNumber();
        if (rs.Bof()) {
            rs.MoveNext();
            ApplyAnswerMode();
            run.QuestionNo += 1;
            showQuestionNumber();
        }
        Form_Activate();
        updateExhibitButton();
    });
}

void ExamWindow::Picture1_Click()
{
    guarded([this] {
        gui::Program& p = program();
        p.run().ExhibitPath = currentDiagram();
        if (p.run().ExhibitPath.isEmpty())
            return;
        p.form<gui::ExhibitViewer>().present();
        if (p.edition().exhibitHidesCaller)
            Hide();
    });
}

void ExamWindow::Command1_Click()
{
    guarded([this] {
        gui::Program& p = program();
        Controls& c = *m_controls;
        m_showAnswerDatabase = data::Database::OpenDatabase(p.edition().databaseFile);
        m_showAnswerDatabase->Execute(data::sql::deleteShownAnswer());
        data::Recordset& shown = c.Data1.recordset();
        shown.AddNew();
        shown.setValue(1, c.Text1->text().toLongLong());
        shown.Update();
        // The question cursor does not move: a pending choice stays pending.
        AnswerWindow& answer = p.form<AnswerWindow>();
        if (p.edition().showAnswerHidesExamFirst) {
            Hide();
            answer.Show();
        } else {
            answer.Show();
            Hide();
        }
    });
}

void ExamWindow::cmdEndExam_Click()
{
    if (m_askingToEnd || !m_controls)
        return;
    m_askingToEnd = true;
    const int answer =
        program().MsgBox(QStringLiteral("Do you really wish to end the test?"),
                         core::Prompter::OkCancelQuestion, QStringLiteral("Confirmation"));
    m_askingToEnd = false;
    if (answer != core::Prompter::Ok)
        return;
    guarded([this] { endExam(); });
}

void ExamWindow::endExam()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    data::Recordset& rs = c.iis.recordset();
    // Moving the cursor stores the choices of the question on screen.
    if (rs.RecordCount() > 0) {
        rs.MoveFirst();
        rs.MoveLast();
    }
    c.bindings->commit();
    c.Timer1->setEnabled(false);
    closeSideWindows();
    Unload();
    program().form<gui::ScoreSheet>().Show();
}

void ExamWindow::closeSideWindows()
{
    gui::WindowRegistry& forms = program().forms();
    if (forms.existing<AnswerWindow>())
        forms.discard<AnswerWindow>();
    if (forms.existing<gui::ExhibitViewer>())
        forms.discard<gui::ExhibitViewer>();
}

void ExamWindow::abandonExam(const data::DataError& error)
{
    gui::Program& p = program();
    if (m_controls)
        m_controls->Timer1->setEnabled(false);
    p.reportDataError(error);
    closeSideWindows();
    p.run().QuestionNo = 0;
    // Choices already stored stay in the working table; the next exam
    // starts from a fresh window.
    p.forms().discard<ExamWindow>();
    p.form<gui::MainWindow>().Show();
}

void ExamWindow::LblPause_Click()
{
    Controls& c = *m_controls;
    if (c.Timer1->isEnabled()) {
        c.Timer1->setEnabled(false);
        c.LblPause->setText(QStringLiteral("Restart Timer"));
    } else {
        c.Timer1->setEnabled(true);
        c.LblPause->setText(QStringLiteral("Pause Timer"));
    }
    c.LblPause->setAccessibleName(c.LblPause->text());
}

void ExamWindow::Timer1_Timer()
{
    // No tick while the candidate is being asked whether to end.
    if (m_askingToEnd || !m_controls)
        return;
    gui::Program& p = program();
    p.run().TimeLimitMinutes = p.edition().timeLimitMinutes;
    const qint64 limit = qint64(p.run().TimeLimitMinutes) * 60;
    ++m_elapsedSeconds;
    // Past the limit, while the candidate declines to end, the clock stays at 00:00:00.
    m_controls->lblClock->setText(core::clockText(limit - m_elapsedSeconds));
    if (m_elapsedSeconds < limit)
        return;
    if (p.edition().timeOutAsksToEnd) {
        cmdEndExam_Click();
        return;
    }
    m_askingToEnd = true;
    p.MsgBox(p.edition().timeOutMessage);
    m_askingToEnd = false;
    guarded([this] { endExam(); });
}

bool ExamWindow::queryClose()
{
    cmdEndExam_Click();
    // End Exam has unloaded the window on OK; on Cancel it stays.
    return false;
}

} // namespace gui
