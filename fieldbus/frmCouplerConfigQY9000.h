#pragma once
// The Ethernet couplers' dialog body: MAC id, YXM-Net-ID and DIP switches shown, the
// specific address and mask, the DHCP name and the link settings edited in table 100, the
// address the DHCP server gave shown from table 121, and Refresh. Every load asks the
// coupler (online) for its MAC id and DIP switches again and rebuilds every control.
#include <array>
#include <cstdint>
#include <vector>

#include "fieldbus/ethernet_coupler_settings.h"
#include "settingsforms/settings_body.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace varnak {

class CouplerSettingsSession;
class CouplerServices;

class frmCouplerConfigQY9000 : public SettingsBody {
  public:
    frmCouplerConfigQY9000(CouplerSettingsSession& session, CouplerServices& services);
    ~frmCouplerConfigQY9000() override;

    QWidget* widget() override;
    void initLanguage() override {}  // every caption of its own is fixed English
    void load(const RegisterImage& registers, std::string_view type) override;
    [[nodiscard]] bool checkEntries() override;
    void store(RegisterImage& registers) override;
    std::vector<QPushButton*> extraButtons() override { return {cmdRefresh}; }

    // Online the status table read again first (a failure said, the load goes on without
    // it), then every control loaded afresh.
    void cmdRefresh_Click();

    QPushButton* cmdRefresh = nullptr;

  private:
    void build();
    void fLoadDialog(const RegisterImage& settings);
    void show(const EthernetView& view);
    // The controls' state: the last load with the user's edits.
    EthernetView read() const;

    CouplerSettingsSession& session_;
    CouplerServices& services_;
    EthernetView loaded_;
    bool statusKnown_ = false;
    int32_t statusResult_ = 0;  // the last read of the status table (0 offline)

    QGroupBox* fraQZ8000_ = nullptr;
    QGroupBox* fraDHCP_ = nullptr;
    QGroupBox* fraSpecIP_ = nullptr;
    std::array<QLabel*, 8> lblQY9x00_{};
    std::array<QLineEdit*, 4> txtQY9x00_{};   // 0 MAC id, 1 YXM-Net-ID, 3 DHCP name
    std::array<QLineEdit*, 21> fpIQY9x00_{};  // 1..20
    QCheckBox* chkDHCP_ = nullptr;
    QRadioButton* optDip9_ClassB_ = nullptr;
    QRadioButton* optDip9_ClassC_ = nullptr;
    QCheckBox* chkSpeed_ = nullptr;
    QCheckBox* chkANEG_ = nullptr;
    QCheckBox* chkDuplex_ = nullptr;
};

}  // namespace varnak
