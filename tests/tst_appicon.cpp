// The icon theme's emblem (an SVG drawing) and the one the windows draw in
// code are the same picture.

#include "gui/toolkit/AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

class TestAppIcon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void themeIconMatchesTheWindowsIcon_data();
    void themeIconMatchesTheWindowsIcon();
};

void TestAppIcon::themeIconMatchesTheWindowsIcon_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 48, 256})
        QTest::addRow("%d px", size) << size;
}

void TestAppIcon::themeIconMatchesTheWindowsIcon()
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

QTEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"
