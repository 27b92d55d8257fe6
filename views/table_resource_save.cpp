#include "views/table_resource_save.h"

#include <filesystem>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "platform/paths.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr int kTxtFileNotWritten = 1907;
constexpr int kTxtFolderNotFullPath = 1915;
constexpr int32_t kUserRegisterCount = kLastUserRegister - kFirstUserRegister;  // 32-62

// The file a save writes: a file name with a full path as it stands (joined to the folder it
// would be cut to a place inside it), any other inside the folder; empty when the folder is
// not a full path.
std::string targetPath(const std::string& folder, const std::string& fileName) {
    std::string path;
    if (std::filesystem::path(fileName).is_absolute())
        path = fileName;
    else if (std::filesystem::path(folder).is_absolute())
        path = platform::joinPath({folder, fileName});
    return path.empty() ? path : platform::resolveCaseInsensitive(path).string();
}

}  // namespace

bool TableResourceSave::open(int32_t lTermPos, int32_t lSignalChannel) {
    terminal_.reset();
    table_.reset();
    if (!gfGetActiveCoupler(rail_) || !rail_) return false;
    termPos_ = lTermPos;
    channel_ = lSignalChannel;
    online_ = gfVarnakProject()->Online();
    if (lTermPos != 0) {
        terminal_ = rail_->clsColTerminals()->ItemPos(lTermPos);
        if (!terminal_ || !terminal_->InfoTermRegisterModell()) return false;
        table_ = terminal_->clsColTables()->Item(lSignalChannel);
    } else {
        table_ = rail_->clsColTables()->Item(lSignalChannel);
    }
    return table_ != nullptr;
}

std::string TableResourceSave::typeName() const {
    return terminal_ ? terminal_->InfoName() : rail_->InfoName();
}

std::string TableResourceSave::label() const {
    const std::string table = "      Tabelle: " + std::to_string(channel_);
    if (terminal_)
        return "Position: " + std::to_string(termPos_) + "      Klemmen-Typ: " + typeName() + table;
    return "Koppler-Typ: " + typeName() + table;
}

void TableResourceSave::loadFromDevice() {
    if (online_) lastResult_ = table_->ConfUpload(kFirstUserRegister, kUserRegisterCount);
}

std::string TableResourceSave::proposedFolder() const {
    return platform::resolveCaseInsensitive(
               platform::joinPath({gfVarnakProject()->FullPathResourceFolder(),
                                   terminal_ ? "Terminal" : "Coupler"}))
        .string();
}

std::string TableResourceSave::proposedFileName() const {
    const std::string name = typeName() + ".INI";
    const auto existing = platform::listMatching(proposedFolder(), name);
    return existing.empty() ? name : existing.front();
}

TableResourceSave::Outcome TableResourceSave::save(const std::string& folder,
                                                   const std::string& fileName) {
    AppContext& c = varnak();
    const std::string path = targetPath(folder, fileName);
    if (path.empty()) {
        c.ui->messageBox(c.text(kTxtFolderNotFullPath), vbExclamation, kProgramTitle);
        return Outcome::FolderRefused;
    }
    if (online_) {
        lastResult_ = table_->ConfUpload(0, table_->TableLen() + 1);
        if (lastResult_ != 0) {
            // Values that did not come from the device must not become a type's defaults.
            c.ui->messageBox("Error Upload", vbOKOnly, kProgramTitle);
            return Outcome::UploadFailed;
        }
    }
    lastResult_ = table_->ConfSaveAsResData(path);
    if (lastResult_ == 0) return Outcome::Saved;
    c.ui->messageBox(c.text(kTxtFileNotWritten) + path, vbCritical, kProgramTitle);
    return Outcome::WriteFailed;
}

}  // namespace varnak
