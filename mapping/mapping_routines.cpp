#include "mapping/mapping_routines.h"

#include <cctype>
#include <memory>

#include "mapping/mapping_address.h"
#include "mapping/mapping_texts.h"
#include "mapping/terminal_list.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"

namespace varnak {
namespace {

constexpr size_t kFaultsShown = 20;

// The terminal's mapping texts of one direction.
struct DirectionTexts {
    clsTerminal& t;
    MappingDirection d;

    std::string address(int32_t c, int32_t k) const {
        return d == MappingDirection::Input ? t.ConfMappInputImage(c, k)
                                            : t.ConfMappOutputImage(c, k);
    }
    void setAddress(int32_t c, int32_t k, const std::string& v) const {
        if (d == MappingDirection::Input)
            t.setConfMappInputImage(c, k, v);
        else
            t.setConfMappOutputImage(c, k, v);
    }
    std::string image(int32_t c) const {
        return d == MappingDirection::Input ? t.ConfInputDestProcImage(c)
                                            : t.ConfOutputDestProcImage(c);
    }
    void setImage(int32_t c, const std::string& v) const {
        if (d == MappingDirection::Input)
            t.setConfInputDestProcImage(c, v);
        else
            t.setConfOutputDestProcImage(c, v);
    }
};

const char* unmappedText(bool byteOriented) {
    return byteOriented ? kUnmappedByteText : kUnmappedBitText;
}

// An image text: one digit 0-3.
std::optional<int32_t> imageNumber(const std::string& text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '3') return std::nullopt;
    return text[0] - '0';
}

int32_t entryWord(const ImageAddress& a, bool byteOriented, int32_t image) {
    return encodeMappingEntry({a.byte, a.bit, byteOriented, image});
}

const ImageAddress kUnmapped{kMappingUnmapped, 7};

MappingRowFlags rowFlags(const TerminalMappingLayout& t, MappingDirection d) {
    return {!t.hasData(d), t.byteOriented ? kDTypeByte : kDTypeBit, t.entries};
}

}  // namespace

bool fGridFitsLayout(const RailMappingLayout& layout, MappingDirection d, const MappingGrid& grid) {
    if (grid.rows.size() != static_cast<size_t>(layout.rowCount())) return false;
    int row = 0;
    for (const auto& t : layout.terminals) {
        const MappingRowFlags want = rowFlags(t, d);
        for (int32_t c = 0; c < t.channels; ++c, ++row) {
            const MappingRowFlags have = grid.flags(row);
            if (have.hidden != want.hidden || have.dtype != want.dtype ||
                have.mapData != want.mapData)
                return false;
        }
    }
    return true;
}

namespace {

MappingRefusal recalculateActive(MappingDirection d) {
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler) || !coupler) return MappingProblem{};
    return fReCalcProgrammedConfiguration(*coupler, d, gfVarnakProject()->Online());
}

}  // namespace

MappingGrid fFillImageGrid(const RailMappingLayout& layout, MappingDirection d,
                           std::vector<MappingTextFault>& faults) {
    MappingGrid grid;
    for (const auto& t : layout.terminals) {
        const DirectionTexts texts{*t.terminal, d};
        const MappingRowFlags flags = rowFlags(t, d);
        for (int32_t c = 0; c < t.channels; ++c) {
            MappingGrid::Row row;
            if (c == 0) {
                row[kMappingColumnNr] = std::to_string(t.position);
                row[kMappingColumnType] = t.terminal->InfoName();
            }
            row[kMappingColumnHidden] = flags.hidden ? "True" : "False";
            row[kMappingColumnDType] = std::to_string(flags.dtype);
            row[kMappingColumnMapData] = std::to_string(flags.mapData);
            row[kMappingColumnChannel] = std::to_string(c + 1);
            std::string image = texts.image(c);
            if (!imageNumber(image)) {
                faults.push_back({d, t.position, c, -1, image});
                image = "0";
            }
            row[kMappingColumnImage] = image;
            for (int32_t k = 0; k < t.entries; ++k) {
                std::string text = unmappedText(t.byteOriented);
                if (!flags.hidden) {
                    std::string stored = texts.address(c, k);
                    if (fSplitImageAddress(stored))
                        text = std::move(stored);
                    else
                        faults.push_back({d, t.position, c, k, stored});
                }
                row[mappingEntryColumn(t.byteOriented, k)] = std::move(text);
            }
            grid.rows.push_back(std::move(row));
        }
    }
    return grid;
}

MappingRefusal fStoreImageGrid(clsCoupler& coupler, const RailMappingLayout& layout,
                               MappingDirection d, const MappingGrid& grid) {
    if (!fGridFitsLayout(layout, d, grid)) return MappingProblem{MappingProblem::Kind::RailChanged};
    // Texts without their list would be addresses the coupler does not hold, and a list from
    // a guessed layout puts later entries on other channels: neither is stored.
    if (const auto undescribed = layout.undescribedPositions(); !undescribed.empty())
        return MappingProblem{.kind = MappingProblem::Kind::Undescribed,
                              .position = undescribed.front()};
    MappingList list;
    int32_t i = 0;
    int row = 0;
    for (const auto& t : layout.terminals) {
        const DirectionTexts texts{*t.terminal, d};
        for (int32_t c = 0; c < t.channels; ++c, ++row) {
            const int32_t image =
                t.hasData(d) ? imageNumber(grid.cell(row, kMappingColumnImage)).value_or(0) : 0;
            for (int32_t k = 0; k < t.entries; ++k) {
                std::string text = unmappedText(t.byteOriented);
                ImageAddress address = kUnmapped;
                if (t.hasData(d)) {
                    const std::string& cell = grid.cell(row, mappingEntryColumn(t.byteOriented, k));
                    if (auto a = fSplitImageAddress(cell)) {
                        text = cell;
                        address = *a;
                    }
                }
                texts.setAddress(c, k, text);
                list[i++] = entryWord(address, t.byteOriented, image);
            }
            texts.setImage(c, std::to_string(image));
        }
    }
    list[i] = kMappingListEnd;
    writeMappingList(coupler, d, list, i);
    return std::nullopt;
}

int32_t mappingTypeNumber(const std::string& name) {
    const std::string jrv = "JRV-";
    size_t i = name.compare(0, jrv.size(), jrv) == 0 ? jrv.size() : 2;
    int32_t n = 0;
    for (int digits = 0;
         i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])) && digits < 9;
         ++i, ++digits)
        n = n * 10 + (name[i] - '0');
    return n;
}

std::optional<int32_t> fTerminalListWord(const TerminalMappingLayout& t) {
    TerminalListEntry e;
    const clsTerminal& terminal = *t.terminal;
    if (terminal.InfoTermRegisterModell()) {
        e.typeNumber = mappingTypeNumber(terminal.InfoName());
        // Word 0 would end the list on the coupler: no type number is no word.
        if (e.typeNumber == 0) return std::nullopt;
    } else {
        e.digital = true;
        e.bits = terminal.InfoNrLogSigChnl() * terminal.InfoSizeLogSigChnl();
        e.hasInputs = t.inputData;
        e.hasOutputs = t.outputData;
    }
    return encodeTerminalListWord(e);
}

namespace {

// The word the station itself lists at the position (table 9 as read when going online).
std::optional<int32_t> stationListWord(clsCoupler& coupler, int32_t position) {
    auto list = coupler.clsColTables()->Item(kActualTerminalList);
    if (!list || position > list->TableLen()) return std::nullopt;
    const int32_t word = list->ConfRegisterValue(position);
    if (isTerminalListEnd(word)) return std::nullopt;
    return word;
}

}  // namespace

std::vector<int32_t> fStoreTerminalList(clsCoupler& coupler, const RailMappingLayout& layout,
                                        bool online) {
    // Its lists are not stored either: the list and its terminals go together.
    if (auto undescribed = layout.undescribedPositions(); !undescribed.empty()) return undescribed;
    std::vector<int32_t> words;
    std::vector<int32_t> unknown;
    for (int32_t p = 1; p <= layout.listed; ++p) {
        std::optional<int32_t> word = fTerminalListWord(layout.terminals[p - 1]);
        if (!word && online) word = stationListWord(coupler, p);
        if (!word) unknown.push_back(p);
        words.push_back(word.value_or(0));
    }
    // A guessed word would make the coupler expect another terminal than the one there.
    if (!unknown.empty()) return unknown;
    auto table = coupler.clsColTables()->Item(kProgrammedTerminalList);
    table->setbInitDone(true);
    table->setConfRegisterValue(kTypeNumberRegister,
                                mappingTypeNumber(coupler.InfoName()) & 0xFFFF);
    for (int32_t p = 1; p <= layout.listed; ++p) table->setConfRegisterValue(p, words[p - 1]);
    // A full list ends with its last register, as the station's own list does.
    if (layout.listed < terminalListCapacity(*table))
        table->setConfRegisterValue(layout.listed + 1, kTerminalListEnd);
    return {};
}

std::string positionsText(const std::vector<int32_t>& positions) {
    std::string list;
    for (int32_t p : positions) list += (list.empty() ? "" : ", ") + std::to_string(p);
    return list;
}

std::string terminalListKeptMessage(const std::vector<int32_t>& positions) {
    return withValues(varnak().text(kTxtTerminalListKept), {positionsText(positions)});
}

std::string undescribedRefusedMessage(const std::vector<int32_t>& positions) {
    return withValues(varnak().text(kTxtUndescribedRefused), {positionsText(positions)});
}

MappingRefusal fReCalcProgrammedConfiguration(clsCoupler& coupler, MappingDirection d,
                                              bool online) {
    RailMappingLayout layout;
    if (auto problem = railMappingLayout(coupler, online, layout)) return problem;
    return fReCalcProgrammedConfiguration(coupler, layout, d, online);
}

namespace {

MappingRefusal listUnread(const MappingListRead& read) {
    return MappingProblem{
        .kind = MappingProblem::Kind::ListUnread, .value = read.failedTable, .code = read.result};
}

void distributeList(const RailMappingLayout& layout, MappingDirection d, const MappingList& list) {
    int32_t i = 0;
    bool ended = false;
    // Where the entries of the first undescribed terminal and of all later ones lie is not
    // known: they show no address rather than another channel's or one the list lacks.
    bool unknown = false;
    for (const auto& t : layout.terminals) {
        unknown = unknown || t.undescribed;
        const DirectionTexts texts{*t.terminal, d};
        for (int32_t c = 0; c < t.channels; ++c) {
            for (int32_t k = 0; k < t.entries; ++k) {
                const int32_t word = unknown ? kMappingListEnd : list[i++];
                ended = ended || word == kMappingListEnd;
                std::string text = unmappedText(t.byteOriented);
                int32_t image = 0;
                if (!ended && !unknown && t.hasData(d)) {
                    const MappingEntry e = decodeMappingEntry(word);
                    text = imageAddressText({e.byteOffset, e.bit}, t.byteOriented);
                    image = e.image;
                }
                texts.setAddress(c, k, text);
                // The channel's last entry decides its image.
                texts.setImage(c, std::to_string(image));
            }
        }
    }
}

MappingRefusal recalculateBoth(clsCoupler& coupler, bool online) {
    RailMappingLayout layout;
    if (auto problem = railMappingLayout(coupler, online, layout)) return problem;
    const MappingListRead inputs = readMappingList(coupler, MappingDirection::Input, online);
    if (inputs.result != 0) return listUnread(inputs);
    const MappingListRead outputs = readMappingList(coupler, MappingDirection::Output, online);
    if (outputs.result != 0) return listUnread(outputs);
    distributeList(layout, MappingDirection::Input, inputs.list);
    distributeList(layout, MappingDirection::Output, outputs.list);
    return std::nullopt;
}

}  // namespace

MappingRefusal fReCalcProgrammedConfiguration(clsCoupler& coupler, const RailMappingLayout& layout,
                                              MappingDirection d, bool online) {
    const MappingListRead read = readMappingList(coupler, d, online);
    if (read.result != 0) return listUnread(read);
    distributeList(layout, d, read.list);
    return std::nullopt;
}

MappingRefusal fReCalcProgrammedConfigurationInputImage() {
    return recalculateActive(MappingDirection::Input);
}

MappingRefusal fReCalcProgrammedConfigurationOutputImage() {
    return recalculateActive(MappingDirection::Output);
}

MappingRefusal fReCalcProgrammedConfigurationImages() {
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler) || !coupler) return MappingProblem{};
    return recalculateBoth(*coupler, gfVarnakProject()->Online());
}

std::string mappingTextFaultsMessage(const std::vector<MappingTextFault>& faults) {
    AppContext& c = varnak();
    std::string s = c.text(kTxtBadStoredTexts);
    for (size_t n = 0; n < faults.size() && n < kFaultsShown; ++n) {
        const MappingTextFault& f = faults[n];
        const std::string image =
            c.text(f.direction == MappingDirection::Input ? kTxtInputImage : kTxtOutputImage);
        const std::string position = std::to_string(f.position);
        const std::string channel = std::to_string(f.channel + 1);
        s +=
            "\n" + (f.entry < 0
                        ? withValues(c.text(kTxtBadStoredImage), {position, channel, image, f.text})
                        : withValues(c.text(kTxtBadStoredEntry),
                                     {position, channel, image, std::to_string(f.entry), f.text}));
    }
    if (faults.size() > kFaultsShown) s += "\n...";
    return s;
}

}  // namespace varnak
