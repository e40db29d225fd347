#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a question bank source holds: an edition's categories, its test
// information and its exams. Loaded from banks/ by BankSource, checked by
// BankValidator and written to a database file by BankWriter.
namespace bank {

struct Question {
    qint64 id = 0;
    int catid = 0;
    QString type; // "single_answer" or "multiple_answer"
    QString question;
    QStringList answers; // in display order
    QList<int> correct;  // 1-based positions of the correct answers
    QString explanation;
    QString exhibit; // picture file name in the exhibits folder, or empty
};

struct Exam {
    int exam = 1;
    QString sourceFile; // for messages
    QList<Question> questions;
};

struct Category {
    int catid = 0;
    QString description;
};

struct TestInformation {
    QString testName;
    QString authorName;
    QString copyrightDate;
    QString testDescription;
    QString testDisclaimer;
    QString numberOfQuestions;
};

struct Edition {
    QString sourceFile; // edition.json, for messages
    int answerColumns = 4;
    QList<Category> categories;
    TestInformation testInformation;
    QList<Exam> exams;
};

} // namespace bank
