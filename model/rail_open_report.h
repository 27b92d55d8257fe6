#pragma once
// What opening a rail tells the user about its files.
#include <string>

namespace varnak {

class clsCoupler;

// The terminal files the open left unread (full paths, one a line) and, when the open
// gave terminals new positions, the row they now fill; the terminals whose channels took
// their file's own table 0 for want of a usable description, and the coupler description
// that could not fill what the rail file lacks. Empty when the open used every file as it
// stands.
std::string railOpenReport(clsCoupler& rail);

}  // namespace varnak
