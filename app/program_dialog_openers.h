#pragma once
// The program's openers: the windows that exist are shown from here; every other member
// keeps the do-nothing default until its window is built.
#include "app/dialog_openers.h"

namespace varnak {

class frmMainVMT;

class ProgramDialogOpeners : public DialogOpeners {
  public:
    explicit ProgramDialogOpeners(frmMainVMT& window) : window_(window) {}

    void frmComParam_Show() override;
    void frmAbout_Show() override;
    void frmProjNew_Show() override;
    void frmProjDel_Show() override;
    void frmRailNew_fCouplerInsert(std::string& key) override;
    void frmRailOpen_Show() override;
    void frmPrint_fKonstruktor() override;

  private:
    frmMainVMT& window_;
};

}  // namespace varnak
