#include "app/frmRailOpen.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/menu_texts.h"
#include "app/unsaved_rail.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "model/rail_open_report.h"
#include "platform/paths.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {

std::vector<std::string> railFoldersOf(const std::string& projectFolder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(projectFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (endsWithNoCase(name, ".CF")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

frmRailOpen::frmRailOpen(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRailOpen");
    setModal(true);
    fraSelectRail = new QLabel;
    comboRailName = new QComboBox;
    comboRailName->setObjectName("comboRailName");
    comboRailName->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    auto* busy = new QProgressBar;
    busy->setRange(0, 0);  // runs without an end while the rail loads
    busy->setTextVisible(false);
    busy->hide();
    Animation1 = busy;
    cmdSelect = new QPushButton;
    cmdSelect->setObjectName("cmdSelect");
    cmdSelect->setDefault(true);
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAutoDefault(false);

    auto* column = new QVBoxLayout(this);
    column->addWidget(fraSelectRail);
    column->addWidget(comboRailName);
    column->addWidget(Animation1);
    column->addLayout(buttonRow({cmdSelect, cmdCancel}));

    VarnakForms().SetDeviceIndependentWindow(this);

    connect(cmdSelect, &QPushButton::clicked, this, [this] { cmdSelect_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmRailOpen::showEvent(QShowEvent* event) {
    // The instance outlives language switches and rails created in between.
    setWindowTitle(dialogText(kTxtRailOpenCaption));
    widenForTitle(this);
    fraSelectRail->setText(dialogText(kTxtRailOpenSelection));
    cmdSelect->setText(dialogText(kTxtRailOpenButton));
    cmdCancel->setText(dialogText(kTxtRailOpenCancel));
    fillRailList();
    QDialog::showEvent(event);
}

void frmRailOpen::fillRailList() {
    comboRailName->clear();
    for (const std::string& name : railFoldersOf(gfVarnakProject()->FullPathProject()))
        comboRailName->addItem(QString::fromStdString(name));
    if (comboRailName->count() > 0) comboRailName->setCurrentIndex(0);
}

void frmRailOpen::cmdSelect_Click() {
    AppContext& c = varnak();
    const std::string chosen = comboRailName->currentText().toStdString();
    if (chosen.empty()) {
        c.ui->messageBox(c.text(kTxtRailOpenNothingChosen), vbInformation, kProgramTitle);
        return;
    }
    Animation1->show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    auto project = gfVarnakProject();
    const std::string folder = platform::joinPath({project->FullPathProject(), chosen});
    const std::string file = platform::joinPath({folder, "Coupler.CCF"});
    const auto result = takeRoadDroppingLoadedRail(
        [&] { return project->clsColCouplers()->fOpenCoupler(folder, file); }, kProgramTitle);
    Animation1->hide();
    accept();
    if (result) showRailOpenResult(*result, file);
}

void showRailOpenResult(int32_t result, const std::string& file) {
    AppContext& c = varnak();
    if (result == kStoreOk) {
        auto couplers = gfVarnakProject()->clsColCouplers();
        if (couplers->Count() == 0) return;
        const std::string report = railOpenReport(**couplers->begin());
        if (!report.empty()) c.ui->messageBox(report, vbExclamation, kProgramTitle);
        return;
    }
    std::string text = storeResultMessage(result);
    // Which file is meant, so that the user can look at it.
    if (result == kStoreNotARailFile || result == kStoreFileMissing) text += "\r\n\r\n" + file;
    c.ui->messageBox(text, vbCritical, kProgramTitle);
}

void frmRailOpen::cmdCancel_Click() {
    hide();
}

}  // namespace varnak
