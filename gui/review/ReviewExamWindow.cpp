#include "gui/review/ReviewExamWindow.h"

#include "core/ExamRules.h"
#include "core/ReviewRules.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"
#include "gui/toolkit/ExhibitButtonPicture.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"

#include <QCheckBox>
#include <QFrame>
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

// The design numbers the question's text box 0 and the answers' boxes so
// that answer k is box answerIndex[k]; the boxes keep those numbers as names.
constexpr std::array<int, 6> answerIndex{0, 1, 2, 4, 5, 3};

QPlainTextEdit* textBox(QWidget* parent, const QString& name, int lines)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    // The key is shown, never edited.
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * lines + 10);
    return box;
}

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

    auto label = [window](const char* name, const QString& text) {
        auto* l = new QLabel(text, window);
        l->setObjectName(QLatin1StringView(name));
        return l;
    };

    // --- top bar: question ID and number, the clock
    c.questionIdCaption = label("lblID", QStringLiteral("Question ID:"));
    c.questionId = new QLineEdit(window);
    c.questionId->setObjectName(QStringLiteral("Text1"));
    c.questionId->setReadOnly(true);
    c.questionId->setMaximumWidth(90);
    c.questionId->setAccessibleName(QStringLiteral("Question ID"));
    c.questionIdCaption->setBuddy(c.questionId);
    c.questionNoCaption = label("Label2", QStringLiteral("Question No."));
    c.questionNo = label("LblRec_Count11", QStringLiteral("Record_count"));
    c.questionNo->setAccessibleName(QStringLiteral("Question No."));
    QFont numberFont = c.questionNo->font();
    numberFont.setBold(true);
    numberFont.setPointSizeF(numberFont.pointSizeF() * 1.3);
    c.questionNo->setFont(numberFont);
    c.clockCaption = label("Label3", QStringLiteral("Time Elapsed:"));
    c.clock = label("lblClock", QStringLiteral("ClockDisplay"));
    c.clock->setAccessibleName(QStringLiteral("Time Elapsed:"));
    QFont clockFont = c.clock->font();
    clockFont.setFamily(QStringLiteral("DejaVu Sans Mono"));
    clockFont.setBold(true);
    clockFont.setPointSizeF(clockFont.pointSizeF() * 1.3);
    c.clock->setFont(clockFont);
    c.questionType = new QLineEdit(window);
    c.questionType->setObjectName(QStringLiteral("Text4"));
    c.questionType->setReadOnly(true);
    c.questionType->setVisible(false);
    c.questionType->setAccessibleName(QStringLiteral("Question type"));

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
    c.question = textBox(window, QStringLiteral("text2_0"), 7);
    c.question->setFont(fixed);
    c.question->setAccessibleName(QStringLiteral("Question"));
    c.question->setMaximumHeight(c.question->fontMetrics().lineSpacing() * 14 + 10);

    if (edition.exhibitButtonsArePictures) {
        auto* picture = new ClickableLabel(window);
        picture->setPixmap(exhibitButtonPicture(window->devicePixelRatioF()));
        picture->setFixedSize(104, 33);
        picture->setClickHandler([this] { showExhibit(); });
        c.exhibitButton = picture;
    } else {
        auto* button = new QPushButton(edition.reviewExhibitCaption, window);
        QObject::connect(button, &QPushButton::clicked, window, [this] { showExhibit(); });
        c.exhibitButton = button;
    }
    c.exhibitButton->setObjectName(QStringLiteral("Picture1"));
    c.exhibitButton->setAccessibleName(QStringLiteral("Exhibit"));
    c.exhibitButton->setToolTip(QStringLiteral("Show the exhibit of this question"));
    c.exhibitNotAvailable = exhibitNotAvailableLabel(window);

    c.optionGroup = new OptionGroup(window);
    auto* answers = new QGridLayout;
    answers->setColumnStretch(2, 1);
    for (std::size_t k = 1; k <= 5; ++k) {
        auto* check = new QCheckBox(window);
        check->setObjectName(QStringLiteral("Check%1").arg(k));
        check->setAccessibleName(QStringLiteral("Correct choice %1").arg(k));
        auto* option = new QRadioButton(window);
        option->setObjectName(QStringLiteral("Option%1").arg(k));
        option->setAccessibleName(QStringLiteral("Correct choice %1").arg(k));
        showOnly(option);
        c.checks[k] = check;
        c.options[k] = option;
        // Whatever turns an option (an assistive tool, a click sent to it
        // directly), the key's marks come straight back.
        c.optionGroup->add(option, [this] {
            if (!m_applyingMode)
                applyAnswerMode();
        });
        QPlainTextEdit* text = textBox(window, QStringLiteral("text2_%1").arg(answerIndex[k]), 2);
        text->setFont(fixed);
        text->setFrameShape(QFrame::NoFrame);
        text->setBackgroundRole(QPalette::Window);
        text->viewport()->setAutoFillBackground(false);
        text->setMaximumHeight(text->minimumHeight());
        text->setAccessibleName(QStringLiteral("Answer %1").arg(k));
        c.answerTexts[k] = text;
        QObject::connect(text, &QPlainTextEdit::textChanged, window, [this] { showAnswerRows(); });
        answers->addWidget(check, int(k) - 1, 0, Qt::AlignTop);
        answers->addWidget(option, int(k) - 1, 1, Qt::AlignTop);
        answers->addWidget(text, int(k) - 1, 2);
    }

    c.explanationCaption = label("Label1", QStringLiteral("Explanation:"));
    c.explanation = textBox(window, QStringLiteral("Text3"), 4);
    c.explanation->setAccessibleName(QStringLiteral("Explanation"));
    c.explanationCaption->setBuddy(c.explanation);

    // --- the buttons
    auto button = [window](const char* name, const QString& text) {
        auto* b = new QPushButton(text, window);
        b->setObjectName(QLatin1StringView(name));
        return b;
    };
    c.previousButton = button("cmdPrevQ", QStringLiteral("&Previous Question"));
    c.nextButton = button("CmdNextQ", QStringLiteral("&Next Question"));
    c.endButton = button("cmdEnd", QStringLiteral("&End"));
    QObject::connect(c.previousButton, &QPushButton::clicked, window,
                     [this] { previousQuestion(); });
    QObject::connect(c.nextButton, &QPushButton::clicked, window, [this] { nextQuestion(); });
    QObject::connect(c.endButton, &QPushButton::clicked, window, [this] { endReview(); });
    c.nextButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.previousButton);
    buttons->addWidget(c.nextButton);
    buttons->addStretch();
    buttons->addWidget(c.endButton);

    auto* rule = new QFrame(window);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.question, 2);
    layout->addWidget(c.exhibitButton, 0, Qt::AlignLeft);
    layout->addWidget(c.exhibitNotAvailable, 0, Qt::AlignLeft);
    layout->addLayout(answers);
    layout->addSpacing(6);
    layout->addWidget(c.explanationCaption);
    layout->addWidget(c.explanation, 1);
    layout->addWidget(rule);
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
    const core::PagingButtons buttons =
        core::pagingButtons(m_currentNo, program().run().questionCount);
    c.nextButton->setEnabled(buttons.nextEnabled);
    c.previousButton->setEnabled(buttons.previousEnabled);
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
    for (std::size_t k = 1; k <= 5; ++k) {
        QPlainTextEdit* text = c.answerTexts[k];
        text->setVisible(true);
        if (text->toPlainText().isEmpty()) {
            text->setVisible(false);
            c.options[k]->setVisible(false);
            c.checks[k]->setVisible(false);
        }
    }
}

QString ReviewExamWindow::currentDiagram() const
{
    data::Recordset& rs = m_controls->questions.recordset();
    if (!rs.hasCurrent())
        return QString();
    const QVariant value = rs.value(QStringLiteral("diagram1"));
    return value.isNull() ? QString() : value.toString();
}

void ReviewExamWindow::updateExhibitButton()
{
    program().run().exhibitPath = currentDiagram();
    offerExhibit(m_controls->exhibitButton, m_controls->exhibitNotAvailable,
                 program().run().exhibitPath, program().databasePath());
}

void ReviewExamWindow::nextQuestion()
{
    guarded([this] {
        if (!m_controls)
            return;
        data::Recordset& rs = m_controls->questions.recordset();
        rs.MoveNext();
        if (rs.Eof()) {
            // A key shorter than the exam: the last question stays, and its number.
            rs.MovePrevious();
        } else {
            m_currentNo += 1;
        }
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
        data::Recordset& rs = m_controls->questions.recordset();
        rs.MovePrevious();
        if (rs.Bof())
            rs.MoveNext();
        else
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
        if (!m_controls)
            return;
        Program& p = program();
        p.run().exhibitPath = currentDiagram();
        if (!exhibitCanBeShown(p.run().exhibitPath, p.databasePath()))
            return;
        p.window<ExhibitViewer>().present();
        if (p.edition().exhibitHidesCaller)
            hide();
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
