#include "data/Schema.h"

#include "data/Statements.h"

namespace data {

QStringList questionDatabaseSchema(const QList<int>& exams)
{
    QStringList ddl;
    const QString answers =
        QStringLiteral("answer1 TEXT, answer2 TEXT, answer3 TEXT, answer4 TEXT, answer5 TEXT, ");
    // Yes/No columns hold 1 (Yes) or 0 (No).
    const QString choices = QStringLiteral(
        "correctanswer1 INTEGER NOT NULL DEFAULT 0, correctanswer2 INTEGER NOT NULL DEFAULT 0, "
        "correctanswer3 INTEGER NOT NULL DEFAULT 0, correctanswer4 INTEGER NOT NULL DEFAULT 0, "
        "correctanswer5 INTEGER NOT NULL DEFAULT 0, ");
    for (int exam : exams) {
        const QString working = sql::workingTable(exam);
        const QString key = sql::keyTable(exam);
        ddl << QStringLiteral("CREATE TABLE %1 (ID INTEGER NOT NULL, question TEXT, ")
                       .arg(working) +
                   answers + choices +
                   QStringLiteral("question_type TEXT, catid INTEGER, cat_desc TEXT, "
                                  "diagram1 TEXT, explanation TEXT)");
        ddl << QStringLiteral("CREATE UNIQUE INDEX %1_primaryKey ON %1 (ID)").arg(working);
        ddl << QStringLiteral("CREATE TABLE %1 (ID INTEGER NOT NULL, question TEXT, ").arg(key) +
                   answers + choices +
                   QStringLiteral("explanation TEXT, diagram1 TEXT, question_type TEXT)");
        ddl << QStringLiteral("CREATE UNIQUE INDEX %1_primaryKey ON %1 (ID)").arg(key);
    }
    ddl << QStringLiteral("CREATE TABLE tblrandom (sl_no INTEGER, ID INTEGER)");
    ddl << QStringLiteral("CREATE TABLE showans (entry INTEGER PRIMARY KEY, id INTEGER)");
    ddl << QStringLiteral("CREATE TABLE cat (sl_no INTEGER PRIMARY KEY, cat_desc TEXT)");
    // cat_total, cat_scores (questions answered correctly) and Cat_correct
    // (the percentage) take positions 2, 3 and 4.
    ddl << QStringLiteral("CREATE TABLE cat_scores (entry INTEGER PRIMARY KEY, catid INTEGER, "
                          "cat_total INTEGER, cat_scores INTEGER, Cat_correct INTEGER)");
    ddl << QStringLiteral("CREATE TABLE \"Test Information\" (test_name TEXT, "
                          "number_of_questions TEXT, test_disclaimer TEXT, test_description TEXT, "
                          "copyright_date TEXT, author_name TEXT)");
    return ddl;
}

} // namespace data
