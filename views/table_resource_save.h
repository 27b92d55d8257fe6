#pragma once
// Saving one register table as a device description, without its window: the table of the
// active rail (a coupler table, or a terminal channel's table), the text naming it, the
// proposed target (the type's own description in the resource folder) and the save.
// Messages go through the context's UiServices.
#include <cstdint>
#include <memory>
#include <string>

namespace varnak {

class clsCoupler;
class clsTable;
class clsTerminal;

class TableResourceSave {
  public:
    // Binds table lSignalChannel of the coupler (lTermPos 0) or the register table of
    // channel lSignalChannel of the terminal at rail position lTermPos. False, silently,
    // without an active rail, for a terminal without register tables and for a table or
    // terminal that is not there.
    [[nodiscard]] bool open(int32_t lTermPos, int32_t lSignalChannel);

    // The line naming the table (German words in both languages).
    std::string label() const;
    // Online: registers 32-62 as the dialog loads; the result is kept, never shown.
    void loadFromDevice();
    // The folder of the type's descriptions and the file name proposed in it: the type name
    // with ".INI", spelled as an existing description of that name is spelled.
    std::string proposedFolder() const;
    std::string proposedFileName() const;

    enum class Outcome { Saved, UploadFailed, WriteFailed, FolderRefused };
    // A file name with a full path is the file written, whatever the folder; otherwise a
    // folder that is empty or not a full path is refused with a message before anything
    // else (it would name a place in the program's current folder). Online first reads the
    // whole table; a failed read shows "Error Upload" and saves nothing. The table's values
    // go into section "RegValue_Table<n>" of the file (an existing file of that name in
    // another letter case is the one written); a failed write is shown with the path.
    Outcome save(const std::string& folder, const std::string& fileName);

    bool online() const { return online_; }
    clsTable& table() const { return *table_; }

  private:
    std::string typeName() const;

    std::shared_ptr<clsCoupler> rail_;
    std::shared_ptr<clsTerminal> terminal_;
    std::shared_ptr<clsTable> table_;
    int32_t termPos_ = 0;
    int32_t channel_ = 0;
    bool online_ = false;
    int32_t lastResult_ = 0;
};

}  // namespace varnak
