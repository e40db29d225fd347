#include "gui/toolkit/WindowPrinter.h"

#include "gui/toolkit/Program.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>

namespace gui {

WindowPrinter::WindowPrinter(Program& program, QString title)
    : m_program(program), m_title(std::move(title))
{
}

QString WindowPrinter::noPrinterPrompt() const
{
    return QStringLiteral(
               "No printer is available. Do you want to save the %1 as a PDF file instead?")
        .arg(m_title.toLower());
}

QString WindowPrinter::pdfNamePrompt() const
{
    return QStringLiteral("Save the %1 as this PDF file:").arg(m_title.toLower());
}

QString WindowPrinter::pdfTitle()
{
    return QStringLiteral("Save as PDF");
}

bool WindowPrinter::printerAvailable()
{
    return !QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull();
}

QString WindowPrinter::defaultPdfPath(const QDate& day) const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString name = m_title + u' ' + day.toString(Qt::ISODate) + QStringLiteral(".pdf");
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

QImage WindowPrinter::imageOf(QWidget& window)
{
    constexpr qreal scale = 2.0;
    QImage image(window.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(window.palette().color(window.backgroundRole()));
    window.render(&image);
    return image;
}

void WindowPrinter::print(QWidget& window)
{
    const QImage image = imageOf(window);
    if (printerAvailable())
        printOnPrinter(image);
    else if (m_program.msgBox(noPrinterPrompt(), core::Prompter::OkCancelQuestion) ==
             core::Prompter::Ok)
        saveAsPdf(image);
}

bool WindowPrinter::paint(QPrinter& printer, const QImage& image)
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

void WindowPrinter::printOnPrinter(const QImage& image)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(m_title);
    if (!paint(printer, image))
        m_program.msgBox(QStringLiteral("The %1 could not be printed on \"%2\".")
                             .arg(m_title.toLower(), printer.printerName()));
}

void WindowPrinter::saveAsPdf(const QImage& image)
{
    QString path =
        m_program.inputBox(pdfNamePrompt(), pdfTitle(), defaultPdfPath(QDate::currentDate()))
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
    printer.setDocName(m_title);
    // The Documents folder may not have been made yet; any other folder must exist.
    const QString folder = QFileInfo(path).absolutePath();
    if (folder == QFileInfo(defaultPdfPath(QDate::currentDate())).absolutePath())
        QDir().mkpath(folder);
    if (!paint(printer, image)) {
        m_program.msgBox(QStringLiteral("The %1 could not be saved as \"%2\". Check that "
                                        "the folder exists and can be written.")
                             .arg(m_title.toLower(), shown));
        return;
    }
    m_program.msgBox(QStringLiteral("The %1 was saved as \"%2\".").arg(m_title.toLower(), shown));
}

} // namespace gui
