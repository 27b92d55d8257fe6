#include "online/transfer_dialog_parts.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/app_context.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kProgressSteps = 60;
// The longest status text: "Download fieldbus specific table :122".
constexpr int kStatusCharacters = 42;

}  // namespace

TransferProgressFrame::TransferProgressFrame() {
    setObjectName("fraProgessBar");
    proBar = new QProgressBar;
    proBar->setObjectName("proBar");
    proBar->setRange(0, kProgressSteps);
    proBar->setValue(0);
    lblProgBar = new QLabel;
    lblProgBar->setObjectName("lblProgBar");
    auto* column = new QVBoxLayout(this);
    column->addWidget(proBar);
    column->addWidget(lblProgBar);
}

void TransferProgressFrame::fitToFont() {
    lblProgBar->setMinimumWidth(lblProgBar->fontMetrics().averageCharWidth() * kStatusCharacters);
}

void TransferProgressFrame::start() {
    proBar->setRange(0, kProgressSteps);
    proBar->setValue(0);
    show();
}

void TransferProgressFrame::showText(const std::string& text) {
    lblProgBar->setText(qText(text));
    window()->repaint();
}

TransferProgress TransferProgressFrame::progress(std::function<bool()> aborted,
                                                 std::function<void(int)> boxDone) {
    TransferProgress p;
    p.status = [this](const std::string& text) { showText(text); };
    p.step = [this](const std::string& text) {
        proBar->setValue(std::min(proBar->value() + 1, kProgressSteps));
        showText(text);
    };
    p.aborted = std::move(aborted);
    p.boxDone = std::move(boxDone);
    return p;
}

TerminalRangeFields::TerminalRangeFields() {
    MaskEdBoxStartKlemme = new QLineEdit;
    MaskEdBoxStartKlemme->setObjectName("MaskEdBoxStartKlemme");
    MaskEdBoxEndKlemme = new QLineEdit;
    MaskEdBoxEndKlemme->setObjectName("MaskEdBoxEndKlemme");
    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    for (QLineEdit* field : {MaskEdBoxStartKlemme, MaskEdBoxEndKlemme})
        field->setMaximumWidth(field->fontMetrics().averageCharWidth() * 8);
    layout_ = new QHBoxLayout;
    layout_->addWidget(MaskEdBoxStartKlemme);
    layout_->addWidget(Label1);
    layout_->addWidget(MaskEdBoxEndKlemme);
    layout_->addStretch();
}

void TerminalRangeFields::bind(clsCoupler& rail, QWidget* box) {
    const int32_t count = rail.clsColTerminals()->Count();
    const bool any = count >= 1;
    for (QWidget* w : {box, static_cast<QWidget*>(MaskEdBoxStartKlemme),
                       static_cast<QWidget*>(Label1), static_cast<QWidget*>(MaskEdBoxEndKlemme)})
        w->setEnabled(any);
    MaskEdBoxStartKlemme->setText(any ? "1" : "");
    MaskEdBoxEndKlemme->setText(any ? QString::number(count) : "");
}

TransferReport TransferDialogRun::operator()(const TransferFunction& transfer) const {
    TransferChoice choice;
    for (int i = 0; i < kTransferBoxes; ++i) choice.boxes[i] = boxes[i]->isChecked();
    choice.firstText = range.MaskEdBoxStartKlemme->text().toStdString();
    choice.lastText = range.MaskEdBoxEndKlemme->text().toStdString();
    TransferReport report;
    {
        BusyCursor busy;
        start->setEnabled(false);
        frame->start();
        report = transfer(choice, frame->progress(aborted, [this](int box) {
            boxes[static_cast<size_t>(box)]->setChecked(false);
        }));
        start->setEnabled(true);
    }
    dialog->hide();
    // A failure's message names the notes too.
    AppContext& c = varnak();
    if (!report.clean())
        c.ui->messageBox(transferReportText(report, headingTextId), vbExclamation, "");
    else if (!report.notes.empty())
        c.ui->messageBox(transferReportText(report, notesHeadingTextId), vbInformation, "");
    return report;
}

}  // namespace varnak
