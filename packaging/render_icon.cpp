// render_icon: draws the program's SVG emblem as the PNG sizes an icon theme
// keeps beside the scalable one.
//
//   render_icon EMBLEM.svg OUT.png SIZE

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Shapes only, no text: painting into an image needs no GUI platform.
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool sized = false;
    const int size = args.size() == 4 ? args[3].toInt(&sized) : 0;
    if (!sized || size < 1 || size > 4096) {
        std::fprintf(stderr, "usage: render_icon EMBLEM.svg OUT.png SIZE\n");
        return 2;
    }
    QSvgRenderer emblem(args[1]);
    if (!emblem.isValid()) {
        std::fprintf(stderr, "render_icon: %s is not an SVG drawing\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    emblem.render(&painter);
    painter.end();
    if (!image.save(args[2], "PNG")) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
