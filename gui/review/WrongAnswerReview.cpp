#include "gui/review/WrongAnswerReview.h"

#include "core/ExamRules.h"
#include "core/ExhibitFile.h"
#include "core/ReviewRules.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/WindowParts.h"
#include "gui/toolkit/WindowPrinter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {
namespace {

// The design's names of the answer lines and of their two columns of boxes.
constexpr std::array<const char*, 6> answerNames{"", "text2", "Text3", "Text4", "Text5", "Text8"};
constexpr std::array<const char*, 6> keyNames{"", "Chk1", "chk2", "ch3", "Ch4", "Ch5"};

const QColor headingInk(0x8b, 0x00, 0x00); // dark red
const QColor keyInk(0x00, 0x80, 0x00);     // green
const QColor yourInk(0xc0, 0x00, 0x00);    // red

void setInk(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

} // namespace

WrongAnswerReview::WrongAnswerReview(Program& program) : Window(program) {}
WrongAnswerReview::~WrongAnswerReview() = default;

QWidget* WrongAnswerReview::createWidget()
{
    const core::Edition& edition = program().edition();
    m_controls = std::make_unique<Controls>();
    Controls& c = *m_controls;
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form41"));
    window->setWindowTitle(edition.wrongAnswerCaptionNamesExam ? QStringLiteral("Correct Answers")
                                                               : edition.wrongAnswerDesignCaption);
    window->resize(900, 740);

    // --- heading and where the candidate is
    c.heading =
        namedLabel(window, "lblAnsEspl", QStringLiteral("Correct Answers With Explanations"));
    setInk(c.heading, headingInk);
    enlargeFont(c.heading, 1.3, true);
    c.position = namedLabel(window, "lblPosition", QString());
    enlargeFont(c.position, 1.0, true);
    auto* top = new QHBoxLayout;
    top->addWidget(c.heading);
    top->addStretch();
    top->addWidget(c.position);

    c.noneWrong =
        namedLabel(window, "lblNoWrongAnswers", QStringLiteral("No wrong answers in this exam."));
    c.noneWrong->setAlignment(Qt::AlignCenter);
    enlargeFont(c.noneWrong, 1.3);
    c.noneWrong->setVisible(false);

    // --- the question and its answers
    c.questionArea = new QWidget(window);
    c.questionArea->setObjectName(QStringLiteral("questionArea"));
    QWidget* area = c.questionArea;
    c.question = readOnlyText(area, QStringLiteral("Text1"), 6);
    c.question->setAccessibleName(QStringLiteral("Question"));
    enlargeFont(c.question, 1.15);
    // long questions scroll; short ones leave the answers close below them
    limitToLines(c.question, 10);

    c.exhibitButton = exhibitButton(area, edition.exhibitButtonsArePictures,
                                    edition.wrongAnswerExhibitCaption, [this] { showExhibit(); });
    c.exhibitNotAvailable = exhibitNotAvailableLabel(area);

    c.keyCaption = namedLabel(area, "LblCorrect", QStringLiteral("Correct Choice(s):"));
    setInk(c.keyCaption, keyInk);
    c.yourCaption = namedLabel(area, "LblYourChoice", QStringLiteral("Your Choice(s):"));
    setInk(c.yourCaption, yourInk);
    enlargeFont(c.keyCaption, 1.0, true);
    enlargeFont(c.yourCaption, 1.0, true);

    auto* answers = new QGridLayout;
    answers->setColumnStretch(1, 1);
    answers->addWidget(c.keyCaption, 0, 0, 1, 2, Qt::AlignLeft);
    answers->addWidget(c.yourCaption, 0, 2, Qt::AlignRight);
    for (std::size_t k = 1; k <= 5; ++k) {
        QPlainTextEdit* text =
            answerLine(area, QLatin1StringView(answerNames[k]), QStringLiteral("Answer %1").arg(k));
        c.answerTexts[k] = text;
        auto* key = answerBox<QCheckBox>(area, QLatin1StringView(keyNames[k]),
                                         QStringLiteral("Correct choice %1").arg(k));
        c.keyChecks[k] = key;
        auto* yours = answerBox<QCheckBox>(area, QStringLiteral("ChkYourChoice%1").arg(k),
                                           QStringLiteral("Your choice %1").arg(k));
        c.yourChecks[k] = yours;
        answers->addWidget(key, int(k), 0, Qt::AlignTop);
        answers->addWidget(text, int(k), 1);
        answers->addWidget(yours, int(k), 2, Qt::AlignTop | Qt::AlignHCenter);
        QObject::connect(text, &QPlainTextEdit::textChanged, window, [this] { showAnswerRows(); });
    }

    c.explanationCaption = namedLabel(area, "Label2", QStringLiteral("Explanation:"));
    c.explanation = readOnlyText(area, QStringLiteral("Text6"), 4);
    c.explanation->setAccessibleName(QStringLiteral("Explanation"));
    c.explanationCaption->setBuddy(c.explanation);
    c.categoryCaption = namedLabel(area, "Label3", QStringLiteral("Category:"));
    c.category = readOnlyField(area, "Text7", QStringLiteral("Category"));
    c.categoryCaption->setBuddy(c.category);
    auto* categoryRow = new QHBoxLayout;
    categoryRow->addWidget(c.categoryCaption);
    categoryRow->addWidget(c.category, 1);

    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->addWidget(c.question, 2);
    areaLayout->addWidget(c.exhibitButton, 0, Qt::AlignLeft);
    areaLayout->addWidget(c.exhibitNotAvailable, 0, Qt::AlignLeft);
    areaLayout->addLayout(answers);
    areaLayout->addSpacing(6);
    areaLayout->addWidget(c.explanationCaption);
    areaLayout->addWidget(c.explanation, 1);
    areaLayout->addLayout(categoryRow);

    // --- the buttons
    c.previousButton = namedButton(window, "cmdPrevQ", QStringLiteral("&Previous Question"),
                                   [this] { previousQuestion(); });
    c.nextButton = namedButton(window, "CmdNextQ", QStringLiteral("&Next Question"),
                               [this] { nextQuestion(); });
    c.printButton = namedButton(window, "cmdPrintQ", QStringLiteral("&Print Question"),
                                [this] { printQuestion(); });
    c.scoreReportButton = namedButton(window, "cmdScoreRep", QStringLiteral("&Score Report"),
                                      [this] { returnToScoreReport(); });
    c.nextButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.previousButton);
    buttons->addWidget(c.nextButton);
    buttons->addStretch();
    buttons->addWidget(c.printButton);
    buttons->addWidget(c.scoreReportButton);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.noneWrong, 1);
    layout->addWidget(c.questionArea, 1);
    layout->addWidget(horizontalRule(window));
    layout->addLayout(buttons);

    c.selection.DatabaseName = edition.databaseFile;
    c.selection.Connect = QStringLiteral(";pwd=Rorura36");
    c.selection.RecordSource = QStringLiteral("ssql");
    c.selection.ReadOnly = true;
    c.bindings = std::make_unique<Bindings>(c.selection);
    c.bindings->bind(c.question, QStringLiteral("question"));
    for (std::size_t k = 1; k <= 5; ++k) {
        c.bindings->bind(c.answerTexts[k], QStringLiteral("answer%1").arg(k));
        // Both columns are shown, never offered: neither can be ticked.
        c.bindings->bind(c.keyChecks[k], QStringLiteral("exam11.correctanswer%1").arg(k),
                         Bindings::Access::DisplayOnly);
        c.bindings->bind(c.yourChecks[k], QStringLiteral("exam1.correctanswer%1").arg(k),
                         Bindings::Access::DisplayOnly);
    }
    c.bindings->bind(c.explanation, QStringLiteral("explanation"));
    c.bindings->bind(c.category, QStringLiteral("cat_desc"));
    return window;
}

void WrongAnswerReview::onLoad()
{
    Controls& c = *m_controls;
    Program& p = program();
    const core::Edition& edition = p.edition();
    core::RunValues& run = p.run();
    const int exam = core::examTables(edition, run.examCode);
    run.wrongAnswerExam = exam;
    // Every opening starts again at the first wrong answer.
    m_currentNo = 1;
    m_wrongCount = 0;
    widget()->setWindowTitle(edition.wrongAnswerCaption(exam));
    try {
        const core::WrongAnswerSelection selection(exam, edition.answerColumns);
        selection.restrict(*c.selection.Database());
        c.selection.RecordSource = selection.statement();
        for (std::size_t k = 1; k <= 5; ++k) {
            c.bindings->setDataField(c.keyChecks[k], data::sql::keyTable(exam) +
                                                         QStringLiteral(".correctanswer%1").arg(k));
            c.bindings->setDataField(c.yourChecks[k],
                                     data::sql::workingTable(exam) +
                                         QStringLiteral(".correctanswer%1").arg(k));
        }
        c.selection.Refresh();
        data::Recordset& rs = c.selection.recordset();
        if (rs.RecordCount() != 0) {
            rs.MoveLast();
            m_wrongCount = int(rs.RecordCount());
            rs.MoveFirst();
        }
    } catch (const data::DataError& error) {
        run.wrongAnswerExam = 0;
        p.reportDataError(error);
        throw LoadAbandoned();
    }
    const bool any = m_wrongCount > 0;
    c.noneWrong->setVisible(!any);
    c.questionArea->setVisible(any);
    showAnswerRows();
    updateExhibitButton();
    updateButtons();
    showPosition();
    c.nextButton->setFocus();
}

void WrongAnswerReview::onActivate()
{
    updateButtons();
}

void WrongAnswerReview::onUnload()
{
    if (m_controls)
        m_controls->bindings.reset();
    m_controls.reset();
}

template <typename Body> void WrongAnswerReview::guarded(Body&& body)
{
    try {
        body();
    } catch (const data::DataError& error) {
        program().reportDataError(error);
        returnToScoreReport();
    }
}

void WrongAnswerReview::showPosition()
{
    Controls& c = *m_controls;
    c.position->setVisible(m_wrongCount > 0);
    c.position->setText(QStringLiteral("Question %1 of %2").arg(m_currentNo).arg(m_wrongCount));
}

void WrongAnswerReview::updateButtons()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // Nothing to page through: neither button does anything.
    enablePaging(c.previousButton, c.nextButton,
                 m_wrongCount > 0 ? core::pagingButtons(m_currentNo, m_wrongCount)
                                  : core::PagingButtons{false, false});
}

void WrongAnswerReview::showAnswerRows()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // The design hides an empty fifth answer; an empty line of a true/false
    // question hides the same way, as it does in the exam.
    showAnsweredRows(c.answerTexts, c.keyChecks, c.yourChecks);
}

QString WrongAnswerReview::currentDiagram() const
{
    return core::questionDiagram(m_controls->selection.recordset());
}

void WrongAnswerReview::updateExhibitButton()
{
    // Set on opening too, so the first question shows the button only when it has an exhibit.
    ExhibitViewer::offer(program(), currentDiagram(), m_controls->exhibitButton,
                         m_controls->exhibitNotAvailable);
}

void WrongAnswerReview::nextQuestion()
{
    guarded([this] {
        if (!m_controls || m_wrongCount == 0)
            return;
        // Past the last one the last one stays, and so does its number: the
        // counter never reads more questions than there are.
        if (core::stepForward(m_controls->selection.recordset()))
            ++m_currentNo;
        showAnswerRows();
        updateExhibitButton();
        updateButtons();
        showPosition();
    });
}

void WrongAnswerReview::previousQuestion()
{
    guarded([this] {
        if (!m_controls || m_wrongCount == 0)
            return;
        if (core::stepBack(m_controls->selection.recordset()))
            --m_currentNo;
        showAnswerRows();
        updateExhibitButton();
        updateButtons();
        showPosition();
    });
}

void WrongAnswerReview::showExhibit()
{
    guarded([this] {
        if (m_controls)
            ExhibitViewer::openFrom(program(), *this, currentDiagram());
    });
}

void WrongAnswerReview::printQuestion()
{
    if (QWidget* w = widget())
        WindowPrinter(program(), QStringLiteral("Question")).print(*w);
}

void WrongAnswerReview::returnToScoreReport()
{
    Program& p = program();
    if (p.edition().wrongAnswerReturnUnloads) {
        if (m_controls) {
            try {
                m_controls->selection.detachRecordset();
            } catch (const data::DataError&) {
                // Nothing of this window is ever stored; letting go cannot lose anything.
            }
        }
        unload();
    } else {
        hide();
        p.windows().discard<WrongAnswerReview>();
    }
    ScoreSheet* sheet = p.windows().existing<ScoreSheet>();
    if (sheet)
        sheet->show();
    // Never leave the candidate without a window.
    if (!sheet || !sheet->isVisible())
        p.window<MainWindow>().show();
}

bool WrongAnswerReview::queryClose()
{
    returnToScoreReport();
    return false;
}

} // namespace gui
