// Both programs started as the candidate starts them: each must come up and
// keep running, and neither may leave a database file where there was none.

#include "TempBank.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Every file under `root`, relative to it.
QStringList filesUnder(const QString& root)
{
    QStringList files;
    const QDir dir(root);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (info.isDir()) {
            for (const QString& inner : filesUnder(info.filePath()))
                files << info.fileName() + u'/' + inner;
        } else {
            files << info.fileName();
        }
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

private:
    // Starts `program` in `folder`, checks it is still up after a while, ends it.
    void runBriefly(const QString& program, const QString& folder, const QString& lockFolder);
};

void TestPrograms::startsAndKeepsRunning_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("ownFile");
    QTest::addColumn<QString>("otherFile");
    QTest::addColumn<int>("answerColumns");
    QTest::addColumn<QString>("bankIn"); // "current", "program", "nowhere", "other edition's only"

    const QString brel = QStringLiteral(BREL_PROGRAM);
    const QString demo = QStringLiteral(BREL_DEMO_PROGRAM);
    const QString full = QStringLiteral("qbk09.mdb");
    const QString demoFile = QStringLiteral("qbk009.mdb");
    for (const QString& where : {QStringLiteral("current"), QStringLiteral("program"), QStringLiteral("nowhere"),
                                 QStringLiteral("other edition's only")}) {
        QTest::addRow("brel, bank %s", qPrintable(where)) << brel << full << demoFile << 4 << where;
        QTest::addRow("brel_demo, bank %s", qPrintable(where)) << demo << demoFile << full << 5 << where;
    }
}

void TestPrograms::startsAndKeepsRunning()
{
    QFETCH(QString, program);
    QFETCH(QString, ownFile);
    QFETCH(QString, otherFile);
    QFETCH(int, answerColumns);
    QFETCH(QString, bankIn);
    QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(program));

    // The program is copied, so that "beside the program" is a folder of this test.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("current")));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("program")));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("locks")));
    const QString current = root.filePath(QStringLiteral("current"));
    const QString programFolder = root.filePath(QStringLiteral("program"));
    const QString copy = QDir(programFolder).filePath(QFileInfo(program).fileName());
    QVERIFY(QFile::copy(program, copy));

    TempBank bank(answerColumns, 3);
    bank.addExam(1, 6);
    if (answerColumns == 4) {
        bank.addExam(2, 6);
        bank.addExam(3, 6);
    }
    const QString built = bank.write(ownFile);
    QString placed;
    if (bankIn == QLatin1StringView("current"))
        placed = QDir(current).filePath(ownFile);
    else if (bankIn == QLatin1StringView("program"))
        placed = QDir(programFolder).filePath(ownFile);
    else if (bankIn != QLatin1StringView("nowhere"))
        placed = QDir(programFolder).filePath(otherFile);
    if (!placed.isEmpty())
        QVERIFY(QFile::copy(built, placed));
    const QByteArray placedDigest = placed.isEmpty() ? QByteArray() : digest(placed);
    const QStringList before = filesUnder(root.path());

    runBriefly(copy, current, root.filePath(QStringLiteral("locks")));
    if (QTest::currentTestFailed())
        return;

    // nothing new but the lock a killed copy leaves behind, no bank touched at start-up
    QStringList after = filesUnder(root.path());
    after.removeIf([](const QString& f) { return f.startsWith(QLatin1StringView("locks/")); });
    QCOMPARE(after, before);
    if (!placed.isEmpty())
        QCOMPARE(digest(placed), placedDigest);
}

void TestPrograms::runBriefly(const QString& program, const QString& folder, const QString& lockFolder)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), lockFolder);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
    // still there after a second and a half: no crash, no early end
    const bool ended = process.waitForFinished(1500);
    const QByteArray output = process.readAll();
    QVERIFY2(!ended, qPrintable(QStringLiteral("ended with %1: %2")
                                    .arg(process.exitCode())
                                    .arg(QString::fromLocal8Bit(output))));
    QCOMPARE(process.state(), QProcess::Running);
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QTEST_GUILESS_MAIN(TestPrograms)
#include "tst_programs.moc"
