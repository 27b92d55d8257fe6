#pragma once
// The one way from the main window, its menus, its tree and its popups to the windows of
// the other parts of the program (rail view, online transfer, register views, coupler and
// terminal settings) and to the shell's own modal dialogs. Each member stands for one
// opening call and is named after the window and its member ("frmRegister_fRegister" is
// frmRegister.fRegister). The base class does nothing and answers "not done": a window
// that does not exist yet is simply not opened. The program installs its own instance
// (program_dialog_openers), which each window's author fills in; tests install one that
// records the calls.
#include <cstdint>
#include <string>
#include <vector>

namespace varnak {

// The programmed-mapping dialog's input and output tables (rows of its grids' text cells,
// every column), read by the mapping report after the dialog was loaded without being shown.
struct ConfigProgTables {
    std::vector<std::vector<std::string>> input;
    std::vector<std::vector<std::string>> output;
};

class DialogOpeners {
  public:
    virtual ~DialogOpeners() = default;

    // Rail view: the insert-terminal dialog for a coupler or terminal key.
    virtual void frmTermInsert_fTerminalInsert(std::string& /*key*/) {}

    // Online transfer and coupler services.
    virtual void frmComParam_Show() {}
    virtual void frmOnlineDownLoad_Show() {}
    // True when the upload ran to its end.
    [[nodiscard]] virtual bool frmOnlineUpLoad_fKonstruktor() { return false; }
    virtual void frmCouplerFunctions_Show() {}
    virtual void frmScriptTerm_fKonstruktor(std::string& /*path*/) {}
    virtual void frmScriptCoupler_fKonstruktor(std::string& /*path*/) {}
    virtual void frmRimTalkQZ3xxx_Show() {}
    virtual void frmRimTalkDebug_Show() {}

    // Register and process-data views.
    virtual void frmRegister_fRegister(std::string& /*key*/) {}
    // Both arguments are ignored: the window shows the one module of the station.
    virtual void frmProcDataDigital_fKonstruktor(int32_t& /*lTermPos*/,
                                                 int32_t& /*lSignalChannel*/) {}
    virtual void frmCouplerConfigControllerLinkTerm_fRegister(std::string& /*key*/) {}
    virtual void frmProcData_fConstructor() {}
    // Channel monitoring and forcing for a channel data key.
    virtual void frmTermForceData_fKonstruktor(std::string& /*key*/) {}
    virtual void frmSaveTableAsResource_fKonstruktor(int32_t& /*railPosition*/,
                                                     int32_t& /*tableNr*/) {}

    // Coupler configuration and process-image mapping.
    virtual bool frmCouplerConfigGeneral_fKonstruktorCouplerConfigGeneral() { return false; }
    virtual void frmCouplerConfigController_fKonstruktor() {}
    virtual void frmCouplerConfigController2_fKonstruktor() {}
    // show: True shows the dialog modally; False only loads it (its tables are then
    // available through frmConfigProg_Tables until frmConfigProg_Unload). False when the
    // dialog could not load (no rail, or a mapping its limits refuse: the message was shown).
    [[nodiscard]] virtual bool frmConfigProg_fKonstruktor(bool& /*show*/) { return false; }
    virtual ConfigProgTables frmConfigProg_Tables() { return {}; }
    virtual void frmConfigProg_Unload() {}
    // The automatic mapping's view (show: as for frmConfigProg).
    virtual void frmConfigAuto_fKonstruktor(bool& /*show*/) {}

    // Fieldbus-specific coupler dialogs.
    virtual void frmCouplerConfigQZ2000_fKonstruktor() {}
    virtual void frmCouplerConfigQZ3000_fKonstruktor() {}
    virtual void frmCouplerConfigQZ4000_fKonstruktor() {}
    virtual void frmCouplerConfigQZ5000_fKonstruktor() {}
    virtual void frmCouplerConfigQZ5100_fKonstruktor() {}
    virtual void frmCouplerConfigQZ5110_fKonstruktor() {}
    virtual void frmCouplerConfigQZ5200_fKonstruktor() {}
    virtual void frmCouplerConfigQZ7300_fKonstruktor() {}
    virtual void frmCouplerConfigQZ8000_fKonstruktor() {}
    virtual void frmCouplerConfigQY9000_fKonstruktor() {}

    // Terminal settings dialogs: rail position on the active rail, channel table number.
    virtual void frmTermConfigQT1501_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT2502_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT3002_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT3202_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT3302_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT4002_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT5001_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT5101_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT6001_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}
    virtual void frmTermConfigQT6051_fKonstruktor(int32_t& /*railPosition*/, int32_t& /*table*/) {}

    // The shell's own modal dialogs.
    virtual void frmProjNew_Show() {}
    virtual void frmProjDel_Show() {}
    virtual void frmRailNew_fCouplerInsert(std::string& /*key*/) {}
    virtual void frmRailOpen_Show() {}
    virtual void frmAbout_Show() {}
    // Report selection (the Project menu's print entry).
    virtual void frmPrint_fKonstruktor() {}
};

// The program's openers; a do-nothing instance until one is installed.
DialogOpeners& dialogOpeners();
// False while the do-nothing instance answers.
bool hasDialogOpeners();

// Installs openers for the rest of the process (or until replaced); null restores the
// do-nothing instance. The caller keeps ownership.
void setDialogOpeners(DialogOpeners* openers);

// Installs openers for its lifetime and restores the previous ones afterwards (tests).
class DialogOpenersScope {
  public:
    explicit DialogOpenersScope(DialogOpeners& openers);
    ~DialogOpenersScope();
    DialogOpenersScope(const DialogOpenersScope&) = delete;
    DialogOpenersScope& operator=(const DialogOpenersScope&) = delete;

  private:
    DialogOpeners* previous_;
};

}  // namespace varnak
