#pragma once
// Writes the register values of one coupler table or terminal channel into a device
// description, so that they become the defaults of that device type. The target starts as
// the type's own description in the resource folder; the user may choose another folder
// (the folder field with its chooser and the folder's files) and file name.
#include <QDialog>
#include <cstdint>

#include "views/table_resource_save.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varnak {

class frmSaveTableAsResource : public QDialog {
    Q_OBJECT
  public:
    explicit frmSaveTableAsResource(QWidget* parent = nullptr);

    // lTermPos 0: coupler table lSignalChannel; n: channel lSignalChannel of the terminal at
    // rail position n. Shows the dialog modally; nothing opens for a table that is not there.
    void fKonstruktor(int32_t& lTermPos, int32_t& lSignalChannel);
    // Everything fKonstruktor does before showing; false when nothing is shown.
    [[nodiscard]] bool load(int32_t lTermPos, int32_t lSignalChannel);
    TableResourceSave& session() { return session_; }

    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtFileName = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOk_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fInit_Language();
    void fInitTargetFile();
    void Dir1_Change();
    // Enter in the folder field: shows that folder (its path cleaned) and saves nothing.
    void Dir1_Open();
    void File1_Click(const QString& name);

    TableResourceSave session_;
};

}  // namespace varnak
