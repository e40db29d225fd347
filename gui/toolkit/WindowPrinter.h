#pragma once

#include <QDate>
#include <QImage>
#include <QString>

class QPrinter;
class QWidget;

namespace gui {

class Program;

// Prints a window's image on the default printer (print). Where there is
// no printer it says so and offers to save the image as a PDF file instead;
// whatever goes wrong is told to the candidate and the program carries on.
class WindowPrinter {
public:
    // `title` names what is printed: "Score Sheet".
    WindowPrinter(Program& program, QString title);

    void print(QWidget& window);

    // Whether a printer is set up to print on.
    static bool printerAvailable();
    // "<Documents>/Score Sheet 2026-12-06.pdf" for that day.
    QString defaultPdfPath(const QDate& day) const;
    // The window as it looks, at twice its size for a sharp print.
    static QImage imageOf(QWidget& window);

    QString noPrinterPrompt() const;
    QString pdfNamePrompt() const;
    static QString pdfTitle();

private:
    void printOnPrinter(const QImage& image);
    void saveAsPdf(const QImage& image);
    // Draws the image on one page, as wide as the page allows; false when
    // the printer or file would not start.
    static bool paint(QPrinter& printer, const QImage& image);

    Program& m_program;
    QString m_title;
};

} // namespace gui
