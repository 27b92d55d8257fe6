#pragma once
// The digital inputs and outputs of a station of one module, refreshed every 200 ms by a
// timer that re-arms itself at the end of each pass, with a box per output row that forces
// its bit. The reads and the forcing live in views/process_data_digital.h.
#include <QDialog>
#include <QTimer>
#include <array>

#include "views/process_data_digital.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnak {

class frmProcDataDigital : public QDialog {
    Q_OBJECT
  public:
    explicit frmProcDataDigital(QWidget* parent = nullptr);

    // Both arguments are ignored. Shows the dialog modally when the checks pass.
    void fKonstruktor(int32_t& lTermPos, int32_t& lSignalChannel);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load();
    DigitalProcessData& data() { return data_; }

    std::array<QLineEdit*, kDigitalRows> txtChannelValue{};
    std::array<QLineEdit*, kDigitalRows> txtChannelValueOut{};
    std::array<QCheckBox*, kDigitalRows> chkForceValue{};
    std::array<QLabel*, kDigitalRows> lblChannel{};
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* cmdOk = nullptr;
    // Shown while the passes fail: the boxes then hold the last bits read.
    QLabel* lblNoCommunication = nullptr;
    QTimer Timer1;

  private:
    void Timer1_Timer();
    void chkForceValue_Click(int row, bool checked);

    DigitalProcessData data_;
};

}  // namespace varnak
