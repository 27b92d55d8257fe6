// The main window's part of going online and offline, and its way to the reports.
#include <QApplication>
#include <QLabel>

#include "app/frmMainVMT.h"
#include "app/online_switch.h"
#include "app/shell_texts.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "windowkit/dialog_openers.h"

namespace varnak {

void frmMainVMT::fGoOnline(bool online) {
    if (setOnline_) setOnline_(online);
}

void frmMainVMT::goOnlineIfGranted() {
    if (gfCheckAccessCode()) fGoOnline(true);
}

void frmMainVMT::fShowReportSelection() {
    dialogOpeners().frmPrint_fKonstruktor();
}

void frmMainVMT::fOnlineStateChanged(bool online) {
    fSetMenuState();
    statusPanel(2)->setText(
        QString::fromStdString(context_.text(online ? kTxtOnline : kTxtOffline)));
    if (online) {
        GoOnlineHooks hooks;
        hooks.showDownloadDialog = [] { dialogOpeners().frmOnlineDownLoad_Show(); };
        hooks.busyPointer = [](bool busy) {
            if (busy)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
        };
        // The failure path went offline again, and that raise rebuilt the window.
        if (!fGoOnlineRead(context_, hooks)) return;
    }
    fFillTreeView();
}

}  // namespace varnak
