#pragma once
// The terminals of one rail and the rail's terminal-id counter: loading the rail's
// terminal files, inserting terminals at a rail position, removing one, and finding them
// by rail position or id.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/signal.h"

namespace varnak {

class clsTerminal;

class clsColTerminals {
  public:
    using Terminals = std::vector<std::shared_ptr<clsTerminal>>;

    // Loads the terminal files of the rail whose rail file is given from the project's
    // loaded rail folder (FullPathCoupler), at most kMaxTerminalsPerRail of them. A
    // terminal's ids are the ones its file name carries, and its saves write that file.
    // Files the rail cannot use (terminal_file_check.h), a second file of one terminal's
    // ids (its name in other letters) and files beyond the limit are not loaded but listed
    // in UnusedFiles; no save writes or deletes them. The counter keeps its value but
    // never stays below the highest id of a listed file, so that no new terminal's save
    // writes over one. The positions of the loaded terminals are then numbered 1 .. Count
    // in the files' order (PositionsRenumbered when that changed one).
    // Returns 0.
    [[nodiscard]] int32_t fOpenTerminals(const std::string& szCouplerFileName);
    // Inserts lMultipleTerm terminals of a type from rail position lRailPos on (1 ..
    // Count + 1), moving the terminals there to the right. Refuses (kStoreLimitReached)
    // an insert past kMaxTerminalsPerRail terminals or ids, kStoreBadPosition for a
    // position outside the row and kStoreDescriptionRefused for a type whose description
    // is damaged (device_description.h); a type without description gets the fallback
    // description's terminals. Nothing is written to disk.
    [[nodiscard]] int32_t Add(const std::string& szTerminalName, int32_t lRailPos,
                              int32_t lMultipleTerm, int32_t lCouplerID);
    // Inserts one terminal of no type at a rail position, refused as Add refuses a
    // position or a limit: it reads no description and stays empty (no name, no channels),
    // as a terminal does whose description and fallback description are both missing.
    [[nodiscard]] int32_t AddEmpty(int32_t lRailPos, int32_t lCouplerID);
    std::shared_ptr<clsTerminal> ItemPos(int32_t lRailPos) const;
    std::shared_ptr<clsTerminal> ItemID(int32_t lSymID) const;
    int32_t Count() const { return static_cast<int32_t>(terminals_.size()); }
    // Removes the terminal at rail position lPos (1 .. Count) and closes the gap; its file
    // is deleted by the next save of the rail, and what a failed save left waiting for the
    // file is dropped at once (no later save makes it again). Afterwards the positions run
    // 1 .. Count in rail order; the change event is raised. Positions outside 1 .. Count
    // change nothing.
    void Remove(int32_t lPos);

    Terminals::const_iterator begin() const { return terminals_.begin(); }
    Terminals::const_iterator end() const { return terminals_.end(); }

    int32_t TermID() const { return termID_; }
    void setTermID(int32_t value) { termID_ = value; }

    // Deletes the files of the terminals removed since the last save from the rail folder.
    // False when one could not be deleted (it stays pending).
    [[nodiscard]] bool fDeleteRemovedFiles(const std::string& railFolder);

    // The terminal files the last load left unread, as full paths in listing order.
    const std::vector<std::string>& UnusedFiles() const { return unused_; }
    // True when the last load gave a terminal another position than its file holds (the
    // files left gaps, held one position twice or one outside the row).
    bool PositionsRenumbered() const { return renumbered_; }

    // The row of terminals changed from the position on.
    Signal<int32_t&> InfoTerminalMultiChanged;
    // Part of the interface; nothing raises it.
    Signal<int32_t&> InfoTerminalChanged;

  private:
    void raiseMultiChanged(int32_t position);
    // Why an insert of that many terminals at that position is refused; kStoreOk: it is not.
    [[nodiscard]] int32_t insertRefusal(int32_t lRailPos, int32_t lMultipleTerm) const;
    // Inserts terminals read from the description (none: empty terminals), moving the
    // terminals from the position on to the right.
    void insert(const std::optional<std::string>& description, int32_t lRailPos,
                int32_t lMultipleTerm, int32_t lCouplerID);
    // True when a position changed.
    bool closeGaps();

    Terminals terminals_;  // in order of insertion
    int32_t termID_ = 0;
    // Removed terminals whose files wait for the next save.
    struct RemovedFile {
        std::string fileName;  // inside the rail folder
    };
    std::vector<RemovedFile> removed_;
    std::vector<std::string> unused_;
    bool renumbered_ = false;
};

}  // namespace varnak
