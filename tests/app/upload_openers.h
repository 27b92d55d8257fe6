#pragma once
// The station upload as a user runs it from "Save coupler as": the chosen box ticked, then
// Upload; the dialog's result goes back to the caller.
#include "online/frmOnlineUpLoad.h"
#include "windowkit/dialog_openers.h"

namespace varnak::test {

class UploadingOpeners : public DialogOpeners {
  public:
    explicit UploadingOpeners(int box = kUploadTotal) : box_(box) {}
    bool frmOnlineUpLoad_fKonstruktor() override {
        frmOnlineUpLoad dialog;
        if (!dialog.load()) return false;
        dialog.chkUpLoad[box_]->setChecked(true);
        dialog.cmdGet->click();
        return dialog.result();
    }

  private:
    int box_;
};

}  // namespace varnak::test
