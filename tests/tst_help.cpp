// The help windows and the About box, opened from the main window's menus of
// both editions, with the texts checked against the edition records and the
// system-information button run against a fake machine.

#include "ExamFixture.h"
#include "FakeSystemTools.h"
#include "WindowTestChecks.h"
#include "data/Sqlite.h"
#include "gui/help/AboutBox.h"
#include "gui/help/HelpLink.h"
#include "gui/help/HelpWindow.h"
#include "gui/shell/MainWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

using namespace Qt::StringLiterals;
using gui::HelpTopic;

namespace {

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

const QString unavailable = u"System Information Is Unavailable At This Time"_s;

} // namespace

Q_DECLARE_METATYPE(core::Edition)

class TestHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void helpItemsOpenTheirOwnWindows_data();
    void helpItemsOpenTheirOwnWindows();
    void eachWindowKeepsItsScrollPosition();
    void textsTellTheirEditionsNumbers_data();
    void textsTellTheirEditionsNumbers();
    void textsLinkOnlyToThisProgram();
    void linksOpenTheReadMeOrSayWhyNot();
    void aboutBoxTellsItsEdition_data();
    void aboutBoxTellsItsEdition();
    void aboutBoxEnterAndEscapePressOk();
    void systemInfoStartsTheToolOrSaysItIsUnavailable();

private:
    void start(core::Edition edition)
    {
        m_f = std::make_unique<ExamFixture>(std::move(edition), 3);
    }
    void start(bool demo) { start(demo ? core::demoEdition() : core::fullEdition()); }
    gui::Program& program() { return m_f->program(); }
    ScriptedPrompter& prompter() { return m_f->prompter(); }
    gui::MainWindow& main() { return program().window<gui::MainWindow>(); }
    void choose(const char* item)
    {
        QAction* action = main().menuItem(QLatin1StringView(item));
        QVERIFY2(action, item);
        action->trigger();
    }

    std::unique_ptr<ExamFixture> m_f;
};

void TestHelp::cleanup()
{
    windowchecks::endFixture(m_f);
}

void TestHelp::helpItemsOpenTheirOwnWindows_data()
{
    addEditionRows(); // the demo's Ordering is a command of the menu bar, not of the Help menu
}

void TestHelp::helpItemsOpenTheirOwnWindows()
{
    QFETCH(bool, demo);
    start(demo);
    struct Item {
        const char* menuItem;
        QString window, caption, textName, returnCaption;
    };
    const Item items[] = {
        {"mnuHelpsubNavigate", u"Form31"_s, u"Navigation"_s, u"Text1"_s, u"&Return"_s},
        {"mnuHelpSubCer", u"Form32"_s, u"Certification.."_s, u"Text1"_s, u"&Return"_s},
        {"mnuhelpsubmnureadme", u"Form33"_s, u"Read Me"_s, u"Text1"_s, u"Return"_s},
        {"mnuhelpsubmnuorder", u"Form34"_s, u"Ordering"_s, u"Text2"_s, u"Return"_s},
    };

    for (const Item& item : items) {
        choose(item.menuItem);
        QWidget* window = program().windows().visibleWindows().back()->widget();
        QCOMPARE(window->objectName(), item.window);
        QCOMPARE(window->windowTitle(), item.caption);
        QVERIFY(window->windowState().testFlag(Qt::WindowMaximized) && !window->isModal());
        auto* text = window->findChild<QTextBrowser*>(item.textName);
        QVERIFY(text && text->isReadOnly() && text->toPlainText().size() > 500);
        QCOMPARE(window->findChild<QPushButton*>(u"Command1"_s)->text(), item.returnCaption);
        QVERIFY(main().isVisible()); // stays behind the help

        // chosen again: the same window with the same text, not a second one
        const QString shown = text->toPlainText();
        choose(item.menuItem);
        QCOMPARE(window->findChild<QTextBrowser*>(item.textName), text);
        QCOMPARE(text->toPlainText(), shown);
    }
    // all four open at once; each Return hides its own window only
    QCOMPARE(windowchecks::visibleWindowNames(),
             sorted({u"Form1"_s, u"Form31"_s, u"Form32"_s, u"Form33"_s, u"Form34"_s}));
    program().window<gui::ReadMeHelp>().returnButton()->click();
    QCOMPARE(windowchecks::visibleWindowNames(),
             sorted({u"Form1"_s, u"Form31"_s, u"Form32"_s, u"Form34"_s}));
    QVERIFY(QTest::qWaitForWindowActive(main().widget())); // brought to the front
    for (HelpTopic topic : {HelpTopic::Navigation, HelpTopic::Certification, HelpTopic::Ordering})
        gui::showHelp(program(), topic).returnToMain();
    QCOMPARE(windowchecks::visibleWindowNames(), QStringList{u"Form1"_s});
}

void TestHelp::eachWindowKeepsItsScrollPosition()
{
    start(false);
    gui::HelpWindow& navigation = gui::showHelp(program(), HelpTopic::Navigation);
    navigation.widget()->resize(640, 400); // shorter than the text
    QScrollBar* bar = navigation.text()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum() / 2);
    const int position = bar->value();
    QVERIFY(position > 0);

    gui::HelpWindow& readMe = gui::showHelp(program(), HelpTopic::ReadMe);
    QCOMPARE(readMe.text()->verticalScrollBar()->value(), 0);
    navigation.returnToMain();
    main().showNavigationHelp();
    QCOMPARE(navigation.text()->verticalScrollBar(), bar);
    QCOMPARE(bar->value(), position);

    // closed by its frame it goes; the next opening starts at the top
    navigation.widget()->close();
    QVERIFY(!navigation.isLoaded());
    main().showNavigationHelp();
    QVERIFY(navigation.isVisible());
    QCOMPARE(navigation.text()->verticalScrollBar()->value(), 0);
    QCOMPARE(&program().window<gui::NavigationHelp>(), &navigation);
}

void TestHelp::textsTellTheirEditionsNumbers_data()
{
    QTest::addColumn<core::Edition>("edition");
    QTest::addColumn<QStringList>("navigation");
    QTest::addColumn<QStringList>("certification");
    QTest::addColumn<QStringList>("readMe");

    QTest::newRow("full") << core::fullEdition()
                          << QStringList{u"Brel 9x Practice Exam #1, Brel 9x Practice Exam #2 and "
                                         "Brel 9x Practice Exam #3. Each has 83 questions to be "
                                         "answered in 120 minutes"_s,
                                         u"(Review Exam #1, Review Exam #2 and Review Exam #3)"_s}
                          << QStringList{u"Practice exams in this program: 3"_s,
                                         u"Questions per exam: 83"_s,
                                         u"Time per exam: 120 minutes"_s,
                                         u"about 12 points, so you need at least 59 right "
                                         "answers out of 83 to pass"_s,
                                         u"83 questions in 120 minutes you have about 87 seconds"_s}
                          << QStringList{u"This program, brel, has 3 of them, each of 83 questions "
                                         "to be answered in 120 minutes; a score of 700"_s,
                                         u"opens qbk09.mdb."_s};
    QTest::newRow("demo") << core::demoEdition()
                          << QStringList{u"this program: Brel 9x Exam #1 Demo. Each has 30 "
                                         "questions to be answered in 30 minutes"_s,
                                         u"(Review Exam #1 Demo)"_s}
                          << QStringList{u"Practice exams in this program: 1"_s,
                                         u"Questions per exam: 30"_s,
                                         u"about 33 points, so you need at least 21 right "
                                         "answers out of 30 to pass"_s,
                                         u"about 60 seconds"_s}
                          << QStringList{u"This program, brel_demo, has 1 of them"_s,
                                         u"opens qbk009.mdb."_s};
    // a record with other numbers: the texts follow it, having none of their own (this row
    // alone reads the pass mark, which both editions share)
    core::Edition other = core::fullEdition();
    other.questionCount = 50;
    other.timeLimitMinutes = 75;
    other.passScore = 800;
    other.examAvailable = {true, true, false};
    QTest::newRow("another record")
        << other
        << QStringList{u"Practice Exam #1 and Brel 9x Practice Exam #2. Each has 50 questions to "
                       "be answered in 75 minutes"_s,
                       u"the pass mark of 800,"_s}
        << QStringList{u"Practice exams in this program: 2"_s, u"Pass mark: 800 of 1000"_s,
                       u"about 20 points, so you need at least 40 right answers out of 50"_s,
                       u"about 90 seconds"_s}
        << QStringList{u"has 2 of them, each of 50 questions to be answered in 75 minutes; a "
                       "score of 800"_s};
}

void TestHelp::textsTellTheirEditionsNumbers()
{
    QFETCH(core::Edition, edition);
    QFETCH(QStringList, navigation);
    QFETCH(QStringList, certification);
    QFETCH(QStringList, readMe);
    start(edition);
    const QMap<QString, QString> values =
        gui::helptext::values(program().edition(), program().databasePath());
    const std::pair<HelpTopic, QStringList> expected[] = {
        {HelpTopic::Navigation, navigation},
        {HelpTopic::Certification, certification},
        {HelpTopic::ReadMe, readMe},
        {HelpTopic::Ordering, {u"Questions per exam: %1"_s.arg(edition.questionCount)}}};
    for (const auto& [topic, sentences] : expected) {
        const QString markdown = gui::helptext::markdown(topic, values);
        QVERIFY2(!markdown.contains(u"{{"_s), qPrintable(markdown));
        const QString shown = gui::showHelp(program(), topic).text()->toPlainText().simplified();
        for (const QString& sentence : sentences)
            QVERIFY2(shown.contains(sentence), qPrintable(sentence));
    }
}

void TestHelp::textsLinkOnlyToThisProgram()
{
    start(false);
    const QMap<QString, QString> values =
        gui::helptext::values(program().edition(), program().databasePath());
    static const QRegularExpression address(u"https?:|www\\.|@|\\.(com|org|net)\\b"_s);
    static const QRegularExpression target(u"\\]\\(([^)]*)\\)"_s);
    QSet<QString> targets;
    for (HelpTopic topic : {HelpTopic::Navigation, HelpTopic::Certification, HelpTopic::ReadMe,
                            HelpTopic::Ordering}) {
        const QString source = gui::helptext::source(topic);
        QVERIFY(!source.isEmpty());
        QVERIFY2(!address.match(source).hasMatch(), qPrintable(address.match(source).captured()));
        for (const QRegularExpressionMatch& m :
             target.globalMatch(gui::helptext::markdown(topic, values)))
            targets << m.captured(1);
    }
    const QString folder = QUrl::fromLocalFile(m_f->bank().dir()).toString();
    QCOMPARE(sorted(targets.values()), sorted({u"help:navigation"_s, u"help:certification"_s,
                                               u"help:ordering"_s, u"help:readme"_s, folder}));

    // the Read Me gives the README's own commands
    QFile readme(QStringLiteral(QUIZMOOR_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    static const QRegularExpression command(u"^(tools/\\S+\\.sh)"_s,
                                            QRegularExpression::MultilineOption);
    const QString readMeText = gui::helptext::source(HelpTopic::ReadMe);
    int commands = 0;
    for (const QRegularExpressionMatch& m :
         command.globalMatch(QString::fromUtf8(readme.readAll()).section(u"##"_s, 0, 0))) {
        QVERIFY2(readMeText.contains(u"    "_s + m.captured(1)), qPrintable(m.captured(1)));
        ++commands;
    }
    QCOMPARE(commands, 2);
}

void TestHelp::linksOpenTheReadMeOrSayWhyNot()
{
    start(false);
    gui::HelpWindow& navigation = gui::showHelp(program(), HelpTopic::Navigation);
    gui::HelpLink* link = navigation.link(u"HyperLink1"_s);
    QVERIFY(link->isVisible());
    QCOMPARE(link->linkText(), u"Click Here for the Read Me"_s);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
    QCOMPARE(accessible->role(), QAccessible::Link);
    QCOMPARE(accessible->text(QAccessible::Name), u"Click Here for the Read Me"_s);
    QTest::keyClick(link, Qt::Key_Space);
    gui::HelpWindow& readMe = program().window<gui::ReadMeHelp>();
    QVERIFY(readMe.isVisible() && navigation.isVisible());

    // the Read Me does not link to itself; there is no order page to link to
    QVERIFY(!readMe.link(u"HyperLink1"_s)->isVisibleTo(readMe.widget()));
    gui::HelpWindow& ordering = gui::showHelp(program(), HelpTopic::Ordering);
    QVERIFY(!ordering.link(u"HyperLink2"_s)->isVisibleTo(ordering.widget()));
    readMe.hide();
    accessible = QAccessible::queryAccessibleInterface(ordering.link(u"HyperLink3"_s));
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(readMe.isVisible());

    // links within a text: to another help window, or out to the desktop
    readMe.followLink(QUrl(u"help:certification"_s));
    QVERIFY(program().window<gui::CertificationHelp>().isVisible());
    readMe.followLink(QUrl(u"help:about"_s));
    QVERIFY(program().window<gui::AboutBox>().isVisible());

    QList<QUrl> asked;
    bool opens = true;
    readMe.setUrlOpener([&](const QUrl& url) {
        asked << url;
        return opens;
    });
    const QUrl folder = QUrl::fromLocalFile(m_f->bank().dir());
    readMe.followLink(folder);
    QCOMPARE(asked, QList<QUrl>{folder});
    QVERIFY(prompter().shown().isEmpty());
    opens = false; // no browser, or nothing that opens such an address
    prompter().expect(u"The link could not be opened: no web browser or other program could be "
                      "started to show "_s +
                          folder.toDisplayString() + u'.',
                      core::Prompter::Ok);
    readMe.followLink(folder);
    QCOMPARE(prompter().last().title, u"Quizmoor"_s);
    QVERIFY(readMe.isVisible());
}

void TestHelp::aboutBoxTellsItsEdition_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QString>("description");
    QTest::newRow("full") << false
                          << u"Each Exam contains 80+ questions and you have to answer in 120 "
                             "minutes or less. The practice tests for Brel 9x exam covers stated "
                             "exam objectives.  "_s;
    QTest::newRow("demo") << true
                          << u"The Demo Exam contains 30 questions and you have to answer in 30 "
                             "minutes or less. Full version contains 3 individual tests with "
                             "atleast 80 questions each. The practice exams cover Corvane (R) "
                             "Brel 9x  Exam Objectives.  "_s;
}

void TestHelp::aboutBoxTellsItsEdition()
{
    QFETCH(bool, demo);
    QFETCH(QString, description);
    start(demo);
    choose("mnuHelpsubCertification");
    gui::AboutBox& about = program().window<gui::AboutBox>();
    QWidget* box = about.widget();
    QVERIFY(about.isVisible() && !box->isModal() && main().isVisible());
    QCOMPARE(box->objectName(), u"frmAbout"_s);
    QCOMPARE(box->windowTitle(), u"About Quizmoor"_s);
    auto text = [box](const char* name) {
        return box->findChild<QLabel*>(QLatin1StringView(name))->text();
    };
    QCOMPARE(text("lblTitle"), u"Quizmoor"_s);
    QCOMPARE(text("lblVersion"), u"Version 9.0.0"_s);
    QCOMPARE(text("lblDescription"), description);
    QCOMPARE(box->findChild<QPushButton*>(u"cmdSysInfo"_s)->text(), u"&System Info..."_s);

    // what a request for help needs, to read and to copy
    const QStringList details = about.controls()->details->toPlainText().split(u'\n');
    QCOMPARE(details.size(), 7);
    QCOMPARE(details.mid(0, 2),
             (QStringList{u"Quizmoor 9.0.0"_s,
                          demo ? u"Edition: brel_demo (exams: 1, questions per exam: 30, minutes "
                                 "per exam: 30)"_s
                               : u"Edition: brel (exams: 3, questions per exam: 83, minutes per "
                                 "exam: 120)"_s}));
    QVERIFY(details.at(2).startsWith(u"Qt: "_s + QString::fromLatin1(qVersion()) + u' '));
    QCOMPARE(details.at(3), u"SQLite: "_s + data::sqliteVersion());
    QVERIFY(details.at(4).startsWith(u"Operating system: "_s + QSysInfo::prettyProductName()));
    QVERIFY(details.at(5).startsWith(u"Screen scale: "_s));
    QCOMPARE(details.at(6), u"Question database: "_s + QDir::toNativeSeparators(m_f->database()));
    QApplication::clipboard()->clear();
    about.controls()->copyButton->click();
    QCOMPARE(QApplication::clipboard()->text(), details.join(u'\n'));

    // a database that has gone is said to be missing
    QVERIFY(QFile::remove(m_f->database()));
    QVERIFY(about.supportDetails().endsWith(u" (missing)"_s));
    about.controls()->okButton->click();
    QVERIFY(!about.isLoaded());
}

void TestHelp::aboutBoxEnterAndEscapePressOk()
{
    start(false);
    gui::AboutBox& about = program().window<gui::AboutBox>();
    FakeSystemTools nothing;
    about.setSystemTools(&nothing);
    main().showAbout();
    QPointer<QWidget> first = about.widget();
    QTest::keyClick(first, Qt::Key_Escape);
    QVERIFY(!about.isLoaded());
    QVERIFY(main().isVisible());

    // loaded again, filled again
    main().showAbout();
    QVERIFY(about.widget() != first);
    QCOMPARE(about.widget()->windowTitle(), u"About Quizmoor"_s);
    QTest::keyClick(about.controls()->description, Qt::Key_Return);
    QVERIFY(!about.isLoaded());

    // Enter presses the button that has the focus, OK by default
    main().showAbout();
    QVERIFY(QTest::qWaitForWindowActive(about.widget()));
    QCOMPARE(QApplication::focusWidget(), about.controls()->okButton);
    about.controls()->sysInfoButton->setFocus();
    prompter().expect(unavailable, core::Prompter::Ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QVERIFY(about.isVisible());
    about.controls()->pages->setFocus();
    QTest::keyClick(about.controls()->pages, Qt::Key_Enter);
    QVERIFY(!about.isLoaded());
}

// Where the tool is looked for is the system information's own test; here the box uses the
// tools it is given and says when none starts.
void TestHelp::systemInfoStartsTheToolOrSaysItIsUnavailable()
{
    start(true);
    gui::AboutBox& about = program().window<gui::AboutBox>();
    FakeSystemTools machine;
    about.setSystemTools(&machine);
    main().showAbout();
    QPushButton* button = about.controls()->sysInfoButton;

    // nothing to start: the box says so and stays
    prompter().expect(unavailable, core::Prompter::Ok);
    button->click();
    QCOMPARE(prompter().last().style, int(core::Prompter::OkOnly));
    QCOMPARE(prompter().last().title, u"Quizmoor"_s);
    QVERIFY(about.isVisible());

    // a tool found: started, nothing said
    machine.programs.insert(u"kinfocenter"_s, u"/usr/bin/kinfocenter"_s);
    button->click();
    QCOMPARE(machine.started.size(), 1);
    QCOMPARE(machine.started.first().first, u"/usr/bin/kinfocenter"_s);
    QCOMPARE(prompter().shown().size(), 1);
    QVERIFY(about.isVisible());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
