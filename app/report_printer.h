#pragma once
// The program's printer for reports: the printer the print dialogs set up, which the
// preview prints a report on and the report selection prints the rail picture on.
#include <QString>
#include <functional>
#include <memory>

class QFont;
class QImage;
class QPrinter;
class QTextDocument;
class QWidget;

namespace varnak {

class ReportPrinter {
  public:
    ReportPrinter();
    ~ReportPrinter();

    QPrinter& printer() { return *printer_; }
    // The chosen printer's name; the output file when it prints to a PDF file; empty
    // when there is neither.
    QString deviceName() const;

    // The print dialog (setup: only choose the printer and its settings). True when the
    // user confirmed it; a confirmed dialog gives the printer a device to print on.
    bool runDialog(QWidget* parent, bool setup);
    // Replaces the platform's dialog (tests); the function answers as the user would.
    void setDialogRunner(std::function<bool(QPrinter&, bool setup)> runner) {
        runner_ = std::move(runner);
    }

    // A print dialog was confirmed since the program started.
    bool hasDeviceContext() const { return deviceContext_; }
    void setHasDeviceContext(bool value) { deviceContext_ = value; }

    // Prints a document once; the printer's copy count decides how many copies come out.
    // False when the printer could not print it (no valid printer, a file not written).
    bool printDocument(QTextDocument& document);
    // Prints an image on one page in landscape, scaled to the page; the printer keeps its
    // orientation for what it prints afterwards.
    bool printImage(const QImage& image);

  private:
    std::unique_ptr<QPrinter> printer_;
    std::function<bool(QPrinter&, bool)> runner_;
    bool deviceContext_ = false;
};

// The program's one report printer, created on first use (with an application object)
// and dropped with the application object.
ReportPrinter& reportPrinter();

// A report's text as a document for the printer: the report font and tab stops at the
// report's columns.
std::unique_ptr<QTextDocument> reportDocument(const QString& text);
// The font reports are shown and printed in (fixed pitch, so that columns line up).
QFont reportFont();
// Gives a document showing a report text in a font its tab stops at the report's columns.
void setReportTabStops(QTextDocument& document, const QString& text, const QFont& font);

}  // namespace varnak
