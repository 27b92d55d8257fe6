#pragma once
// The controller's table 1 as its link-terminal dialog shows it, without the window: the
// PLC images' offsets and lengths, the remanent bytes and the PLC cycle and background
// times as seven number fields, and for every terminal of the rail the 2-bit code that
// links it to the fieldbus or to the PLC (registers 4-11, eight positions per register,
// positions 1-64). Open (online the table read), Refresh, and OK (the whole table written
// under lifted write protection, offline the rail's save).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "windowkit/offline_rail_save.h"

namespace varnak {

class clsCoupler;
class clsTable;

inline constexpr int kLinkPositions = 64;  // the positions registers 4-11 hold
inline constexpr int kLinkNumberFields = 7;
// The codes a position can take: a fieldbus terminal and two kinds of PLC terminal.
inline constexpr std::array<int, 3> kLinkCodes{0, 2, 3};

// Registers 4-11 of table 1.
using LinkCodeRegisters = std::array<int32_t, 8>;
// The code of rail position 1..64.
int linkTerminalCode(const LinkCodeRegisters& registers, int position);
// Registers 4-11 from the codes of positions 1..codes.size() (at most 64 are taken); the
// positions beyond are 0.
LinkCodeRegisters linkCodeRegisters(const std::vector<int>& codes);
// The register of number field 0-6 (0-3, 15, 12, 13).
int32_t linkNumberRegister(int field);
// The text a code shows: 1435-1437 for 0, 2, 3; its number for another.
std::string linkCodeText(int code);
// The caption of number field 0-6 in the current language.
std::string linkNumberCaption(int field);

struct LinkTerminalRow {
    int position = 0;
    std::string type;
    int code = 0;
    bool locked = false;  // beyond position 64: no code, no entry
};

class LinkTerminalEditor {
  public:
    // Binds table 1 of the rail a SZ_SPECIFIC_PROG_TERMCFG_ key names (online the
    // station's, read whole). False after message 469 when there is no such rail or
    // table, or the read failed. A rail of more than 64 terminals is told once.
    [[nodiscard]] bool open(const std::string& key);
    bool online() const { return online_; }
    const std::vector<LinkTerminalRow>& rows() const { return rows_; }
    const std::array<std::string, kLinkNumberFields>& numbers() const { return numbers_; }

    // A code picked for a row; a locked row or an unknown code changes nothing.
    void setCode(int row, int code);
    // OK with the number fields' texts: a text that is no register word is told and
    // nothing is stored. True when the dialog may close; a failed write is told ("Error"
    // and the first code).
    [[nodiscard]] bool ok(const std::array<std::string, kLinkNumberFields>& numbers);
    // Online the table read again; false (and nothing changed) when it failed.
    [[nodiscard]] bool refresh();
    // The field that ok refused last, or -1.
    int refusedField() const { return refused_; }

  private:
    void fDialogFromTable();
    void fTableFromDialog(const std::array<int32_t, kLinkNumberFields>& values);

    std::shared_ptr<clsCoupler> rail_;
    std::shared_ptr<clsTable> table_;
    bool online_ = false;
    std::vector<LinkTerminalRow> rows_;
    std::array<std::string, kLinkNumberFields> numbers_;
    int refused_ = -1;
    int32_t lastResult_ = 0;
    OfflineRailSave railSave_;
};

}  // namespace varnak
