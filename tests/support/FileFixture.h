#pragma once

#include <QByteArray>
#include <QString>

// Files written and read back past the code under test.
namespace filefixture {

// The bytes of the file, or "(missing)" when it cannot be read, so that a
// missing file never passes for an empty one.
QByteArray contents(const QString& path);
// Writes `bytes` as the whole file, making its folder first; a test fails
// when that cannot be done.
void write(const QString& path, const QByteArray& bytes);

} // namespace filefixture
