// The window layer every window stands on: window life, option groups,
// timers, End, and the one way to prompt.

#include "ScriptedPrompter.h"
#include "WindowTestChecks.h"
#include "gui/toolkit/OptionGroup.h"
#include "gui/toolkit/Program.h"
#include "gui/toolkit/RepeatingTimer.h"
#include "gui/toolkit/Window.h"

#include <QApplication>
#include <QDirIterator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A window that counts its events and keeps a window-level variable.
class ProbeWindow : public gui::Window {
public:
    explicit ProbeWindow(gui::Program& program) : Window(program) { ++created; }
    ~ProbeWindow() override { ++destroyed; }

    void go()
    {
        if (onGo)
            onGo();
        keptAfterClick = kept; // the handler goes on after what it called
    }

    int initializes = 0, loads = 0, activates = 0, unloads = 0, ticks = 0;
    int kept = 0, keptAfterClick = -1;
    bool previewKeys = false;
    QList<int> keys;
    std::function<void()> onGo, onKey;
    QPointer<QPushButton> cmdGo;
    QPointer<QLineEdit> text1;
    static inline int created = 0, destroyed = 0;

protected:
    void onInitialize() override
    {
        ++initializes;
        setKeyPreview(previewKeys);
    }
    void onLoad() override { ++loads; }
    void onActivate() override { ++activates; }
    void onUnload() override { ++unloads; }
    void onKeyPress(QKeyEvent& event) override
    {
        keys << event.key();
        if (onKey)
            onKey();
    }
    QWidget* createWidget() override
    {
        auto* window = new QWidget;
        auto* layout = new QVBoxLayout(window);
        layout->addWidget(cmdGo = new QPushButton(u"&Go"_s, window));
        layout->addWidget(text1 = new QLineEdit(window));
        QObject::connect(cmdGo, &QPushButton::clicked, window, [this] { go(); });
        (new gui::RepeatingTimer(window, [this] { ++ticks; }))->setInterval(2);
        return window;
    }
};

// A second window class, with key preview on.
class OtherWindow final : public ProbeWindow {
public:
    explicit OtherWindow(gui::Program& program) : ProbeWindow(program) { previewKeys = true; }
};

using windowchecks::visibleWindows;

} // namespace

class TestWindowLayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void windowLifeKeepsTheInstanceUntilDiscarded();
    void activateRunsOnEachActivation();
    void discardOrUnloadFromTheFormsOwnHandler();
    void keyPreviewSeesEachKeyOnce();
    void optionGroupActsAsOneChoice();
    void timerTicksWhenEnabledAlsoHiddenUntilUnload();
    void ticksDueWhileABoxIsOpenRunAfterIt();
    void endUnloadsEveryWindowOnce();
    void noOtherCodeShowsDialogsOfItsOwn();

private:
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<gui::Program> m_program;
};

void TestWindowLayer::init()
{
    ProbeWindow::created = ProbeWindow::destroyed = 0;
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_program = std::make_unique<gui::Program>(core::fullEdition(), *m_prompter);
}

void TestWindowLayer::cleanup()
{
    const QStringList unexpected = m_prompter->unexpected();
    m_program.reset();
    windowchecks::verifyCleanEnd(unexpected);
}

void TestWindowLayer::windowLifeKeepsTheInstanceUntilDiscarded()
{
    ProbeWindow& form = m_program->window<ProbeWindow>();
    QVERIFY(form.initializes == 1 && !form.isLoaded()); // created, not loaded
    form.show();
    form.show();
    QCOMPARE(&m_program->window<ProbeWindow>(), &form);
    QCOMPARE(form.loads, 1);
    QVERIFY(form.isVisible() && form.widget()->isWindow() && !form.widget()->isModal());

    // Hide keeps the controls
    QPointer<QWidget> window = form.widget();
    form.hide();
    QVERIFY(form.isLoaded() && !form.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form.show();
    QCOMPARE(form.widget(), window.data());

    // Unload, once, destroys the controls and keeps the window-level variables
    form.kept = 42;
    form.unload();
    form.unload();
    QVERIFY(form.unloads == 1 && !form.isLoaded());
    QTRY_VERIFY(window.isNull());
    form.load(); // loads without showing
    QVERIFY(form.loads == 2 && !form.isVisible());
    window = form.widget();
    window->close(); // closing the frame unloads the same way
    QVERIFY(!form.isLoaded());
    QTRY_VERIFY(window.isNull());
    QCOMPARE(form.kept, 42);
    QCOMPARE(form.initializes, 1);

    // discarded: the next use is a new instance; other windows stay
    OtherWindow& other = m_program->window<OtherWindow>();
    other.show();
    form.show();
    m_program->windows().discard<ProbeWindow>();
    QVERIFY(!m_program->windows().existing<ProbeWindow>());
    QCOMPARE(visibleWindows(), QList<QWidget*>{other.widget()});
    QTRY_COMPARE(ProbeWindow::destroyed, 1);
    ProbeWindow& second = m_program->window<ProbeWindow>();
    QCOMPARE(ProbeWindow::created, 3);
    QVERIFY(second.initializes == 1 && second.loads == 0 && second.kept == 0);
}

void TestWindowLayer::activateRunsOnEachActivation()
{
    ProbeWindow& form = m_program->window<ProbeWindow>();
    form.show();
    QCOMPARE(form.activates, 1); // done when Show returns
    QTest::qWait(10);
    form.show(); // already active
    form.hide();
    form.show();
    QCOMPARE(form.activates, 2);

    // another window becomes active, then this one again
    OtherWindow& other = m_program->window<OtherWindow>();
    other.show();
    QTRY_COMPARE(QApplication::activeWindow(), other.widget());
    form.show();
    QTRY_COMPARE(QApplication::activeWindow(), form.widget());
    QCOMPARE(form.activates, 3); // the window system's own event adds none
    QCOMPARE(other.activates, 1);
}

// The handler belongs to the window it discards or unloads.
void TestWindowLayer::discardOrUnloadFromTheFormsOwnHandler()
{
    ProbeWindow& form = m_program->window<ProbeWindow>();
    form.show();
    form.onGo = [this] { m_program->windows().discard<ProbeWindow>(); };
    QTest::mouseClick(form.cmdGo, Qt::LeftButton);
    QCOMPARE(ProbeWindow::destroyed, 0); // still alive when the click returns
    QTRY_COMPARE(ProbeWindow::destroyed, 1);

    ProbeWindow& again = m_program->window<ProbeWindow>();
    QCOMPARE(again.initializes, 1);
    again.show();
    again.kept = 3;
    again.onGo = [&again] { again.unload(); };
    QTest::mouseClick(again.cmdGo, Qt::LeftButton);
    QCOMPARE(again.keptAfterClick, 3);
    QTRY_VERIFY(!again.cmdGo);
}

void TestWindowLayer::keyPreviewSeesEachKeyOnce()
{
    OtherWindow& form = m_program->window<OtherWindow>();
    form.show();
    QTest::keyClick(form.text1, Qt::Key_A);  // a key the control uses
    QTest::keyClick(form.cmdGo, Qt::Key_F7); // one that travels on to the window
    QCOMPARE(form.keys, (QList<int>{Qt::Key_A, Qt::Key_F7}));
    QCOMPARE(form.text1->text(), u"a"_s);

    form.onKey = [&form] { form.unload(); }; // a key that closes the window goes no further
    QTest::keyClick(form.text1, Qt::Key_B);
    QVERIFY(form.keys.size() == 3 && !form.isLoaded());

    ProbeWindow& plain = m_program->window<ProbeWindow>(); // without preview
    plain.show();
    QTest::keyClick(plain.text1, Qt::Key_A);
    QVERIFY(plain.keys.isEmpty());
}

void TestWindowLayer::optionGroupActsAsOneChoice()
{
    QWidget window;
    gui::OptionGroup group(&window);
    QList<QRadioButton*> options;
    QList<int> clicks(3, 0);
    for (int i = 0; i < 3; ++i) {
        options << new QRadioButton(u"Option %1"_s.arg(i), &window);
        options[i]->move(0, 30 * i);
        group.add(options[i], [&clicks, i] { ++clicks[i]; });
    }
    auto values = [&] { return QList<bool>{group.value(0), group.value(1), group.value(2)}; };

    // from code, as VB does: true clears the others and runs Click; false runs nothing
    group.setValue(1, true);
    group.setValue(2, true);
    QCOMPARE(values(), (QList<bool>{false, false, true}));
    group.setValue(2, false);
    QCOMPARE(values(), (QList<bool>{false, false, false}));
    QCOMPARE(clicks, (QList<int>{0, 1, 1}));

    // by the candidate: the chosen one stays chosen when clicked again
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(options[0], Qt::LeftButton);
    QTest::mouseClick(options[0], Qt::LeftButton);
    QCOMPARE(values(), (QList<bool>{true, false, false}));
    QCOMPARE(clicks, (QList<int>{2, 1, 1}));

    // assistive technology and the keyboard choose as a click does: see the exam's
    // accessibility tests. A button set directly, past the group, runs its Click too.
    options[1]->setChecked(true);
    QCOMPARE(values(), (QList<bool>{false, true, false}));
    QCOMPARE(clicks, (QList<int>{2, 2, 1}));
    group.setValue(1, false); // nothing chosen is still possible
    QCOMPARE(values(), (QList<bool>{false, false, false}));
}

void TestWindowLayer::timerTicksWhenEnabledAlsoHiddenUntilUnload()
{
    gui::RepeatingTimer timer(nullptr, [] {});
    QVERIFY(timer.isEnabled() && !timer.isRunning()); // no interval, no ticks
    timer.setInterval(2);
    QVERIFY(timer.isRunning());

    // a window's timer goes on while it is hidden, and stops when it unloads
    ProbeWindow& form = m_program->window<ProbeWindow>();
    form.show();
    form.hide();
    QTRY_VERIFY(form.ticks >= 3);
    form.unload();
    const int atUnload = form.ticks;
    QTest::qWait(20);
    QCOMPARE(form.ticks, atUnload);
}

void TestWindowLayer::ticksDueWhileABoxIsOpenRunAfterIt()
{
    QList<int> boxesOpenAtTick;
    gui::RepeatingTimer timer(nullptr, [&] { boxesOpenAtTick << m_prompter->boxesOpen(); });
    timer.setInterval(60 * 60 * 1000); // comes due only when the test says so
    timer.intervalElapsed();
    QCOMPARE(boxesOpenAtTick, QList<int>{0});

    // two intervals pass under a message box, one more under a box it leads to
    m_prompter->expect(u"Outer"_s, core::Prompter::Ok);
    m_prompter->expect(u"Inner"_s, core::Prompter::Ok);
    m_prompter->whileNextBoxIsOpen([&] {
        timer.intervalElapsed();
        timer.intervalElapsed();
        m_prompter->whileNextBoxIsOpen([&] { timer.intervalElapsed(); });
        m_program->msgBox(u"Inner"_s);
        QCoreApplication::sendPostedEvents();
    });
    m_program->msgBox(u"Outer"_s);
    // the handler that asked goes on to its end first
    QCOMPARE(boxesOpenAtTick.size(), 1);
    QCOMPARE(timer.heldTicks(), 3);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(boxesOpenAtTick, (QList<int>{0, 0, 0, 0}));
    QCOMPARE(m_prompter->shown().last().boxesOpen, 1); // the inner box was nested, the ticks not

    // an input box holds them too; a timer stopped meanwhile drops them
    m_prompter->expectInput(u"Name?"_s, u"Ada"_s);
    m_prompter->whileNextBoxIsOpen([&] {
        timer.intervalElapsed();
        timer.setEnabled(false);
        timer.intervalElapsed();
    });
    QCOMPARE(m_program->inputBox(u"Name?"_s, QString(), QString()), u"Ada"_s);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(boxesOpenAtTick.size(), 4);

    // a timer gone before its held ticks run is simply gone
    auto passing = std::make_unique<gui::RepeatingTimer>(nullptr, [&] { boxesOpenAtTick << -1; });
    passing->setInterval(60 * 60 * 1000);
    m_prompter->expect(u"Again"_s, core::Prompter::Ok);
    m_prompter->whileNextBoxIsOpen([&] { passing->intervalElapsed(); });
    m_program->msgBox(u"Again"_s);
    passing.reset();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(boxesOpenAtTick.size(), 4);
}

void TestWindowLayer::endUnloadsEveryWindowOnce()
{
    int ends = 0;
    m_program->setEndHandler([&ends] { ++ends; });
    ProbeWindow& shown = m_program->window<ProbeWindow>();
    OtherWindow& hidden = m_program->window<OtherWindow>();
    shown.show();
    hidden.show();
    hidden.hide();
    m_program->end();
    m_program->end();
    QVERIFY(m_program->hasEnded() && ends == 1);
    QCOMPARE(shown.unloads + hidden.unloads, 2);
    QVERIFY(!shown.isLoaded() && !hidden.isLoaded());
}

void TestWindowLayer::noOtherCodeShowsDialogsOfItsOwn()
{
    const QDir root(QStringLiteral(QUIZMOOR_SOURCE_DIR));
    QStringList offenders;
    int scanned = 0;
    for (const char* folder : {"data", "core", "gui", "programs", "tools"}) {
        QDirIterator it(root.filePath(QLatin1StringView(folder)), {u"*.cpp"_s, u"*.h"_s},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = root.relativeFilePath(it.next());
            QFile source(root.filePath(file));
            QVERIFY(source.open(QIODevice::ReadOnly));
            const QByteArray text = source.readAll();
            ++scanned;
            if (file != u"gui/toolkit/QtPrompter.cpp"_s &&
                (text.contains("QMessageBox") || text.contains("QInputDialog")))
                offenders << file;
        }
    }
    QVERIFY(scanned > 20);
    QVERIFY2(offenders.isEmpty(),
             qPrintable(u"dialogs shown past the prompter in: "_s + offenders.join(u", "_s)));
}

QTEST_MAIN(TestWindowLayer)
#include "tst_windowlayer.moc"
