// Where a program finds its question database, the user's own copy of the
// installed one, and which databases cannot be written. Runs without a GUI.

#include "FileFixture.h"
#include "SqlFixture.h"
#include "TempBank.h"
#include "core/BankLocation.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

using filefixture::contents;

// Every file and folder under `root`, hidden ones too, relative to it.
QStringList tree(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

// Files may grow to `bytes` only, as on a full disk; writing past it fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed test
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
};

// An installed bank: a real database and two exhibits, one in a subfolder.
struct Shipped {
    Shipped()
    {
        bank.addExam(1, 6);
        database = bank.write(u"qbk09.mdb"_s);
        filefixture::write(bank.path(u"exhibits/e1_q001.png"_s), QByteArray(300, 'a'));
        filefixture::write(bank.path(u"exhibits/large/e1_q002.png"_s), QByteArray(500, 'b'));
    }
    QString folder() const { return bank.dir(); }
    TempBank bank;
    QString database;
};

} // namespace

class TestBankLocation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchOrder();
    void firstUseCopiesTheBankWithItsExhibits();
    void existingCopyIsKeptUnlessReplaced();
    void failedCopyLeavesNothingBehind();
    void readOnlyBanksAreFound();
};

void TestBankLocation::searchOrder()
{
    QTemporaryDir root;
    const core::BankFolders folders{root.filePath(u"here"_s), root.filePath(u"program"_s),
                                    root.filePath(u"user"_s), root.filePath(u"shipped"_s)};
    auto found = [&] {
        const core::BankLocation location = core::locateBank(u"qbk09.mdb"_s, folders);
        return u"%1 %2"_s.arg(int(location.place))
            .arg(QDir(root.path())
                     .relativeFilePath(location.folder.isEmpty() ? root.path() : location.folder));
    };
    const QString notFound = u"3 ."_s;
    // the shipped bank alone is not a bank in use: the user's copy is made from it
    filefixture::write(root.filePath(u"shipped/qbk09.mdb"_s), "x");
    QCOMPARE(found(), notFound);
    // the other edition's file never counts
    for (const QString& folder : {u"here"_s, u"program"_s, u"user"_s})
        filefixture::write(root.filePath(folder + u"/qbk009.mdb"_s), "x");
    QCOMPARE(found(), notFound);
    filefixture::write(root.filePath(u"user/qbk09.mdb"_s), "x");
    QCOMPARE(found(), u"2 user"_s);
    filefixture::write(root.filePath(u"program/qbk09.mdb"_s), "x");
    QCOMPARE(found(), u"1 program"_s);
    filefixture::write(root.filePath(u"here/qbk09.mdb"_s), "x");
    QCOMPARE(found(), u"0 here"_s);
    // a folder by the database's name is not a database
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath(u"qbk09.mdb"_s));
    QCOMPARE(core::locateBank(u"qbk09.mdb"_s, {other.path(), {}, {}, {}}).place,
             core::BankPlace::NotFound);
    // looking changes nothing
    QCOMPARE(tree(root.path()),
             (QStringList{u"here"_s, u"here/qbk009.mdb"_s, u"here/qbk09.mdb"_s, u"program"_s,
                          u"program/qbk009.mdb"_s, u"program/qbk09.mdb"_s, u"shipped"_s,
                          u"shipped/qbk09.mdb"_s, u"user"_s, u"user/qbk009.mdb"_s,
                          u"user/qbk09.mdb"_s}));
}

void TestBankLocation::firstUseCopiesTheBankWithItsExhibits()
{
    const Shipped shipped;
    const QStringList before = tree(shipped.folder());
    QTemporaryDir home;
    const QString user = home.filePath(u".local/share/brel"_s); // none of it exists yet
    QVERIFY(!core::copyBank(u"qbk09.mdb"_s, shipped.folder(), user));

    // whole files, and nothing else: no temporary file is left beside them
    QCOMPARE(tree(user), (QStringList{u"exhibits"_s, u"exhibits/e1_q001.png"_s, u"exhibits/large"_s,
                                      u"exhibits/large/e1_q002.png"_s, u"qbk09.mdb"_s}));
    for (const QString& file :
         {u"qbk09.mdb"_s, u"exhibits/e1_q001.png"_s, u"exhibits/large/e1_q002.png"_s})
        QCOMPARE(contents(QDir(user).filePath(file)), contents(shipped.bank.path(file)));
    // the copy is a working database; the installed bank is left as it was
    const QString copy = QDir(user).filePath(u"qbk09.mdb"_s);
    sqlfixture::exec(copy, u"UPDATE exam1 SET correctanswer1 = 1"_s);
    QCOMPARE(sqlfixture::scalar(copy, u"SELECT COUNT(*) FROM exam1 WHERE correctanswer1 = 0"_s),
             QVariant(0));
    QCOMPARE(tree(shipped.folder()), before);
    QVERIFY(contents(shipped.database) != contents(copy));

    // an installed bank without exhibits is copied all the same
    TempBank bare;
    bare.addExam(1, 3);
    bare.write(u"qbk009.mdb"_s);
    QVERIFY(!core::copyBank(u"qbk009.mdb"_s, bare.dir(), home.filePath(u"demo"_s)));
    QCOMPARE(tree(home.filePath(u"demo"_s)), QStringList{u"qbk009.mdb"_s});
}

void TestBankLocation::existingCopyIsKeptUnlessReplaced()
{
    const Shipped shipped;
    QTemporaryDir user;
    filefixture::write(user.filePath(u"qbk09.mdb"_s), "the user's exams");
    filefixture::write(user.filePath(u"exhibits/e1_q001.png"_s), "an old exhibit");
    filefixture::write(user.filePath(u"exhibits/own.png"_s), "the user's own");

    // a newer installed bank does not replace it by itself, nor its exhibits
    QVERIFY(!core::copyBank(u"qbk09.mdb"_s, shipped.folder(), user.path()));
    QCOMPARE(contents(user.filePath(u"qbk09.mdb"_s)), QByteArray("the user's exams"));
    QCOMPARE(contents(user.filePath(u"exhibits/e1_q001.png"_s)), QByteArray("an old exhibit"));

    // asked to, it does: database and exhibits fresh, nothing of the user's removed
    QVERIFY(!core::copyBank(u"qbk09.mdb"_s, shipped.folder(), user.path(), true));
    QCOMPARE(contents(user.filePath(u"qbk09.mdb"_s)), contents(shipped.database));
    QCOMPARE(contents(user.filePath(u"exhibits/e1_q001.png"_s)), QByteArray(300, 'a'));
    QCOMPARE(contents(user.filePath(u"exhibits/own.png"_s)), QByteArray("the user's own"));
    QCOMPARE(tree(user.path()).size(), 6);
}

void TestBankLocation::failedCopyLeavesNothingBehind()
{
    const Shipped shipped;
    QVERIFY(QFileInfo(shipped.database).size() > 8192);

    // the disk fills up while the database is written, after the exhibits
    QTemporaryDir home;
    const QString user = home.filePath(u"share/brel"_s);
    std::optional<core::CopyFailure> failure;
    {
        const FileSizeLimit full(8192);
        failure = core::copyBank(u"qbk09.mdb"_s, shipped.folder(), user);
    }
    QVERIFY(failure);
    QCOMPARE(failure->file, QDir(user).filePath(u"qbk09.mdb"_s));
    QVERIFY2(!failure->reason.isEmpty(), "the system's words are kept");
    QCOMPARE(tree(home.path()), QStringList()); // not even the folders it made

    // ... while an exhibit is written
    filefixture::write(shipped.bank.path(u"exhibits/zz_huge.png"_s), QByteArray(20000, 'z'));
    {
        const FileSizeLimit full(8192);
        failure = core::copyBank(u"qbk09.mdb"_s, shipped.folder(), user);
    }
    QVERIFY(failure);
    QCOMPARE(failure->file, QDir(user).filePath(u"exhibits/zz_huge.png"_s));
    QCOMPARE(tree(home.path()), QStringList());

    // replacing a copy fails: the old one stays whole, and so does an exhibit the user had
    filefixture::write(home.filePath(u"keep/qbk09.mdb"_s), "the user's exams");
    filefixture::write(home.filePath(u"keep/exhibits/mine.png"_s), "mine");
    {
        const FileSizeLimit full(8192);
        failure = core::copyBank(u"qbk09.mdb"_s, shipped.folder(), home.filePath(u"keep"_s), true);
    }
    QVERIFY(failure);
    QCOMPARE(contents(home.filePath(u"keep/qbk09.mdb"_s)), QByteArray("the user's exams"));
    QCOMPARE(tree(home.filePath(u"keep"_s)),
             (QStringList{u"exhibits"_s, u"exhibits/mine.png"_s, u"qbk09.mdb"_s}));

    // no folder can be made where a file stands in the way
    filefixture::write(home.filePath(u"blocked"_s), "a file");
    failure = core::copyBank(u"qbk09.mdb"_s, shipped.folder(), home.filePath(u"blocked/brel"_s));
    QVERIFY(failure);
    QCOMPARE(failure->file, home.filePath(u"blocked/brel"_s));
    QCOMPARE(failure->reason, u"the folder cannot be created"_s);

    // nothing installed to copy
    QTemporaryDir empty;
    failure = core::copyBank(u"qbk09.mdb"_s, empty.path(), home.filePath(u"none"_s));
    QVERIFY(failure);
    QCOMPARE(failure->file, empty.filePath(u"qbk09.mdb"_s));
    QVERIFY(!QFileInfo::exists(home.filePath(u"none"_s)));
}

void TestBankLocation::readOnlyBanksAreFound()
{
    QTemporaryDir folder;
    const QString database = folder.filePath(u"qbk09.mdb"_s);
    filefixture::write(database, "x");
    QCOMPARE(core::bankWriteProblem(database), QString());

    // marked read-only: refused even for a user whom the system lets write anyway
    QVERIFY(
        QFile::setPermissions(database, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(core::bankWriteProblem(database), u"the file is read-only"_s);

    // the file may be written but nothing beside it: the journal has no room
    QVERIFY(QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                     QFile::ReadGroup | QFile::ExeGroup));
    QCOMPARE(core::bankWriteProblem(database),
             u"its folder %1 is read-only"_s.arg(QDir::toNativeSeparators(folder.path())));
}

QTEST_GUILESS_MAIN(TestBankLocation)
#include "tst_banklocation.moc"
