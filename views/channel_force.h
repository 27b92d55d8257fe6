#pragma once
// Monitoring and forcing one channel of a bus terminal without its window: where the
// channel lies in the coupler's process image (its address text "byte.bit" and the
// channel's destination image), the channel's bit read from the image table and an output
// bit forced into it by reading, changing and writing back its register.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "views/pass_health.h"

namespace varnak {

class clsCoupler;
class clsTable;
class clsTerminal;

// The register and word bit of an image address text: byte b lies in register b / 2, an
// even byte in the low half of the word, an odd one in the high half ("13.0" is register 6,
// word bit 8). nullopt for an unmapped channel (byte 511) and for a text that is no address.
struct ChannelImageBit {
    int32_t reg = 0;
    int32_t wordBit = 0;
    bool operator==(const ChannelImageBit&) const = default;
};
std::optional<ChannelImageBit> channelImageBit(std::string_view addressText);
// The word with its bit set (value 1) or cleared (value 0); any other value leaves it.
int32_t forcedChannelWord(int32_t word, int32_t wordBit, int32_t value);
// A destination image text "0" to "3"; nullopt for anything else.
std::optional<int32_t> destinationImage(std::string_view text);

// What the dialog does with a terminal type (the first six characters of its name).
enum class ForceGroup {
    DigitalInput,   // monitored from the input image, address shown, not writable
    DigitalOutput,  // monitored from the output image, address shown, writable
    FurtherOutput,  // writable only
    Analog,         // neither (their channel words are not bits)
    Other,
};
ForceGroup forceGroupOf(const std::string& typeName);

class ChannelForce {
  public:
    enum class [[nodiscard]] WriteResult{
        Written,
        NotWritable,      // a type that is not forced here, or no such terminal
        Unmapped,         // the channel has no image address: nothing is written
        NoCommunication,  // the read before the write failed: nothing is written
    };

    // Takes a channel key (SZ_CHANNEL_INDATA / OUTDATA / STATUS / CONTROL) and binds the
    // active coupler and the key's terminal; false when there is no active coupler.
    [[nodiscard]] bool open(const std::string& key);
    // The dialog's load: true when the image addresses are known, so that the address is
    // shown and the monitor may run.
    [[nodiscard]] bool load();

    // The write button's kind rule: only an output channel's key lets it write.
    bool outputKey() const { return outputKey_; }
    bool online() const;
    ForceGroup group() const { return group_; }
    // The channel's address for the Info tab; empty when the type shows none.
    std::string addressText() const;
    std::string typeName() const;
    int32_t channel() const { return channel_; }

    // One pass of the monitor: the channel's bit (0 or 1) read from the device; 0 for a
    // type that is not monitored, an unmapped channel or a missing table (nothing is read);
    // nullopt when the read failed, so that the bit shown stays the last one read.
    std::optional<int32_t> fReadChannelValue();
    // Whether the monitor's passes reach the station.
    const PassHealth& health() const { return health_; }
    // Reads the output's register, changes the channel's bit and writes it back; a write
    // that fails leaves the table with the word read.
    WriteResult fWriteChannelValue(int32_t value);

  private:
    struct Place {
        std::shared_ptr<clsTable> table;
        ChannelImageBit bit;
    };
    // The output (or input) address of the channel and its image table.
    std::optional<Place> place(bool output) const;

    std::shared_ptr<clsCoupler> coupler_;
    std::shared_ptr<clsTerminal> terminal_;
    ForceGroup group_ = ForceGroup::Other;
    int32_t channel_ = 0;
    bool outputKey_ = true;
    int32_t lastResult_ = 0;
    PassHealth health_;
};

}  // namespace varnak
