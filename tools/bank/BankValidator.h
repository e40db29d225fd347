#pragma once

#include "BankModel.h"

#include <QString>
#include <QStringList>

namespace bank {

// What a bank is held to. The shipped banks also follow the house rules for
// writing questions (explanations of two to four sentences); a bank imported
// from someone's own files only has to make a usable database.
enum class Standard { Shipped, Imported };

// Every problem that keeps `edition` from making a usable question database,
// one line each: "FILE: question ID: PROBLEM" or "FILE: PROBLEM". Exhibit
// files are looked up in `exhibitsDir`. Empty when the bank is sound.
QStringList validate(const Edition& edition, const QString& exhibitsDir,
                     Standard standard = Standard::Shipped);

} // namespace bank
