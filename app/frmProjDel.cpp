#include "app/frmProjDel.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/menu_texts.h"
#include "app/projects_folder.h"
#include "model/app_context.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace fs = std::filesystem;

frmProjDel::frmProjDel(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProjDel");
    setModal(true);
    SSFrame1 = new QLabel;
    Label1 = new QLabel;
    Label2 = new QLabel;
    Dir1 = new QLineEdit;
    Dir1->setObjectName("Dir1");
    cmdDelete = new QPushButton;
    cmdDelete->setObjectName("cmdDelete");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");

    cmdBrowse = folderChooserButton(this, Dir1);

    auto* grid = new QGridLayout;
    grid->addWidget(SSFrame1, 0, 0, 1, 3);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Dir1, 1, 1);
    grid->addWidget(cmdBrowse, 1, 2);
    grid->addWidget(Label2, 2, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttonRow({cmdDelete, cmdCancel}));

    setWindowTitle(dialogText(kTxtProjDelCaption));
    SSFrame1->setText(dialogText(kTxtProjDelFrame));
    Label1->setText(dialogText(kTxtProjDelPath));
    Label2->setText(dialogText(kTxtProjDelFolder));
    cmdDelete->setText(dialogText(kTxtProjDelButton));
    cmdCancel->setText(dialogText(kTxtProjDelCancel));
    VarnakForms().SetDeviceIndependentWindow(this);

    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(Dir1, &QLineEdit::textChanged, this, [this](const QString& path) {
        Label2->setText(dialogText(kTxtProjDelFolder) + " " +
                        qText(fs::path(path.toStdString()).filename().string()));
    });
}

void frmProjDel::showEvent(QShowEvent* event) {
    Dir1->setText(qText(projectParentFolder()));
    QDialog::showEvent(event);
}

void frmProjDel::cmdDelete_Click() {
    AppContext& c = varnak();
    std::string folder = Dir1->text().toStdString();
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    const std::string title = c.text(kTxtProjDelCaption);
    if (!endsWithNoCase(folder, ".PF")) {
        c.ui->messageBox(c.text(kTxtProjDelNotProject), vbCritical, title);
        return;
    }
    if (c.ui->messageBox(c.text(kTxtProjDelQuestion), vbYesNo | vbCritical | vbDefaultButton2,
                         title) == vbYes) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        int32_t result = gfVarnakProject()->fDeleteProject(folder);
        QApplication::restoreOverrideCursor();
        if (result != kStoreOk) c.ui->messageBox(storeResultMessage(result), vbCritical, title);
    }
    accept();
}

void frmProjDel::cmdCancel_Click() {
    reject();
}

}  // namespace varnak
