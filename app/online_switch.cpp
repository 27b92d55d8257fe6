#include "app/online_switch.h"

#include "app/online_station_reader.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

void putProjectRailsAway(AppContext& context, const GoOnlineHooks& hooks) {
    auto couplers = gfVarnakProject()->clsColCouplers();
    if (couplers->Count() == 0) return;
    int answer =
        context.ui->messageBox(kDownloadOfferText, vbYesNo | vbQuestion, kDownloadOfferTitle);
    if (answer == vbYes && hooks.showDownloadDialog) hooks.showDownloadDialog();
    // A rail whose save fails stays loaded rather than losing its changes; the user
    // learns why.
    if (int32_t result = couplers->fClearColCouplers())
        context.ui->messageBox(storeResultMessage(result), vbCritical, "");
}

}  // namespace

bool fGoOnlineRead(AppContext& context, const GoOnlineHooks& hooks) {
    auto busy = [&](bool on) {
        if (hooks.busyPointer) hooks.busyPointer(on);
    };
    putProjectRailsAway(context, hooks);
    busy(true);
    StationReadResult read = fReadOnlineStation();
    busy(false);
    if (read.result != 0 || !read.rail) {
        context.ui->messageBox(context.text(kTxtNoCommunication), vbCritical, "");
        gfVarnakProject()->setOnline(false);
        return false;
    }
    context.VarnakOnlineCoupler = read.rail;
    return true;
}

}  // namespace varnak
