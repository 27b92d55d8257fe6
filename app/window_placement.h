#pragma once
// The main window's placement memory: left, top, width and height in twips in the
// program's own per-user settings, and the start-project record kept beside them.
#include <optional>
#include <string>

namespace varnak {

namespace platform {
class UserSettings;
}

inline constexpr float kTwipsPerInch = 1440.0f;

struct Placement {
    float left = 1000;
    float top = 1000;
    float width = 6500;
    float height = 6500;
    bool operator==(const Placement&) const = default;
};

// The stored placement; nullopt when none is stored (then the defaults apply, scaled to
// the screen). A stored placement is restored as it was saved: scaling it again at every
// start would make the window grow or shrink from run to run.
std::optional<Placement> loadPlacement(const platform::UserSettings& store);
// Saves the placement unless the window is minimised; a negative left or top edge is
// stored as -60.
void savePlacement(platform::UserSettings& store, const Placement& placement, bool minimised);

// A single-precision number as the placement keys hold it ("1000", "937.5").
std::string singleText(float value);

// The remembered start project (record 0 of the settings).
struct StartProjectEntry {
    std::string ProjectPath;
    std::string ProjectFolder;
    std::string ProjectName;
    std::string CouplerName;
    bool operator==(const StartProjectEntry&) const = default;
};

StartProjectEntry readStartProject(const platform::UserSettings& store);
void writeStartProject(platform::UserSettings& store, const StartProjectEntry& entry);

// The caption of the Project menu's remembered entry; nullopt hides the entry. An "&" of
// the path is doubled so that it shows as itself, not as an access key.
std::optional<std::string> startProjectCaption(const StartProjectEntry& entry);

// What remembering the open project changes: nullopt when nothing is to be stored (no
// active rail, online, or the same rail of the same project).
struct OpenProjectState {
    bool hasActiveRail = false;
    bool online = false;
    std::string railName;
    std::string projectName;
    std::string projectPath;
    std::string projectFolder;
};
std::optional<StartProjectEntry> startProjectToRemember(const StartProjectEntry& current,
                                                        const OpenProjectState& state);

// Choosing the remembered entry: the project is opened when its folder exists, and its
// rail only when the rail's folder exists too (a missing rail folder must not turn into
// an empty rail of unknown type).
struct RememberedProjectPlan {
    bool openProject = false;
    bool openRail = false;
    std::string railFolder;  // ProjectPath + "/" + CouplerName + ".CF"
    std::string railFile;    // railFolder + "/Coupler.CCF"
};
RememberedProjectPlan planRememberedProject(const StartProjectEntry& entry);

}  // namespace varnak
