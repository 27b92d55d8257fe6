#pragma once
// The digital process data of a single-module station without its window: how many inputs
// and outputs the module has (from its coupler's type name), the input bits and output bits
// of the first register of the input and output image (tables 114 and 110) and the forcing
// of one output bit into that register.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "views/pass_health.h"

namespace varnak {

class clsCoupler;
class clsTable;

inline constexpr int kDigitalRows = 8;

// A module kind by characters 3-4 of the coupler's type name: "10" eight inputs, "20"
// eight outputs, "23" four of each (outputs on rows 4-7), "24" eight of each; any other
// name has none. Row r's input is bit r; outputBit[r] is the output bit of row r or -1.
struct DigitalModule {
    int inputs = 0;
    int outputs = 0;
    std::array<int, kDigitalRows> outputBit{-1, -1, -1, -1, -1, -1, -1, -1};
};
DigitalModule digitalModuleOf(const std::string& couplerName);

class DigitalProcessData {
  public:
    enum class [[nodiscard]] OpenResult{
        Offline,            // nothing is shown
        NoCoupler,          // message 469
        MoreThanOneModule,  // the scope message
        Opened,
    };

    // The checks in their order (online, a coupler, at most one terminal), then the module
    // and its image tables. Messages go through the context's UiServices.
    OpenResult open();
    const DigitalModule& module() const { return module_; }

    // One pass: the first four registers of each image the module uses.
    void pass();
    // Whether the passes reach the station.
    const PassHealth& health() const { return health_; }
    // The first word of each image as last read from the device: a failed read leaves it;
    // nullopt until one was read (also when the coupler has no such table).
    std::optional<int32_t> inputWord() const { return inputWord_; }
    std::optional<int32_t> outputWord() const { return outputWord_; }

    // Sets or clears output bit b after reading the output image; false when the coupler
    // has no output table, when the read failed (nothing is written: the word read would
    // be stale and would overwrite the other outputs) or when the write failed.
    [[nodiscard]] bool force(int bit, bool on);

  private:
    // Reads the image's first four registers; its first word when the read went through.
    static std::optional<int32_t> readWord(clsTable& table, int32_t& result);

    DigitalModule module_;
    std::shared_ptr<clsTable> input_;
    std::shared_ptr<clsTable> output_;
    std::optional<int32_t> inputWord_;
    std::optional<int32_t> outputWord_;
    PassHealth health_;
};

}  // namespace varnak
