#include "app/frmPrint.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/frmMainVMT.h"
#include "app/frmPreView.h"
#include "app/online_texts.h"
#include "app/report_printer.h"
#include "app/report_text.h"
#include "model/app_context.h"
#include "model/clsProject.h"
#include "platform/paths.h"
#include "railview/frmCouplerDisplay.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_openers.h"

namespace varnak {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

bool isReportRow(int row) {
    return row == 1 || (row >= 4 && row <= 7);
}

void printRailViewImage(AppContext& context) {
    frmMainVMT* main = mainWindow();
    QImage image;
    if (main && main->railView) image = main->railView->grab().toImage();
    if (!reportPrinter().printImage(image))
        context.ui->messageBox(context.text(kTxtPrintProblems), vbOKOnly, "");
}

}  // namespace

frmPrint::frmPrint(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("frmPrint");
    lstPrint = new QListWidget;
    lstPrint->setSelectionMode(QAbstractItemView::MultiSelection);
    Frame1 = new QGroupBox;
    auto* options = new QVBoxLayout(Frame1);
    for (auto& option : ssradDestination) {
        option = new QRadioButton;
        options->addWidget(option);
        connect(option, &QRadioButton::clicked, this, &frmPrint::ssradDestination_Click);
    }
    lblPrinter = new QLabel;
    lblSelectedPrinter = new QLabel;
    cmdOk = new QPushButton;
    cmdCancel = new QPushButton;
    cmdPrintSetup = new QPushButton;
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(lblPrinter);
    printerRow->addWidget(lblSelectedPrinter, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdPrintSetup);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(lstPrint, 1);
    top->addLayout(buttons);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top, 1);
    column->addWidget(Frame1);
    column->addLayout(printerRow);
    // The design size: the rows' captions fit the list.
    lstPrint->setMinimumWidth(380);
    resize(560, 320);
    connect(cmdOk, &QPushButton::clicked, this, &frmPrint::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrint::cmdCancel_Click);
    connect(cmdPrintSetup, &QPushButton::clicked, this, &frmPrint::cmdPrintSetup_Click);
    runReport_ = [this](int32_t destination, int32_t row, const std::string& path) {
        frmPreView preview(context_, this);
        preview.fConstructor(destination, row, path);
    };
    printRailPicture_ = [this] { printRailViewImage(context_); };
    Form_Load();
}

void frmPrint::Form_Load() {
    const bool printer = !reportPrinter().deviceName().isEmpty();
    if (!printer) context_.ui->messageBox(context_.text(kTxtNoPrinter), vbCritical, "");
    setWindowTitle(q(context_.text(kTxtPrintDialogCaption)));
    lblPrinter->setText(q(context_.text(kTxtPrinterLabel)));
    Frame1->setTitle(q(context_.text(kTxtOutputTo)));
    ssradDestination[0]->setText(q(context_.text(kTxtDestinationWindow)));
    ssradDestination[1]->setText(q(context_.text(kTxtDestinationPrinter)));
    ssradDestination[1]->setEnabled(printer);
    cmdOk->setText(q(context_.text(kTxtPrintOk)));
    cmdCancel->setText(q(context_.text(kTxtPrintCancel)));
    cmdPrintSetup->setText(q(context_.text(kTxtPrintSetup)));
    VarnakForms().SetDeviceIndependentWindow(this);
    lstPrint->clear();
    for (int row = 0; row < kReportRowCount; ++row)
        lstPrint->addItem(isReportRow(row) ? q(context_.text(kTxtReportRowBase + row)) : QString());
    Form_Activate();
}

void frmPrint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void frmPrint::Form_Activate() {
    lblSelectedPrinter->setText(reportPrinter().deviceName());
    ssradDestination[0]->setChecked(true);
    cmdPrintSetup->setEnabled(false);
}

void frmPrint::fKonstruktor() {
    exec();
}

void frmPrint::ssradDestination_Click() {
    cmdPrintSetup->setEnabled(ssradDestination[1]->isChecked());
}

void frmPrint::cmdPrintSetup_Click() {
    reportPrinter().runDialog(this, true);
    lblSelectedPrinter->setText(reportPrinter().deviceName());
}

void frmPrint::cmdCancel_Click() {
    reject();
}

void frmPrint::cmdOk_Click() {
    const bool toPrinter = ssradDestination[1]->isChecked();
    const int32_t destination = toPrinter ? kDestinationPrinter : kDestinationWindow;
    // Cancel in the print dialog ends this run; the selection stays for another try.
    if (toPrinter && !reportPrinter().runDialog(this, false)) return;
    // The preview windows are modal and show the normal pointer; printing is busy.
    if (toPrinter) QApplication::setOverrideCursor(Qt::WaitCursor);
    // Everything this OK prints is one document: printed to a file, one file holds it all.
    ReportPrintRun run(reportPrinter());
    // No project, no folder: the reports are shown but saved nowhere.
    const std::string folder =
        gfVarnakProject()->IsOpen() ? gfVarnakProject()->FullPathProject() : std::string();
    const auto pathOf = [&](int row) {
        return folder.empty() ? folder : platform::joinPath({folder, reportFileName(row)});
    };
    for (int row = 0; row < kReportRowCount; ++row) {
        QListWidgetItem* item = lstPrint->item(row);
        if (!item || !item->isSelected()) continue;
        if (row == kReportRailPicture) {
            if (printRailPicture_) printRailPicture_();
        } else if (row == kReportMapping) {
            // The mapping report reads the tables the dialog fills when it loads. A mapping
            // the dialog refuses (its message was shown) has no report, and the report of an
            // earlier mapping is kept as it is.
            bool show = false;
            if (dialogOpeners().frmConfigProg_fKonstruktor(show))
                runReport_(destination, row, pathOf(row));
            dialogOpeners().frmConfigProg_Unload();
        } else if (!reportFileName(row).empty()) {
            runReport_(destination, row, pathOf(row));
        }
        item->setSelected(false);
    }
    if (toPrinter) {
        QApplication::restoreOverrideCursor();
        accept();
    }
}

void fShowReportSelection(AppContext& context, QWidget* parent) {
    frmPrint dialog(context, parent);
    dialog.fKonstruktor();
}

void fShowPrinterSetup(QWidget* parent) {
    reportPrinter().runDialog(parent, true);
}

}  // namespace varnak
