#pragma once

#include <QString>

// Question banks damaged the way a careless or hostile hand leaves them, for
// the tests of what the program makes of a bank before it uses it. A bank
// written as the shipped ones are is changed with plain SQL (or plain bytes)
// in one named way. The damage falls on exam 1's tables.
class DamagedBank {
public:
    // Damages the bank at `path` in the named way ("duplicate ID", "key
    // table missing", ...); throws on a name it does not know.
    static void damage(const QString& path, const QString& name);
};
