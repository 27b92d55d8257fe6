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

#include "app/report_columns.h"

namespace varnak {

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

bool ReportPrinter::printDocument(QTextDocument& document) {
    if (!printer_->isValid()) return false;
    document.print(printer_.get());
    return printer_->printerState() != QPrinter::Error;
}

bool ReportPrinter::printImage(const QImage& image) {
    // Landscape for this page only: the reports printed later stay upright.
    const QPageLayout::Orientation before = printer_->pageLayout().orientation();
    printer_->setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    bool printed = painter.begin(printer_.get());
    if (printed) {
        if (!image.isNull()) {
            QRect page = painter.viewport();
            QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRect(page.topLeft(), size), image);
        }
        printed = painter.end();
    }
    printer_->setPageOrientation(before);
    return printed;
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
    font.setPointSize(10);
    return font;
}

void setReportTabStops(QTextDocument& document, const QString& text, const QFont& font) {
    const double width = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    QList<QTextOption::Tab> tabs;
    for (int column : reportColumnStops(text.toStdString()))
        tabs.append(QTextOption::Tab(column * width, QTextOption::LeftTab));
    QTextOption option = document.defaultTextOption();
    option.setTabs(tabs);
    document.setDefaultTextOption(option);
}

std::unique_ptr<QTextDocument> reportDocument(const QString& text) {
    auto document = std::make_unique<QTextDocument>();
    const QFont font = reportFont();
    document->setDefaultFont(font);
    setReportTabStops(*document, text, font);
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    document->setPlainText(plain);
    return document;
}

}  // namespace varnak
