#pragma once
// The station upload dialog: the connected station's coupler settings, programmed
// configuration and terminal settings read into the active rail by the boxes the user
// ticks, with the progress shown inside the dialog. The order of the reads lives in
// online/station_upload.h; storing the rail is the caller's business.
#include <QDialog>
#include <array>
#include <memory>

#include "online/station_upload.h"
#include "online/transfer_dialog_parts.h"

class QCheckBox;
class QPushButton;

namespace varnak {

class clsCoupler;

class frmOnlineUpLoad : public QDialog {
    Q_OBJECT
  public:
    explicit frmOnlineUpLoad(QWidget* parent = nullptr);

    // Shows the dialog modally; True when an upload ran to its end without a failure (the
    // rail may then be saved; what it passed over is named to the user), False after Cancel
    // or a failed read (named to the user).
    [[nodiscard]] bool fKonstruktor();
    // Everything fKonstruktor does before showing the dialog; false when there is no rail.
    [[nodiscard]] bool load();
    void fInitUploadCaptions();
    bool result() const { return result_; }
    const TransferReport& report() const { return report_; }

    TransferBoxes chkUpLoad{};
    QGroupBox* fraRange = nullptr;
    TerminalRangeFields range;
    QPushButton* cmdGet = nullptr;
    QPushButton* cmdCancel = nullptr;
    TransferProgressFrame* fraProgessBar = nullptr;

  private:
    void cmdGet_Click();

    std::shared_ptr<clsCoupler> rail_;
    bool result_ = false;
    TransferReport report_;
};

}  // namespace varnak
