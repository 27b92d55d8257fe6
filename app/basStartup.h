#pragma once
// The program's start: one instance only, the settings object, the command line, the
// splash window while the main window loads, the one-time description clean-up and the
// splash time.
#include <string>

namespace varnak {

struct AppContext;

// How long the splash window stays after the clean-up has finished.
inline constexpr float kSplashSeconds = 3.0f;

// The access code and operating-mode switches of the command line (arguments without
// the program's name, joined by blanks). Plain substring searches in the upper-cased
// text; anything else is ignored. Always true.
bool gfReadCommandLine(const std::string& arguments, AppContext& context);

// The arguments of main() without the program's name, joined by blanks.
std::string commandLineArguments(int argc, char** argv);

// The start procedure; returns the process's exit code.
int Main(int argc, char** argv);

}  // namespace varnak
