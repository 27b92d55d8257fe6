#pragma once
// The controller's flag word (register 14 of the coupler's table 1) as its dialog's nine
// boxes and the three options of the PLC's terminal-bus update order, and that dialog
// without its window: open (online the register read), OK (the one register written under
// lifted write protection, offline the rail's save) and Refresh.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "windowkit/offline_rail_save.h"

namespace varnak {

class clsTable;

inline constexpr int kControllerFlagBoxes = 9;
// The box that stands for bit 4 ("Large model"): shown, not changeable, written as shown.
inline constexpr int kLargeModelBox = 2;
// The box that stands for bit 11: shown, not changeable, never stored.
inline constexpr int kCycleTimeSetBox = 8;

struct ControllerFlags {
    std::array<bool, kControllerFlagBoxes> boxes{};
    // 0 ICO, 1 IOC, 2 CIO; nullopt: none selected.
    std::optional<int> updateOrder;
};

// The controls from the register; an order of 3 selects no option, the previous one
// stays.
ControllerFlags loadControllerFlags(int32_t value, std::optional<int> previousOrder);
// The register from the controls: the boxes' bits set or cleared (bit 11 untouched), bits
// 2-3 from the selected option (kept when none is), every other bit kept.
int32_t storeControllerFlags(const ControllerFlags& flags, int32_t value);

class ControllerFlagsEditor {
  public:
    // Takes the active coupler's table 1 and, online, reads register 14. False after
    // message 469 when there is no coupler, no table 1 or the read failed.
    [[nodiscard]] bool open();
    bool online() const { return online_; }
    ControllerFlags& flags() { return flags_; }

    // The controls into register 14; online its write under lifted protection. True when
    // the dialog may close; a failed write is told ("Error " and the first code).
    [[nodiscard]] bool ok();
    // Online the table read again (a failure changes nothing); the controls from register
    // 14.
    void refresh();

  private:
    void load();

    std::shared_ptr<clsTable> table_;
    bool online_ = false;
    ControllerFlags flags_;
    int32_t lastResult_ = 0;
    OfflineRailSave railSave_;
};

}  // namespace varnak
