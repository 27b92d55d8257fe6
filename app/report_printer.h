#pragma once
// The program's printer for reports: the printer the print dialogs set up, which the
// preview prints a report on and the report selection prints the rail picture on.
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

#include "platform/unexamined_result.h"

class QFont;
class QImage;
class QPainter;
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

    // A print run: what is printed until it ends is one document, each report and picture
    // on pages of its own, so that printed to a file one run gives one file holding all of
    // it. Outside a run every print is a document of its own.
    void beginRun();
    // Ends the run's document. False when something printed in it could not be finished.
    [[nodiscard]] bool endRun();

    // Prints a report text on portrait pages with the report font, its columns at the tab
    // stops measured in the printer's font, in a smaller size where its widest line would
    // not fit the page. The printer's copy count decides how many copies come out. False
    // when the printer could not print it (no printer, a file not written).
    [[nodiscard]] bool printReport(const QString& text);
    // Prints an image on one landscape page, scaled to the page.
    [[nodiscard]] bool printImage(const QImage& image);

  private:
    // Starts a page in that orientation: the first of a document or the next of the run's.
    [[nodiscard]] bool startPage(QPageLayout::Orientation orientation);
    // Ends what the last print began, unless a run goes on; a failed print ends its document
    // so that the printer can be set up again.
    [[nodiscard]] bool endPrint(bool printed);
    // A printer the platform left busy after a failed start takes no settings any more: it is
    // replaced by one with the same settings.
    void replaceBusyPrinter();

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::function<bool(QPrinter&, bool)> runner_;
    bool deviceContext_ = false;
    bool inRun_ = false;
    bool runFailed_ = false;
    // The orientation the printer was set to when the document began: its reports keep it,
    // and the printer gets it back when the document ends.
    QPageLayout::Orientation documentOrientation_ = QPageLayout::Portrait;
};

// Ends the run it began when it goes (whatever way the printing ends).
class ReportPrintRun {
  public:
    explicit ReportPrintRun(ReportPrinter& printer) : printer_(printer) { printer_.beginRun(); }
    // The end of the document is not examined: each print of the run told its own failure.
    ~ReportPrintRun() { resultNotExamined(printer_.endRun()); }
    ReportPrintRun(const ReportPrintRun&) = delete;
    ReportPrintRun& operator=(const ReportPrintRun&) = delete;

  private:
    ReportPrinter& printer_;
};

// The program's one report printer, created on first use (with an application object)
// and dropped with the application object.
ReportPrinter& reportPrinter();

// The font reports are shown and printed in (fixed pitch, so that columns line up).
QFont reportFont();
// Gives a document showing a report text in a font its tab stops at the report's columns.
void setReportTabStops(QTextDocument& document, const QString& text, const QFont& font);

}  // namespace varnak
