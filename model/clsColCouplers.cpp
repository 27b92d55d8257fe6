#include "model/clsColCouplers.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/device_description.h"
#include "model/project_store.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

class BusyGuard {
  public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }

  private:
    bool& flag_;
};

void setTablePositionsToCoupler(clsCoupler& rail) {
    for (const auto& t : *rail.clsColTables()) t->setPosNr(0);
}

// A rail file names its coupler type and the rail (whose folder it lies in). Without them
// the file is no rail: loaded, it would become a rail "0" of no type, saved into a new folder.
bool usableRailFile(const std::string& file) {
    return usableDescription(file) &&
           clsProject::gfValidRailName(readKeyTextOrEmpty(file, "Config", "UserName"));
}

// The coupler id a terminal file's name carries ("C012T003.TCF" gives 12); nullopt for a
// name of another form or an id of more digits than any issued one.
std::optional<int32_t> couplerIdFromTerminalFileName(const std::string& name) {
    const size_t digits = name.find_first_not_of("0123456789", 1) - 1;
    if (!terminalIdFromFileName(name) || digits > 6) return std::nullopt;
    return std::stoi(name.substr(1, digits));
}

// The highest rail id the project's rail folders hold, in their rail files or, where a
// rail file is damaged, in the names of their terminal files; ids beyond the store's limit
// are never issued, so they cannot collide.
int32_t highestRailId(const std::string& projectFolder) {
    int32_t highest = 0;
    auto take = [&](std::optional<int32_t> id) {
        if (id && *id <= kMaxStoreId) highest = std::max(highest, *id);
    };
    for (const std::string& name : platform::listMatching(projectFolder, "*.CF", false)) {
        const std::string folder = platform::joinPath({projectFolder, name});
        const std::string railFile =
            platform::resolveCaseInsensitive(platform::joinPath({folder, "Coupler.CCF"})).string();
        take(readKeyNumber(railFile, "Config", "CouplerID"));
        for (const std::string& file : platform::listMatching(folder, "C*T*.TCF"))
            take(couplerIdFromTerminalFileName(file));
    }
    return highest;
}

}  // namespace

int32_t clsColCouplers::fOpenCoupler(const std::string& szCouplerFolder,
                                     const std::string& szFileName) {
    if (busy_) return kStoreBusy;
    BusyGuard guard(busy_);
    // A rail outside a project could never be saved, and so never be dropped.
    if (!gfVarnakProject()->IsOpen()) return kStoreNoProject;
    std::error_code ec;
    std::string file = platform::resolveCaseInsensitive(szFileName).string();
    if (!fs::is_regular_file(file, ec)) return kStoreFileMissing;
    if (!usableRailFile(file)) return kStoreNotARailFile;
    if (int32_t r = saveAndDropAll()) return r;

    // What a save killed half-way left behind would otherwise stay in the folder for good.
    platform::removeAbandonedTempFiles(fs::path(file).parent_path().string());
    ini::IniBatch batch;
    gfVarnakProject()->setFullPathCoupler(szCouplerFolder);
    auto rail = std::make_shared<clsCoupler>();
    ignoreLoadResult(rail->ConfRetrieveData(file));
    setTablePositionsToCoupler(*rail);
    rails_.push_back(rail);
    ignoreLoadResult(rail->clsColTerminals()->fOpenTerminals(file));
    InfoColCouplersChanged.raise();
    return kStoreOk;
}

int32_t clsColCouplers::Add(const std::string& szCouplerTyp, int32_t lPosition,
                            const std::string& szUserName) {
    if (busy_) return kStoreBusy;
    BusyGuard guard(busy_);
    auto project = gfVarnakProject();
    if (!project->IsOpen()) return kStoreNoProject;
    if (!clsProject::gfValidRailName(szUserName)) return kStoreInvalidName;
    std::error_code ec;
    std::string folder = platform::joinPath({project->FullPathProject(), szUserName + ".CF"});
    // An existing folder belongs to another rail (or was left by one): the new rail
    // would be merged into it.
    if (fs::exists(platform::resolveCaseInsensitive(folder), ec)) return kStoreNameInUse;
    for (const auto& r : rails_) {
        if (containsNoCase(r->ConfSymbolicName(), szUserName) &&
            r->ConfSymbolicName().size() == szUserName.size())
            return kStoreNameInUse;
    }
    const std::string description = deviceDescriptionFile("Coupler", szCouplerTyp);
    if (int32_t refused = newDeviceRefusal(description, std::nullopt)) return refused;
    if (int32_t r = saveAndDropAll()) return r;

    int32_t id = 0;
    if (int32_t r = fNewCouplerID(id)) return r;
    ini::IniBatch batch;
    auto rail = std::make_shared<clsCoupler>();
    ignoreLoadResult(rail->ConfRetrieveData(description));
    rail->setConfSymbolicID(id);
    rail->setConfProjectPosition(lPosition);
    rail->setConfSymbolicName(szUserName);
    setTablePositionsToCoupler(*rail);
    rail->clsColTerminals();  // the new rail's counter starts from its description (0)
    rails_.push_back(rail);
    InfoColCouplersChanged.raise();
    return kStoreOk;
}

int32_t clsColCouplers::fClearColCouplers() {
    // A rail in the middle of its load would be saved without the rest of its terminals.
    if (busy_) return kStoreBusy;
    return saveAndDropAll();
}

int32_t clsColCouplers::saveAndDropAll() {
    while (!rails_.empty()) {
        auto rail = rails_.front();
        if (int32_t r = rail->ConfSaveData()) {
            ++failedSaves_;
            return r;
        }
        rails_.erase(std::remove(rails_.begin(), rails_.end(), rail), rails_.end());
    }
    return kStoreOk;
}

void clsColCouplers::fDropColCouplers() {
    if (rails_.empty()) return;
    // What a failed save left waiting for the rails' files must not reach the disk later.
    auto project = gfVarnakProject();
    for (const auto& rail : rails_)
        ini::discardPending(rail->RailFolder(project->FullPathProject()));
    rails_.clear();
    gfVarnakProject()->setFullPathCoupler("");
    InfoColCouplersChanged.raise();
}

std::shared_ptr<clsCoupler> clsColCouplers::ItemPos(int32_t lCouplerPos) const {
    for (const auto& r : rails_) {
        if (r->ConfProjectPosition() == lCouplerPos) return r;
    }
    return nullptr;
}

std::shared_ptr<clsCoupler> clsColCouplers::ItemID(int32_t lCouplerID) const {
    for (const auto& r : rails_) {
        if (r->ConfSymbolicID() == lCouplerID) return r;
    }
    return nullptr;
}

void clsColCouplers::Remove(int32_t lCouplerID) {
    auto it = std::find_if(rails_.begin(), rails_.end(), [lCouplerID](const auto& r) {
        return r->ConfSymbolicID() == lCouplerID;
    });
    if (it == rails_.end()) return;
    rails_.erase(it);
    gfVarnakProject()->setFullPathCoupler("");
    InfoColCouplersChanged.raise();
}

std::string clsColCouplers::RailName() const {
    std::string name;
    for (const auto& r : rails_) name = r->ConfSymbolicName();
    return name;
}

int32_t clsColCouplers::fNewCouplerID(int32_t& id) {
    auto project = gfVarnakProject();
    if (!project->IsOpen()) return kStoreNoProject;
    std::string file = project->ProjectFile();
    // A counter lost or set back (a project file restored or written by hand) would hand
    // out the id of a rail on disk, whose terminal files the new rail's then collide with.
    const int32_t last = std::max(readKeyNumber(file, "Config", "CouplerID"),
                                  highestRailId(project->FullPathProject()));
    if (last + 1 > kMaxStoreId) return kStoreLimitReached;
    // The id is handed out only once it is on disk: a lost write would issue it twice.
    if (!writeKeyNumber(file, "Config", "CouplerID", last + 1) || !ini::flushFile(file))
        return kStoreWriteFailed;
    id = last + 1;
    return kStoreOk;
}

}  // namespace varnak
