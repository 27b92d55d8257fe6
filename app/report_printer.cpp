#include "app/report_printer.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

#include "app/report_columns.h"

namespace varnak {
namespace {

// What a report stands clear of the paper's edge (or more where the printer cannot print).
constexpr double kReportMarginInches = 2 / 2.54;

}  // namespace

ReportPrinter::ReportPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

ReportPrinter::~ReportPrinter() = default;

QString ReportPrinter::deviceName() const {
    if (printer_->outputFormat() == QPrinter::PdfFormat) return printer_->outputFileName();
    return printer_->printerName();
}

bool ReportPrinter::runDialog(QWidget* parent, bool setup) {
    bool accepted;
    if (runner_) {
        accepted = runner_(*printer_, setup);
    } else {
        QPrintDialog dialog(printer_.get(), parent);
        // Whole reports only: no page ranges, no selection. Printing to a file stays, the
        // one way to print on a machine without printers.
        dialog.setOptions(QAbstractPrintDialog::PrintToFile |
                          QAbstractPrintDialog::PrintShowPageSize);
        if (setup) dialog.setWindowTitle(QPrintDialog::tr("Print Setup"));
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (accepted) deviceContext_ = true;
    return accepted;
}

void ReportPrinter::beginRun() {
    inRun_ = true;
    runFailed_ = false;
}

bool ReportPrinter::endRun() {
    inRun_ = false;
    const bool ended = endPrint(!runFailed_);
    runFailed_ = false;
    return ended;
}

bool ReportPrinter::startPage(QPageLayout::Orientation orientation) {
    if (painter_ && painter_->isActive()) {
        // A page's layout is set between the pages, never while one is drawn.
        printer_->setPageOrientation(orientation);
        return printer_->newPage();
    }
    // After a failure a run starts no second document: printed to a file, it would replace
    // what the run printed before.
    if (inRun_ && runFailed_) return false;
    // Without a device the platform's printer would stay busy and refuse every setting.
    if (deviceName().isEmpty()) return false;
    documentOrientation_ = printer_->pageLayout().orientation();
    printer_->setPageOrientation(orientation);
    painter_ = std::make_unique<QPainter>();
    return painter_->begin(printer_.get());
}

bool ReportPrinter::endPrint(bool printed) {
    if (!printed && inRun_) runFailed_ = true;
    if (inRun_ && printed) return true;
    bool ended = printed;
    if (painter_) {
        if (painter_->isActive()) ended = painter_->end() && ended;
        painter_.reset();
        printer_->setPageOrientation(documentOrientation_);
    }
    replaceBusyPrinter();
    return ended;
}

void ReportPrinter::replaceBusyPrinter() {
    if (printer_->printerState() != QPrinter::Active) return;
    const QPrinter& old = *printer_;
    auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    fresh->setPrinterName(old.printerName());
    fresh->setOutputFormat(old.outputFormat());
    fresh->setOutputFileName(old.outputFileName());
    fresh->setPageLayout(old.pageLayout());
    fresh->setCopyCount(old.copyCount());
    fresh->setCollateCopies(old.collateCopies());
    fresh->setDuplex(old.duplex());
    fresh->setColorMode(old.colorMode());
    fresh->setFullPage(old.fullPage());
    fresh->setDocName(old.docName());
    printer_ = std::move(fresh);
}

bool ReportPrinter::printReport(const QString& text) {
    const std::string utf8 = text.toStdString();
    const std::vector<ReportLine> lines = reportLines(utf8, reportColumnStops(utf8));
    const QPageLayout::Orientation orientation =
        painter_ ? documentOrientation_ : printer_->pageLayout().orientation();
    bool printed = startPage(orientation);
    if (!printed) return endPrint(false);
    // The text stands 2 cm clear of the paper's edge, inside what the printer can print; the
    // painter's origin is the printable area's corner.
    const double dpi = printer_->logicalDpiX();
    const QRectF printable = printer_->pageRect(QPrinter::DevicePixel);
    const double margin = kReportMarginInches * dpi;
    const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
    const QRectF area = paper.adjusted(margin, margin, -margin, -margin)
                            .intersected(printable)
                            .translated(-printable.topLeft());
    // Measured in the printer's own font: the columns stand where its characters end.
    QFont font = reportFont();
    const double advanceEm =
        QFontMetricsF(font, printer_.get()).horizontalAdvance(QLatin1Char('0')) /
        (font.pointSizeF() * dpi / 72);
    font.setPointSizeF(reportFitPoints(reportWidth(lines), area.width() * 72 / dpi, advanceEm));
    const QFontMetricsF metrics(font, printer_.get());
    const double advance = metrics.horizontalAdvance(QLatin1Char('0'));
    const int perPage = std::max(1, static_cast<int>(area.height() / metrics.lineSpacing()));
    for (size_t i = 0; i < lines.size() && printed; ++i) {
        const int row = static_cast<int>(i % static_cast<size_t>(perPage));
        if (i > 0 && row == 0) printed = startPage(orientation);
        if (!printed) break;
        painter_->setFont(font);
        const double baseline = area.top() + row * metrics.lineSpacing() + metrics.ascent();
        for (const ReportCell& cell : lines[i])
            painter_->drawText(QPointF(area.left() + cell.position * advance, baseline),
                               QString::fromStdString(cell.text));
    }
    return endPrint(printed);
}

bool ReportPrinter::printImage(const QImage& image) {
    const bool printed = startPage(QPageLayout::Landscape);
    if (printed && !image.isNull()) {
        const QRect page(QPoint(0, 0), printer_->pageRect(QPrinter::DevicePixel).size().toSize());
        const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
        painter_->drawImage(QRect(page.topLeft(), size), image);
    }
    return endPrint(printed);
}

namespace {
ReportPrinter* thePrinter = nullptr;
void dropPrinter() {
    delete thePrinter;
    thePrinter = nullptr;
}
}  // namespace

ReportPrinter& reportPrinter() {
    // The printer talks to the platform's print support, which ends with the application
    // object: the printer goes first.
    if (!thePrinter) {
        thePrinter = new ReportPrinter;
        qAddPostRoutine(dropPrinter);
    }
    return *thePrinter;
}

QFont reportFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(kReportFontPoints);
    return font;
}

void setReportTabStops(QTextDocument& document, const QString& text, const QFont& font) {
    const double width = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    QList<QTextOption::Tab> tabs;
    for (int column : reportColumnStops(text.toStdString()))
        tabs.append(QTextOption::Tab(column * width, QTextOption::LeftTab));
    QTextOption option = document.defaultTextOption();
    option.setTabs(tabs);
    option.setTabStopDistance(kReportDefaultTab * width);
    document.setDefaultTextOption(option);
}

}  // namespace varnak
