#include "app/frmPreView.h"

#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/online_texts.h"
#include "app/report_printer.h"
#include "app/report_text.h"
#include "app/rtf_writer.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "windowkit/dialog_openers.h"

namespace varnak {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

frmPreView::frmPreView(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("frmPreView");
    auto* column = new QVBoxLayout(this);
    lblFileName = new QLabel;
    rtfView = new QPlainTextEdit;
    rtfView->setReadOnly(true);
    rtfView->setLineWrapMode(QPlainTextEdit::NoWrap);
    rtfView->setFont(reportFont());
    cmdPrint = new QPushButton("&Print");
    cmdOk = new QPushButton("&Ok");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblFileName, 1);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdOk);
    column->addWidget(rtfView, 1);
    column->addLayout(buttons);
    resize(800, 600);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPreView::cmdPrint_Click);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    showModal_ = [](frmPreView& form) { form.exec(); };
}

void frmPreView::fConstructor(int32_t destination, int32_t row, const std::string& path) {
    destination_ = destination;
    row_ = row;
    path_ = path;
    std::shared_ptr<clsCoupler> rail;
    if (!gfGetActiveCoupler(rail) || !rail) return;
    if (dateTime_.empty())
        dateTime_ = QLocale::system()
                        .toString(QDateTime::currentDateTime(), QLocale::ShortFormat)
                        .toStdString();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MappingTables mapping;
    // The report selection has loaded the programmed-mapping dialog for this row.
    if (row == kReportMapping) mapping = dialogOpeners().frmConfigProg_Tables();
    text_ = fReportText(row, *rail, dateTime_, mapping);
    Form_Load();
    QApplication::restoreOverrideCursor();
    if (destination == kDestinationWindow)
        showModal_(*this);
    else
        cmdPrint_Click();
    saveReport();
}

bool frmPreView::savesReport() const {
    // Without a project the folder would be the program's own (or the root after a
    // deletion): the report is shown but kept nowhere.
    return gfVarnakProject()->IsOpen() && !path_.empty();
}

void frmPreView::Form_Load() {
    lblFileName->setText(
        q(savesReport() ? "File: " + path_ : context_.text(kTxtReportNotSavedNoProject)));
    QString text = q(text_);
    text.remove(QLatin1Char('\r'));
    rtfView->setPlainText(text);
    setReportTabStops(*rtfView->document(), text, rtfView->font());
}

void frmPreView::cmdPrint_Click() {
    ReportPrinter& printer = reportPrinter();
    if (!printer.hasDeviceContext()) {
        context_.ui->messageBox(context_.text(kTxtPrintProblems), vbOKOnly, "");
        return;
    }
    if (!printer.printReport(q(text_)))
        context_.ui->messageBox(context_.text(kTxtPrintProblems), vbOKOnly, "");
}

void frmPreView::saveReport() {
    if (!savesReport()) {
        context_.ui->messageBox(context_.text(kTxtReportNotSavedNoProject), vbInformation, "");
        return;
    }
    std::string error = fSaveTextAsRtf(path_, text_);
    if (!error.empty())
        context_.ui->messageBox(context_.text(kTxtReportSaveFailed) + path_ + " (" + error + ")",
                                vbCritical, "");
}

}  // namespace varnak
