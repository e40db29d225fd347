#include "gui/review/WrongAnswerReview.h"

#include "core/ExamRules.h"
#include "core/ReviewRules.h"
#include "data/DataError.h"
#include "data/Statements.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/ClickableLabel.h"
#include "gui/toolkit/ExhibitButtonPicture.h"
#include "gui/toolkit/Pictures.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/WindowPrinter.h"

#include <QCheckBox>
#include <QFrame>
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

QPlainTextEdit* textBox(QWidget* parent, const char* name, int lines)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1StringView(name));
    // Shown, never edited: nothing typed here could be kept anyway.
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * lines + 10);
    return box;
}

// An answer reads as a line of text between its boxes, not as a field.
void flatten(QPlainTextEdit* box)
{
    box->setFrameShape(QFrame::NoFrame);
    box->setBackgroundRole(QPalette::Window);
    box->viewport()->setAutoFillBackground(false);
    box->setMaximumHeight(box->minimumHeight());
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

    auto label = [window](const char* name, const QString& text) {
        auto* l = new QLabel(text, window);
        l->setObjectName(QLatin1StringView(name));
        return l;
    };

    // --- heading and where the candidate is
    c.heading = label("lblAnsEspl", QStringLiteral("Correct Answers With Explanations"));
    setInk(c.heading, headingInk);
    QFont headingFont = c.heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    c.heading->setFont(headingFont);
    c.position = label("lblPosition", QString());
    QFont positionFont = c.position->font();
    positionFont.setBold(true);
    c.position->setFont(positionFont);
    auto* top = new QHBoxLayout;
    top->addWidget(c.heading);
    top->addStretch();
    top->addWidget(c.position);

    c.noneWrong = label("lblNoWrongAnswers", QStringLiteral("No wrong answers in this exam."));
    c.noneWrong->setAlignment(Qt::AlignCenter);
    QFont noneFont = c.noneWrong->font();
    noneFont.setPointSizeF(noneFont.pointSizeF() * 1.3);
    c.noneWrong->setFont(noneFont);
    c.noneWrong->setVisible(false);

    // --- the question and its answers
    c.questionArea = new QWidget(window);
    c.questionArea->setObjectName(QStringLiteral("questionArea"));
    QWidget* area = c.questionArea;
    c.question = textBox(area, "Text1", 6);
    c.question->setAccessibleName(QStringLiteral("Question"));
    QFont questionFont = c.question->font();
    questionFont.setPointSizeF(questionFont.pointSizeF() * 1.15);
    c.question->setFont(questionFont);
    // long questions scroll; short ones leave the answers close below them
    c.question->setMaximumHeight(c.question->fontMetrics().lineSpacing() * 10 + 10);

    if (edition.exhibitButtonsArePictures) {
        auto* picture = new ClickableLabel(area);
        picture->setPixmap(exhibitButtonPicture(window->devicePixelRatioF()));
        picture->setFixedSize(104, 33);
        picture->setClickHandler([this] { showExhibit(); });
        c.exhibitButton = picture;
    } else {
        auto* button = new QPushButton(edition.wrongAnswerExhibitCaption, area);
        QObject::connect(button, &QPushButton::clicked, window, [this] { showExhibit(); });
        c.exhibitButton = button;
    }
    c.exhibitButton->setObjectName(QStringLiteral("Picture1"));
    c.exhibitButton->setAccessibleName(QStringLiteral("Exhibit"));
    c.exhibitButton->setToolTip(QStringLiteral("Show the exhibit of this question"));
    c.exhibitNotAvailable = exhibitNotAvailableLabel(area);

    c.keyCaption = new QLabel(QStringLiteral("Correct Choice(s):"), area);
    c.keyCaption->setObjectName(QStringLiteral("LblCorrect"));
    setInk(c.keyCaption, keyInk);
    c.yourCaption = new QLabel(QStringLiteral("Your Choice(s):"), area);
    c.yourCaption->setObjectName(QStringLiteral("LblYourChoice"));
    setInk(c.yourCaption, yourInk);
    for (QLabel* caption : {c.keyCaption, c.yourCaption}) {
        QFont f = caption->font();
        f.setBold(true);
        caption->setFont(f);
    }

    auto* answers = new QGridLayout;
    answers->setColumnStretch(1, 1);
    answers->addWidget(c.keyCaption, 0, 0, 1, 2, Qt::AlignLeft);
    answers->addWidget(c.yourCaption, 0, 2, Qt::AlignRight);
    for (std::size_t k = 1; k <= 5; ++k) {
        QPlainTextEdit* text = textBox(area, answerNames[k], 2);
        flatten(text);
        text->setAccessibleName(QStringLiteral("Answer %1").arg(k));
        c.answerTexts[k] = text;
        auto* key = new QCheckBox(area);
        key->setObjectName(QLatin1StringView(keyNames[k]));
        key->setAccessibleName(QStringLiteral("Correct choice %1").arg(k));
        c.keyChecks[k] = key;
        auto* yours = new QCheckBox(area);
        yours->setObjectName(QStringLiteral("ChkYourChoice%1").arg(k));
        yours->setAccessibleName(QStringLiteral("Your choice %1").arg(k));
        c.yourChecks[k] = yours;
        answers->addWidget(key, int(k), 0, Qt::AlignTop);
        answers->addWidget(text, int(k), 1);
        answers->addWidget(yours, int(k), 2, Qt::AlignTop | Qt::AlignHCenter);
        QObject::connect(text, &QPlainTextEdit::textChanged, window, [this] { showAnswerRows(); });
    }

    c.explanationCaption = new QLabel(QStringLiteral("Explanation:"), area);
    c.explanationCaption->setObjectName(QStringLiteral("Label2"));
    c.explanation = textBox(area, "Text6", 4);
    c.explanation->setAccessibleName(QStringLiteral("Explanation"));
    c.explanationCaption->setBuddy(c.explanation);
    c.categoryCaption = new QLabel(QStringLiteral("Category:"), area);
    c.categoryCaption->setObjectName(QStringLiteral("Label3"));
    c.category = new QLineEdit(area);
    c.category->setObjectName(QStringLiteral("Text7"));
    c.category->setReadOnly(true);
    c.category->setAccessibleName(QStringLiteral("Category"));
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
    auto button = [window](const char* name, const QString& text) {
        auto* b = new QPushButton(text, window);
        b->setObjectName(QLatin1StringView(name));
        return b;
    };
    c.previousButton = button("cmdPrevQ", QStringLiteral("&Previous Question"));
    c.nextButton = button("CmdNextQ", QStringLiteral("&Next Question"));
    c.printButton = button("cmdPrintQ", QStringLiteral("&Print Question"));
    c.scoreReportButton = button("cmdScoreRep", QStringLiteral("&Score Report"));
    QObject::connect(c.previousButton, &QPushButton::clicked, window,
                     [this] { previousQuestion(); });
    QObject::connect(c.nextButton, &QPushButton::clicked, window, [this] { nextQuestion(); });
    QObject::connect(c.printButton, &QPushButton::clicked, window, [this] { printQuestion(); });
    QObject::connect(c.scoreReportButton, &QPushButton::clicked, window,
                     [this] { returnToScoreReport(); });
    c.nextButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.previousButton);
    buttons->addWidget(c.nextButton);
    buttons->addStretch();
    buttons->addWidget(c.printButton);
    buttons->addWidget(c.scoreReportButton);

    auto* rule = new QFrame(window);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(top);
    layout->addWidget(c.noneWrong, 1);
    layout->addWidget(c.questionArea, 1);
    layout->addWidget(rule);
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
    const core::PagingButtons buttons = m_wrongCount > 0
                                            ? core::pagingButtons(m_currentNo, m_wrongCount)
                                            : core::PagingButtons{false, false};
    c.nextButton->setEnabled(buttons.nextEnabled);
    c.previousButton->setEnabled(buttons.previousEnabled);
}

void WrongAnswerReview::showAnswerRows()
{
    if (!m_controls)
        return;
    Controls& c = *m_controls;
    // The design hides an empty fifth answer; an empty line of a true/false
    // question hides the same way, as it does in the exam.
    for (std::size_t k = 1; k <= 5; ++k) {
        const bool shown = !c.answerTexts[k]->toPlainText().isEmpty();
        c.answerTexts[k]->setVisible(shown);
        c.keyChecks[k]->setVisible(shown);
        c.yourChecks[k]->setVisible(shown);
    }
}

QString WrongAnswerReview::currentDiagram() const
{
    data::Recordset& rs = m_controls->selection.recordset();
    if (!rs.hasCurrent())
        return QString();
    const QVariant value = rs.value(QStringLiteral("diagram1"));
    return value.isNull() ? QString() : value.toString();
}

void WrongAnswerReview::updateExhibitButton()
{
    // Set on opening too, so the first question shows the button only when it has an exhibit.
    program().run().exhibitPath = currentDiagram();
    offerExhibit(m_controls->exhibitButton, m_controls->exhibitNotAvailable,
                 program().run().exhibitPath, program().databasePath());
}

void WrongAnswerReview::nextQuestion()
{
    guarded([this] {
        if (!m_controls || m_wrongCount == 0)
            return;
        data::Recordset& rs = m_controls->selection.recordset();
        rs.MoveNext();
        // Past the last one the last one stays, and so does its number: the
        // counter never reads more questions than there are.
        if (rs.Eof())
            rs.MovePrevious();
        else
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
        data::Recordset& rs = m_controls->selection.recordset();
        rs.MovePrevious();
        if (rs.Bof())
            rs.MoveNext();
        else
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
