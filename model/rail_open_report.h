#pragma once
// What opening a rail tells the user about its terminal files.
#include <string>

namespace varnak {

class clsColTerminals;

// The terminal files the open left unread (full paths, one a line) and, when the open
// gave terminals new positions, the row they now fill; empty when the open used every
// file as it stands.
std::string railOpenReport(const clsColTerminals& terminals);

}  // namespace varnak
