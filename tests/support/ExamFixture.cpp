#include "ExamFixture.h"

#include "ExamAnswers.h"
#include "SqlFixture.h"
#include "gui/exam/ExamNotice.h"
#include "gui/exam/ExamWindow.h"
#include "gui/scoring/ScoreSheet.h"
#include "gui/shell/ExamInfoWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/StartUp.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

void addEditionRows()
{
    QTest::addColumn<bool>("demo");
    QTest::newRow("full") << false;
    QTest::newRow("demo") << true;
}

ExamFixture::ExamFixture(core::Edition edition, int questions) : m_bank(edition.answerColumns, 3)
{
    for (int exam = 1; exam <= 3; ++exam) {
        if (edition.offersExam(exam))
            m_bank.addExam(exam, questions);
    }
    m_database = m_bank.write(edition.databaseFile);
    m_previousFolder = QDir::currentPath();
    QDir::setCurrent(m_bank.dir());
    m_program = std::make_unique<gui::Program>(std::move(edition), m_prompter);
    m_program->setEndHandler([] {});
    gui::startUp(*m_program);
}

ExamFixture::~ExamFixture()
{
    m_program.reset();
    QDir::setCurrent(m_previousFolder);
}

void ExamFixture::rewrite()
{
    m_database = m_bank.write(m_program->edition().databaseFile);
}

gui::ExamWindow* ExamFixture::startExam(int exam, const QString& name)
{
    const core::Edition& edition = m_program->edition();
    m_prompter.expectInput(edition.namePrompt, name);
    gui::MainWindow& main = m_program->window<gui::MainWindow>();
    if (exam == 1)
        main.startExam(1);
    else if (exam == 2)
        main.startExam(2);
    else
        main.startExam(3);
    // a bank refused before the name prompt goes no further
    if (!m_program->window<gui::ExamInfoWindow>().isVisible())
        return nullptr;
    m_program->window<gui::ExamInfoWindow>().next();
    m_program->window<gui::ExamNotice>().accept();
    return m_program->windows().existing<gui::ExamWindow>();
}

qint64 ExamFixture::currentId()
{
    return m_program->window<gui::ExamWindow>().controls()->questionId->text().toLongLong();
}

void ExamFixture::goToQuestionOfType(const QString& type)
{
    gui::ExamWindow& w = m_program->window<gui::ExamWindow>();
    for (int guard = 0; guard < 200 && w.controls()->questionType->text() != type; ++guard)
        w.nextQuestion();
    QCOMPARE(w.controls()->questionType->text(), type);
}

int ExamFixture::storedChoices(const QString& table, qint64 id)
{
    return stored(table, id,
                  QStringLiteral("correctanswer1 * 1 + correctanswer2 * 2 + correctanswer3 * 4 + "
                                 "correctanswer4 * 8 + correctanswer5 * 16"))
        .toInt();
}

gui::ScoreSheet& ExamFixture::finishExam(int exam, const QStringList& statements)
{
    core::RunValues& run = m_program->run();
    run.examCode = exam;
    run.candidateName = QStringLiteral("Ada Example");
    m_program->window<gui::MainWindow>().hide();
    examanswers::apply(m_database, statements);
    gui::ScoreSheet& sheet = m_program->window<gui::ScoreSheet>();
    sheet.show();
    return sheet;
}

QVariant ExamFixture::stored(const QString& table, qint64 id, const QString& column)
{
    return sqlfixture::scalar(
        m_database, QStringLiteral("SELECT %1 FROM %2 WHERE ID = %3").arg(column, table).arg(id));
}
