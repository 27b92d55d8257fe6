#pragma once
// The program's start: one instance only, the settings object, the command line, the
// splash window while the main window loads, the one-time description clean-up and the
// splash time; and the program-wide timed wait.
#include <functional>
#include <string>

namespace varnak {

struct AppContext;

// Seconds from any fixed origin; injected so that tests decide how time passes.
using SecondsClock = std::function<double()>;
SecondsClock steadySecondsClock();

// How long the splash window stays after the clean-up has finished.
inline constexpr float kSplashSeconds = 3.0f;

// The access code and operating-mode switches of the command line (arguments without
// the program's name, joined by blanks). Plain substring searches in the upper-cased
// text; anything else is ignored. Always true.
bool gfReadCommandLine(const std::string& arguments, AppContext& context);

// The arguments of main() without the program's name, joined by blanks.
std::string commandLineArguments(int argc, char** argv);

// Lets pending window events run until more than the given seconds have passed; at
// least one pass of events runs.
void gfWaitSeconds(float seconds);
void gfWaitSeconds(float seconds, const SecondsClock& clock, const std::function<void()>& pump);

// The splash wait: lets pending window events run while less than the given seconds have
// passed since the call (no pass at all when none is needed).
void waitWhileLessThan(float seconds, const SecondsClock& clock, const std::function<void()>& pump);

// The start procedure; returns the process's exit code.
int Main(int argc, char** argv);

}  // namespace varnak
