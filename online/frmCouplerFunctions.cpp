#include "online/frmCouplerFunctions.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "online/coupler_service_buttons.h"
#include "online/online_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {

frmCouplerFunctions::frmCouplerFunctions(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCouplerFunctions");
    setModal(true);
    auto* grid = new QGridLayout;
    for (int i = 0; i < kCouplerServiceButtons; ++i) {
        Command1[i] = new QPushButton;
        Command1[i]->setObjectName(QString("Command1_%1").arg(i));
        Command1[i]->setAutoDefault(false);
        Label1[i] = new QLabel;
        Label1[i]->setObjectName(QString("Label1_%1").arg(i));
        Label1[i]->setFrameShape(QFrame::StyledPanel);
        // Not empty while the window is scaled: the scaling takes an empty label for a
        // picture and would leave its font as it is.
        Label1[i]->setText(" ");
        grid->addWidget(Command1[i], i, 0);
        grid->addWidget(Label1[i], i, 1);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    cmdExit = new QPushButton;
    cmdExit->setObjectName("cmdExit");
    cmdExit->setDefault(true);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttonRow({cmdExit}));
    connect(cmdExit, &QPushButton::clicked, this, [this] { accept(); });

    VarnakForms().SetDeviceIndependentWindow(this);
    fInitCaptions();
    // Room for the longest result in the labels' fonts as scaled.
    const QFontMetrics metrics = Label1[0]->fontMetrics();
    int widest = 0;
    for (int id :
         {kTxtServiceOk, kTxtServiceNotOk, kTxtProtectionLifted, kTxtProtectionSet, kTxtResetOk})
        widest = std::max(widest, metrics.horizontalAdvance(dialogText(id)));
    for (QLabel* label : Label1) label->setMinimumWidth(widest + 2 * metrics.averageCharWidth());
}

void frmCouplerFunctions::fInitCaptions() {
    setWindowTitle(dialogText(kTxtCouplerServicesCaption));
    for (int i = 0; i < kCouplerServiceButtons; ++i) {
        Command1[i]->setText(dialogText(kTxtCouplerServiceFirst + i));
        Label1[i]->clear();
    }
    cmdExit->setText(dialogText(kTxtDialogOk));
}

void frmCouplerFunctions::Command1_Click(int index) {
    for (int i = 0; i < kCouplerServiceButtons; ++i) {
        Command1[i]->setEnabled(false);
        Label1[i]->clear();
    }
    repaint();
    std::string text;
    {
        BusyCursor busy;
        text = runCouplerServiceButton(index);
    }
    Label1[index]->setText(qText(text));
    for (QPushButton* button : Command1) button->setEnabled(true);
}

}  // namespace varnak
