#include "online/frmRimTalkQZ3xxx.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "couplerservices/coupler_services.h"
#include "model/app_context.h"
#include "online/online_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {

std::optional<std::string> stationNumberLabel(bool failed, bool hasNumber, int32_t number) {
    if (failed) return varnak().text(kTxtNoCommunication);
    if (!hasNumber) return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return std::string(text);
}

frmRimTalkQZ3xxx::frmRimTalkQZ3xxx(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRimTalkQZ3xxx");
    setModal(true);
    lblQZ3x00Adr = new QLabel;
    lblQZ3x00Adr->setObjectName("lblQZ3x00Adr");
    lblQZ3x00Adr->setAlignment(Qt::AlignCenter);
    QFont big = lblQZ3x00Adr->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    lblQZ3x00Adr->setFont(big);
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblQZ3x00Adr, 1);
    column->addLayout(buttonRow({cmdCancel}));

    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        abort_ = true;
        accept();
    });
    fInitCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    // Room for the longest text in the label's own font as scaled, so that the window
    // grows with it instead of cutting it.
    const QFontMetrics metrics = lblQZ3x00Adr->fontMetrics();
    lblQZ3x00Adr->setMinimumWidth(metrics.horizontalAdvance(dialogText(kTxtNoCommunication)) +
                                  2 * metrics.averageCharWidth());
}

void frmRimTalkQZ3xxx::fInitCaptions() {
    setWindowTitle(dialogText(kTxtStationNumberCaption));
    lblQZ3x00Adr->setText(dialogText(kTxtStationNumberStarting));
    cmdCancel->setText(dialogText(kTxtDialogExit));
}

void frmRimTalkQZ3xxx::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    abort_ = false;
    timer_.start();
}

void frmRimTalkQZ3xxx::poll() {
    if (abort_) return;
    ++queries_;
    int32_t number = 0;
    const ServiceAnswer answer = VarnakCouplerServices().stationNumber(number);
    if (auto text = stationNumberLabel(answer.failed(), answer.ok(), number))
        lblQZ3x00Adr->setText(qText(*text));
    // Re-armed after the query: the window's events, Cancel among them, run in between.
    if (!abort_) timer_.start();
}

void frmRimTalkQZ3xxx::done(int result) {
    abort_ = true;
    timer_.stop();
    QDialog::done(result);
}

}  // namespace varnak
