#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Small SQLite files for the data layer's tests, and a direct look at what is
// stored, past the code under test.
namespace sqlfixture {

// Creates `path` and runs the statements in it.
void create(const QString& path, const QStringList& statements);
// The first column of the first row of `sql`, or a null QVariant.
QVariant scalar(const QString& path, const QString& sql);
// Every row of `sql`, each joined with "|"; Null reads "NULL".
QStringList rows(const QString& path, const QString& sql);
void exec(const QString& path, const QString& sql);

} // namespace sqlfixture
