#include "SheetPrinter.h"

#include "Program.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>

namespace scoring {

SheetPrinter::SheetPrinter(app::Program& program) : m_program(program) {}

QString SheetPrinter::noPrinterPrompt()
{
    return QStringLiteral("No printer is available. Do you want to save the score sheet as a "
                          "PDF file instead?");
}

QString SheetPrinter::pdfNamePrompt()
{
    return QStringLiteral("Save the score sheet as this PDF file:");
}

QString SheetPrinter::pdfTitle() { return QStringLiteral("Save as PDF"); }

bool SheetPrinter::printerAvailable()
{
    return !QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull();
}

QString SheetPrinter::defaultPdfPath(const QDate& day)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString name =
        QStringLiteral("Score Sheet ") + day.toString(Qt::ISODate) + QStringLiteral(".pdf");
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

QImage SheetPrinter::imageOf(QWidget& window)
{
    constexpr qreal scale = 2.0;
    QImage image(window.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(window.palette().color(window.backgroundRole()));
    window.render(&image);
    return image;
}

void SheetPrinter::print(QWidget& window)
{
    const QImage image = imageOf(window);
    if (printerAvailable())
        printOnPrinter(image);
    else if (m_program.MsgBox(noPrinterPrompt(), app::vbOKCancelQuestion) == app::vbOK)
        saveAsPdf(image);
}

bool SheetPrinter::paint(QPrinter& printer, const QImage& image)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size = image.deviceIndependentSize().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

void SheetPrinter::printOnPrinter(const QImage& image)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Score Sheet"));
    if (!paint(printer, image))
        m_program.MsgBox(QStringLiteral("The score sheet could not be printed on \"%1\".")
                             .arg(printer.printerName()));
}

void SheetPrinter::saveAsPdf(const QImage& image)
{
    QString path = m_program.InputBox(pdfNamePrompt(), pdfTitle(),
                                      defaultPdfPath(QDate::currentDate()))
                       .trimmed();
    if (path.isEmpty())
        return; // cancelled
    path = QDir::fromNativeSeparators(path);
    if (QFileInfo(path).isRelative())
        path = QFileInfo(defaultPdfPath(QDate::currentDate())).dir().filePath(path);
    if (QFileInfo(path).suffix().compare(QLatin1StringView("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    const QString shown = QDir::toNativeSeparators(path);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QStringLiteral("Score Sheet"));
    // The Documents folder may not have been made yet; any other folder must exist.
    const QString folder = QFileInfo(path).absolutePath();
    if (folder == QFileInfo(defaultPdfPath(QDate::currentDate())).absolutePath())
        QDir().mkpath(folder);
    if (!paint(printer, image)) {
        m_program.MsgBox(QStringLiteral("The score sheet could not be saved as \"%1\". Check that "
                                        "the folder exists and can be written.")
                             .arg(shown));
        return;
    }
    m_program.MsgBox(QStringLiteral("The score sheet was saved as \"%1\".").arg(shown));
}

} // namespace scoring
