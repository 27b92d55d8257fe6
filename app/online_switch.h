#pragma once
// The model side of going online, after the main window updated its menus and status
// bar: the download offer for the project's loaded rail, putting the project's rails
// away, and reading the station into the online rail. No widgets: the window passes in
// what it shows.
#include <functional>

namespace varnak {

struct AppContext;

// The offer's fixed texts, the same in both languages.
inline constexpr const char* kDownloadOfferText =
    "Do you want to download configuration settings ?";
inline constexpr const char* kDownloadOfferTitle = "Switch online ";

struct GoOnlineHooks {
    // Shows the download dialog modally for the project's loaded rail.
    std::function<void()> showDownloadDialog;
    // Busy (true) or normal (false) mouse pointer.
    std::function<void(bool)> busyPointer;
};

// True when the station was read and the context's online rail replaced; a position whose
// terminal came online empty, or not at all, is named in a message. On a station
// that does not answer it shows "No communication with coupler!" and sets the project
// offline again (which runs the offline path of the listeners) and answers false; so it
// does, without that message, when the loaded rail could not be saved and the user kept it.
[[nodiscard]] bool fGoOnlineRead(AppContext& context, const GoOnlineHooks& hooks);

}  // namespace varnak
