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
        if (file.fileName().contains(u"/locks/"_s) || !file.open(QIODevice::ReadOnly))
            continue; // a killed copy leaves its lock behind; that is expected
        files << QDir(root).relativeFilePath(file.fileName()) + u' ' +
                     QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
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
};

void TestPrograms::startsAndKeepsRunning_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("ownFile");
    QTest::addColumn<QString>("otherFile");
    QTest::addColumn<QString>("bankIn");
    for (const QString& where : {u"current"_s, u"program"_s, u"nowhere"_s, u"other"_s}) {
        QTest::addRow("brel, bank %s", qPrintable(where))
            << QStringLiteral(BREL_PROGRAM) << u"qbk09.mdb"_s << u"qbk009.mdb"_s << where;
        QTest::addRow("brel_demo, bank %s", qPrintable(where))
            << QStringLiteral(BREL_DEMO_PROGRAM) << u"qbk009.mdb"_s << u"qbk09.mdb"_s << where;
    }
}

void TestPrograms::startsAndKeepsRunning()
{
    QFETCH(QString, program);
    QFETCH(QString, ownFile);
    QFETCH(QString, otherFile);
    QFETCH(QString, bankIn);

    // The program is copied, so that "beside the program" is a folder of this test.
    QTemporaryDir root;
    for (const QString& sub : {u"current"_s, u"program"_s, u"locks"_s})
        QVERIFY(QDir(root.path()).mkpath(sub));
    const QString copy = root.filePath(u"program/"_s + QFileInfo(program).fileName());
    QVERIFY2(QFile::copy(program, copy), qPrintable(program));

    // "other": only the other edition's bank, beside the program
    TempBank bank(ownFile == u"qbk009.mdb"_s ? 5 : 4, 3);
    bank.addExam(1, 6);
    const QString built = bank.write(ownFile);
    if (bankIn != u"nowhere"_s) {
        const QString name = bankIn == u"other"_s ? otherFile : ownFile;
        QVERIFY(QFile::copy(built, root.filePath((bankIn == u"current"_s ? u"current/"_s : u"program/"_s) + name)));
    }
    const QStringList before = snapshot(root.path());

    QProcess process;
    process.setProgram(copy);
    process.setWorkingDirectory(root.filePath(u"current"_s));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"TMPDIR"_s, root.filePath(u"locks"_s));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
    // still there after a second and a half: no crash, no early end
    const bool ended = process.waitForFinished(1500);
    QVERIFY2(!ended, qPrintable(u"ended with %1: %2"_s.arg(process.exitCode())
                                    .arg(QString::fromLocal8Bit(process.readAll()))));
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    QCOMPARE(snapshot(root.path()), before);
}

QTEST_GUILESS_MAIN(TestPrograms)
#include "tst_programs.moc"
