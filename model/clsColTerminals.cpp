#include "model/clsColTerminals.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

#include "model/clsColTables.h"
#include "model/clsProject.h"
#include "model/clsTerminal.h"
#include "model/device_description.h"
#include "model/project_store.h"
#include "model/terminal_file_check.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "platform/write_failure.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

void setTablePositions(clsTerminal& terminal, int32_t position) {
    for (const auto& t : *terminal.clsColTables()) t->setPosNr(position);
}

}  // namespace

void clsColTerminals::raiseMultiChanged(int32_t position) {
    int32_t p = position;
    InfoTerminalMultiChanged.raise(p);
}

int32_t clsColTerminals::fOpenTerminals(const std::string& szCouplerFileName) {
    ini::IniBatch batch;
    terminals_.clear();
    removed_.clear();
    unused_.clear();
    int32_t couplerID = readKeyNumber(szCouplerFileName, "Config", "CouplerID");
    std::string folder = gfVarnakProject()->FullPathCoupler();
    std::string pattern = "C";
    pattern += idText(couplerID);
    pattern += "T*.TCF";
    std::set<int32_t> ids;  // of the rail's own files met so far
    for (const std::string& name : platform::listMatching(folder, pattern)) {
        const std::string file = platform::joinPath({folder, name});
        const std::optional<int32_t> id = terminalIdFromFileName(name);
        // Ids above the store's limit are never issued, so only the others can collide.
        if (id && *id <= kMaxStoreId) termID_ = std::max(termID_, *id);
        // Of two files of one terminal (names that differ in letter case only) the first
        // listed is the terminal's; the second stays unread, so no save writes over it.
        const bool own = isOwnTerminalFileName(name, couplerID) && ids.insert(*id).second;
        // A rail holds what its positions can address; further files stay on disk unread.
        if (!own || Count() >= kMaxTerminalsPerRail || !terminalFileUsable(file)) {
            unused_.push_back(file);
            continue;
        }
        auto terminal = std::make_shared<clsTerminal>();
        ignoreLoadResult(terminal->ConfRetrieveData(file));
        // The save writes to the file its ids name, spelled as it is: ids in [Config] that
        // disagree with the name (a damaged or hand-edited file), or the save's own
        // spelling of a name in other letters, would leave this file behind as a second
        // copy of the terminal.
        terminal->setConfSymbolicID(*id);
        terminal->setConfParentCouplerID(couplerID);
        terminal->setLoadedFileName(name);
        setTablePositions(*terminal, terminal->ConfRailPosition());
        terminals_.push_back(terminal);
    }
    // A row with gaps could never be mapped, and its empty places never be filled.
    renumbered_ = closeGaps();
    raiseMultiChanged(1);
    return 0;
}

int32_t clsColTerminals::Add(const std::string& szTerminalName, int32_t lRailPos,
                             int32_t lMultipleTerm, int32_t lCouplerID) {
    if (lMultipleTerm < 1) return kStoreOk;
    if (int32_t refused = insertRefusal(lRailPos, lMultipleTerm)) return refused;

    // A missing description gives the fallback's terminal; a damaged one gives none.
    const std::string description = deviceDescriptionFile("Terminal", szTerminalName);
    if (descriptionState(description) == DescriptionState::Refused) return kStoreDescriptionRefused;
    insert(description, lRailPos, lMultipleTerm, lCouplerID);
    return kStoreOk;
}

int32_t clsColTerminals::AddEmpty(int32_t lRailPos, int32_t lCouplerID) {
    if (int32_t refused = insertRefusal(lRailPos, 1)) return refused;
    insert(std::nullopt, lRailPos, 1, lCouplerID);
    return kStoreOk;
}

int32_t clsColTerminals::insertRefusal(int32_t lRailPos, int32_t lMultipleTerm) const {
    if (lRailPos < 1 || lRailPos > Count() + 1) return kStoreBadPosition;
    if (Count() + lMultipleTerm > kMaxTerminalsPerRail || termID_ + lMultipleTerm > kMaxStoreId)
        return kStoreLimitReached;
    return kStoreOk;
}

void clsColTerminals::insert(const std::optional<std::string>& description, int32_t lRailPos,
                             int32_t lMultipleTerm, int32_t lCouplerID) {
    ini::IniBatch batch;
    for (const auto& t : terminals_) {
        if (t->ConfRailPosition() >= lRailPos)
            t->setConfRailPosition(t->ConfRailPosition() + lMultipleTerm);
    }
    for (int32_t i = 0; i < lMultipleTerm; ++i) {
        auto terminal = std::make_shared<clsTerminal>();
        int32_t id = ++termID_;
        if (description) ignoreLoadResult(terminal->InfoRetrieveData(*description));
        terminal->setConfSymbolicID(id);
        terminal->setConfRailPosition(lRailPos + i);
        terminal->setConfParentCouplerID(lCouplerID);
        setTablePositions(*terminal, lRailPos + i);
        terminals_.push_back(terminal);
    }
    raiseMultiChanged(lRailPos);
}

std::shared_ptr<clsTerminal> clsColTerminals::ItemPos(int32_t lRailPos) const {
    for (const auto& t : terminals_) {
        if (t->ConfRailPosition() == lRailPos) return t;
    }
    return nullptr;
}

std::shared_ptr<clsTerminal> clsColTerminals::ItemID(int32_t lSymID) const {
    for (const auto& t : terminals_) {
        if (t->ConfSymbolicID() == lSymID) return t;
    }
    return nullptr;
}

void clsColTerminals::Remove(int32_t lPos) {
    // Position 0 is the coupler's own address; nothing stands outside 1 .. Count.
    if (lPos < 1 || lPos > Count()) return;
    auto it = std::find_if(terminals_.begin(), terminals_.end(),
                           [lPos](const auto& t) { return t->ConfRailPosition() == lPos; });
    if (it != terminals_.end()) {
        // The file goes with the next save, when the other terminals' new positions are
        // written too; until then a reload shows the rail as it was saved. What a failed
        // save left waiting for it goes now: any later flush would make the file again.
        removed_.push_back({(*it)->FileBaseName()});
        const std::string& folder = gfVarnakProject()->FullPathCoupler();
        if (!folder.empty())
            ini::discardPending(platform::joinPath({folder, removed_.back().fileName}));
        terminals_.erase(it);
    }
    closeGaps();
    raiseMultiChanged(lPos);
}

bool clsColTerminals::closeGaps() {
    // The row keeps its order; positions run 1 .. Count again, also where the files left a
    // gap or two terminals at one position (the first listed stays in front).
    std::vector<std::shared_ptr<clsTerminal>> row(terminals_.begin(), terminals_.end());
    std::stable_sort(row.begin(), row.end(), [](const auto& a, const auto& b) {
        return a->ConfRailPosition() < b->ConfRailPosition();
    });
    int32_t position = 0;
    bool changed = false;
    for (const auto& t : row) {
        if (t->ConfRailPosition() == ++position) continue;
        t->setConfRailPosition(position);
        changed = true;
    }
    return changed;
}

bool clsColTerminals::fDeleteRemovedFiles(const std::string& railFolder) {
    std::vector<RemovedFile> kept;
    for (const RemovedFile& r : removed_) {
        // Exactly the terminal's file: another spelling of its name is a file left unread.
        const fs::path file = platform::joinPath({railFolder, r.fileName});
        std::error_code ec;
        fs::remove(file, ec);
        if (!ec) continue;
        platform::noteWriteFailure(file.string(), ec.value());
        kept.push_back(r);
    }
    removed_ = std::move(kept);
    return removed_.empty();
}

}  // namespace varnak
