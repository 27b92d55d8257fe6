#pragma once
// Whether a rail name is already taken in a project folder.
#include <string>

namespace varnak {

// True when the project folder holds a rail folder named name + ".CF" (letter case
// ignored, as the users' file systems compare names); then it has already told the user.
bool gfRailNameExists(const std::string& projectFolder, const std::string& name);

}  // namespace varnak
