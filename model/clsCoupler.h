#pragma once
// One rail: the bus coupler at its head with its register tables, its type description,
// the user's name and comment, and the collection of its terminals.
#include <cstdint>
#include <memory>
#include <string>

#include "model/project_store.h"

namespace varnak {

class clsColTables;
class clsColTerminals;

class clsCoupler : public std::enable_shared_from_this<clsCoupler> {
  public:
    clsCoupler();
    ~clsCoupler();
    clsCoupler(const clsCoupler&) = delete;
    clsCoupler& operator=(const clsCoupler&) = delete;

    // The coupler tables keyed by table number; created empty on first use.
    std::shared_ptr<varnak::clsColTables> clsColTables();
    void setClsColTables(std::shared_ptr<varnak::clsColTables> tables);
    // The terminals; created on first use with the rail's terminal-id counter.
    std::shared_ptr<varnak::clsColTerminals> clsColTerminals();
    void setClsColTerminals(std::shared_ptr<varnak::clsColTerminals> terminals);

    // Loads the rail from a rail file or a coupler description (Unknown.INI of the coupler
    // descriptions when the file is missing) and builds its tables from the table
    // directory: from the device while online, else from the file. Returns 0.
    [[nodiscard]] int32_t ConfRetrieveData(const std::string& szFileName);
    // Saves the rail, its tables and its terminals into the open project. Returns a
    // StoreResult; refuses without an open project and when the rail folder belongs to
    // another rail.
    [[nodiscard]] int32_t ConfSaveData();

    int32_t ConfProjectPosition() const { return projectPosition_; }
    void setConfProjectPosition(int32_t value) { projectPosition_ = value; }
    const std::string& ConfSymbolicName() const { return userName_; }
    // A new name is a "save as": the rail's next save makes the folder of that name.
    void setConfSymbolicName(const std::string& value);
    const std::string& UserInfoDescription() const { return userDesc_; }
    void setUserInfoDescription(const std::string& value) { userDesc_ = value; }
    const std::string& InfoDescription() const { return common_.description; }
    void setInfoDescription(const std::string& value) { common_.description = value; }
    int32_t InfoCurrentKBus() const { return common_.currentKBus; }
    const std::string& InfoName() const { return common_.name; }
    void setInfoName(const std::string& value) { common_.name = value; }
    const std::string& InfoBitmap() const { return common_.picture; }
    int32_t InfoBitmapSize() const { return common_.pictureSize; }
    int32_t ConfSymbolicID() const { return couplerID_; }
    void setConfSymbolicID(int32_t value) { couplerID_ = value; }

    // Places the terminals in the process images, register-model terminals first, handing
    // four running offsets (input byte and bit, output byte and bit) from one to the next:
    // true for a rail without terminals, false as soon as a terminal cannot be placed. None
    // can (ConfProcAdr answers false), and the callers rely on that answer: the channel
    // force window stays idle on false, the automatic mapping ignores it. It stays as the
    // one place the placement would go, its two passes and offsets as they are.
    [[nodiscard]] bool fCalcTermAdrInImages();

    // The rail folder inside a project folder: the folder the rail was opened from when it
    // lies there and the rail kept its name, else "<project>/<user name>.CF".
    std::string RailFolder(const std::string& projectFolder) const;
    // True when the table directory of the last load came from the device.
    bool DirectoryFromDevice() const { return directoryFromDevice_; }
    // The coupler description that the last open could not fill the registers the rail
    // file lacks from (missing, damaged, or cut short inside such a table); empty when none
    // was needed or it was usable.
    const std::string& UnusableTableDefaults() const { return unusableTableDefaults_; }

  private:
    void readDirectory(const std::string& file);
    [[nodiscard]] int32_t writeSelfContained(const std::string& file);
    [[nodiscard]] bool writeDirectory(const std::string& file);

    std::string userName_;
    // The folder of the rail file the rail was loaded from (empty for a description): a
    // folder whose name differs from the stored name (a blank before ".CF", say) is still
    // the rail's own, and the rail never saves into another rail's folder of that name.
    std::string openedFolder_;
    std::string userDesc_;
    int32_t couplerID_ = 0;
    int32_t projectPosition_ = 0;
    int32_t termID_ = 0;
    DescriptionCommon common_;
    bool directoryFromDevice_ = false;
    std::string unusableTableDefaults_;
    std::shared_ptr<varnak::clsColTables> tables_;
    std::shared_ptr<varnak::clsColTerminals> terminals_;
};

}  // namespace varnak
