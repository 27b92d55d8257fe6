#include "model/clsProject.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <system_error>

#include "model/app_context.h"
#include "model/basFiles.h"
#include "model/clsColCouplers.h"
#include "model/project_store.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "platform/write_failure.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

bool validFolderName(const std::string& name) {
    if (name.empty()) return false;
    for (unsigned char c : name) {
        if (c == '.' || c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

fs::path comparable(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::path(path).lexically_normal() : p;
}

bool liesInside(const fs::path& inner, const fs::path& outer) {
    auto o = outer.begin(), i = inner.begin();
    for (; o != outer.end(); ++o, ++i) {
        if (i == inner.end() || *i != *o) return false;
    }
    return true;
}

}  // namespace

clsProject::clsProject()
    : clsProject(platform::executableDir().string(), platform::resourceDir().string()) {}

clsProject::clsProject(std::string startFolder, std::string resourceFolder)
    : pathProject_(startFolder),
      pathProjectFolder_(std::move(startFolder)),
      pathResource_(std::move(resourceFolder)) {}

clsProject::~clsProject() = default;

std::shared_ptr<clsColCouplers> clsProject::clsColCouplers() {
    if (!couplers_) couplers_ = std::make_shared<varnak::clsColCouplers>();
    return couplers_;
}

void clsProject::setClsColCouplers(std::shared_ptr<varnak::clsColCouplers> couplers) {
    couplers_ = std::move(couplers);
}

void clsProject::setProjectState(int32_t value) {
    if (value == state_) return;
    state_ = value;
    int32_t v = value;
    ProjectStateChange.raise(v);
}

int32_t clsProject::runInitComPort() {
    portError_.clear();
    if (!InitComPort) return kStoreOk;
    try {
        int32_t r = InitComPort();
        if (r != 0) portError_ = "port set-up failed with code " + std::to_string(r);
        return r == 0 ? kStoreOk : kStorePortFailed;
    } catch (const std::exception& e) {
        portError_ = e.what();
    } catch (...) {
        portError_ = "port set-up failed";
    }
    return kStorePortFailed;
}

int32_t clsProject::setOnline(bool value) {
    if (value == online_) return kStoreOk;
    int32_t port = runInitComPort();
    if (port != kStoreOk && value) return port;
    online_ = value;
    bool v = value;
    ProjectStateOnlineChange.raise(v);
    return port;
}

std::string clsProject::ProjectFile() const {
    return platform::resolveCaseInsensitive(platform::joinPath({pathProject_, name_ + ".VMT"}))
        .string();
}

void clsProject::switchTo(const std::string& name, const std::string& drive,
                          const std::string& folder) {
    name_ = name;
    pathProject_ = drive;
    pathProjectFolder_ = folder;
    pathCoupler_.clear();
    setProjectState(kProjectOpen);
}

int32_t clsProject::fOpenProject(const std::string& szProjectName,
                                 const std::string& szProjectDrive,
                                 const std::string& szProjectFolder) {
    if (!gfValidProjName(szProjectName) || szProjectDrive.empty()) return kStoreInvalidName;
    std::error_code ec;
    if (!fs::is_directory(szProjectDrive, ec)) return kStoreFileMissing;
    int32_t before = state_;
    setProjectState(kProjectOpening);
    // The loaded rail belongs to the old project and is saved there.
    if (int32_t r = clsColCouplers()->fClearColCouplers()) {
        setProjectState(before);
        return r;
    }
    switchTo(szProjectName, szProjectDrive, szProjectFolder);
    return kStoreOk;
}

int32_t clsProject::fNewProject(const std::string& szProjectName, const std::string& szProjectDrive,
                                const std::string& szProjectFolder) {
    if (!gfValidProjName(szProjectName) || szProjectDrive.empty()) return kStoreInvalidName;
    std::error_code ec;
    if (fs::exists(szProjectDrive, ec)) return kStoreNameInUse;
    // The new project is made before the open one lets its rail go: a folder that cannot
    // be made leaves the open project as it was, its rail loaded and unsaved.
    platform::forgetWriteFailure();
    if (!fs::create_directory(szProjectDrive, ec) || ec) {
        platform::noteWriteFailure(szProjectDrive, ec.value());
        return kStoreWriteFailed;
    }
    std::string file = platform::joinPath({szProjectDrive, szProjectName + ".VMT"});
    // The half-made project goes again; the failure answered is the one that stopped it (a
    // folder the removal leaves is in plain sight, and its name is refused as in use).
    if (!writeKeyText(file, "Config", "Name", szProjectName) || !ini::flushFile(file)) {
        resultNotExamined(gfDeleteFolderTree(szProjectDrive));
        return kStoreWriteFailed;
    }
    int32_t before = state_;
    setProjectState(kProjectOpening);
    if (int32_t r = clsColCouplers()->fClearColCouplers()) {
        resultNotExamined(gfDeleteFolderTree(szProjectDrive));
        setProjectState(before);
        return r;
    }
    switchTo(szProjectName, szProjectDrive, szProjectFolder);
    return kStoreOk;
}

int32_t clsProject::fDeleteProject(const std::string& szPathProject) {
    if (szPathProject.empty()) return kStoreInvalidName;
    int32_t before = state_;
    setProjectState(kProjectDeleting);
    fs::path target = comparable(szPathProject);
    bool deletesOpenProject = IsOpen() && comparable(pathProject_) == target;
    // The current folder must not lie inside the tree that goes.
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (!ec && liesInside(comparable(cwd.string()), target)) {
        fs::current_path(target.parent_path(), ec);
    }
    bool deleted = gfDeleteFolderTree(szPathProject);
    if (deletesOpenProject) {
        // Its rail has no project to go to any more.
        clsColCouplers()->fDropColCouplers();
        name_.clear();
        pathProject_.clear();
        pathCoupler_.clear();
        setProjectState(kProjectDeleted);
    } else {
        setProjectState(before == kProjectOpen ? kProjectOpen : kProjectDeleted);
    }
    return deleted ? kStoreOk : kStoreDeleteFailed;
}

bool clsProject::gfValidProjName(const std::string& sCheckName) {
    return validFolderName(sCheckName);
}

bool clsProject::gfValidRailName(const std::string& sCheckName) {
    return validFolderName(sCheckName);
}

bool clsProject::gfValidProjFolderName(const std::string& sCheckName) {
    if (sCheckName.empty()) return false;
    for (size_t pos = sCheckName.size(); pos >= 3; --pos) {
        char c = sCheckName[pos - 1];
        if (c == '.') return false;
        if (c == '\\' || c == '/') return true;
    }
    return true;
}

std::shared_ptr<clsProject> gfVarnakProject() {
    AppContext& context = varnak();
    if (!context.VarnakProject) context.VarnakProject = std::make_shared<clsProject>();
    return context.VarnakProject;
}

}  // namespace varnak
