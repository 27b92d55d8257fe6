#pragma once
// The settings download dialog: the project's first rail written into the connected station,
// by the boxes the user ticks, with the progress shown inside the dialog; it closes when the
// download ends, naming what failed. The order of the steps lives in
// online/settings_download.h.
#include <QDialog>
#include <array>
#include <memory>

#include "online/settings_download.h"
#include "online/transfer_dialog_parts.h"

class QCheckBox;
class QPushButton;

namespace varnak {

class clsCoupler;

class frmOnlineDownLoad : public QDialog {
    Q_OBJECT
  public:
    explicit frmOnlineDownLoad(QWidget* parent = nullptr);

    // Binds the project's first rail; false (nothing to show) when the project has none.
    [[nodiscard]] bool load();
    void fInitCaptions();
    // The report of the last download.
    const TransferReport& report() const { return report_; }

    TransferBoxes chkDownSend{};
    QGroupBox* fraRange = nullptr;
    TerminalRangeFields range;
    QPushButton* cmdCouplerGeneral = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;
    TransferProgressFrame* fraProgessBar = nullptr;

  private:
    void cmdSend_Click();
    void cmdCancel_Click();

    std::shared_ptr<clsCoupler> m_Coupler;
    bool abort_ = false;
    TransferReport report_;
};

}  // namespace varnak
