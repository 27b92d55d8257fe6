#pragma once
// The coupler's programmed process-image mapping between its three forms: the coupler's
// tables (input list 10-23, output list 50-63, expected terminal list 8), the terminals'
// mapping texts (an address text per entry and a destination image per channel) and the
// rows of the two mapping grids.
//
// Every routine first takes the rail's layout (railMappingLayout) and refuses, changing
// nothing, a rail its coupler cannot hold. The station upload calls the recalculation after
// reading a list (after both, on a rail with an undescribed terminal); the mapping dialogs
// fill their grids when they open and store them on OK.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mapping/mapping_grid.h"
#include "mapping/mapping_layout.h"
#include "mapping/mapping_list.h"

namespace varnak {

class clsCoupler;

// A terminal's stored mapping text that is no address or image (a damaged terminal file):
// the grid shows it unmapped (image 0) until the user stores the grid.
struct MappingTextFault {
    MappingDirection direction = MappingDirection::Input;
    int32_t position = 0;
    int32_t channel = 0;  // from 0
    int32_t entry = 0;    // -1: the channel's destination image
    std::string text;
    bool operator==(const MappingTextFault&) const = default;
};

// The grid rows of a direction from the terminals' mapping texts. A row without data in
// the direction is hidden and shows every entry unmapped.
MappingGrid fFillImageGrid(const RailMappingLayout& layout, MappingDirection direction,
                           std::vector<MappingTextFault>& faults);

// True when the grid's rows are the ones the layout gives (a grid made for another rail or
// another layout is never stored).
bool fGridFitsLayout(const RailMappingLayout& layout, MappingDirection direction,
                     const MappingGrid& grid);

// The fill and store by direction, as the dialogs name them.
inline MappingGrid fFillInputImageGrid(const RailMappingLayout& layout,
                                       std::vector<MappingTextFault>& faults) {
    return fFillImageGrid(layout, MappingDirection::Input, faults);
}
inline MappingGrid fFillOutputImageGrid(const RailMappingLayout& layout,
                                        std::vector<MappingTextFault>& faults) {
    return fFillImageGrid(layout, MappingDirection::Output, faults);
}

// Encodes the grid rows into the terminals' mapping texts and into the direction's list
// tables, the end mark right after the last entry. Entries of channels without data in the
// direction are stored unmapped in image 0. Refused (nothing changed) when the grid's rows
// are not the layout's, and while a terminal of the rail is undescribed: a list from a
// guessed layout would put later entries on other channels, texts without it would be
// addresses the coupler does not hold.
[[nodiscard]] MappingRefusal fStoreImageGrid(clsCoupler& coupler, const RailMappingLayout& layout,
                                             MappingDirection direction, const MappingGrid& grid);

[[nodiscard]] inline MappingRefusal fStoreInputImageGrid(clsCoupler& coupler,
                                                         const RailMappingLayout& layout,
                                                         const MappingGrid& grid) {
    return fStoreImageGrid(coupler, layout, MappingDirection::Input, grid);
}
[[nodiscard]] inline MappingRefusal fStoreOutputImageGrid(clsCoupler& coupler,
                                                          const RailMappingLayout& layout,
                                                          const MappingGrid& grid) {
    return fStoreImageGrid(coupler, layout, MappingDirection::Output, grid);
}

// Writes table 8: the coupler's type number, one word per listed terminal (positions 1 ..
// layout.listed), then the end mark unless the words fill the table. A terminal with
// register model whose name gives no type number takes the station's own word from table 9
// when the rail was read from the station (online). Returns the positions for which no
// word was found, or the undescribed positions (whose lists are not stored); then table 8
// is left as it was.
[[nodiscard]] std::vector<int32_t> fStoreTerminalList(clsCoupler& coupler,
                                                      const RailMappingLayout& layout, bool online);

// Decodes the direction's list tables into the terminals' mapping texts; online the tables
// (and the serial interfaces' registers 35-36) are read from the device first. Entries from
// the end mark on are unmapped, as are those of channels without data in the direction.
// From the first undescribed terminal on, every entry is unmapped. A list the device
// did not deliver whole changes nothing (tables and texts stay as the project holds them)
// and is refused as ListUnread.
[[nodiscard]] MappingRefusal fReCalcProgrammedConfiguration(clsCoupler& coupler,
                                                            MappingDirection direction,
                                                            bool online);
// The same with the rail's layout already taken (railMappingLayout).
[[nodiscard]] MappingRefusal fReCalcProgrammedConfiguration(clsCoupler& coupler,
                                                            const RailMappingLayout& layout,
                                                            MappingDirection direction,
                                                            bool online);
// The same on the active rail (online the station's, read from the device), as the
// programmed-mapping dialog and the station upload call it.
[[nodiscard]] MappingRefusal fReCalcProgrammedConfigurationInputImage();
[[nodiscard]] MappingRefusal fReCalcProgrammedConfigurationOutputImage();
// Both directions on the active rail, both lists read before any text is written: a
// refusal leaves every text as it was, and the texts follow both lists or neither.
[[nodiscard]] MappingRefusal fReCalcProgrammedConfigurationImages();

// The type number a type name carries for table 8: the digits after its two-letter prefix
// ("QZ3100-0000" 3100, "QP2008-B310" 2008), after "JRV-" for those names ("JRV-842_000-000"
// 842); 0 when there are none.
int32_t mappingTypeNumber(const std::string& typeName);
// A terminal's word in table 8: its type number when it has a register model, else its bit
// count with the input and output flags; nullopt for a register model without a type
// number in its name.
std::optional<int32_t> fTerminalListWord(const TerminalMappingLayout& terminal);

// Positions as the messages list them: "2, 5".
std::string positionsText(const std::vector<int32_t>& positions);
// The message naming the positions fStoreTerminalList found no word for.
std::string terminalListKeptMessage(const std::vector<int32_t>& positions);
// The message of a mapping refused for its undescribed positions, naming them.
std::string undescribedRefusedMessage(const std::vector<int32_t>& positions);

// The message naming the faults (at most twenty of them), in the current language.
std::string mappingTextFaultsMessage(const std::vector<MappingTextFault>& faults);

}  // namespace varnak
