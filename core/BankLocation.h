#pragma once

#include <QString>
#include <optional>

namespace core {

// The folders a program looks in for its question database, in the order
// it looks. The database and the exhibits it names (exhibits/...) always
// lie together in one folder.
struct BankFolders {
    QString current; // where the program was started: a developer's or a user's own bank
    QString program; // beside the program: the build folder
    QString user;    // the user's own copy, made from the installed bank on first use
    QString shipped; // the banks installed with the program, read-only; may not exist
};

enum class BankPlace { CurrentFolder, ProgramFolder, UserCopy, NotFound };

struct BankLocation {
    BankPlace place = BankPlace::NotFound;
    QString folder; // empty when not found
};

// Looks for `databaseFile` in the current folder, beside the program, then in
// the user's folder, and changes nothing.
BankLocation locateBank(const QString& databaseFile, const BankFolders& folders);

// What a failed copy went wrong on: the file, and the system's words.
struct CopyFailure {
    QString file;
    QString reason;
};

// Copies `databaseFile` and the exhibits/ folder beside it from `from` into
// `to`, creating `to` as needed. Each file is written under a temporary name
// and renamed into place once it is whole, the database last, so that a
// database in `to` always comes with its exhibits. An existing database in
// `to` is kept unless `replace` is set; then it is swapped for the new one in
// a single rename. On failure every file this call created is removed again
// (a replaced database stays as it was) and the failure is returned.
std::optional<CopyFailure> copyBank(const QString& databaseFile, const QString& from,
                                    const QString& to, bool replace = false);

// Why the database at `path` cannot be written, or "" when it can. Saving
// needs the file and its folder (for the journal written beside it). A file
// or folder whose permissions grant no one write access counts as read-only
// even for a user, such as root, whom the system would let write it anyway.
QString bankWriteProblem(const QString& path);

} // namespace core
