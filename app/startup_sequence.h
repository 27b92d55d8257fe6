#pragma once
// The start-up's window part: the splash window while the main window loads, the
// one-time description clean-up, the splash time, then the main window takes over.
#include <memory>

#include "app/basStartup.h"
#include "windowkit/basStartup_wait.h"

namespace varnak {

struct AppContext;
class QtUiServices;
class frmMainVMT;

struct StartupOptions {
    SecondsClock clock;
    float splashSeconds = kSplashSeconds;
};

// Shows splash and main window, runs the clean-up and the splash wait, and returns the
// enabled main window. Events are pumped through the context's user-interface services.
std::unique_ptr<frmMainVMT> runStartupWindows(AppContext& context, QtUiServices* ui,
                                              const StartupOptions& options);

}  // namespace varnak
