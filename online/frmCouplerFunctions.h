#pragma once
// The coupler services dialog: six one-click services on the connected coupler (set and
// lift the write protection, software reset, firmware checksum, terminal-bus reset,
// factory setting), each with its result beside its button. The query members live apart
// (couplerservices/coupler_services.h) and are called without this window.
#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace varnak {

class frmCouplerFunctions : public QDialog {
    Q_OBJECT
  public:
    explicit frmCouplerFunctions(QWidget* parent = nullptr);

    void fInitCaptions();

    std::array<QPushButton*, 6> Command1{};
    std::array<QLabel*, 6> Label1{};
    QPushButton* cmdExit = nullptr;

  private:
    void Command1_Click(int index);
};

}  // namespace varnak
