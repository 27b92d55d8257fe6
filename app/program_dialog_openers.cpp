#include "app/program_dialog_openers.h"

#include "app/frmAbout.h"
#include "app/frmComParam.h"
#include "app/frmMainVMT.h"
#include "app/frmPrint.h"
#include "app/frmProjDel.h"
#include "app/frmProjNew.h"
#include "app/frmRailNew.h"
#include "app/frmRailOpen.h"
#include "couplercfg/frmConfigProg.h"
#include "couplercfg/frmCouplerConfigController.h"
#include "couplercfg/frmCouplerConfigController2.h"
#include "couplercfg/frmCouplerConfigControllerLinkTerm.h"
#include "couplercfg/frmCouplerConfigGeneral.h"
#include "fieldbus/coupler_forms.h"
#include "model/app_context.h"
#include "online/frmCouplerFunctions.h"
#include "online/frmOnlineDownLoad.h"
#include "online/frmOnlineUpLoad.h"
#include "online/frmRimTalkDebug.h"
#include "online/frmRimTalkQZ3xxx.h"
#include "online/frmScriptCoupler.h"
#include "online/frmScriptTerm.h"
#include "platform/unexamined_result.h"
#include "railview/frmTermInsert.h"
#include "terminalcfg/terminal_forms.h"
#include "views/frmProcData.h"
#include "views/frmProcDataDigital.h"
#include "views/frmRegister.h"
#include "views/frmSaveTableAsResource.h"
#include "views/frmTermForceData.h"

namespace varnak {

ProgramDialogOpeners::ProgramDialogOpeners(frmMainVMT& window) : window_(window) {}

ProgramDialogOpeners::~ProgramDialogOpeners() = default;

void ProgramDialogOpeners::frmComParam_Show() {
    window_.comParam().exec();
}

void ProgramDialogOpeners::frmAbout_Show() {
    frmAbout about(varnak(), &window_);
    about.exec();
}

void ProgramDialogOpeners::frmProjNew_Show() {
    frmProjNew dialog(&window_);
    dialog.exec();
}

void ProgramDialogOpeners::frmProjDel_Show() {
    frmProjDel dialog(&window_);
    dialog.exec();
}

void ProgramDialogOpeners::frmRailNew_fCouplerInsert(std::string& key) {
    if (!railNew_) railNew_ = new frmRailNew(&window_);
    railNew_->fCouplerInsert(key);
}

void ProgramDialogOpeners::frmRailOpen_Show() {
    if (!railOpen_) railOpen_ = new frmRailOpen(&window_);
    railOpen_->exec();
}

void ProgramDialogOpeners::frmPrint_fKonstruktor() {
    fShowReportSelection(varnak(), &window_);
}

void ProgramDialogOpeners::frmRegister_fRegister(std::string& key) {
    frmRegister dialog(&window_);
    dialog.fRegister(key);
}

void ProgramDialogOpeners::frmSaveTableAsResource_fKonstruktor(int32_t& railPosition,
                                                               int32_t& tableNr) {
    frmSaveTableAsResource dialog(&window_);
    dialog.fKonstruktor(railPosition, tableNr);
}

void ProgramDialogOpeners::frmTermInsert_fTerminalInsert(std::string& key) {
    if (!termInsert_) termInsert_ = new frmTermInsert(&window_);
    termInsert_->fTerminalInsert(key);
}

void ProgramDialogOpeners::frmCouplerFunctions_Show() {
    frmCouplerFunctions dialog(&window_);
    dialog.exec();
}

void ProgramDialogOpeners::frmRimTalkQZ3xxx_Show() {
    frmRimTalkQZ3xxx dialog(&window_);
    dialog.exec();
}

void ProgramDialogOpeners::frmRimTalkDebug_Show() {
    frmRimTalkDebug dialog(&window_);
    dialog.load();
    dialog.exec();
}

void ProgramDialogOpeners::frmOnlineDownLoad_Show() {
    frmOnlineDownLoad dialog(&window_);
    if (dialog.load()) dialog.exec();
}

bool ProgramDialogOpeners::frmOnlineUpLoad_fKonstruktor() {
    frmOnlineUpLoad dialog(&window_);
    return dialog.fKonstruktor();
}

bool ProgramDialogOpeners::frmConfigProg_fKonstruktor(bool& show) {
    if (show) {
        frmConfigProg dialog(frmConfigProg::Variant::Programmed, &window_);
        return dialog.fKonstruktor(true);
    }
    loadedConfigProg_ =
        std::make_unique<frmConfigProg>(frmConfigProg::Variant::Programmed, &window_);
    if (!loadedConfigProg_->fKonstruktor(false)) loadedConfigProg_.reset();
    return loadedConfigProg_ != nullptr;
}

ConfigProgTables ProgramDialogOpeners::frmConfigProg_Tables() {
    return loadedConfigProg_ ? loadedConfigProg_->Tables() : ConfigProgTables{};
}

void ProgramDialogOpeners::frmConfigProg_Unload() {
    loadedConfigProg_.reset();
}

void ProgramDialogOpeners::frmConfigAuto_fKonstruktor(bool& show) {
    frmConfigProg dialog(frmConfigProg::Variant::Automatic, &window_);
    failureAlreadyShown(dialog.fKonstruktor(show));
}

bool ProgramDialogOpeners::frmCouplerConfigGeneral_fKonstruktorCouplerConfigGeneral() {
    frmCouplerConfigGeneral dialog(&window_);
    return dialog.fKonstruktorCouplerConfigGeneral() != 0;
}

void ProgramDialogOpeners::frmCouplerConfigController_fKonstruktor() {
    frmCouplerConfigController dialog(&window_);
    dialog.fKonstruktor();
}

void ProgramDialogOpeners::frmCouplerConfigController2_fKonstruktor() {
    frmCouplerConfigController2 dialog(&window_);
    dialog.fKonstruktor();
}

void ProgramDialogOpeners::frmCouplerConfigControllerLinkTerm_fRegister(std::string& key) {
    frmCouplerConfigControllerLinkTerm dialog(&window_);
    dialog.fRegister(key);
}

// The coupler forms all open the same way, by their names.
#define VARNAK_COUPLER_FORM_OPENER(form)               \
    void ProgramDialogOpeners::form##_fKonstruktor() { \
        openCouplerForm(#form, &window_);              \
    }
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQY9000)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ2000)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ3000)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ4000)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ5000)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ5100)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ5110)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ5200)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ7300)
VARNAK_COUPLER_FORM_OPENER(frmCouplerConfigQZ8000)
#undef VARNAK_COUPLER_FORM_OPENER

// The terminal forms all open the same way, by their names.
#define VARNAK_TERMINAL_FORM_OPENER(form)                                                   \
    void ProgramDialogOpeners::form##_fKonstruktor(int32_t& railPosition, int32_t& table) { \
        openTerminalForm(#form, railPosition, table, &window_);                             \
    }
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT1501)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT2502)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT3002)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT3202)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT3302)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT4002)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT5001)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT5101)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT6001)
VARNAK_TERMINAL_FORM_OPENER(frmTermConfigQT6051)
#undef VARNAK_TERMINAL_FORM_OPENER

void ProgramDialogOpeners::frmProcData_fConstructor() {
    frmProcData dialog(&window_);
    dialog.fConstructor();
}

void ProgramDialogOpeners::frmProcDataDigital_fKonstruktor(int32_t& lTermPos,
                                                           int32_t& lSignalChannel) {
    frmProcDataDigital dialog(&window_);
    dialog.fKonstruktor(lTermPos, lSignalChannel);
}

void ProgramDialogOpeners::frmTermForceData_fKonstruktor(std::string& key) {
    frmTermForceData dialog(&window_);
    dialog.fKonstruktor(key);
}

void ProgramDialogOpeners::frmScriptTerm_fKonstruktor(std::string& path) {
    frmScriptTerm dialog(&window_);
    dialog.fKonstruktor(path);
}

void ProgramDialogOpeners::frmScriptCoupler_fKonstruktor(std::string& path) {
    frmScriptCoupler dialog(&window_);
    dialog.fKonstruktor(path);
}

}  // namespace varnak
