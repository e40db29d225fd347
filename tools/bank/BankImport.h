#pragma once

#include "BankModel.h"
#include "ImportTarget.h"
#include "ImportedQuestion.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace bank {

struct ImportOptions {
    QList<int> exams;      // the exams that get the questions
    QString title;         // the test's name
    QString exhibitPrefix; // exhibit file names start with it
    QStringList inputs;    // the files read, for the test's description
};

struct ImportedBank {
    // Every exam in options.exams holding every usable question, IDs 1, 2, ...
    Edition edition;
    // One line per question left out: "file:line: skipped: reason".
    QStringList skipped;
    // Exhibit file name -> picture, for the exhibits folder.
    QMap<QString, QByteArray> exhibits;
    // Why no bank can be written from these questions; empty when one can.
    QStringList refusals;
};

// Turns what the files say into a bank for `target`. Multiple choice with one
// right choice becomes single_answer; with several (by weight, where the file
// allows several) multiple_answer, whose text gets "(Choose two.)" unless it
// says how many; true/false becomes single_answer with the choices True and
// False. Anything else is skipped with its reason, never guessed at:
// other question types, too many or too few choices, no right choice, a
// single-choice question with several fully right choices, a picture that
// cannot be had or a second one, a picture in a choice. The explanation is
// the general feedback followed by each choice's feedback ("choice:
// feedback"); without any, a line naming the right choices.
ImportedBank importBank(const QList<ImportedQuestion>& questions, const ImportTarget& target,
                        const ImportOptions& options);

} // namespace bank
