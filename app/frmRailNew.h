#pragma once
// Creates a rail of a coupler type in the open project. One instance lives for the
// program: Cancel only hides it, so the next opening shows the fields as they were left;
// after a rail was created its fields start afresh.
#include <QDialog>
#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnak {

class frmRailNew : public QDialog {
    Q_OBJECT
  public:
    explicit frmRailNew(QWidget* parent = nullptr);

    // Sets the insert position from a project or rail key (other keys keep the previous
    // one) and shows the dialog modally.
    void fCouplerInsert(std::string& key);
    // The position fCouplerInsert takes from a key; false keeps the previous one.
    static bool insertPositionFor(const std::string& key, int32_t& position);

    void cmdNew_Click();
    void cmdCancel_Click();
    int32_t insertPosition() const { return insertPosition_; }

    QLabel* SSFrame1 = nullptr;
    QLabel* lblSelectFldBusIntTyp = nullptr;
    QComboBox* comboFldBusIntTyp = nullptr;
    QLabel* lblnam = nullptr;
    QLineEdit* txtUserRailName = nullptr;
    QLabel* lblcmnt = nullptr;
    QLineEdit* txtRailComment = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void loadFields();
    void setCaptions();
    int32_t insertPosition_ = 0;
};

}  // namespace varnak
