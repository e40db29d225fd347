#pragma once

#include <QStringList>
#include <QTextStream>

namespace bank {

// Exit statuses of `bankbuild import`, which scripts rely on.
enum ImportStatus { ImportWritten = 0, ImportRefused = 1, ImportUsageError = 2 };

// `bankbuild import --edition full|demo --out FILE [--format gift|aiken|moodlexml]
// [--exams 1,2,3] [--title TEXT] [--force] INPUT...`; `arguments` are those after
// "import". Skipped questions and problems go to `err`, one line each; the
// summary of a written bank to `out`. Returns an ImportStatus.
int runImport(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace bank
