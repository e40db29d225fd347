#pragma once

#include <QList>
#include <QStringList>
#include <memory>

class ExamFixture;
class QWidget;

// What every window test checks when it ends.
namespace windowchecks {

// The program's windows on screen now; their names, sorted.
QList<QWidget*> visibleWindows();
QStringList visibleWindowNames();

// Once the program under test has gone: its windows' deferred deletes run,
// then no window may be left open and `unscripted` (the boxes shown without
// a script, the scripted answers never used) must be empty.
void verifyCleanEnd(const QStringList& unscripted);
// The same for a fixture's program, which it ends.
void endFixture(std::unique_ptr<ExamFixture>& fixture);

} // namespace windowchecks
