#include "views/channel_force.h"

#include <stdexcept>
#include <utility>

#include "mapping/mapping_address.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/text_util.h"
#include "model/tree_node_key.h"

namespace varnak {
namespace {

constexpr size_t kTypeLength = 6;

}  // namespace

std::optional<ChannelImageBit> channelImageBit(std::string_view text) {
    const auto address = fSplitImageAddress(text);
    if (!address || address->byte >= kMappingUnmapped) return std::nullopt;
    return ChannelImageBit{address->byte / 2, address->bit + (address->byte % 2 ? 8 : 0)};
}

int32_t forcedChannelWord(int32_t word, int32_t wordBit, int32_t value) {
    if (value == 1) return (word | (1 << wordBit)) & 0xFFFF;
    if (value == 0) return word & ~(1 << wordBit) & 0xFFFF;
    return word;
}

std::optional<int32_t> destinationImage(std::string_view text) {
    const std::string_view t = trimBlankView(text);
    if (t.size() != 1 || t[0] < '0' || t[0] >= '0' + kProcessImageCount) return std::nullopt;
    return t[0] - '0';
}

ForceGroup forceGroupOf(const std::string& typeName) {
    struct Row {
        const char* type;
        ForceGroup group;
    };
    static constexpr Row kGroups[] = {
        {"QT1002", ForceGroup::DigitalInput},  {"QT1012", ForceGroup::DigitalInput},
        {"QT2002", ForceGroup::DigitalOutput}, {"QT2012", ForceGroup::DigitalOutput},
        {"QT2032", ForceGroup::FurtherOutput}, {"QT2114", ForceGroup::FurtherOutput},
        {"QT2124", ForceGroup::FurtherOutput}, {"QT2134", ForceGroup::FurtherOutput},
        {"QT2184", ForceGroup::FurtherOutput}, {"QT2602", ForceGroup::FurtherOutput},
        {"QT2612", ForceGroup::FurtherOutput}, {"QT2622", ForceGroup::FurtherOutput},
        {"QT2631", ForceGroup::FurtherOutput}, {"QT2702", ForceGroup::FurtherOutput},
        {"QT3002", ForceGroup::Analog},        {"QT3004", ForceGroup::Analog},
        {"QT3012", ForceGroup::Analog},        {"QT3014", ForceGroup::Analog},
        {"QT3022", ForceGroup::Analog},        {"QT3024", ForceGroup::Analog},
        {"QT3042", ForceGroup::Analog},        {"QT3052", ForceGroup::Analog},
        {"QT3062", ForceGroup::Analog},        {"QT4002", ForceGroup::Analog},
        {"QT4004", ForceGroup::Analog},        {"QT4012", ForceGroup::Analog},
        {"QT4014", ForceGroup::Analog},        {"QT4022", ForceGroup::Analog},
        {"QT4032", ForceGroup::Analog},        {"QT4034", ForceGroup::Analog},
    };
    const std::string type = typeName.substr(0, kTypeLength);
    for (const Row& row : kGroups)
        if (type == row.type) return row.group;
    return ForceGroup::Other;
}

bool ChannelForce::open(const std::string& key) {
    const std::string_view kind = std::string_view(key).substr(0, kTreeKeyPrefixLength);
    const bool channelKey = kind == SZ_CHANNEL_INDATA || kind == SZ_CHANNEL_OUTDATA ||
                            kind == SZ_CHANNEL_STATUS || kind == SZ_CHANNEL_CONTROL;
    outputKey_ = !channelKey || kind == SZ_CHANNEL_OUTDATA;
    const int32_t termId = channelKey ? treeKeyField(key, kKeyTermId) : 0;
    channel_ = channelKey ? treeKeyField(key, kKeyChannel) : 0;
    if (!gfGetActiveCoupler(coupler_) || !coupler_) return false;
    terminal_ = coupler_->clsColTerminals()->ItemID(termId);
    group_ = terminal_ ? forceGroupOf(terminal_->InfoName()) : ForceGroup::Other;
    return true;
}

bool ChannelForce::online() const {
    return gfVarnakProject()->Online();
}

bool ChannelForce::load() {
    std::shared_ptr<clsCoupler> active;
    if (!gfGetActiveCoupler(active) || !active) return false;
    return active->fCalcTermAdrInImages();
}

std::string ChannelForce::typeName() const {
    return terminal_ ? terminal_->InfoName() : std::string();
}

std::string ChannelForce::addressText() const {
    if (!terminal_) return {};
    try {
        if (group_ == ForceGroup::DigitalInput) return terminal_->ConfMappInputImage(channel_, 0);
        if (group_ == ForceGroup::DigitalOutput) return terminal_->ConfMappOutputImage(channel_, 0);
    } catch (const std::out_of_range&) {
        // A channel the terminal does not have shows no address.
    }
    return {};
}

std::optional<ChannelForce::Place> ChannelForce::place(bool output) const {
    if (!terminal_ || !coupler_) return std::nullopt;
    try {
        const std::string text = output ? terminal_->ConfMappOutputImage(channel_, 0)
                                        : terminal_->ConfMappInputImage(channel_, 0);
        const auto image = destinationImage(output ? terminal_->ConfOutputDestProcImage(channel_)
                                                   : terminal_->ConfInputDestProcImage(channel_));
        const auto bit = channelImageBit(text);
        if (!image || !bit) return std::nullopt;
        auto table = coupler_->clsColTables()->Item(output ? OutputImageTable(*image)
                                                           : InputImageTable(*image));
        if (!table) return std::nullopt;
        return Place{table, *bit};
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

std::optional<int32_t> ChannelForce::fReadChannelValue() {
    if (group_ != ForceGroup::DigitalInput && group_ != ForceGroup::DigitalOutput) return 0;
    const auto p = place(group_ == ForceGroup::DigitalOutput);
    if (!p) return 0;
    health_.beginPass();
    lastResult_ = p->table->ConfUpload(p->bit.reg, 1);
    const bool read = health_.take(lastResult_);
    health_.endPass();
    if (!read) return std::nullopt;
    return (p->table->ConfRegisterValue(p->bit.reg) >> p->bit.wordBit) & 1;
}

ChannelForce::WriteResult ChannelForce::fWriteChannelValue(int32_t value) {
    if (group_ != ForceGroup::DigitalOutput && group_ != ForceGroup::FurtherOutput)
        return WriteResult::NotWritable;
    const auto p = place(true);
    if (!p) return WriteResult::Unmapped;
    lastResult_ = p->table->ConfUpload(p->bit.reg, 1);
    if (lastResult_ != 0) return WriteResult::NoCommunication;
    const int32_t word = p->table->ConfRegisterValue(p->bit.reg);
    p->table->setConfRegisterValue(p->bit.reg, forcedChannelWord(word, p->bit.wordBit, value));
    lastResult_ = p->table->ConfDownload(p->bit.reg, 1);
    if (lastResult_ == 0) return WriteResult::Written;
    // The table shows the device's word, not the one that did not get there.
    p->table->setConfRegisterValue(p->bit.reg, word);
    return WriteResult::NoCommunication;
}

}  // namespace varnak
