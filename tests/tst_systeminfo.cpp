// Finding and starting the system-information tool: the registry lookup
// through a registry held in memory, the search-path lookup through a fake
// machine, and this system's own implementation. Runs without a GUI.

#include "FakeSystemTools.h"
#include "core/SystemInformation.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray pathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString msinfo = u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe"_s;
const QString folder = u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo"_s;

QByteArray dword(quint32 n)
{
    return QByteArray(reinterpret_cast<const char*>(&n), sizeof n);
}

} // namespace

Q_DECLARE_METATYPE(FakeRegistry::Value)

class TestSystemInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void getKeyValueReadsStringsOnly_data();
    void getKeyValueReadsStringsOnly();
    void getKeyValueClosesWhatItOpened();
    void registryFindsTheTool_data();
    void registryFindsTheTool();
    void searchPathFindsTheTool();
    void thisSystemsTools();
};

void TestSystemInfo::getKeyValueReadsStringsOnly_data()
{
    QTest::addColumn<FakeRegistry::Value>("stored");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("value");
    const QByteArray path = msinfo.toLatin1();
    QTest::newRow("string with its zero") << FakeRegistry::Value{1, path + '\0'} << true << msinfo;
    QTest::newRow("string without it") << FakeRegistry::Value{1, path} << true << msinfo;
    QTest::newRow("zeros after the string")
        << FakeRegistry::Value{1, path + QByteArray(3, '\0')} << true << msinfo;
    QTest::newRow("empty string") << FakeRegistry::Value{1, QByteArray(1, '\0')} << true
                                  << QString();
    const QByteArray full(1024, 'x');
    QTest::newRow("1024 characters, no zero")
        << FakeRegistry::Value{1, full} << true << QString::fromLatin1(full);
    QTest::newRow("too long for the buffer")
        << FakeRegistry::Value{1, full + '\0'} << false << QString();
    // a number is no path: failure, not "&h..." text taken for one
    QTest::newRow("32-bit number")
        << FakeRegistry::Value{4, dword(0x12345678)} << false << QString();
    QTest::newRow("expandable string")
        << FakeRegistry::Value{2, "%ProgramFiles%\\x.exe"_ba + '\0'} << false << QString();
    QTest::newRow("binary") << FakeRegistry::Value{3, "\x01\x02"_ba} << false << QString();
}

void TestSystemInfo::getKeyValueReadsStringsOnly()
{
    QFETCH(FakeRegistry::Value, stored);
    QFETCH(bool, read);
    QFETCH(QString, value);
    FakeRegistry registry;
    registry.setValue(pathKey, "PATH", stored);
    QString out = u"left from before"_s;
    QCOMPARE(core::getKeyValue(registry, core::Registry::LocalMachine, QString::fromLatin1(pathKey),
                               u"PATH"_s, out),
             read);
    QCOMPARE(out, value);
    // read rights only: asking for more is refused to anyone but an administrator
    QCOMPARE(registry.accessAsked, QList<std::uint32_t>{0x20019});
    QCOMPARE(registry.rootsAsked, QList<core::Registry::Key>{core::Registry::LocalMachine});
}

void TestSystemInfo::getKeyValueClosesWhatItOpened()
{
    FakeRegistry registry;
    registry.setString(pathKey, "PATH", msinfo.toLatin1());
    QString out = u"x"_s;
    // the key is missing: nothing to close, the output emptied
    QVERIFY(!core::getKeyValue(registry, core::Registry::LocalMachine, u"SOFTWARE\\Nothing"_s,
                               u"PATH"_s, out));
    QVERIFY(out.isEmpty());
    // the key is there, the value is not
    QVERIFY(!core::getKeyValue(registry, core::Registry::LocalMachine, QString::fromLatin1(pathKey),
                               u"Other"_s, out));
    // both there
    QVERIFY(core::getKeyValue(registry, core::Registry::LocalMachine, QString::fromLatin1(pathKey),
                              u"PATH"_s, out));
    QCOMPARE(registry.opened, 2);
    QCOMPARE(registry.closed, 2);
    QVERIFY(registry.openKeys().isEmpty());
}

void TestSystemInfo::registryFindsTheTool_data()
{
    QTest::addColumn<QString>("pathValue"); // MSINFO\PATH: "", "string", "number" or "empty"
    QTest::addColumn<bool>("folderValue");  // Shared Tools Location\MSINFO is set
    QTest::addColumn<bool>("fileThere");    // msinfo32.exe lies in that folder
    QTest::addColumn<bool>("terminated");   // the strings carry their zero
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<QString>("started"); // "" when nothing started

    const QString inFolder = folder + u"\\MSINFO32.EXE"_s;
    const QString string = u"string"_s;
    QTest::newRow("first value, no file there")
        << string << false << false << true << false << msinfo;
    QTest::newRow("first value, without its zero")
        << string << false << false << false << false << msinfo;
    QTest::newRow("first value, does not start")
        << string << false << false << true << true << QString();
    QTest::newRow("first value wins over the second")
        << string << true << true << true << false << msinfo;
    QTest::newRow("second value, file there")
        << QString() << true << true << true << false << inFolder;
    QTest::newRow("second value, without its zero")
        << QString() << true << true << false << false << inFolder;
    QTest::newRow("second value, no file")
        << QString() << true << false << true << false << QString();
    QTest::newRow("first a number, second value")
        << u"number"_s << true << true << true << false << inFolder;
    QTest::newRow("first empty, second value")
        << u"empty"_s << true << true << true << false << inFolder;
    QTest::newRow("first empty, nothing else")
        << u"empty"_s << false << false << true << false << QString();
    QTest::newRow("neither") << QString() << false << true << true << false << QString();
}

void TestSystemInfo::registryFindsTheTool()
{
    QFETCH(QString, pathValue);
    QFETCH(bool, folderValue);
    QFETCH(bool, fileThere);
    QFETCH(bool, terminated);
    QFETCH(bool, startFails);
    QFETCH(QString, started);

    FakeRegistry registry;
    FakeSystemTools tools;
    tools.fakeRegistry = &registry;
    tools.programs.insert(u"hardinfo"_s, u"/usr/bin/hardinfo"_s); // never asked with a registry
    if (pathValue == u"number")
        registry.setValue(pathKey, "PATH", {4, dword(7)});
    else if (pathValue == u"empty")
        registry.setString(pathKey, "PATH", QByteArray());
    else if (pathValue == u"string")
        registry.setString(pathKey, "PATH", msinfo.toLatin1(), terminated);
    if (folderValue)
        registry.setString(folderKey, "MSINFO", folder.toLatin1(), terminated);
    if (fileThere)
        tools.files.insert(folder + u"\\MSINFO32.EXE"_s);
    if (startFails)
        tools.failsToStart.insert(msinfo);

    QCOMPARE(core::startSystemInformation(tools), !started.isEmpty());
    if (started.isEmpty()) {
        QVERIFY(tools.started.isEmpty());
    } else {
        QCOMPARE(tools.started.size(), 1);
        QCOMPARE(tools.started.first().first, started);
        QVERIFY(tools.started.first().second.isEmpty());
    }
    // the path of the first value is started without looking for the file
    if (pathValue == u"string")
        QVERIFY(tools.filesAsked.isEmpty());
    QVERIFY(registry.openKeys().isEmpty());
}

void TestSystemInfo::searchPathFindsTheTool()
{
    FakeSystemTools tools;
    QVERIFY(!core::startSystemInformation(tools)); // nothing installed

    // the first of the list that is installed, with its arguments
    tools.programs.insert(u"gnome-control-center"_s, u"/usr/bin/gnome-control-center"_s);
    QVERIFY(core::startSystemInformation(tools));
    QCOMPARE(tools.started.size(), 1);
    QCOMPARE(tools.started.first().first, u"/usr/bin/gnome-control-center"_s);
    QCOMPARE(tools.started.first().second, QStringList{u"info-overview"_s});

    tools.started.clear();
    tools.programs.insert(u"kinfocenter"_s, u"/usr/bin/kinfocenter"_s);
    tools.programs.insert(u"hardinfo"_s, u"/usr/local/bin/hardinfo"_s);
    QVERIFY(core::startSystemInformation(tools));
    QCOMPARE(tools.started.first().first, u"/usr/local/bin/hardinfo"_s);

    // one that will not start gives way to the next
    tools.started.clear();
    tools.failsToStart.insert(u"/usr/local/bin/hardinfo"_s);
    QVERIFY(core::startSystemInformation(tools));
    QCOMPARE(tools.started.first().first, u"/usr/bin/kinfocenter"_s);

    tools.failsToStart << u"/usr/bin/kinfocenter"_s << u"/usr/bin/gnome-control-center"_s;
    tools.started.clear();
    QVERIFY(!core::startSystemInformation(tools));
    QVERIFY(tools.started.isEmpty());
}

void TestSystemInfo::thisSystemsTools()
{
#ifdef Q_OS_WIN
    QSKIP("the registry of a Windows machine is not the test's to arrange");
#else
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    // a stand-in that does nothing and reads nothing once started
    const QString tool = bin.filePath(u"xfce4-about"_s);
    const QString doNothing = QStandardPaths::findExecutable(u"true"_s);
    QVERIFY(!doNothing.isEmpty());
    QVERIFY(QFile::link(doNothing, tool));

    const QByteArray searchPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    std::unique_ptr<core::SystemTools> tools = core::nativeSystemTools();
    QVERIFY(!tools->registry());
    QCOMPARE(tools->findProgram(u"xfce4-about"_s), tool);
    QCOMPARE(tools->findProgram(u"kinfocenter"_s), QString());
    QVERIFY(tools->fileExists(tool));
    QVERIFY(!tools->fileExists(bin.filePath(u"nothing"_s)));
    QVERIFY(!tools->startDetached(bin.filePath(u"nothing"_s), {}));
    QVERIFY(core::startSystemInformation(*tools)); // the script, started on its own
    qputenv("PATH", QFile::encodeName(bin.filePath(u"empty"_s)));
    QVERIFY(!core::startSystemInformation(*tools));
    qputenv("PATH", searchPath);
#endif
}

QTEST_GUILESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
