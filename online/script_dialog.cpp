#include "online/script_dialog.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/app_context.h"
#include "model/clsProject.h"
#include "online/online_texts.h"
#include "online/transfer_dialog_parts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {

ScriptStepper::ScriptStepper(QDialog* dialog, QPushButton* start, TransferProgressFrame* frame)
    : QObject(dialog), dialog_(dialog), start_(start), frame_(frame) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { nextRequest(); });
}

ScriptStepper::~ScriptStepper() = default;

void ScriptStepper::start(ScriptPlan plan) {
    start_->setEnabled(false);
    frame_->proBar->setRange(0, std::max(plan.progressMax, 1));
    frame_->proBar->setValue(0);
    frame_->lblProgBar->setText("Init...");
    frame_->show();
    dialog_->setCursor(Qt::BusyCursor);
    run_ = std::make_unique<ScriptRun>(std::move(plan), [this](const std::string& text, int v) {
        frame_->proBar->setValue(std::min(v, frame_->proBar->maximum()));
        frame_->lblProgBar->setText(qText(text));
    });
    outcome_ = ScriptRun::Outcome::Running;
    failure_.reset();
    timer_.start();
}

void ScriptStepper::nextRequest() {
    if (run_ && run_->step()) {
        timer_.start();
        return;
    }
    if (run_) {
        outcome_ = run_->outcome();
        failure_ = run_->failure();
    }
    run_.reset();
    dialog_->unsetCursor();
    dialog_->accept();
}

bool ScriptStepper::closeRequested() {
    if (!run_) return false;
    run_->cancel();
    return true;
}

ScriptDialog::ScriptDialog(const char* name, QWidget* parent) : QDialog(parent) {
    setObjectName(name);
    setModal(true);
    cmdPrjOk = new QPushButton;
    cmdPrjOk->setObjectName("cmdPrjOk");
    cmdPrjOk->setDefault(true);
    cmdPrjCancel = new QPushButton;
    cmdPrjCancel->setObjectName("cmdPrjCancel");
    // The button that stops a run keeps the normal pointer.
    cmdPrjCancel->setCursor(Qt::ArrowCursor);
    fraProgessBar = new TransferProgressFrame;
    column_ = new QVBoxLayout(this);
    column_->addWidget(fraProgessBar);
    column_->addLayout(buttonRow({cmdPrjOk, cmdPrjCancel}));
    stepper_ = new ScriptStepper(this, cmdPrjOk, fraProgessBar);
    connect(cmdPrjOk, &QPushButton::clicked, this, [this] { cmdPrjOk_Click(); });
    connect(cmdPrjCancel, &QPushButton::clicked, this, [this] { reject(); });
}

ScriptDialog::~ScriptDialog() = default;

void ScriptDialog::addFrame(QWidget* frame) {
    column_->insertWidget(0, frame);
}

void ScriptDialog::finishLoad() {
    VarnakForms().SetDeviceIndependentWindow(this);
    fraProgessBar->fitToFont();
    fraProgessBar->hide();
}

void ScriptDialog::reject() {
    if (!stepper_->closeRequested()) QDialog::reject();
}

bool scriptMayRun() {
    if (gfVarnakProject()->Online()) return true;
    AppContext& c = varnak();
    c.ui->messageBox(c.text(kTxtScriptOnlineOnly), vbExclamation, "");
    return false;
}

bool scriptFileUsable(bool readable, const std::vector<std::string>& invalid,
                      const std::string& path) {
    AppContext& c = varnak();
    if (!readable) {
        c.ui->messageBox(c.text(kTxtScriptUnreadable) + path, vbExclamation, "");
        return false;
    }
    if (invalid.empty()) return true;
    // A box the screen can hold: the first lines, then how many more there are.
    constexpr size_t kShownLines = 20;
    std::string text = c.text(kTxtScriptInvalidLines);
    for (size_t i = 0; i < invalid.size() && i < kShownLines; ++i) text += "\n" + invalid[i];
    if (invalid.size() > kShownLines)
        text += "\n... (+" + std::to_string(invalid.size() - kShownLines) + ")";
    c.ui->messageBox(text, vbExclamation, "");
    return false;
}

}  // namespace varnak
