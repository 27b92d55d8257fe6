#pragma once
// A fieldbus-specific coupler settings dialog without its window: the active rail's
// settings table 100 (and any further tables a dialog reads), read from the device when
// online; the title's online mark; Default from the coupler type's own description; and
// OK's road: table 100 written whole between lifting and setting the coupler's write
// protection. Messages go through the context's UiServices.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settingsforms/settings_session.h"

namespace varnak {

class clsCoupler;
class clsTable;

// A table a dialog binds, in the order the opening reads them.
struct BoundTable {
    int32_t table = 0;
    // False: a failed read still opens the dialog (uploadResult tells the dialog).
    bool mustRead = true;
};

class CouplerSettingsSession : public SettingsSession {
  public:
    enum class [[nodiscard]] OpenResult{
        Opened,
        NoCommunication,  // no active rail, or a required read failed (message 469 shown)
        NoDialog,         // the coupler has no table 100 (message 316 shown)
    };

    // Binds the active rail's tables; online reads each of them whole, in this order. Table
    // 100 must be among them; a table the rail lacks is left unbound and unread.
    OpenResult open(const std::vector<BoundTable>& tables = {{100, true}});

    clsCoupler& coupler() const { return *rail_; }
    // Table 100.
    clsTable& table() const override { return *settings_; }
    // A bound table, or null.
    std::shared_ptr<clsTable> boundTable(int32_t table) const;
    // Result of the opening's read of a bound table (0 also when offline).
    int32_t uploadResult(int32_t table) const;
    const std::string& type() const override;
    bool online() const { return online_; }
    // The caption followed by " (Online)" or " (Offline)", as the project was at opening.
    std::string title(const std::string& caption) const;

    // Table 100 from the coupler type's description.
    [[nodiscard]] bool loadDefaults() override;
    // Takes what the form stored into table 100.
    void apply(const RegisterImage& image) override;
    // OK after apply: online lifts the write protection, writes table 100 whole and sets
    // the protection again, whatever each step answered. 0, or the first failure's code
    // (shown with message 469); the table keeps what was stored either way.
    [[nodiscard]] int32_t transfer();

  private:
    std::shared_ptr<clsCoupler> rail_;
    std::shared_ptr<clsTable> settings_;
    std::map<int32_t, std::shared_ptr<clsTable>> tables_;
    std::map<int32_t, int32_t> uploads_;
    bool online_ = false;
    int32_t lastResult_ = 0;
};

}  // namespace varnak
