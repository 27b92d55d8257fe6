#pragma once
// Creates a new project: a name and the folder that is to hold the project folder
// "<name>.PF". The folder is chosen with the platform's folder chooser.
#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnak {

// Which message a choice gets (0: none, the project can be created).
int newProjectRefusal(const std::string& trimmedName, const std::string& folder);

class frmProjNew : public QDialog {
    Q_OBJECT
  public:
    explicit frmProjNew(QWidget* parent = nullptr);

    void cmdPrjOk_Click();
    void cmdPrjCancel_Click();

    QLabel* lblDriveProjNew = nullptr;
    QLabel* lblDirProjNew = nullptr;
    QLineEdit* dirProjNew = nullptr;  // the chosen folder
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtGetNewPrjName = nullptr;
    QPushButton* cmdPrjOk = nullptr;
    QPushButton* cmdPrjCancel = nullptr;
};

}  // namespace varnak
