#include "app/program_dialog_openers.h"

#include "app/frmAbout.h"
#include "app/frmComParam.h"
#include "app/frmMainVMT.h"
#include "app/frmPrint.h"
#include "model/app_context.h"

namespace varnak {

void ProgramDialogOpeners::frmComParam_Show() {
    window_.comParam().exec();
}

void ProgramDialogOpeners::frmAbout_Show() {
    frmAbout about(varnak(), &window_);
    about.exec();
}

void ProgramDialogOpeners::frmProjNew_Show() {}

void ProgramDialogOpeners::frmProjDel_Show() {}

void ProgramDialogOpeners::frmRailNew_fCouplerInsert(std::string&) {}

void ProgramDialogOpeners::frmRailOpen_Show() {}

void ProgramDialogOpeners::frmPrint_fKonstruktor() {
    fShowReportSelection(varnak(), &window_);
}

}  // namespace varnak
