#include "app/program_dialog_openers.h"

#include "app/frmAbout.h"
#include "app/frmComParam.h"
#include "app/frmMainVMT.h"
#include "app/frmPrint.h"
#include "app/frmProjDel.h"
#include "app/frmProjNew.h"
#include "app/frmRailNew.h"
#include "app/frmRailOpen.h"
#include "fieldbus/coupler_forms.h"
#include "model/app_context.h"
#include "terminalcfg/terminal_forms.h"
#include "views/frmRegister.h"

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

void ProgramDialogOpeners::frmCouplerConfigQZ8000_fKonstruktor() {
    openCouplerForm("frmCouplerConfigQZ8000", &window_);
}

void ProgramDialogOpeners::frmTermConfigQT3002_fKonstruktor(int32_t& railPosition, int32_t& table) {
    openTerminalForm("frmTermConfigQT3002", railPosition, table, &window_);
}

}  // namespace varnak
