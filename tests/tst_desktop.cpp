// What a desktop shows of the programs: each edition's menu entry and manual
// page, and the icon theme's emblem (an SVG drawing) against the one the
// windows draw in code.

#include "core/Edition.h"
#include "gui/toolkit/AppIcon.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString text(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The "key=value" lines of a desktop file.
QMap<QString, QString> entry(const QString& path)
{
    QMap<QString, QString> keys;
    for (const QString& line : text(path).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuEntryStartsItsEdition_data() { editions_data(); }
    void menuEntryStartsItsEdition();
    void manualPageTellsItsEdition_data() { editions_data(); }
    void manualPageTellsItsEdition();
    void themeIconMatchesTheWindowsIcon_data();
    void themeIconMatchesTheWindowsIcon();

private:
    void editions_data();
};

void TestDesktop::editions_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QString>("name"); // in the menu
    QTest::newRow("brel") << false << u"Quizmoor"_s;
    QTest::newRow("brel_demo") << true << u"Quizmoor Demo"_s;
}

void TestDesktop::menuEntryStartsItsEdition()
{
    QFETCH(bool, demo);
    QFETCH(QString, name);
    const core::Edition edition = demo ? core::demoEdition() : core::fullEdition();
    const QString source = QStringLiteral(QUIZMOOR_SOURCE_DIR "/packaging/");
    const auto keys = entry(source + edition.desktopEntry + u".desktop"_s);
    QCOMPARE(keys.value(u"Name"_s), name);
    QCOMPARE(keys.value(u"Exec"_s), edition.programName);
    // the window class the program's windows carry on X11
    QCOMPARE(keys.value(u"StartupWMClass"_s), edition.programName);
    QCOMPARE(keys.value(u"Categories"_s), u"Education;"_s);
    QCOMPARE(keys.value(u"Icon"_s), u"org.quizmoor.Quizmoor"_s);
    // the software centre's description launches it too
    QVERIFY(text(source + u"org.quizmoor.Quizmoor.metainfo.xml"_s)
                .contains(u"<launchable type=\"desktop-id\">%1.desktop</launchable>"_s.arg(
                    edition.desktopEntry)));
}

void TestDesktop::manualPageTellsItsEdition()
{
    QFETCH(bool, demo);
    const core::Edition edition = demo ? core::demoEdition() : core::fullEdition();
    const QString page =
        text(QStringLiteral(QUIZMOOR_BINARY_DIR "/packaging/") + edition.programName + u".1"_s);
    QVERIFY(page.startsWith(u".TH %1 1 "_s.arg(edition.programName.toUpper())));
    QVERIFY(page.contains(u"\n%1 questions in %2 minutes,"_s.arg(edition.questionCount)
                              .arg(edition.timeLimitMinutes)));
    QVERIFY(page.contains(u".IR %1 ,"_s.arg(edition.databaseFile)));
    QVERIFY(
        page.contains(u".I $XDG_DATA_HOME/%1/%2"_s.arg(edition.programName, edition.databaseFile)));
    QVERIFY(!page.contains(u'@')); // every placeholder filled
}

void TestDesktop::themeIconMatchesTheWindowsIcon_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 48, 256})
        QTest::addRow("%d px", size) << size;
}

void TestDesktop::themeIconMatchesTheWindowsIcon()
{
    QFETCH(int, size);
    const QImage drawn = gui::applicationIcon()
                             .pixmap(QSize(size, size))
                             .toImage()
                             .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QSvgRenderer svg(QStringLiteral(QUIZMOOR_SOURCE_DIR "/packaging/quizmoor.svg"));
    QVERIFY(svg.isValid());
    QImage theme(size, size, QImage::Format_ARGB32_Premultiplied);
    theme.fill(Qt::transparent);
    QPainter painter(&theme);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    theme = theme.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QCOMPARE(drawn.size(), theme.size());

    // the two antialias their edges a little differently; shape and colour must agree
    int differing = 0;
    for (int y = 0; y < size; ++y) {
        const uchar* a = drawn.constScanLine(y);
        const uchar* b = theme.constScanLine(y);
        for (int x = 0; x < size; ++x) {
            int difference = 0;
            for (int channel = 4 * x; channel < 4 * x + 4; ++channel)
                difference = std::max(difference, std::abs(a[channel] - b[channel]));
            if (difference > 40)
                ++differing;
        }
    }
    QVERIFY2(differing <= size * size / 50,
             qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(differing).arg(size * size)));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
