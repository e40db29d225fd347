#pragma once

#include "ScriptedPrompter.h"
#include "TempBank.h"
#include "gui/toolkit/Program.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace gui {
class ExamWindow;
class ScoreSheet;
} // namespace gui

// Rows "full" and "demo" of a bool column "demo", for a test run in both editions.
void addEditionRows();

// A running program of one edition over a temporary question database in
// the current folder, with scripted answers to its questions.
class ExamFixture {
public:
    // `questions` per exam; a demo fixture has exam 1 only.
    ExamFixture(core::Edition edition, int questions);
    ~ExamFixture();

    gui::Program& program() { return *m_program; }
    ScriptedPrompter& prompter() { return m_prompter; }
    TempBank& bank() { return m_bank; }
    QString database() const { return m_database; }
    // Writes the bank (again) after the test changed it.
    void rewrite();

    // Exam menu item, name prompt, "&Next >>" and the notice's OK; null when
    // no exam window came of it.
    gui::ExamWindow* startExam(int exam, const QString& name = QStringLiteral("Ada"));
    // The ID of the question on screen.
    qint64 currentId();
    // Next, from the question on screen, until one of this question_type shows.
    void goToQuestionOfType(const QString& type);
    QVariant stored(const QString& table, qint64 id, const QString& column);
    // The five choices stored for question `id` of `table` as bits: answer k is 1 << (k - 1).
    int storedChoices(const QString& table, qint64 id);

    // Exam `exam` ended as these statements (see ExamAnswers.h) leave it,
    // the main window hidden: its score sheet, on show.
    gui::ScoreSheet& finishExam(int exam, const QStringList& statements);

private:
    TempBank m_bank;
    ScriptedPrompter m_prompter;
    std::unique_ptr<gui::Program> m_program;
    QString m_database;
    QString m_previousFolder;
};
