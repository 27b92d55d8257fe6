#pragma once
// The rails of the open project. It holds at most one loaded rail: opening or adding a
// rail first saves and drops the loaded one. It issues the project-wide rail ids.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/signal.h"

namespace varnak {

class clsCoupler;

class clsColCouplers {
  public:
    using Rails = std::vector<std::shared_ptr<clsCoupler>>;

    // Opens the rail of a rail folder and rail file. A missing rail file is reported
    // (kStoreFileMissing), a file without coupler type or usable rail name is refused
    // (kStoreNotARailFile), and the loaded rail stays; so does a loaded rail whose save
    // failed. Refused without an open project. Temporary files that an interrupted save
    // left in the rail folder are removed.
    [[nodiscard]] int32_t fOpenCoupler(const std::string& szCouplerFolder,
                                       const std::string& szFileName);
    // Creates a new rail of a coupler type. Refuses without an open project, for a name
    // that cannot become a folder or whose folder exists, for a type whose description is
    // damaged (device_description.h), and when no id can be issued. The id is the next
    // above the project file's counter and every rail id the project folder holds.
    [[nodiscard]] int32_t Add(const std::string& szCouplerTyp, int32_t lPosition,
                              const std::string& szUserName);
    // Saves and drops every loaded rail. A rail whose save fails stays loaded; a rail
    // still loading is not saved (kStoreBusy).
    [[nodiscard]] int32_t fClearColCouplers();
    // Drops every loaded rail without saving (its project is gone, or the user dropped its
    // changes after its save failed); changes its failed save left waiting are dropped too.
    void fDropColCouplers();

    std::shared_ptr<clsCoupler> ItemPos(int32_t lCouplerPos) const;
    std::shared_ptr<clsCoupler> ItemID(int32_t lCouplerID) const;
    int32_t Count() const { return static_cast<int32_t>(rails_.size()); }
    // Drops the rail without saving; deletes no file.
    void Remove(int32_t lCouplerID);
    Rails::const_iterator begin() const { return rails_.begin(); }
    Rails::const_iterator end() const { return rails_.end(); }
    std::string RailName() const;
    // How often the save before a drop failed, ever; such a rail stays loaded.
    uint64_t FailedSaves() const { return failedSaves_; }

    // The loaded rail changed (opened, added or removed).
    Signal<> InfoColCouplersChanged;

  private:
    [[nodiscard]] int32_t fNewCouplerID(int32_t& id);
    [[nodiscard]] int32_t saveAndDropAll();

    Rails rails_;
    bool busy_ = false;  // an open or add is running (window events run meanwhile)
    uint64_t failedSaves_ = 0;
};

}  // namespace varnak
