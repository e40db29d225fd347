// Both programs started as the candidate starts them: each comes up and keeps
// running, and neither touches a database file or leaves a new one behind.

#include "TempBank.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every file under `root` with a digest of its content.
QStringList snapshot(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        files
            << QDir(root).relativeFilePath(file.fileName()) + u' ' +
                   QString::fromLatin1(
                       QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
    }
    files.sort();
    return files;
}

} // namespace

class TestPrograms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsAndKeepsRunning_data();
    void startsAndKeepsRunning();
    void commandLine_data();
    void commandLine();
};

void TestPrograms::startsAndKeepsRunning_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("bank"); // where a question database lies
    const QString full = u"qbk09.mdb"_s, demo = u"qbk009.mdb"_s;
    // its own bank beside the program or in the current folder ("here"), or only the other
    // edition's; which of them a program takes is the bank location's test
    for (const QString& bank : QStringList{u"program/"_s + full, u"here/"_s + demo})
        QTest::addRow("brel, bank %s", qPrintable(bank)) << QStringLiteral(BREL_PROGRAM) << bank;
    for (const QString& bank : QStringList{u"here/"_s + demo, u"program/"_s + full})
        QTest::addRow("brel_demo, bank %s", qPrintable(bank))
            << QStringLiteral(BREL_DEMO_PROGRAM) << bank;
}

void TestPrograms::startsAndKeepsRunning()
{
    QFETCH(QString, program);
    QFETCH(QString, bank);

    // The program is copied, so that "beside the program" is a folder of this test.
    QTemporaryDir root, locks, dataHome; // a killed copy leaves its lock behind: it goes elsewhere
    QVERIFY(QDir(root.path()).mkpath(u"here"_s) && QDir(root.path()).mkpath(u"program"_s));
    const QString copy = root.filePath(u"program/"_s + QFileInfo(program).fileName());
    QVERIFY2(QFile::copy(program, copy), qPrintable(program));
    TempBank source;
    source.addExam(1, 6);
    QVERIFY(QFile::copy(source.write(), root.filePath(bank)));
    const QStringList before = snapshot(root.path());

    QProcess process;
    process.setProgram(copy);
    process.setWorkingDirectory(root.filePath(u"here"_s));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"TMPDIR"_s, locks.path());
    env.insert(u"XDG_DATA_HOME"_s, dataHome.path());
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
    // still there after a second and a half: no crash, no early end
    const bool ended = process.waitForFinished(1500);
    QVERIFY2(!ended, qPrintable(u"ended with %1: %2"_s.arg(process.exitCode())
                                    .arg(QString::fromLocal8Bit(process.readAll()))));
    process.kill();
    process.waitForFinished(5000);
    QCOMPARE(snapshot(root.path()), before);
}

void TestPrograms::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // part of what it prints
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"brel 9.0.0"_s;
    // Qt's own arguments are Qt's
    QTest::newRow("Qt's and ours")
        << QStringList{u"-platform"_s, u"offscreen"_s, u"-v"_s} << 0 << u"brel 9.0.0"_s;
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"--reset-bank"_s;
    QTest::newRow("unknown option")
        << QStringList{u"--reset"_s} << 2 << u"brel: Unknown option 'reset'. Try 'brel --help'."_s;
    QTest::newRow("stray argument")
        << QStringList{u"qbk09.mdb"_s} << 2
        << u"brel: Unexpected argument 'qbk09.mdb'. Try 'brel --help'."_s;
}

// None of these gets as far as looking for a database or showing a window.
void TestPrograms::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QTemporaryDir here;
    QProcess process;
    process.setWorkingDirectory(here.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"XDG_DATA_HOME"_s, here.path());
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(BREL_PROGRAM), arguments);
    QVERIFY(process.waitForFinished(10000));
    const QString printed = QString::fromLocal8Bit(process.readAll());
    QVERIFY2(printed.contains(output), qPrintable(printed));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    QVERIFY(QDir(here.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestPrograms)
#include "tst_programs.moc"
