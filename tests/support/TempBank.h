#pragma once

#include "BankModel.h"

#include <QTemporaryDir>

// A question database written in a temporary folder through the same code as
// the shipped banks. Questions are generated and can be edited before write().
class TempBank {
public:
    // answerColumns: 4 for a full-edition bank, 5 for a demo bank.
    explicit TempBank(int answerColumns = 4, int categories = 3);

    // Adds exam `exam` with `count` questions numbered by `ids` (or 1..count).
    // Question i gets catid i % categories; every third one is multiple-answer
    // with two correct answers, the rest single-answer with one; all have four
    // answers (five in a 5-column bank, for the first question).
    bank::Exam& addExam(int exam, int count, QList<qint64> ids = {});
    bank::Edition& edition() { return m_edition; }

    // Writes the database (and any exhibits) into dir(); returns its path.
    QString write(const QString& fileName = QStringLiteral("qbk09.mdb"));
    QString dir() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bank::Edition m_edition;
    int m_categories;
};
