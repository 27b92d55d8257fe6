#include "online/station_terminal_list.h"

#include <algorithm>
#include <cstdio>

#include "mapping/mapping_layout.h"
#include "mapping/mapping_routines.h"
#include "mapping/mapping_texts.h"
#include "mapping/terminal_list.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "online/online_texts.h"

namespace varnak {
namespace {

// Enough for the user to see what is wrong; the rest is counted.
constexpr size_t kNamedMismatches = 5;

// The station's words up to its end mark, position p at index p - 1.
std::vector<int32_t> listedWords(clsTable& list) {
    std::vector<int32_t> words;
    for (int32_t p = 1; p <= kActualTerminalListLast; ++p) {
        const int32_t word = list.ConfRegisterValue(p) & 0xFFFF;
        if (isTerminalListEnd(word)) break;
        words.push_back(word);
    }
    return words;
}

// The word the rail gives the terminal at position p: an undescribed terminal's type cannot
// be told from its name, so the word its rail stored for it (read from the station, or
// taken from the station's list when it was mapped online) stands for it.
std::optional<int32_t> railListWord(const std::shared_ptr<clsTerminal>& terminal,
                                    const std::optional<std::vector<int32_t>>& stored, int32_t p) {
    if (!isUndescribedTerminal(*terminal))
        return fTerminalListWord(channelLayoutOf(terminal, false));
    if (!stored || p > static_cast<int32_t>(stored->size())) return std::nullopt;
    const int32_t word = (*stored)[static_cast<size_t>(p - 1)];
    if (isTerminalListEnd(word)) return std::nullopt;
    return word;
}

std::string stationText(const std::optional<int32_t>& word) {
    AppContext& c = varnak();
    if (!word) return c.text(kTxtNoTerminalThere);
    if (!decodeTerminalListWord(*word).digital) return std::to_string(*word);
    // Room for every 32-bit word, though a terminal list holds 16-bit ones.
    char text[sizeof "0xFFFFFFFF"];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(*word));
    return text;
}

}  // namespace

std::shared_ptr<clsTable> deviceTable(int32_t position, int32_t table, int32_t lastRegister) {
    auto t = std::make_shared<clsTable>();
    t->setPosNr(position);
    t->setTableNr(table);
    t->setTableLen(lastRegister);
    t->setbInitDone(true);
    return t;
}

StationTerminalList readStationTerminalList() {
    StationTerminalList out;
    out.table = deviceTable(0, kActualTerminalList, kActualTerminalListLast);
    for (int attempt = 0; attempt < kTerminalListAttempts; ++attempt) {
        out.result = out.table->ConfUpload(0, kActualTerminalListLast + 1);
        if (out.result == 0) break;
    }
    return out;
}

std::vector<TerminalMismatch> stationMismatches(clsCoupler& rail, clsTable& list) {
    auto terminals = rail.clsColTerminals();
    // The highest position, not the count: a damaged rail may have gaps.
    int32_t count = 0;
    for (const auto& t : *terminals) count = std::max(count, t->ConfRailPosition());
    if (auto last = terminals->ItemPos(count); last && last->InfoName() == kEndTerminalType)
        --count;
    const std::vector<int32_t> listed = listedWords(list);
    auto own = rail.clsColTables()->Item(kProgrammedTerminalList);
    const auto stored = own ? storedTerminalList(*own) : std::nullopt;
    const int32_t positions = std::max(count, static_cast<int32_t>(listed.size()));
    std::vector<TerminalMismatch> out;
    for (int32_t p = 1; p <= positions; ++p) {
        auto terminal = p <= count ? terminals->ItemPos(p) : nullptr;
        std::optional<int32_t> railWord;
        if (terminal) railWord = railListWord(terminal, stored, p);
        std::optional<int32_t> stationWord;
        if (p <= static_cast<int32_t>(listed.size()))
            stationWord = listed[static_cast<size_t>(p - 1)];
        // Words are compared by what they say: a digital word's other bits mean nothing.
        const bool same = railWord && stationWord &&
                          decodeTerminalListWord(*railWord) == decodeTerminalListWord(*stationWord);
        const bool bothEmpty = !railWord && !stationWord;
        if (same || bothEmpty) continue;
        out.push_back({p, terminal ? terminal->InfoName() : std::string(), stationWord});
    }
    return out;
}

std::string stationMismatchQuestion(const std::vector<TerminalMismatch>& mismatches) {
    AppContext& c = varnak();
    std::string text = c.text(kTxtStationDiffers);
    const size_t named = std::min(mismatches.size(), kNamedMismatches);
    for (size_t i = 0; i < named; ++i) {
        const TerminalMismatch& m = mismatches[i];
        const std::string railType = m.railType.empty() ? c.text(kTxtNoTerminalThere) : m.railType;
        text +=
            "\n" + withValues(c.text(kTxtStationDifference),
                              {std::to_string(m.position), railType, stationText(m.stationWord)});
    }
    if (mismatches.size() > named)
        text += "\n" + withValues(c.text(kTxtFurtherDifferences),
                                  {std::to_string(mismatches.size() - named)});
    return text + "\n\n" + c.text(kTxtDownloadAnyway);
}

}  // namespace varnak
