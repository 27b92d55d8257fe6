#pragma once
// The register table editor without its window: the table a tree key names (offline the
// project's copy, online the station's, read whole at opening), the cell texts in the
// chosen data type, an entered text's road into the table and to the device, Refresh, and
// the offline save when the window closes. Messages go through the context's UiServices.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/register_grid_rules.h"
#include "platform/unexamined_result.h"
#include "windowkit/offline_rail_save.h"

namespace varnak {

class clsTable;

class RegisterEditor {
  public:
    enum class [[nodiscard]] OpenResult{
        Opened,
        NothingToOpen,    // offline: the key names no table of the loaded rail
        NoCommunication,  // online: no such table at the station, or its upload failed
    };

    // Binds the table of a SZ_TERMINAL_REGISTER_____ or SZ_COUPLER_TABLE_________ key; online
    // reads it whole from the device. Shows nothing: the window shows the failure.
    OpenResult open(const std::string& key);

    bool online() const { return online_; }
    clsTable& table() const { return *table_; }
    int rowCount() const;
    void setDataType(RegisterDataType type) { type_ = type; }

    std::string offsetText(int row) const;
    std::string dataText(int row) const;
    std::string descriptionText(int row) const;

    // A text entered into the Data cell of a row: the cell's text afterwards, or nullopt
    // when the previous text stays (a refused entry is told to the user first).
    std::optional<std::string> enter(int row, std::string_view text);
    // Writes a register word into the table and, online, to the device with a read-back;
    // answers the value the table holds afterwards. A failed transfer shows message 469; the
    // previous value comes back only when both the write and its read-back failed.
    int32_t fWriteRegister(int32_t index, int32_t value);
    // Online: reads the whole table again. False after a failure: message 469, the table as
    // it was.
    [[nodiscard]] bool refresh();
    // The window closes: an offline change of the project's rail goes to disk.
    void close() { failureAlreadyShown(railSave_.save()); }

  private:
    std::shared_ptr<clsTable> table_;
    bool online_ = false;
    RegisterDataType type_ = RegisterDataType::Hex;
    OfflineRailSave railSave_;
};

}  // namespace varnak
