#pragma once

#include "ImportedQuestion.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace bank {

enum class ImportFormat { Gift, Aiken, MoodleXml };

// "gift", "aiken", "moodlexml" as --format names them.
std::optional<ImportFormat> importFormatNamed(QStringView name);
QString importFormatName(ImportFormat format);

// The format a file's contents are written in, or nothing when they fit
// none: XML markup is Moodle XML; choice lines ("A. ", "B) ") with an
// "ANSWER:" line are Aiken; answers in braces, "::" names or "$CATEGORY:"
// lines are GIFT.
std::optional<ImportFormat> detectImportFormat(const QByteArray& contents);

// Every question of the file at `path`, in order. Throws BankError naming
// the file and line when the file cannot be read or is malformed, and when
// its format cannot be told (with `format` unset).
QList<ImportedQuestion> readQuestionFile(const QString& path,
                                         std::optional<ImportFormat> format = std::nullopt);

// The readers of each format; `file` names the source in questions and messages.
QList<ImportedQuestion> readGift(const QString& file, QStringView text);
QList<ImportedQuestion> readAiken(const QString& file, QStringView text);
QList<ImportedQuestion> readMoodleXml(const QString& file, const QByteArray& contents);

// ---- shared by the readers

// The category a path such as "$course$/top/Networking/Routing" names: its
// last element, trimmed ("Routing"). Moodle writes a "/" inside a name as "//".
QString categoryFromPath(QStringView path);
// The category of questions a file puts in none: its base name.
QString fileCategory(const QString& path);
// A picture a text names that only a "data:" URL can hold in a text format.
ImportedPicture pictureFromReference(const QString& reference);
// "file:line: problem", as a BankError.
[[noreturn]] void refuseFile(const QString& file, qint64 line, const QString& problem);

} // namespace bank
