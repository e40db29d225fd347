#pragma once

#include <QList>
#include <QString>

namespace core {

// The longest text a bank may hold in any one field, in characters: some four
// printed pages, far beyond any question, answer or explanation, and short
// enough for a window to lay it out at once (a single paragraph of a million
// characters takes Qt seconds to minutes). The check refuses longer texts;
// should one turn up all the same (the file changed under a running window),
// the windows show its beginning only.
inline constexpr int longestBankText = 10000;

// What a bank is checked for. An exam uses the exam's questions and answer
// key, the draw, the shown answer, the categories, the scores and the test
// information, through to the wrong-answer review; the Review menu's review
// reads the exam's answer key only.
enum class BankUse { Exam, Review };

struct BankProblem {
    QString text;   // in the candidate's words: "exam1: question ID 1 appears twice"
    QString detail; // what SQLite said, for standard error and a box's details; may be empty
};

struct BankVerdict {
    QString file; // the database, as an absolute path
    // Why the file is no question bank at all ("it has none of the tables a
    // bank needs"); empty when it is one. Nothing else is checked then.
    QString notABank;
    QString notABankDetail;
    QList<BankProblem> problems; // in the order found
    bool usable() const { return notABank.isEmpty() && problems.isEmpty(); }
};

// Checks everything in the question database `databaseFile` that a run of
// `use` on exam `exam` will rely on, before the run changes anything: the
// tables and columns it reads and writes, the file's integrity, the working
// table and the answer key pairing by question ID, every key marking one to
// five correct answers, each on an answer that has a text (exactly one for a
// single-answer question), categories that `cat` lists, Yes/No columns
// holding numbers, and texts no longer than longestBankText. Reads only: the
// file is left as it was, byte for byte. Each call reads the file afresh.
// Throws data::DataError when the file is missing or cannot be opened.
BankVerdict checkBank(const QString& databaseFile, int exam, BankUse use);

} // namespace core
