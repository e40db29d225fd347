#pragma once

#include "BankModel.h"

#include <QString>
#include <QStringList>

namespace bank {

// Every problem that keeps `edition` from making a usable question database,
// one line each: "FILE: question ID: PROBLEM" or "FILE: PROBLEM". Exhibit
// files are looked up in `exhibitsDir`. Empty when the bank is sound.
QStringList validate(const Edition& edition, const QString& exhibitsDir);

} // namespace bank
