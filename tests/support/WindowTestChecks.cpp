#include "WindowTestChecks.h"

#include "ExamFixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace windowchecks {

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> shown = QApplication::topLevelWidgets();
    shown.removeIf([](QWidget* w) { return !w->isVisible(); });
    return shown;
}

QStringList visibleWindowNames()
{
    QStringList names;
    for (QWidget* w : visibleWindows())
        names << w->objectName();
    names.sort();
    return names;
}

void verifyCleanEnd(const QStringList& unscripted)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QStringList open = visibleWindowNames();
    QVERIFY2(open.isEmpty(), qPrintable(open.join(u' ') + QStringLiteral(" still open")));
    QVERIFY2(unscripted.isEmpty(), qPrintable(unscripted.join(u'\n')));
}

void endFixture(std::unique_ptr<ExamFixture>& fixture)
{
    const QStringList unscripted =
        fixture ? fixture->prompter().unexpected() + fixture->prompter().unused() : QStringList();
    fixture.reset();
    verifyCleanEnd(unscripted);
}

} // namespace windowchecks
