#include "model/clsCoupler.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "model/app_context.h"
#include "model/basConvert.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsProject.h"
#include "model/clsTerminal.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/write_failure.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool samePath(const std::string& a, const std::string& b) {
    // A folder named with or without its closing separator is one folder.
    auto normal = [](const std::string& p) {
        fs::path n = fs::path(p).lexically_normal();
        return (n.has_filename() ? n : n.parent_path()).string();
    };
    std::string x = normal(a);
    std::string y = normal(b);
    return x.size() == y.size() && containsNoCase(x, y);
}

bool isCouplerDescription(const std::string& file) {
    std::string descriptionFolder =
        platform::joinPath({gfVarnakProject()->FullPathResourceFolder(), "Coupler"}) + "/";
    return containsNoCase(file, descriptionFolder);
}

// Tables a description supplies on first use; the others stay zero until uploaded.
bool lazyFromDescription(int32_t n) {
    return n == kGeneralSettingsTable || n == kControllerSettingsTable || n == kCycleTimeTable ||
           n == kFieldbusSettingsTable || n == kTableDirectory;
}

// Tables a rail file supplies at once.
bool loadedFromRailFile(int32_t n) {
    return (n >= kGeneralSettingsTable && n <= 4) || n == kFieldbusSettingsTable;
}

// Tables a rail file supplies on first use.
bool lazyFromRailFile(int32_t n) {
    return n == kProgrammedTerminalList || n == kActualTerminalList ||
           (n >= kProgrammedInputImageMap && n <= kProgrammedInputImageMapLast) ||
           (n >= kProgrammedOutputImageMap && n <= kProgrammedOutputImageMapLast) ||
           (n >= kFieldbusSpecificTableFirst && n <= kFieldbusSpecificTableLast) ||
           n == kTableDirectory;
}

// The settings tables: registers a rail file lacks take the coupler description's. The
// terminal lists, the mapping lists and the directory are the station's own: a
// description's values there would pose as the rail's terminals and mapping.
bool filledFromDescription(int32_t n) {
    return loadedFromRailFile(n) ||
           (n >= kFieldbusSpecificTableFirst && n <= kFieldbusSpecificTableLast);
}

bool lacksRegisters(const std::string& file, int32_t n, int32_t len) {
    const RegisterSet held = registersHeldIn(file, n);
    for (int32_t i = 0; i <= len; ++i)
        if (!held.test(static_cast<size_t>(i))) return true;
    return false;
}

int32_t fileDirectoryValue(const std::string& file, int32_t n) {
    std::string text =
        ini::readString(file, "RegValue_Table127", "Reg" + std::to_string(n), "", 100);
    if (text.size() < 2) return 0;
    text = trimBlanks(text);
    if (!gfIsHexValue(text)) return 0;
    return gfHexValToLong(text).value_or(0);
}

// The rail's files as one group: they wait for the disk together and the folder is synced
// once, not once per file. Each file still answers for itself: a failed one keeps its
// changes pending and leaves the others saved, and a file changed on disk during the save
// drops the changes still pending for it.
[[nodiscard]] bool flushRailFiles(const std::vector<std::string>& files) {
    const std::vector<bool> flushed = ini::flushFiles(files);
    return std::find(flushed.begin(), flushed.end(), false) == flushed.end();
}

}  // namespace

clsCoupler::clsCoupler() = default;

clsCoupler::~clsCoupler() {
    tables_.reset();
    terminals_.reset();
}

std::shared_ptr<clsColTables> clsCoupler::clsColTables() {
    if (!tables_) tables_ = std::make_shared<varnak::clsColTables>();
    return tables_;
}

void clsCoupler::setClsColTables(std::shared_ptr<varnak::clsColTables> tables) {
    tables_ = std::move(tables);
}

std::shared_ptr<clsColTerminals> clsCoupler::clsColTerminals() {
    if (!terminals_) {
        terminals_ = std::make_shared<varnak::clsColTerminals>();
        terminals_->setTermID(termID_);
    }
    return terminals_;
}

void clsCoupler::setClsColTerminals(std::shared_ptr<varnak::clsColTerminals> terminals) {
    terminals_ = std::move(terminals);
}

void clsCoupler::setConfSymbolicName(const std::string& value) {
    if (value != userName_) openedFolder_.clear();
    userName_ = value;
}

std::string clsCoupler::RailFolder(const std::string& projectFolder) const {
    if (!openedFolder_.empty() &&
        samePath(fs::path(openedFolder_).parent_path().string(), projectFolder))
        return openedFolder_;
    return platform::joinPath({projectFolder, userName_ + ".CF"});
}

int32_t clsCoupler::ConfRetrieveData(const std::string& szFileName) {
    // Window events run while the directory loads: whoever drops this rail meanwhile
    // must not end it under our feet.
    auto self = weak_from_this().lock();
    ini::IniBatch batch;
    fs::path file = platform::resolveCaseInsensitive(szFileName);
    if (!usableDescription(file.string())) {
        // Missing or naming no type (damaged): the fallback description.
        file = deviceDescriptionFile("Coupler", kUnknownDeviceName);
        if (!usableDescription(file.string())) return 0;  // an empty rail rather than a retry
    }
    std::string f = file.string();
    openedFolder_ = isCouplerDescription(f) ? "" : file.parent_path().string();
    // A description has no [Config]: a rail made from it has no name and no comment yet.
    userName_ = readKeyTextOrEmpty(f, "Config", "UserName");
    couplerID_ = readKeyNumber(f, "Config", "CouplerID");
    termID_ = readKeyNumber(f, "Config", "TermID");
    projectPosition_ = readKeyNumber(f, "Config", "CouplerPos");
    common_.read(f);
    userDesc_ = readKeyTextOrEmpty(f, "Config", "UserDesc");
    if (terminals_) terminals_->setTermID(termID_);
    readDirectory(f);
    varnak().ui->statusText("Done..");
    return 0;
}

void clsCoupler::readDirectory(const std::string& file) {
    auto tables = std::make_shared<varnak::clsColTables>();
    tables_ = tables;
    directoryFromDevice_ = false;

    std::array<int32_t, kRegistersPerTable> device{};
    if (gfVarnakProject()->Online()) {
        auto scratch = std::make_shared<clsTable>();
        scratch->setPosNr(0);
        scratch->setTableNr(kTableDirectory);
        scratch->setTableLen(kLastRegister);
        scratch->setbInitDone(true);
        if (scratch->ConfUpload(0, 255) == 0) {
            directoryFromDevice_ = true;
            for (int32_t i = 0; i < 255; ++i) device[i] = scratch->ConfRegisterValue(i);
        }
    }

    const bool fromDescription = isCouplerDescription(file);
    // The description of the rail's own type, never the fallback: Unknown.INI's values
    // are no coupler's.
    unusableTableDefaults_.clear();
    std::string defaults;
    bool usable = false;
    std::optional<int32_t> cut;  // a table of it that an interrupted copy stopped inside
    if (!fromDescription && upperAscii(common_.name) != upperAscii(kUnknownDeviceName)) {
        defaults = deviceDescriptionFile("Coupler", common_.name);
        usable = usableDescription(defaults);
        if (usable) cut = tableCutShort(defaults);
    }
    bool someLack = false;
    for (int32_t n = 0; n <= kDirectoryLastTable; ++n) {
        varnak().ui->pumpEvents();
        int32_t value = directoryFromDevice_ ? device[n] : fileDirectoryValue(file, n);
        auto len = directoryTableLen(value);
        if (!len) continue;
        auto t = tables->Add(n);
        t->setTableNr(n);
        t->setTableDesc("Table " + std::to_string(n));
        t->setTableLen(*len);
        t->setTableSourceFile(file);
        if (fromDescription) {
            t->setbInitDone(!lazyFromDescription(n));
            continue;
        }
        if (filledFromDescription(n) && !defaults.empty()) {
            const bool filled = usable && cut != n;
            if (filled) t->setDefaultsFile(defaults);
            if (!filled && !someLack) someLack = lacksRegisters(file, n, *len);
        }
        t->setbInitDone(!loadedFromRailFile(n) && !lazyFromRailFile(n));
        if (loadedFromRailFile(n)) t->ensureLoaded();
    }
    if (someLack) unusableTableDefaults_ = defaults;

    if (directoryFromDevice_) {
        // The directory read from the device decides the tables: it is kept with the rail
        // (also when it does not list itself), so that the rail reopens with these tables.
        auto dir = tables->Item(kTableDirectory);
        if (!dir) {
            dir = tables->Add(kTableDirectory);
            dir->setTableNr(kTableDirectory);
            dir->setTableDesc("Table " + std::to_string(kTableDirectory));
            dir->setTableLen(kDirectoryLastTable);
            dir->setTableSourceFile(file);
            dir->setbInitDone(true);
            dir->setConfRegisterValue(kTableDirectory, kDirectoryLastTable);  // lists itself
        }
        dir->setbInitDone(true);
        for (int32_t i = 0; i <= std::min<int32_t>(dir->TableLen(), 254); ++i) {
            if (i != kTableDirectory || device[i] > 0) dir->setConfRegisterValue(i, device[i]);
        }
        dir->setValueChanged(true);
    }
}

int32_t clsCoupler::writeSelfContained(const std::string& file) {
    return common_.write(file) ? kStoreOk : kStoreWriteFailed;
}

bool clsCoupler::writeDirectory(const std::string& file) {
    // The file's directory decides the rail's tables at the next open. A copied
    // description, a file written from the rail's own data or a damaged rail file may list
    // other tables than the rail has: only the entries that would read back differently
    // are written, so an intact file keeps its directory byte for byte.
    for (int32_t n = 0; n <= kDirectoryLastTable; ++n) {
        auto table = tables_ ? tables_->Item(n) : nullptr;
        std::optional<int32_t> wanted;
        if (table) wanted = table->TableLen();
        if (directoryTableLen(fileDirectoryValue(file, n)) == wanted) continue;
        if (!writeKeyText(file, "RegValue_Table127", "Reg" + std::to_string(n),
                          iniRegisterText(wanted.value_or(0))))
            return false;
    }
    return true;
}

int32_t clsCoupler::ConfSaveData() {
    auto self = weak_from_this().lock();
    auto project = gfVarnakProject();
    if (!project->IsOpen()) return kStoreNoProject;
    if (!clsProject::gfValidRailName(userName_)) return kStoreInvalidName;

    // What a failure of this save names to the user is what failed in it.
    platform::forgetWriteFailure();
    ini::IniBatch batch;
    std::string folder = RailFolder(project->FullPathProject());
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        if (!fs::create_directory(folder, ec) || ec) {
            platform::noteWriteFailure(folder, ec.value());
            return kStoreWriteFailed;
        }
    }
    std::string file =
        platform::resolveCaseInsensitive(platform::joinPath({folder, "Coupler.CCF"})).string();
    bool exists = isRegularFile(file);
    if (exists) {
        // A rail file of another rail: saving would merge two rails into one folder.
        int32_t owner = readKeyNumber(file, "Config", "CouplerID");
        if (owner != 0 && owner != couplerID_) return kStoreNameInUse;
    }
    project->setFullPathCoupler(folder);

    std::optional<std::string> copiedFrom;
    if (!exists) {
        std::string description =
            platform::resolveCaseInsensitive(platform::joinPath({project->FullPathResourceFolder(),
                                                                 "Coupler", common_.name + ".INI"}))
                .string();
        if (copyDescription(description, file)) {
            copiedFrom = description;
        } else if (int32_t r = writeSelfContained(file)) {
            return r;
        }
    }

    auto terminals = clsColTerminals();
    termID_ = terminals->TermID();
    bool ok = writeKeyText(file, "Config", "UserName", userName_) &&
              writeKeyText(file, "Config", "UserDesc", userDesc_) &&
              writeKeyNumber(file, "Config", "CouplerID", couplerID_) &&
              writeKeyNumber(file, "Config", "CouplerPos", projectPosition_) &&
              writeKeyNumber(file, "Config", "TermID", termID_);
    if (!ok || !writeDirectory(file)) return kStoreWriteFailed;

    for (const auto& t : *clsColTables()) {
        // A rail saved under a new name starts a new file: tables that came from another
        // file take their values along before they are pointed at the new one.
        const std::string& source = t->TableSourceFile();
        bool fromElsewhere = !source.empty() && !samePath(source, file) &&
                             !(copiedFrom && samePath(source, *copiedFrom));
        if (fromElsewhere && !t->bInitDone()) {
            if (isRegularFile(source)) {
                t->ConfRegisterValue(0);
                t->setValueChanged(true);
            }
        } else if (fromElsewhere) {
            t->setValueChanged(true);
        }
        t->setTableSourceFile(file);
        if (t->ConfSaveData(file) != 0) return kStoreWriteFailed;
        // The directory decides the rail's tables at the next open: it is kept too.
        if (t->TableNr() == kTableDirectory && t->ValueChanged()) {
            if (t->ConfSaveAsResData(file) != 0) return kStoreWriteFailed;
            t->setValueChanged(false);
        }
    }

    int32_t result = kStoreOk;
    if (!terminals->fDeleteRemovedFiles(folder)) result = kStoreWriteFailed;
    std::vector<std::string> files;
    for (const auto& terminal : *terminals) {
        if (int32_t r = terminal->ConfSaveData(folder, &files)) result = r;
    }
    varnak().ui->statusText("Done..");
    files.push_back(file);  // the rail file last, after its terminals' files
    const bool flushed = flushRailFiles(files);
    if (!batch.commit() || !flushed) return kStoreWriteFailed;
    return result;
}

bool clsCoupler::fCalcTermAdrInImages() {
    auto terminals = clsColTerminals();
    int32_t inByte = 0, inBit = 0, outByte = 0, outBit = 0;
    for (bool registerModel : {true, false}) {
        for (int32_t p = 1; p <= terminals->Count(); ++p) {
            auto t = terminals->ItemPos(p);
            if (!t || t->InfoTermRegisterModell() != registerModel) continue;
            if (!t->ConfProcAdr(inByte, inBit, outByte, outBit)) return false;
        }
    }
    return true;
}

}  // namespace varnak
