#include "gui/scoring/ScoreSheet.h"

#include "data/DataControl.h"
#include "data/DataError.h"
#include "data/Database.h"
#include "data/Statements.h"
#include "gui/exam/ExamWindow.h"
#include "gui/review/ExhibitViewer.h"
#include "gui/review/WrongAnswerReview.h"
#include "gui/shell/MainWindow.h"
#include "gui/toolkit/AppIcon.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/WindowPrinter.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace gui {
namespace {

// Colours as the sheet has always shown them.
const QColor passedBackground(0x80, 0xff, 0x80); // light green
const QColor failedBackground(0xff, 0xc0, 0xc0); // light red
const QColor verdictText(0xc0, 0x00, 0x00);
const QColor bandColour(0x1f, 0x5f, 0x99);
const QColor inkColour(0x1d, 0x27, 0x33);
const QColor mutedColour(0x5a, 0x66, 0x73);

// The data controls' connect string; an SQLite file takes no password.
const QString designConnect = QStringLiteral(";pwd=Rorura36");

constexpr int gridRowHeight = 26;
// Rows the grids show before they scroll: the most categories the sheet was laid out for.
constexpr int gridVisibleRows = 19;

QLabel* label(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1StringView(name));
    return l;
}

void setFont(QWidget* w, qreal pointScale, bool bold)
{
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() * pointScale);
    f.setBold(bold);
    w->setFont(f);
}

void setInk(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

QTableWidget* grid(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* g = new QTableWidget(0, int(headers.size()), parent);
    g->setObjectName(QLatin1StringView(name));
    g->setHorizontalHeaderLabels(headers);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);
    g->setAlternatingRowColors(true);
    g->setWordWrap(false);
    g->setCornerButtonEnabled(false);
    g->verticalHeader()->hide();
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->verticalHeader()->setDefaultSectionSize(gridRowHeight);
    g->horizontalHeader()->setHighlightSections(false);
    g->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return g;
}

using GridRows = std::vector<std::pair<QString, QString>>;

void fillGrid(QTableWidget* g, const GridRows& rows, Qt::Alignment firstAlignment,
              Qt::Alignment secondAlignment)
{
    g->setRowCount(int(rows.size()));
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (const QString& text : {row.first, row.second}) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment((c == 0 ? firstAlignment : secondAlignment) | Qt::AlignVCenter);
            g->setItem(r, c++, item);
        }
        ++r;
    }
    // As tall as its rows, up to a screenful; then it scrolls.
    const int shown = std::clamp(int(rows.size()), 1, gridVisibleRows);
    g->setFixedHeight(g->horizontalHeader()->sizeHint().height() + shown * gridRowHeight +
                      2 * g->frameWidth());
}

// Every row of a data control's record source, two columns of it (by name
// or by position) as text.
template <typename Field>
GridRows readRows(data::DataControl& control, const Field& first, const Field& second,
                  QString (*showFirst)(const QVariant&))
{
    control.Refresh();
    data::Recordset& rs = control.recordset();
    GridRows rows;
    if (!rs.Eof())
        rs.MoveFirst();
    while (!rs.Eof()) {
        rows.push_back({showFirst(rs.value(first)), rs.value(second).toString()});
        rs.MoveNext();
    }
    return rows;
}

QString asText(const QVariant& v)
{
    return v.toString();
}

// The percentage as the candidate reads it: 66 is "66%".
QString asPercent(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString() + u'%';
}

} // namespace

ScoreSheet::ScoreSheet(Program& program) : Window(program) {}
ScoreSheet::~ScoreSheet() = default;

void ScoreSheet::onInitialize()
{
    const core::Edition& edition = program().edition();
    core::RunValues& run = program().run();
    const int exam = run.examCode;
    if (!edition.offersExam(exam) || run.questionCount <= 0) {
        m_failed = true;
        program().msgBox(QStringLiteral("There is no finished exam to grade."));
        leaveToMainWindow(false);
        return;
    }

    try {
        core::ExamGrade grade = core::Grading(edition.databaseFile, edition.answerColumns)
                                    .grade(exam, run.questionCount);
        readGridRows();
        m_grade = std::move(grade);
    } catch (const data::DataError& error) {
        m_failed = true;
        m_grade.reset();
        program().msgBox(
            QStringLiteral("Your exam could not be graded, so no score can be shown.\n\n") +
            error.describe());
        leaveToMainWindow(false);
        return;
    }

    m_gradedAt = QDateTime::currentDateTime();
    m_scoreText = QString::number(m_grade->score) + QStringLiteral("/1000");
    m_candidateName = run.candidateName;
    const QLocale regional; // the system's regional settings
    m_dateText = regional.toString(m_gradedAt.date(), QLocale::ShortFormat);
    m_timeText = regional.toString(m_gradedAt.time(), QLocale::ShortFormat);

    showTitleAndPassScore();

    m_passed = m_grade->score >= run.passScore;
    m_verdict =
        m_passed ? QStringLiteral("Congratulations!") : QStringLiteral("Sorry, please try again!");

    for (const core::CategoryScore& category : m_grade->categories) {
        m_categoryTotals.push_back(QString::number(category.total));
        m_categoryCorrectCounts.push_back(QString::number(category.correct));
        m_categoryPercents.push_back(QString::number(category.percent));
    }
    showValues();
}

void ScoreSheet::readGridRows()
{
    const QString file = program().edition().databaseFile;
    data::DataControl data3(file, designConnect, QStringLiteral("cat"));
    m_categoryRows = readRows(data3, QStringLiteral("sl_no"), QStringLiteral("cat_desc"), asText);
    // The grid shows what grading wrote, read where it wrote it: the
    // percentage at position 4 under "Cat_correct" and the correct answers at
    // position 3 under "cat_scores", whatever names the bank gives those
    // columns (one that calls the count Cat_correct would show 9 right
    // answers as "9%").
    data::DataControl data4(file, designConnect, QStringLiteral("cat_scores"));
    m_scoreRows =
        readRows(data4, core::categoryPercentPosition, core::categoryCorrectPosition, asPercent);
}

void ScoreSheet::showTitleAndPassScore()
{
    m_examTitle = program().edition().scoreSheetTitle;
    program().run().passScore = program().edition().passScore;
    m_passScoreText = QString::number(program().run().passScore) + QStringLiteral("/1000");
    showValues();
}

QWidget* ScoreSheet::createWidget()
{
    const core::Edition& edition = program().edition();
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form3"));
    window->setWindowTitle(QStringLiteral("Score Sheet"));
    window->setWindowIcon(applicationIcon());
    window->setAutoFillBackground(true);
    {
        QPalette p = window->palette();
        p.setColor(QPalette::Window, Qt::white);
        p.setColor(QPalette::WindowText, inkColour);
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::AlternateBase, QColor(0xf1, 0xf5, 0xfa));
        p.setColor(QPalette::Text, inkColour);
        window->setPalette(p);
    }
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    // The band across the top: the picture and the exam's title.
    auto* band = new QFrame(window);
    band->setObjectName(QStringLiteral("band"));
    band->setAutoFillBackground(true);
    {
        QPalette p = band->palette();
        p.setColor(QPalette::Window, bandColour);
        p.setColor(QPalette::WindowText, Qt::white);
        band->setPalette(p);
    }
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(24, 14, 24, 14);
    bandLayout->setSpacing(16);
    QLabel* picture = label(band, "Picture1");
    picture->setPixmap(applicationIcon().pixmap(48, 48));
    bandLayout->addWidget(picture);
    QLabel* title = label(band, "lblExamTitle");
    setFont(title, 1.7, true);
    bandLayout->addWidget(title, 1);
    root->addWidget(band);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(24, 18, 24, 18);
    body->setSpacing(14);
    root->addLayout(body, 1);

    // Date, time and name.
    auto* who = new QGridLayout;
    who->setHorizontalSpacing(12);
    who->setVerticalSpacing(6);
    QLabel* lblDate = label(window, "lblDate", edition.scoreDateLabel);
    QLabel* label4 = label(window, "Label4", edition.scoreNameLabel);
    for (QLabel* caption : {lblDate, label4}) {
        setInk(caption, mutedColour);
        setFont(caption, 1.0, true);
    }
    QLabel* date = label(window, "lblExamDate");
    QLabel* time = label(window, "lblExamTime");
    QLabel* name = label(window, "lblCandName");
    setFont(name, 1.15, true);
    name->setTextInteractionFlags(Qt::NoTextInteraction);
    name->setTextFormat(Qt::PlainText); // the name as typed, never as markup
    who->addWidget(label4, 0, 0);
    who->addWidget(name, 0, 1, 1, 2);
    who->addWidget(lblDate, 1, 0);
    who->addWidget(date, 1, 1);
    who->addWidget(time, 1, 2);
    who->setColumnStretch(3, 1);
    body->addLayout(who);

    // The score, the pass score and the verdict.
    auto* result = new QHBoxLayout;
    result->setSpacing(18);
    auto scoreBox = [&](const char* captionName, const QString& caption, const char* valueName) {
        auto* box = new QVBoxLayout;
        box->setSpacing(2);
        QLabel* c = label(window, captionName, caption);
        setInk(c, mutedColour);
        QLabel* v = label(window, valueName);
        setFont(v, 2.2, true);
        box->addWidget(c);
        box->addWidget(v);
        result->addLayout(box);
        return v;
    };
    scoreBox("lblYourScore", QStringLiteral("Your Score:"), "lblScoreObtained");
    QLabel* pass = scoreBox("lblPassingScore", QStringLiteral("Pass Score:"), "lblPassScore");
    setInk(pass, mutedColour);
    QLabel* verdict = label(window, "Label1");
    verdict->setAlignment(Qt::AlignCenter);
    verdict->setAutoFillBackground(true);
    verdict->setMargin(10);
    verdict->setMinimumWidth(260);
    setFont(verdict, 1.45, true);
    {
        QPalette p = verdict->palette();
        p.setColor(QPalette::Window, failedBackground); // as designed, before grading
        p.setColor(QPalette::WindowText, verdictText);
        verdict->setPalette(p);
    }
    result->addStretch(1);
    result->addWidget(verdict, 0, Qt::AlignVCenter);
    body->addLayout(result);

    auto* rule = new QFrame(window);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    setInk(rule, QColor(0xd5, 0xdd, 0xe6));
    body->addWidget(rule);

    // The section-wise table: categories on the left, results on the right.
    QLabel* heading =
        label(window, "Label2", QStringLiteral("S e c t i o n w i s e  S c o r i n g"));
    setFont(heading, 1.15, true);
    setInk(heading, bandColour);
    body->addWidget(heading);

    auto* tables = new QGridLayout;
    tables->setHorizontalSpacing(0);
    tables->setVerticalSpacing(4);
    QLabel* percentCaption = label(window, "Label3", QStringLiteral("% Correct"));
    setInk(percentCaption, mutedColour);
    QTableWidget* grid1 = grid(window, "DBGrid1", {QString(), QStringLiteral("cat_desc")});
    QTableWidget* grid2 =
        grid(window, "DBGrid2", {QStringLiteral("Cat_correct"), QStringLiteral("cat_scores")});
    grid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    grid1->horizontalHeader()->resizeSection(0, 44);
    grid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid2->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid2->setMinimumWidth(210);
    // The two grids show one table: they scroll together.
    QObject::connect(grid1->verticalScrollBar(), &QScrollBar::valueChanged,
                     grid2->verticalScrollBar(), &QScrollBar::setValue);
    QObject::connect(grid2->verticalScrollBar(), &QScrollBar::valueChanged,
                     grid1->verticalScrollBar(), &QScrollBar::setValue);
    tables->addWidget(percentCaption, 0, 1);
    tables->addWidget(grid1, 1, 0);
    tables->addWidget(grid2, 1, 1);
    tables->setColumnStretch(0, 3);
    tables->setColumnStretch(1, 1);
    body->addLayout(tables);
    body->addStretch(1);

    // The buttons.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    auto button = [&](const char* objectName, const QString& caption,
                      void (ScoreSheet::*handler)()) {
        auto* b = new QPushButton(caption, window);
        b->setObjectName(QLatin1StringView(objectName));
        b->setMinimumWidth(120);
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, window, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
        return b;
    };
    button("cmdPrint", QStringLiteral("&Print"), &ScoreSheet::print);
    button("CmdAnswers", QStringLiteral("&View Wrong Answers"), &ScoreSheet::viewWrongAnswers);
    button("CmdExit", QStringLiteral("&Exit "), &ScoreSheet::exit);
    body->addLayout(buttons);

    window->resize(780, 600);
    return window;
}

void ScoreSheet::onLoad()
{
    // A sheet that could not grade has sent the candidate back already.
    if (m_failed)
        throw LoadAbandoned();
    showValues();
}

void ScoreSheet::showValues()
{
    QWidget* w = widget();
    if (!w)
        return;
    auto setText = [w](const char* name, const QString& text) {
        if (auto* l = w->findChild<QLabel*>(QLatin1StringView(name)))
            l->setText(text);
    };
    setText("lblExamTitle", m_examTitle);
    setText("lblPassScore", m_passScoreText);
    if (!m_grade)
        return;
    setText("lblScoreObtained", m_scoreText);
    setText("lblCandName", m_candidateName);
    setText("lblExamDate", m_dateText);
    setText("lblExamTime", m_timeText);
    setText("Label1", m_verdict);
    if (auto* verdict = w->findChild<QLabel*>(QStringLiteral("Label1"))) {
        QPalette p = verdict->palette();
        p.setColor(QPalette::Window, m_passed ? passedBackground : failedBackground);
        verdict->setPalette(p);
    }
    if (auto* g = w->findChild<QTableWidget*>(QStringLiteral("DBGrid1")))
        fillGrid(g, m_categoryRows, Qt::AlignRight, Qt::AlignLeft);
    if (auto* g = w->findChild<QTableWidget*>(QStringLiteral("DBGrid2")))
        fillGrid(g, m_scoreRows, Qt::AlignRight, Qt::AlignRight);
    if (!w->isVisible())
        w->resize(w->width(), w->sizeHint().height());
}

void ScoreSheet::print()
{
    if (QWidget* w = widget())
        WindowPrinter(program(), QStringLiteral("Score Sheet")).print(*w);
}

void ScoreSheet::viewWrongAnswers()
{
    hide();
    // The review's "&Score Report" brings this same sheet back, graded as it was.
    const int exam = program().run().examCode;
    if (exam >= 1 && exam <= 3) {
        WrongAnswerReview& review = program().window<WrongAnswerReview>();
        review.show();
        if (review.isVisible())
            return;
    }
    // No review to show (it could not open and has said why): the sheet stays.
    show();
}

void ScoreSheet::exit()
{
    leaveToMainWindow(true);
}

bool ScoreSheet::queryClose()
{
    exit();
    // Exit has unloaded and discarded the sheet already.
    return false;
}

void ScoreSheet::leaveToMainWindow(bool reportResetFailure)
{
    const core::Edition& edition = program().edition();
    core::RunValues& run = program().run();
    const int exam = run.examCode;
    if (exam >= 1 && exam <= 3) {
        try {
            auto db = data::Database::OpenDatabase(edition.databaseFile);
            db->Execute(data::sql::resetChoices(exam, edition.answerColumns));
        } catch (const data::DataError& error) {
            if (reportResetFailure)
                program().msgBox(
                    QStringLiteral("The answers of this exam could not be cleared from "
                                   "the question database.\n\n") +
                    error.describe());
        }
    }
    run.questionNo = 0;
    run.wrongAnswerExam = 0;
    if (edition.scoreExitClearsExamCode)
        run.examCode = 0;

    WindowRegistry& windows = program().windows();
    windows.discard<ExamWindow>();
    hide();
    unload();
    windows.discard<ScoreSheet>();
    windows.discard<WrongAnswerReview>();
    windows.discard<ExhibitViewer>();
    program().window<MainWindow>().show();
}

} // namespace gui
