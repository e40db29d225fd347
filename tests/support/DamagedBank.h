#pragma once

#include "TempBank.h"

#include <QString>
#include <QStringList>

// Question banks damaged the way a careless or hostile hand leaves them, for
// the tests of what the program makes of a bank before it uses it. A bank is
// written as the shipped ones are, then changed with plain SQL (or plain
// bytes) in one named way. The damage falls on exam 1's tables.
class DamagedBank {
public:
    // Every damage by its name: "duplicate ID", "key table missing", ...
    static QStringList damages();
    // Damages the bank at `path` in the named way; throws on a name not in damages().
    static void damage(const QString& path, const QString& name);

    // A full-edition bank, exam 1 of 83 questions in three categories,
    // written into a temporary folder and damaged in the named way.
    explicit DamagedBank(const QString& name);
    QString path() const { return m_path; }

private:
    TempBank m_bank;
    QString m_path;
};
