// How a starting program settles on its question database, installed or not:
// the user's own copy made on first use in a temporary XDG_DATA_HOME, the
// reset of that copy, and the messages for a bank that cannot be used.

#include "ExamFixture.h"
#include "FileFixture.h"
#include "ScriptedPrompter.h"
#include "TempBank.h"
#include "gui/shell/BankSetup.h"
#include "gui/shell/SingleInstance.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using filefixture::contents;

} // namespace

class TestBankSetup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void installedProgramWorksOnTheUsersCopy_data();
    void installedProgramWorksOnTheUsersCopy();
    void bankInTheCurrentFolderOrBesideTheProgramComesFirst();
    void readOnlyBankIsRefusedWhereverItIsFound_data();
    void readOnlyBankIsRefusedWhereverItIsFound();
    void failedCopyIsTold();
    void resetBankAsksFirst();

private:
    // An installed tree: bin/ and share/quizmoor with both editions' banks.
    void install(int questions = 4)
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_root->path()).mkpath(u"usr/bin"_s));
        for (const core::Edition& edition : {core::fullEdition(), core::demoEdition()}) {
            TempBank bank(edition.answerColumns);
            bank.addExam(1, questions);
            QVERIFY(QFile::copy(bank.write(edition.databaseFile), shipped(edition.databaseFile)));
        }
        filefixture::write(shipped(u"exhibits/e1_q001.png"_s), "picture");
    }
    QString shipped(const QString& file) const
    {
        QDir().mkpath(m_root->filePath(u"usr/share/quizmoor"_s));
        return m_root->filePath(u"usr/share/quizmoor/"_s + file);
    }
    // What the program, started in `current`, looks at.
    core::BankFolders folders(const core::Edition& edition, const QString& current)
    {
        QCoreApplication::setApplicationName(edition.programName);
        core::BankFolders f = gui::bankFolders(m_root->filePath(u"usr/bin"_s));
        f.current = current;
        return f;
    }
    // The folder the program would run in, or "refused".
    QString prepare(const core::Edition& edition, const QString& current, bool reset = false)
    {
        return gui::prepareBank(edition, m_prompter, folders(edition, current), reset)
            .value_or(refused);
    }
    const QString refused = u"refused"_s;

    QTemporaryDir m_locks;
    std::unique_ptr<QTemporaryDir> m_root, m_dataHome, m_here;
    ScriptedPrompter m_prompter;
};

void TestBankSetup::init()
{
    m_dataHome = std::make_unique<QTemporaryDir>();
    m_here = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", m_dataHome->path().toUtf8());
    qputenv("TMPDIR", m_locks.path().toUtf8()); // the single-instance locks
    m_prompter.clear();
    install();
}

void TestBankSetup::cleanup()
{
    QVERIFY2(m_prompter.unexpected().isEmpty(), qPrintable(m_prompter.unexpected().join(u'\n')));
    QVERIFY2(m_prompter.unused().isEmpty(), qPrintable(m_prompter.unused().join(u'\n')));
}

void TestBankSetup::installedProgramWorksOnTheUsersCopy_data()
{
    addEditionRows();
}

void TestBankSetup::installedProgramWorksOnTheUsersCopy()
{
    QFETCH(bool, demo);
    const core::Edition edition = demo ? core::demoEdition() : core::fullEdition();
    const QString own = m_dataHome->filePath(edition.programName);
    // the banks are found from the program's folder, and the copy goes to the user's
    const core::BankFolders f = folders(edition, m_here->path());
    QCOMPARE(QDir::cleanPath(f.shipped), QDir::cleanPath(shipped(QString())));
    QCOMPARE(f.user, own);

    // first use: a copy with its exhibits, nothing asked or told
    QCOMPARE(prepare(edition, m_here->path()), own);
    const QString copy = QDir(own).filePath(edition.databaseFile);
    QCOMPARE(contents(copy), contents(shipped(edition.databaseFile)));
    QCOMPARE(contents(QDir(own).filePath(u"exhibits/e1_q001.png"_s)), QByteArray("picture"));
    QVERIFY(QDir(m_here->path()).isEmpty()); // nothing where it was started

    // later starts keep the copy as the user's exams left it, even over a newer bank
    filefixture::write(copy, "the user's exams");
    filefixture::write(shipped(edition.databaseFile), "a newer bank");
    QCOMPARE(prepare(edition, m_here->path()), own);
    QCOMPARE(contents(copy), QByteArray("the user's exams"));

    // each edition its own folder and file
    const QStringList others =
        QDir(m_dataHome->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(others, QStringList{edition.programName});
    QCOMPARE(QDir(own).entryList(QDir::Files), QStringList{edition.databaseFile});
    QCOMPARE(m_prompter.shown().size(), 0);
}

void TestBankSetup::bankInTheCurrentFolderOrBesideTheProgramComesFirst()
{
    const core::Edition edition = core::fullEdition();
    filefixture::write(m_here->filePath(u"qbk009.mdb"_s),
                       "the demo's"); // never the other edition's
    filefixture::write(m_root->filePath(u"usr/bin/qbk09.mdb"_s), "beside the program");
    QCOMPARE(prepare(edition, m_here->path()), m_root->filePath(u"usr/bin"_s));
    filefixture::write(m_here->filePath(u"qbk09.mdb"_s), "a bank of one's own");
    QCOMPARE(prepare(edition, m_here->path()), m_here->path());
    // neither needs a copy of the installed one
    QVERIFY(QDir(m_dataHome->path()).isEmpty());

    // with no bank anywhere, the program starts where it is and the first exam tells
    QTemporaryDir bare, elsewhere;
    QCoreApplication::setApplicationName(edition.programName);
    const core::BankFolders none{elsewhere.path(), bare.path(), m_dataHome->filePath(u"brel"_s),
                                 bare.filePath(u"share/quizmoor"_s)};
    QCOMPARE(gui::prepareBank(edition, m_prompter, none, false).value_or(refused),
             elsewhere.path());
    QVERIFY(QDir(m_dataHome->path()).isEmpty());
    QVERIFY(QDir(elsewhere.path()).isEmpty()); // no empty database made
}

void TestBankSetup::readOnlyBankIsRefusedWhereverItIsFound_data()
{
    QTest::addColumn<QString>("place");
    QTest::newRow("current folder") << u"here"_s;
    QTest::newRow("beside the program") << u"program"_s;
    QTest::newRow("user's copy") << u"user"_s;
}

void TestBankSetup::readOnlyBankIsRefusedWhereverItIsFound()
{
    QFETCH(QString, place);
    const core::Edition edition = core::fullEdition();
    const QString folder = place == u"here"_s      ? m_here->path()
                           : place == u"program"_s ? m_root->filePath(u"usr/bin"_s)
                                                   : m_dataHome->filePath(u"brel"_s);
    const QString database = QDir(folder).filePath(u"qbk09.mdb"_s);
    filefixture::write(database, "a bank");
    QVERIFY(QFile::setPermissions(database, QFile::ReadOwner | QFile::ReadGroup));
    const auto restore =
        qScopeGuard([&] { QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner); });

    const QString message =
        u"The question database %1 cannot be written: the file is read-only. Quizmoor keeps the "
        u"questions drawn, your answers and your scores in it, so no exam can be taken on it. "
        u"Make the file and its folder writable, then start Quizmoor again."_s.arg(database);
    m_prompter.expect(message, core::Prompter::Ok);
    QCOMPARE(prepare(edition, m_here->path()), refused);
    QCOMPARE(m_prompter.shown().size(), 1);
    QCOMPARE(m_prompter.last().title, u"Quizmoor"_s);
    QCOMPARE(contents(database), QByteArray("a bank"));
}

void TestBankSetup::failedCopyIsTold()
{
    const core::Edition edition = core::demoEdition();
    // the user's data folder cannot be made: a file stands where it would be
    filefixture::write(m_dataHome->filePath(u"brel_demo"_s), "in the way");
    const QString own = m_dataHome->filePath(u"brel_demo"_s);
    m_prompter.expect(u"Quizmoor could not copy its question database into your folder %1: writing "
                      u"%1 failed (the folder cannot be created). Nothing was left behind. Free "
                      u"some disk space or check the folder's permissions, then start Quizmoor "
                      u"again."_s.arg(own),
                      core::Prompter::Ok);
    QCOMPARE(prepare(edition, m_here->path()), refused);
    QCOMPARE(QDir(m_dataHome->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"brel_demo"_s});
    QCOMPARE(contents(own), QByteArray("in the way"));
}

void TestBankSetup::resetBankAsksFirst()
{
    const core::Edition edition = core::fullEdition();
    const QString own = m_dataHome->filePath(u"brel"_s);
    const QString copy = QDir(own).filePath(u"qbk09.mdb"_s);
    const QString question =
        u"Replace your copy of the question database, %1, with a fresh copy of the one installed "
        u"with Quizmoor? The answers and scores kept in your copy will be lost."_s.arg(copy);

    // no copy yet: the first-use copy is fresh anyway, nothing to ask
    QCOMPARE(prepare(edition, m_here->path(), true), own);
    QCOMPARE(m_prompter.shown().size(), 0);

    filefixture::write(copy, "the user's exams");
    m_prompter.expect(question, core::Prompter::No);
    QCOMPARE(prepare(edition, m_here->path(), true), own);
    QCOMPARE(m_prompter.last().style, int(core::Prompter::YesNoWarning));
    QCOMPARE(contents(copy), QByteArray("the user's exams"));

    m_prompter.expect(question, core::Prompter::Yes);
    QCOMPARE(prepare(edition, m_here->path(), true), own);
    QCOMPARE(contents(copy), contents(shipped(u"qbk09.mdb"_s)));

    // not under a copy of the program that runs on it
    filefixture::write(copy, "the user's exams");
    {
        const gui::SingleInstance running(copy);
        QVERIFY(running.acquired());
        m_prompter.expect(question, core::Prompter::Yes);
        m_prompter.expect(gui::alreadyRunningMessage(edition), core::Prompter::Ok);
        QCOMPARE(prepare(edition, m_here->path(), true), refused);
        QCOMPARE(contents(copy), QByteArray("the user's exams"));
    }

    // nothing installed to reset from: told, and the program goes on with the copy
    QVERIFY(QFile::remove(shipped(u"qbk09.mdb"_s)));
    m_prompter.expect(u"There is no question database installed with Quizmoor to make a fresh "
                      u"copy from, so nothing was reset."_s,
                      core::Prompter::Ok);
    QCOMPARE(prepare(edition, m_here->path(), true), own);
    QCOMPARE(contents(copy), QByteArray("the user's exams"));
}

QTEST_MAIN(TestBankSetup)
#include "tst_banksetup.moc"
