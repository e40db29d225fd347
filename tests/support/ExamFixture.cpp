#include "ExamFixture.h"

#include "Dialog.h"
#include "Form1.h"
#include "Form211.h"
#include "Module2.h"
#include "SqlFixture.h"
#include "frmSplash.h"

#include <QDir>
#include <QLineEdit>

ExamFixture::ExamFixture(app::Edition edition, int questions) : m_bank(edition.answerColumns, 3)
{
    for (int exam = 1; exam <= 3; ++exam) {
        if (edition.offersExam(exam))
            m_bank.addExam(exam, questions);
    }
    m_database = m_bank.write(edition.databaseFile);
    m_previousFolder = QDir::currentPath();
    QDir::setCurrent(m_bank.dir());
    m_program = std::make_unique<app::Program>(std::move(edition), m_prompter);
    m_program->setEndHandler([] {});
    app::Main(*m_program);
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

exam::Form211* ExamFixture::startExam(int exam, const QString& name)
{
    const app::Edition& edition = m_program->edition();
    m_prompter.expectInput(edition.namePrompt, name);
    app::Form1& main = m_program->form<app::Form1>();
    if (exam == 1)
        main.mnuExamsub1_Click();
    else if (exam == 2)
        main.mnuExamsub2_Click();
    else
        main.mnuExamsub3_Click();
    m_program->form<app::frmSplash>().Command1_Click();
    m_program->form<exam::Dialog>().OKButton_Click();
    return m_program->forms().existing<exam::Form211>();
}

qint64 ExamFixture::currentId()
{
    return m_program->form<exam::Form211>().controls()->Text1->text().toLongLong();
}

QVariant ExamFixture::stored(const QString& table, qint64 id, const QString& column)
{
    return sqlfixture::scalar(
        m_database, QStringLiteral("SELECT %1 FROM %2 WHERE ID = %3").arg(column, table).arg(id));
}
