#include "app/online_switch.h"

#include "app/online_station_reader.h"
#include "app/unsaved_rail.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/unexamined_result.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

// False when the loaded rail could not be saved and the user kept it.
bool putProjectRailsAway(AppContext& context, const GoOnlineHooks& hooks) {
    auto couplers = gfVarnakProject()->clsColCouplers();
    if (couplers->Count() == 0) return true;
    int answer =
        context.ui->messageBox(kDownloadOfferText, vbYesNo | vbQuestion, kDownloadOfferTitle);
    if (answer == vbYes && hooks.showDownloadDialog) hooks.showDownloadDialog();
    const auto result =
        takeRoadDroppingLoadedRail([&] { return couplers->fClearColCouplers(); }, "");
    if (!result) return false;
    // A rail still loading is not saved; it stays loaded, and the user learns why.
    if (*result != kStoreOk) context.ui->messageBox(storeResultMessage(*result), vbCritical, "");
    return true;
}

// Going offline always changes the flag; a port that then fails to reopen is told when the
// program next goes online, which needs it.
void goBackOffline() {
    resultNotExamined(gfVarnakProject()->setOnline(false));
}

}  // namespace

bool fGoOnlineRead(AppContext& context, const GoOnlineHooks& hooks) {
    auto busy = [&](bool on) {
        if (hooks.busyPointer) hooks.busyPointer(on);
    };
    if (!putProjectRailsAway(context, hooks)) {
        // The loaded rail stays as it was, and so does the program: offline.
        goBackOffline();
        return false;
    }
    busy(true);
    StationReadResult read = fReadOnlineStation();
    busy(false);
    if (read.result != 0 || !read.rail) {
        context.ui->messageBox(context.text(kTxtNoCommunication), vbCritical, "");
        goBackOffline();
        return false;
    }
    context.VarnakOnlineCoupler = read.rail;
    if (!read.emptyPositions.empty())
        context.ui->messageBox(emptyPositionsMessage(read.emptyPositions), vbExclamation, "");
    return true;
}

}  // namespace varnak
