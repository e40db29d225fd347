#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A question as an import file states it, before it is checked against what
// a question bank can hold. The readers of GIFT, Aiken and Moodle XML files
// fill these in; importBank() decides which become bank questions.
namespace bank {

// A picture the question's text shows. `bytes` holds it when the file
// embeds it; otherwise `problem` says why it could not be had.
struct ImportedPicture {
    QString reference; // as the text names it
    QByteArray bytes;
    QString problem;
};

struct ImportedChoice {
    QString text;      // plain text
    double weight = 0; // percent of the mark the choice earns; negative for a penalty
    QString feedback;  // plain text, or empty
    bool showsPicture = false;
};

struct ImportedQuestion {
    QString file;
    int line = 0;
    QString name;     // the question's own name where the format has one
    QString category; // the last element of its category path, or the file's base name

    // What the question is when it is no choice question at all
    // ("essay question"), or empty.
    QString unsupported;
    // Why it cannot be imported as written, found while reading it, or empty.
    QString problem;
    bool trueFalse = false;
    // The file lets the candidate pick one choice only (GIFT "=", Moodle
    // <single>true</single>); otherwise every choice of positive weight is right.
    bool singleChoice = true;

    QString text; // plain text
    QList<ImportedChoice> choices;
    QString generalFeedback;
    QList<ImportedPicture> pictures;
};

} // namespace bank
