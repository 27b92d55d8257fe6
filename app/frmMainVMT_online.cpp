// The main window's hooks into going online and offline and into the reports.
#include "app/dialog_openers.h"
#include "app/frmMainVMT.h"

namespace varnak {

void frmMainVMT::fGoOnline(bool online) {
    if (setOnline_) setOnline_(online);
}

void frmMainVMT::fShowReportSelection() {
    dialogOpeners().frmPrint_fKonstruktor();
}

}  // namespace varnak
