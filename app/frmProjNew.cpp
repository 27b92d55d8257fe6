#include "app/frmProjNew.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/menu_texts.h"
#include "app/name_rules.h"
#include "app/projects_folder.h"
#include "app/unsaved_rail.h"
#include "model/app_context.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace fs = std::filesystem;

int newProjectRefusal(const std::string& name, const std::string& folder) {
    if (name.empty() || !validProjectName(name)) return kTxtProjNameInvalid;
    if (!clsProject::gfValidProjFolderName(folder)) return kTxtProjFolderInvalid;
    // Folders and files alike count, compared as the users' file systems compare names.
    const std::string wanted = upperAscii(name + ".PF");
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (upperAscii(it->path().filename().string()) == wanted) return kTxtProjExists;
    }
    return 0;
}

frmProjNew::frmProjNew(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProjNew");
    setModal(true);
    lblDriveProjNew = new QLabel;
    lblDirProjNew = new QLabel;
    dirProjNew = new QLineEdit(qText(projectParentFolder()));
    dirProjNew->setObjectName("dirProjNew");
    cmdBrowse = folderChooserButton(this, dirProjNew);
    txtGetNewPrjName = new QLineEdit;
    txtGetNewPrjName->setObjectName("txtGetNewPrjName");
    cmdPrjOk = new QPushButton;
    cmdPrjOk->setObjectName("cmdPrjOk");
    cmdPrjCancel = new QPushButton;
    cmdPrjCancel->setObjectName("cmdPrjCancel");
    // Enter anywhere in the dialog acts as the OK button.
    cmdPrjOk->setDefault(true);
    cmdPrjOk->setAutoDefault(true);
    cmdPrjCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(lblDriveProjNew, 0, 0);
    grid->addWidget(dirProjNew, 0, 1);
    grid->addWidget(cmdBrowse, 0, 2);
    grid->addWidget(lblDirProjNew, 1, 0);
    grid->addWidget(txtGetNewPrjName, 1, 1, 1, 2);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttonRow({cmdPrjOk, cmdPrjCancel}));

    setWindowTitle(dialogText(kTxtProjNewCaption));
    // "Path:" labels the chosen folder, "Folder:" the name of the project folder in it.
    lblDriveProjNew->setText(dialogText(kTxtProjNewPath));
    lblDirProjNew->setText(dialogText(kTxtProjNewFolder));
    cmdPrjOk->setText(dialogText(kTxtProjNewOk));
    cmdPrjCancel->setText(dialogText(kTxtProjNewCancel));
    VarnakForms().SetDeviceIndependentWindow(this);
    // The folder comes proposed; what the user types first is the name.
    txtGetNewPrjName->setFocus();

    connect(cmdPrjOk, &QPushButton::clicked, this, [this] { cmdPrjOk_Click(); });
    connect(cmdPrjCancel, &QPushButton::clicked, this, [this] { cmdPrjCancel_Click(); });
}

void frmProjNew::cmdPrjOk_Click() {
    AppContext& c = varnak();
    cmdPrjOk->setEnabled(false);
    const std::string folder = dirProjNew->text().toStdString();
    const std::string name = trimBlanks(txtGetNewPrjName->text().toStdString());
    txtGetNewPrjName->setText(qText(name));
    const std::string title = c.text(kTxtProjNewCaption);
    switch (newProjectRefusal(name, folder)) {
        case kTxtProjNameInvalid:
            c.ui->messageBox(c.text(kTxtProjNameInvalid) + "\r\n\r\n" + projectNameRetry(name),
                             vbInformation, title);
            break;
        case kTxtProjFolderInvalid:
            c.ui->messageBox(c.text(kTxtProjFolderInvalid) + "\r\n" + c.text(kTxtTryWithoutDot),
                             vbInformation, title);
            break;
        case kTxtProjExists:
            c.ui->messageBox(c.text(kTxtProjExists), vbInformation, title);
            break;
        default: {
            const std::string projectFolder = platform::joinPath({folder, name + ".PF"});
            const auto result = takeRoadDroppingLoadedRail(
                [&] { return gfVarnakProject()->fNewProject(name, projectFolder, folder); }, title);
            // The user kept the loaded rail: nothing was created, the dialog stays.
            if (!result) break;
            if (*result != kStoreOk) {
                // Nothing was created: say why and let the user choose again.
                c.ui->messageBox(storeResultMessage(*result), vbCritical, title);
                break;
            }
            cmdPrjOk->setEnabled(true);
            accept();
            return;
        }
    }
    cmdPrjOk->setEnabled(true);
}

void frmProjNew::cmdPrjCancel_Click() {
    reject();
}

}  // namespace varnak
