#pragma once
// The program's openers: the windows that exist are shown from here; every other member
// keeps the do-nothing default until its window is built.
#include <memory>

#include "windowkit/dialog_openers.h"

namespace varnak {

class frmConfigProg;
class frmMainVMT;
class frmRailNew;
class frmRailOpen;
class frmTermInsert;

class ProgramDialogOpeners : public DialogOpeners {
  public:
    explicit ProgramDialogOpeners(frmMainVMT& window);
    ~ProgramDialogOpeners() override;

    void frmComParam_Show() override;
    void frmAbout_Show() override;
    void frmProjNew_Show() override;
    void frmProjDel_Show() override;
    void frmRailNew_fCouplerInsert(std::string& key) override;
    void frmRailOpen_Show() override;
    void frmPrint_fKonstruktor() override;
    void frmRegister_fRegister(std::string& key) override;
    [[nodiscard]] bool frmConfigProg_fKonstruktor(bool& show) override;
    ConfigProgTables frmConfigProg_Tables() override;
    void frmConfigProg_Unload() override;
    void frmConfigAuto_fKonstruktor(bool& show) override;
    void frmSaveTableAsResource_fKonstruktor(int32_t& railPosition, int32_t& tableNr) override;
    void frmTermInsert_fTerminalInsert(std::string& key) override;
    void frmCouplerFunctions_Show() override;
    bool frmCouplerConfigGeneral_fKonstruktorCouplerConfigGeneral() override;
    void frmCouplerConfigController_fKonstruktor() override;
    void frmCouplerConfigController2_fKonstruktor() override;
    void frmCouplerConfigControllerLinkTerm_fRegister(std::string& key) override;
    void frmCouplerConfigQZ8000_fKonstruktor() override;
    void frmCouplerConfigQZ2000_fKonstruktor() override;
    void frmCouplerConfigQZ3000_fKonstruktor() override;
    void frmCouplerConfigQZ4000_fKonstruktor() override;
    void frmCouplerConfigQZ5000_fKonstruktor() override;
    void frmCouplerConfigQZ5100_fKonstruktor() override;
    void frmCouplerConfigQZ5110_fKonstruktor() override;
    void frmCouplerConfigQZ5200_fKonstruktor() override;
    void frmCouplerConfigQZ7300_fKonstruktor() override;
    void frmCouplerConfigQY9000_fKonstruktor() override;
    void frmTermConfigQT3002_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmRimTalkQZ3xxx_Show() override;
    void frmRimTalkDebug_Show() override;
    void frmOnlineDownLoad_Show() override;
    [[nodiscard]] bool frmOnlineUpLoad_fKonstruktor() override;
    void frmTermConfigQT1501_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT2502_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT3202_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT3302_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT4002_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT5001_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT5101_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT6001_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmTermConfigQT6051_fKonstruktor(int32_t& railPosition, int32_t& table) override;
    void frmProcData_fConstructor() override;
    void frmProcDataDigital_fKonstruktor(int32_t& lTermPos, int32_t& lSignalChannel) override;
    void frmTermForceData_fKonstruktor(std::string& key) override;
    void frmScriptTerm_fKonstruktor(std::string& path) override;
    void frmScriptCoupler_fKonstruktor(std::string& path) override;

  private:
    frmMainVMT& window_;
    // One instance each for the program's life (children of the window).
    frmRailNew* railNew_ = nullptr;
    frmRailOpen* railOpen_ = nullptr;
    frmTermInsert* termInsert_ = nullptr;
    // The programmed-mapping dialog loaded without being shown, for the mapping report.
    std::unique_ptr<frmConfigProg> loadedConfigProg_;
};

}  // namespace varnak
