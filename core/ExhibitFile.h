#pragma once

#include <QString>
#include <optional>

namespace data {
class Recordset;
}

namespace core {

// What the question the cursor is on names as its exhibit (its diagram1), or
// nothing when it names none or the cursor is on no question.
QString questionDiagram(const data::Recordset& questions);

// The picture file a question's diagram1 names, when it may be read.
//
// A bank is a file from anyone, so nothing in it may choose which file
// outside its exhibits folder the program reads: diagram1 is a path relative
// to the bank's folder ("exhibits/net@2x.png", written with / or \) that
// must lead, once "." is taken out and every symbolic link followed, to a
// file in the folder "exhibits" beside the database. An absolute path, a
// drive ("C:\..."), a share ("\\host\share"), any ".." and a link that
// points out of the folder are refused before any file outside the folder
// is looked at: links are read one by one, never followed blindly.
//
// Returns the absolute path of the file inside the exhibits folder (which
// need not exist: a missing picture is reported as missing), or nothing
// when diagram1 is empty or leads elsewhere.
std::optional<QString> exhibitFile(const QString& diagram, const QString& databaseFile);

} // namespace core
