#pragma once
// The generic register table editor: every register of one table of the coupler or of one
// terminal channel in a grid of offset, value and description, the value shown and
// entered in the chosen data type. Offline it edits the project's table (saved when the
// dialog closes), online the station's: each edit is written and read back.
#include <QDialog>
#include <string>

#include "views/register_editor.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace varnak {

class RegisterGrid;

class frmRegister : public QDialog {
    Q_OBJECT
  public:
    explicit frmRegister(QWidget* parent = nullptr);

    // Opens the table of a register-table key and shows the dialog modally; a key that
    // names no table opens nothing, an online failure shows message 469.
    void fRegister(std::string& key);
    // Everything fRegister does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load(const std::string& key);
    void fInit_Language();
    RegisterEditor& editor() { return editor_; }

    QLabel* lblCaption = nullptr;
    RegisterGrid* tdbgData = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* comboDataTyp1 = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdExit = nullptr;

  public slots:
    void done(int result) override;

  private:
    void fInitGrid();
    void fillDataColumn();
    void comboDataTyp1_Change(int index);
    void cmdRefresh_Click();
    void tdbgData_Edited(int row, int column, const QString& text);

    RegisterEditor editor_;
    bool loaded_ = false;
};

}  // namespace varnak
