#include "views/frmProcDataDigital.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "views/no_communication_line.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kPassMs = 200;

QString bitText(std::optional<int32_t> word, int bit) {
    if (!word) return {};
    return (*word >> bit) & 1 ? "1" : "0";
}

}  // namespace

frmProcDataDigital::frmProcDataDigital(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProcDataDigital");
    setModal(true);
    Frame1 = new QGroupBox("Inputs");
    Frame2 = new QGroupBox("Outputs");
    auto* inputs = new QGridLayout(Frame1);
    auto* outputs = new QGridLayout(Frame2);
    auto* labels = new QGridLayout;
    for (int r = 0; r < kDigitalRows; ++r) {
        lblChannel[r] = new QLabel;
        txtChannelValue[r] = new QLineEdit;
        txtChannelValueOut[r] = new QLineEdit;
        chkForceValue[r] = new QCheckBox("Force Value");
        chkForceValue[r]->setObjectName(QString("chkForceValue_%1").arg(r));
        // The value boxes only display; read-only keeps their text readable.
        for (QLineEdit* box : {txtChannelValue[r], txtChannelValueOut[r]}) {
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
            box->setMaximumWidth(box->fontMetrics().averageCharWidth() * 4);
            box->setAlignment(Qt::AlignCenter);
        }
        labels->addWidget(lblChannel[r], r, 0);
        inputs->addWidget(txtChannelValue[r], r, 0);
        outputs->addWidget(txtChannelValueOut[r], r, 0);
        outputs->addWidget(chkForceValue[r], r, 1);
        // A box set by the program runs the same handling as a click.
        connect(chkForceValue[r], &QCheckBox::toggled, this,
                [this, r](bool checked) { chkForceValue_Click(r, checked); });
    }
    // Each row keeps its place in all three columns, shown or hidden.
    for (int r = 0; r < kDigitalRows; ++r)
        for (QWidget* w : {static_cast<QWidget*>(txtChannelValue[r]),
                           static_cast<QWidget*>(txtChannelValueOut[r]),
                           static_cast<QWidget*>(chkForceValue[r])}) {
            QSizePolicy keep = w->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            w->setSizePolicy(keep);
        }
    for (QGridLayout* grid : {labels, inputs, outputs})
        for (int r = 0; r < kDigitalRows; ++r)
            grid->setRowMinimumHeight(r, txtChannelValue[0]->sizeHint().height());
    cmdOk = new QPushButton("&Exit");
    cmdOk->setObjectName("cmdOk");
    auto* frames = new QHBoxLayout;
    auto* labelFrame = new QGroupBox(" ");
    labelFrame->setLayout(labels);
    frames->addWidget(labelFrame);
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    lblNoCommunication = newNoCommunicationLine();
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblNoCommunication);
    column->addLayout(frames);
    column->addLayout(buttonRow({cmdOk}));

    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        Timer1.stop();
        accept();
    });
}

bool frmProcDataDigital::load() {
    if (data_.open() != DigitalProcessData::OpenResult::Opened) return false;
    const DigitalModule& m = data_.module();
    for (int r = 0; r < kDigitalRows; ++r) {
        {
            const QSignalBlocker quiet(chkForceValue[r]);
            chkForceValue[r]->setChecked(false);
        }
        chkForceValue[r]->setEnabled(false);
        for (QWidget* w :
             {static_cast<QWidget*>(chkForceValue[r]), static_cast<QWidget*>(txtChannelValue[r]),
              static_cast<QWidget*>(txtChannelValueOut[r])})
            w->hide();
        txtChannelValue[r]->clear();
        txtChannelValueOut[r]->clear();
        lblChannel[r]->setText(QString("Channel %1").arg(r));
        if (r < m.inputs) txtChannelValue[r]->show();
        if (m.outputBit[static_cast<size_t>(r)] >= 0) {
            txtChannelValueOut[r]->show();
            chkForceValue[r]->setEnabled(true);
            chkForceValue[r]->show();
        }
    }
    VarnakForms().SetDeviceIndependentWindow(this);
    Timer1.start(kPassMs);
    return true;
}

void frmProcDataDigital::fKonstruktor(int32_t&, int32_t&) {
    if (load()) exec();
}

void frmProcDataDigital::Timer1_Timer() {
    data_.pass();
    const DigitalModule& m = data_.module();
    for (int r = 0; r < m.inputs; ++r) txtChannelValue[r]->setText(bitText(data_.inputWord(), r));
    for (int r = 0; r < kDigitalRows; ++r) {
        const int bit = m.outputBit[static_cast<size_t>(r)];
        if (bit >= 0) txtChannelValueOut[r]->setText(bitText(data_.outputWord(), bit));
    }
    showPassHealth(lblNoCommunication, data_.health());
    Timer1.start(kPassMs);
}

void frmProcDataDigital::chkForceValue_Click(int row, bool checked) {
    const int bit = data_.module().outputBit[static_cast<size_t>(row)];
    bool written;
    {
        BusyCursor busy;
        written = data_.force(bit, checked);
    }
    if (written) return;
    // Nothing went to the coupler: the box shows so, without a second round of handling.
    const QSignalBlocker quiet(chkForceValue[row]);
    chkForceValue[row]->setChecked(!checked);
}

}  // namespace varnak
