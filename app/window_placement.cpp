#include "app/window_placement.h"

#include <QString>
#include <cmath>
#include <filesystem>
#include <utility>

#include "app/name_rules.h"
#include "model/basFiles.h"
#include "model/clsCommon.h"
#include "platform/paths.h"
#include "platform/registry_store.h"
#include "platform/unexamined_result.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr const char* kSection = "Settings";
constexpr float kNegativeEdge = -60;
constexpr float kFarthestTwips = 1e7f;  // some 176 metres
const char* const kPlacementKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

}  // namespace

std::string singleText(float value) {
    return QString::number(static_cast<double>(value), 'g', 7).toStdString();
}

std::optional<Placement> loadPlacement(const platform::UserSettings& store) {
    Placement p;
    float* fields[] = {&p.left, &p.top, &p.width, &p.height};
    bool any = false;
    for (int i = 0; i < 4; ++i) {
        std::string text = store.getSetting(kProgramTitle, kSection, kPlacementKeys[i], "");
        if (text.empty()) continue;
        bool ok = false;
        float v = QString::fromStdString(text).trimmed().toFloat(&ok);
        // Unreadable, or a hand-edited value no screen has (infinite, a size of nothing,
        // an edge miles away): the default of that key.
        const bool size = i >= 2;
        if (!ok || !std::isfinite(v) || std::fabs(v) > kFarthestTwips || (size && v <= 0)) continue;
        *fields[i] = v;
        any = true;
    }
    if (!any) return std::nullopt;
    return p;
}

void savePlacement(platform::UserSettings& store, const Placement& p, bool minimised) {
    if (minimised) return;
    float values[] = {p.left < 0 ? kNegativeEdge : p.left, p.top < 0 ? kNegativeEdge : p.top,
                      p.width, p.height};
    // Written unchecked like every per-user setting: a key that cannot be written keeps the
    // placement it held.
    for (int i = 0; i < 4; ++i)
        resultNotExamined(
            store.saveSetting(kProgramTitle, kSection, kPlacementKeys[i], singleText(values[i])));
}

StartProjectEntry readStartProject(const platform::UserSettings& store) {
    StartProjectEntry e;
    e.CouplerName = store.getSetting(kProgramTitle, kSection, "Q_StartCouplerName0", "");
    e.ProjectName = store.getSetting(kProgramTitle, kSection, "Q_StartProjectName0", "");
    e.ProjectPath = store.getSetting(kProgramTitle, kSection, "Q_StartProjectPath0", "");
    e.ProjectFolder = store.getSetting(kProgramTitle, kSection, "Q_StartProjectFolder0", "");
    return e;
}

void writeStartProject(platform::UserSettings& store, const StartProjectEntry& e) {
    const std::pair<const char*, const std::string&> keys[] = {
        {"Q_StartCouplerName0", e.CouplerName},
        {"Q_StartProjectName0", e.ProjectName},
        {"Q_StartProjectPath0", e.ProjectPath},
        {"Q_StartProjectFolder0", e.ProjectFolder},
    };
    // Unchecked like every per-user setting: the recent entry is an offer, not the project.
    for (const auto& [key, value] : keys)
        resultNotExamined(store.saveSetting(kProgramTitle, kSection, key, value));
}

std::optional<std::string> startProjectCaption(const StartProjectEntry& e) {
    if (e.CouplerName.empty() || e.ProjectPath.empty()) return std::nullopt;
    // The rail in its project folder, written as this platform writes paths.
    std::string caption =
        "0: " + e.ProjectPath + char(std::filesystem::path::preferred_separator) + e.CouplerName;
    std::string escaped;
    for (char c : caption) {
        escaped += c;
        if (c == '&') escaped += '&';
    }
    return escaped;
}

std::optional<StartProjectEntry> startProjectToRemember(const StartProjectEntry& current,
                                                        const OpenProjectState& s) {
    if (!s.hasActiveRail || s.online) return std::nullopt;
    if (s.railName == current.CouplerName && s.projectName == current.ProjectName &&
        s.projectPath == current.ProjectPath)
        return std::nullopt;
    return StartProjectEntry{s.projectPath, s.projectFolder, s.projectName, s.railName};
}

RememberedProjectPlan planRememberedProject(const StartProjectEntry& e) {
    RememberedProjectPlan plan;
    if (e.ProjectPath.empty() || !gfFolderExists(e.ProjectPath)) return plan;
    plan.openProject = true;
    plan.railFolder = platform::joinPath({e.ProjectPath, e.CouplerName + ".CF"});
    plan.railFile = platform::joinPath({plan.railFolder, "Coupler.CCF"});
    // The name comes from the settings, which the user may have edited: a name that is no
    // rail name could lead the rail out of the project.
    plan.openRail = validRailName(e.CouplerName) &&
                    gfFolderExists(platform::resolveCaseInsensitive(plan.railFolder).string());
    return plan;
}

}  // namespace varnak
