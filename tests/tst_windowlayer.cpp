// The window layer every window stands on: window life, option groups,
// timers, message boxes, End, pictures, and the one way to prompt.

#include "Controls.h"
#include "DataError.h"
#include "Form.h"
#include "Pictures.h"
#include "Program.h"
#include "ScriptedPrompter.h"

#include <QApplication>
#include <QDirIterator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A window that counts its events and keeps a window-level variable.
class ProbeForm : public app::Form {
public:
    explicit ProbeForm(app::Program& program) : Form(program) { ++created; }
    ~ProbeForm() override { ++destroyed; }

    void cmdGo_Click()
    {
        if (onGo)
            onGo();
        keptAfterClick = kept; // the handler goes on after what it called
    }

    int initializes = 0, loads = 0, activates = 0, unloads = 0, ticks = 0;
    int kept = 0, keptAfterClick = -1;
    int timerInterval = 0; // >0: the window has a timer with this interval
    bool previewKeys = false;
    QList<int> keys;
    std::function<void()> onGo;
    std::function<void()> onKey;
    QPointer<QPushButton> cmdGo;
    QPointer<QLineEdit> text1;
    static inline int created = 0, destroyed = 0;

protected:
    void Form_Initialize() override { ++initializes; setKeyPreview(previewKeys); }
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activates; }
    void Form_Unload() override { ++unloads; }
    void Form_KeyPress(QKeyEvent& event) override
    {
        keys << event.key();
        if (onKey)
            onKey();
    }
    QWidget* createWindow() override
    {
        auto* window = new QWidget;
        auto* layout = new QVBoxLayout(window);
        layout->addWidget(cmdGo = new QPushButton(u"&Go"_s, window));
        layout->addWidget(text1 = new QLineEdit(window));
        QObject::connect(cmdGo, &QPushButton::clicked, window, [this] { cmdGo_Click(); });
        if (timerInterval > 0)
            (new app::VbTimer(window, [this] { ++ticks; }))->setInterval(timerInterval);
        return window;
    }
};

class OtherForm final : public ProbeForm {
    using ProbeForm::ProbeForm;
};

class PreviewForm final : public ProbeForm {
public:
    explicit PreviewForm(app::Program& program) : ProbeForm(program) { previewKeys = true; }
};

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> shown = QApplication::topLevelWidgets();
    shown.removeIf([](QWidget* w) { return !w->isVisible(); });
    return shown;
}

} // namespace

class TestWindowLayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void initializeOnceLoadOnEachLoadHideKeepsLoaded();
    void activateRunsOnEachActivation();
    void unloadDestroysControlsButKeepsTheInstance();
    void discardMakesTheNextUseANewInstance();
    void discardOrUnloadFromTheFormsOwnHandler();
    void keyPreviewSeesEachKeyOnce();

    void optionGroupActsAsOneChoice();
    void timerTicksWhenEnabledAlsoHiddenUntilUnload();

    void msgBoxWithoutTitleShowsTheApplicationTitle();
    void endUnloadsEveryWindowOnce();
    void loadPicture();
    void noOtherCodeShowsDialogsOfItsOwn();

private:
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<app::Program> m_program;
};

void TestWindowLayer::init()
{
    ProbeForm::created = ProbeForm::destroyed = 0;
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_program = std::make_unique<app::Program>(app::fullEdition(), *m_prompter);
}

void TestWindowLayer::cleanup()
{
    const QStringList unexpected = m_prompter->unexpected();
    m_program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u'\n')));
}

void TestWindowLayer::initializeOnceLoadOnEachLoadHideKeepsLoaded()
{
    ProbeForm& form = m_program->form<ProbeForm>();
    QCOMPARE(form.initializes, 1);
    QVERIFY(!form.isLoaded()); // created, not loaded

    form.Show();
    form.Show();
    QCOMPARE(&m_program->form<ProbeForm>(), &form);
    QCOMPARE(form.loads, 1);
    QVERIFY(form.isVisible() && form.window()->isWindow() && !form.window()->isModal());

    QPointer<QWidget> window = form.window();
    form.text1->setText(u"typed"_s);
    form.Hide();
    QVERIFY(form.isLoaded() && !form.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form.Show();
    QCOMPARE(form.window(), window.data());
    QCOMPARE(form.text1->text(), u"typed"_s);
    QCOMPARE(form.loads, 1);
    QCOMPARE(form.unloads, 0);

    form.Unload();
    form.Load(); // loads without showing
    QCOMPARE(form.loads, 2);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.initializes, 1);
    QCOMPARE(ProbeForm::created, 1);
}

void TestWindowLayer::activateRunsOnEachActivation()
{
    ProbeForm& form = m_program->form<ProbeForm>();
    form.Show();
    QCOMPARE(form.activates, 1); // done when Show returns
    QTest::qWait(10);
    form.Show(); // already active
    QCOMPARE(form.activates, 1);
    form.Hide();
    form.Show();
    QCOMPARE(form.activates, 2);

    // another window becomes active, then this one again
    OtherForm& other = m_program->form<OtherForm>();
    other.Show();
    QTRY_COMPARE(QApplication::activeWindow(), other.window());
    form.Show();
    QCOMPARE(form.activates, 3);
    QTRY_COMPARE(QApplication::activeWindow(), form.window());
    QCOMPARE(form.activates, 3); // the window system's own event adds none
    QCOMPARE(other.activates, 1);
}

void TestWindowLayer::unloadDestroysControlsButKeepsTheInstance()
{
    ProbeForm& form = m_program->form<ProbeForm>();
    form.Show();
    form.kept = 42;
    form.text1->setText(u"typed"_s);
    QPointer<QWidget> window = form.window();
    form.Unload();
    form.Unload(); // once is enough
    QCOMPARE(form.unloads, 1);
    QVERIFY(!form.isLoaded() && !form.window());
    QTRY_VERIFY(window.isNull());
    QVERIFY(form.text1.isNull());

    form.Show();
    QCOMPARE(form.loads, 2);
    QCOMPARE(form.initializes, 1);
    QCOMPARE(form.kept, 42);
    QVERIFY(form.text1->text().isEmpty()); // fresh controls

    // closing the frame unloads the same way
    window = form.window();
    window->close();
    QVERIFY(!form.isLoaded());
    QTRY_VERIFY(window.isNull());
    QCOMPARE(form.kept, 42);
}

void TestWindowLayer::discardMakesTheNextUseANewInstance()
{
    ProbeForm& first = m_program->form<ProbeForm>();
    OtherForm& other = m_program->form<OtherForm>();
    first.Show();
    other.Show();
    first.kept = 5;
    m_program->forms().discard<ProbeForm>();
    QVERIFY(!m_program->forms().existing<ProbeForm>());
    QCOMPARE(visibleWindows(), QList<QWidget*>{other.window()}); // other windows stay

    ProbeForm& second = m_program->form<ProbeForm>();
    QCOMPARE(ProbeForm::created, 3);
    QCOMPARE(second.initializes, 1);
    QCOMPARE(second.kept, 0);
    QCOMPARE(second.loads, 0);
    QTRY_COMPARE(ProbeForm::destroyed, 1);
}

void TestWindowLayer::discardOrUnloadFromTheFormsOwnHandler()
{
    ProbeForm& form = m_program->form<ProbeForm>();
    form.Show();
    int destroyedInHandler = -1;
    form.onGo = [&] {
        m_program->forms().discard<ProbeForm>();
        destroyedInHandler = ProbeForm::destroyed;
    };
    QTest::mouseClick(form.cmdGo, Qt::LeftButton);
    QCOMPARE(destroyedInHandler, 0);
    QCOMPARE(ProbeForm::destroyed, 0); // still alive when the click returns
    QTRY_COMPARE(ProbeForm::destroyed, 1);
    QCOMPARE(m_program->form<ProbeForm>().initializes, 1);

    ProbeForm& again = m_program->form<ProbeForm>();
    again.Show();
    again.kept = 3;
    again.onGo = [&again] { again.Unload(); };
    QTest::mouseClick(again.cmdGo, Qt::LeftButton);
    QCOMPARE(again.keptAfterClick, 3);
    QTRY_VERIFY(!again.cmdGo);
}

void TestWindowLayer::keyPreviewSeesEachKeyOnce()
{
    PreviewForm& form = m_program->form<PreviewForm>();
    form.Show();
    QTest::keyClick(form.text1, Qt::Key_A); // a key the control uses
    QTest::keyClick(form.cmdGo, Qt::Key_F7); // one that travels on to the window
    QCOMPARE(form.keys, (QList<int>{Qt::Key_A, Qt::Key_F7}));
    QCOMPARE(form.text1->text(), u"a"_s);

    form.onKey = [&form] { form.Unload(); }; // a key that closes the window goes no further
    QTest::keyClick(form.text1, Qt::Key_B);
    QCOMPARE(form.keys.size(), 3);
    QVERIFY(!form.isLoaded());

    ProbeForm& plain = m_program->form<ProbeForm>();
    plain.Show();
    QTest::keyClick(plain.text1, Qt::Key_A);
    QVERIFY(plain.keys.isEmpty());
}

void TestWindowLayer::optionGroupActsAsOneChoice()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    app::OptionGroup group(&window);
    QList<QRadioButton*> options;
    QList<int> clicks(3, 0);
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(options.emplace_back(new QRadioButton(u"Option"_s, &window)));
        group.add(options.last(), [&clicks, i] { ++clicks[i]; });
    }
    auto values = [&] { return QList<bool>{group.value(0), group.value(1), group.value(2)}; };

    // from code, as VB does: true clears the others and runs Click
    group.setValue(1, true);
    group.setValue(2, true);
    QCOMPARE(values(), (QList<bool>{false, false, true}));
    QCOMPARE(clicks, (QList<int>{0, 1, 1}));
    group.setValue(2, false); // no click
    QCOMPARE(values(), (QList<bool>{false, false, false}));
    QCOMPARE(clicks, (QList<int>{0, 1, 1}));

    // by the candidate
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    group.setValue(2, true);
    QTest::mouseClick(options[0], Qt::LeftButton);
    QCOMPARE(values(), (QList<bool>{true, false, false}));
    QTest::mouseClick(options[0], Qt::LeftButton); // the chosen one stays chosen
    QCOMPARE(values(), (QList<bool>{true, false, false}));
    QTest::keyClick(options[1], Qt::Key_Space);
    QCOMPARE(values(), (QList<bool>{false, true, false}));
    QCOMPARE(clicks, (QList<int>{2, 2, 2}));
}

void TestWindowLayer::timerTicksWhenEnabledAlsoHiddenUntilUnload()
{
    QWidget window;
    int ticks = 0;
    app::VbTimer timer(&window, [&ticks] { ++ticks; });
    QVERIFY(timer.Enabled() && !timer.isRunning()); // no interval, no ticks
    timer.setEnabled(false);
    timer.setInterval(2);
    QTest::qWait(20);
    QCOMPARE(ticks, 0);
    timer.setEnabled(true);
    QTRY_VERIFY(ticks >= 2);
    timer.setEnabled(false);
    const int stopped = ticks;
    QTest::qWait(20);
    QCOMPARE(ticks, stopped);

    // a window's timer goes on while it is hidden, and stops when it unloads
    ProbeForm& form = m_program->form<ProbeForm>();
    form.timerInterval = 2;
    form.Show();
    form.Hide();
    QTRY_VERIFY(form.ticks >= 3);
    form.Unload();
    const int atUnload = form.ticks;
    QTest::qWait(20);
    QCOMPARE(form.ticks, atUnload);
}

void TestWindowLayer::msgBoxWithoutTitleShowsTheApplicationTitle()
{
    m_prompter->expect(u"Plain"_s, app::vbOK);
    m_prompter->expect(u"Own title"_s, app::vbCancel);
    m_prompter->expectInput(u"Please enter your name"_s, u"Ann"_s);

    QCOMPARE(m_program->MsgBox(u"Plain"_s), int(app::vbOK));
    QCOMPARE(m_prompter->last().title, u"Quizmoor"_s);
    QCOMPARE(m_prompter->last().style, 0);
    QCOMPARE(m_program->MsgBox(u"Own title"_s, app::vbOKCancelQuestion, u"Exam"_s), int(app::vbCancel));
    QCOMPARE(m_prompter->last().title, u"Exam"_s);
    QCOMPARE(m_program->InputBox(u"Please enter your name"_s, u"Name"_s, u"Candidate's name"_s), u"Ann"_s);
    QCOMPARE(m_prompter->last().defaultText, u"Candidate's name"_s);

    // a data failure is told naming file and folder, under the application title
    const QString folder = QDir::temp().filePath(u"somewhere"_s);
    const data::DataError missing(data::DataError::Kind::MissingFile, folder + u"/qbk09.mdb"_s, QString());
    m_prompter->expect(missing.describe(), app::vbOK);
    m_program->reportDataError(missing);
    QVERIFY(m_prompter->last().prompt.contains(u"\"qbk09.mdb\""_s));
    QVERIFY(m_prompter->last().prompt.contains(QDir::toNativeSeparators(folder)));
    QCOMPARE(m_prompter->last().title, u"Quizmoor"_s);
}

void TestWindowLayer::endUnloadsEveryWindowOnce()
{
    int ends = 0;
    m_program->setEndHandler([&ends] { ++ends; });
    ProbeForm& shown = m_program->form<ProbeForm>();
    OtherForm& hidden = m_program->form<OtherForm>();
    shown.Show();
    hidden.Show();
    hidden.Hide();
    m_program->End();
    m_program->End();
    QVERIFY(m_program->hasEnded());
    QCOMPARE(ends, 1);
    QVERIFY(!shown.isLoaded() && !hidden.isLoaded());
    QCOMPARE(shown.unloads + hidden.unloads, 2);
    QVERIFY(visibleWindows().isEmpty());
}

void TestWindowLayer::loadPicture()
{
    QTemporaryDir dir;
    QFile broken(dir.filePath(u"broken.png"_s));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("this is not a picture");
    broken.close();
    for (const QString& bad : {dir.filePath(u"nope.png"_s), broken.fileName()}) {
        const app::Picture picture = app::LoadPicture(bad);
        QVERIFY(picture.isNull());
        QVERIFY2(picture.error.contains(QDir::toNativeSeparators(bad)), qPrintable(picture.error));
    }

    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(dir.filePath(u"net@2x.png"_s)) && image.save(dir.filePath(u"net.png"_s)));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // exhibit paths are relative to the current folder
    const app::Picture sharp = app::LoadPicture(u"net@2x.png"_s);
    const app::Picture plain = app::LoadPicture(u"net.png"_s);
    QDir::setCurrent(previous);
    QVERIFY2(!sharp.isNull(), qPrintable(sharp.error));
    QCOMPARE(sharp.image.devicePixelRatio(), 2.0);
    QCOMPARE(sharp.image.deviceIndependentSize(), QSizeF(20, 10));
    QCOMPARE(plain.image.devicePixelRatio(), 1.0);
}

void TestWindowLayer::noOtherCodeShowsDialogsOfItsOwn()
{
    const QDir root(QStringLiteral(QUIZMOOR_SOURCE_DIR));
    QStringList offenders;
    int scanned = 0;
    for (const char* folder : {"app", "data", "exam", "scoring", "review", "programs", "tools"}) {
        QDirIterator it(root.filePath(QLatin1StringView(folder)), {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = root.relativeFilePath(it.next());
            if (file == u"app/QtPrompter.cpp"_s)
                continue;
            QFile source(root.filePath(file));
            QVERIFY(source.open(QIODevice::ReadOnly));
            const QByteArray text = source.readAll();
            ++scanned;
            if (text.contains("QMessageBox") || text.contains("QInputDialog"))
                offenders << file;
        }
    }
    QVERIFY(scanned > 20);
    QVERIFY2(offenders.isEmpty(), qPrintable(u"dialogs shown past the prompter in: "_s + offenders.join(u", "_s)));
}

QTEST_MAIN(TestWindowLayer)
#include "tst_windowlayer.moc"
