#pragma once
// Deletes a project folder ("*.PF") with everything in it, after a question. The folder is
// chosen with the platform's folder chooser.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnak {

class frmProjDel : public QDialog {
    Q_OBJECT
  public:
    explicit frmProjDel(QWidget* parent = nullptr);

    void cmdDelete_Click();
    void cmdCancel_Click();

    QLabel* SSFrame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Dir1 = nullptr;  // the chosen folder
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace varnak
