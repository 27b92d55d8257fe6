#include "app/frmRailNew.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "app/basgfAccessDB.h"
#include "app/menu_texts.h"
#include "app/name_rules.h"
#include "app/unsaved_rail.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/device_description.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {

frmRailNew::frmRailNew(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRailNew");
    setModal(true);
    SSFrame1 = new QLabel(" Auswahl Feldbuskoppler ");
    lblSelectFldBusIntTyp = new QLabel;
    comboFldBusIntTyp = new QComboBox;
    comboFldBusIntTyp->setObjectName("comboFldBusIntTyp");
    lblnam = new QLabel;
    txtUserRailName = new QLineEdit;
    txtUserRailName->setObjectName("txtUserRailName");
    lblcmnt = new QLabel;
    txtRailComment = new QLineEdit;
    txtRailComment->setObjectName("txtRailComment");
    // The rail file gives back no more than this: a longer comment would come back cut.
    txtRailComment->setMaxLength(kMaxKeyTextLength);
    cmdNew = new QPushButton;
    cmdNew->setObjectName("cmdNew");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    // Enter anywhere in the dialog acts as the OK button.
    cmdNew->setDefault(true);
    cmdCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(SSFrame1, 0, 0, 1, 2);
    grid->addWidget(lblSelectFldBusIntTyp, 1, 0);
    grid->addWidget(comboFldBusIntTyp, 1, 1);
    grid->addWidget(lblnam, 2, 0);
    grid->addWidget(txtUserRailName, 2, 1);
    grid->addWidget(lblcmnt, 3, 0);
    grid->addWidget(txtRailComment, 3, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttonRow({cmdNew, cmdCancel}));

    setCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    loadFields();

    connect(cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmRailNew::setCaptions() {
    setWindowTitle(dialogText(kTxtRailNewCaption));
    lblSelectFldBusIntTyp->setText(dialogText(kTxtRailNewType));
    lblnam->setText(dialogText(kTxtRailNewName));
    lblcmnt->setText(dialogText(kTxtRailNewComment));
    cmdNew->setText(dialogText(kTxtRailNewOk));
    cmdCancel->setText(dialogText(kTxtRailNewCancel));
}

void frmRailNew::showEvent(QShowEvent* event) {
    // The instance outlives language switches.
    setCaptions();
    QDialog::showEvent(event);
}

void frmRailNew::loadFields() {
    comboFldBusIntTyp->clear();
    CouplerTypeList types = gfInitCouplerTypeList();
    for (const std::string& entry : types.entries)
        comboFldBusIntTyp->addItem(QString::fromStdString(entry));
    comboFldBusIntTyp->setCurrentIndex(types.selected);
    txtUserRailName->clear();
    txtRailComment->clear();
}

bool frmRailNew::insertPositionFor(const std::string& key, int32_t& position) {
    const std::string_view prefix = std::string_view(key).substr(0, kTreeKeyPrefixLength);
    auto couplers = gfVarnakProject()->clsColCouplers();
    if (prefix == SZ_PROJECT_GRPKEY) {
        position = couplers->Count() + 1;
        return true;
    }
    if (prefix == SZ_COUPLER_ITEMKEY) {
        std::shared_ptr<clsCoupler> rail = couplers->ItemID(treeKeyField(key, kKeyCouplerId));
        if (!rail) return false;
        position = rail->ConfProjectPosition();
        return true;
    }
    return false;
}

void frmRailNew::fCouplerInsert(std::string& key) {
    insertPositionFor(key, insertPosition_);
    exec();
}

void frmRailNew::cmdNew_Click() {
    AppContext& c = varnak();
    cmdNew->setEnabled(false);
    cmdCancel->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool created = false;
    std::string entry = comboFldBusIntTyp->currentText().toStdString();
    const std::string type = gfGetTypeFromListEntry(entry);
    const std::string name = railNameFromInput(txtUserRailName->text().toStdString());
    txtUserRailName->setText(QString::fromStdString(name));
    auto project = gfVarnakProject();
    if (type.empty()) {
        // Without device descriptions there is no type to build a rail from.
        c.ui->messageBox(c.text(kTxtRailNoCouplerType), vbInformation, kProgramTitle);
    } else if (name.empty() || !validRailName(name)) {
        c.ui->messageBox(railNameRefusal(name), vbInformation, kProgramTitle);
    } else if (gfRailNameExists(project->FullPathProject(), name)) {
        c.ui->messageBox(c.text(kTxtRailNameTaken) + "\r\n\r\n" + c.text(kTxtRailNameOther),
                         vbCritical, "");
    } else {
        hide();
        const auto added = takeRoadDroppingLoadedRail(
            [&] { return project->clsColCouplers()->Add(type, insertPosition_, name); },
            kProgramTitle);
        // Without a result the user kept the loaded rail and was told why: nothing was made.
        std::shared_ptr<clsCoupler> rail;
        if (added == kStoreOk && gfGetActiveCoupler(rail) && rail) {
            // Taken as the rail file gives it back: without blanks at its ends.
            rail->setUserInfoDescription(trimBlanks(txtRailComment->text().toStdString()));
            if (type.starts_with("QP") || type.starts_with("QI")) {
                const std::string module = deviceDescriptionFile("Terminal", type);
                int32_t result = newDeviceRefusal(module, kChannelDefaultsTable);
                if (result == kStoreOk)
                    result = rail->clsColTerminals()->Add(type, 1, 1, rail->ConfSymbolicID());
                if (result != kStoreOk)
                    c.ui->messageBox(newDeviceRefusalText(result, module), vbCritical,
                                     kProgramTitle);
            }
            created = true;
            // Nothing saves at exit: the new rail goes to disk now, with its comment and a
            // module's own terminal, so that it is there when the project is opened again.
            const int32_t result = rail->ConfSaveData();
            if (result != kStoreOk)
                c.ui->messageBox(storeResultMessage(result), vbCritical, kProgramTitle);
        } else if (added && *added != kStoreOk) {
            c.ui->messageBox(newDeviceRefusalText(*added, deviceDescriptionFile("Coupler", type)),
                             vbCritical, kProgramTitle);
        }
    }
    cmdNew->setEnabled(true);
    cmdCancel->setEnabled(true);
    QApplication::restoreOverrideCursor();
    if (created) {
        // The dialog unloads: the next opening starts with fresh fields.
        loadFields();
        accept();
    }
}

void frmRailNew::cmdCancel_Click() {
    hide();
}

}  // namespace varnak
