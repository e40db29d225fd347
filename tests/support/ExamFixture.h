#pragma once

#include "ScriptedPrompter.h"
#include "TempBank.h"
#include "gui/toolkit/Program.h"

#include <QString>
#include <memory>

namespace gui {
class ExamWindow;
}

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
    QVariant stored(const QString& table, qint64 id, const QString& column);

private:
    TempBank m_bank;
    ScriptedPrompter m_prompter;
    std::unique_ptr<gui::Program> m_program;
    QString m_database;
    QString m_previousFolder;
};
