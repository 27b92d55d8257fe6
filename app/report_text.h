#pragma once
// The four reports of a rail as plain text: lines end with CR LF, columns are separated
// by TAB. The preview shows this text, the printer prints it and the project folder keeps
// it as an RTF file.
#include <cstdint>
#include <string>
#include <vector>

#include "windowkit/dialog_openers.h"

namespace varnak {

class clsCoupler;

// Report rows of the report selection.
inline constexpr int32_t kReportMapping = 1;
inline constexpr int32_t kReportRailConfiguration = 4;
inline constexpr int32_t kReportPieceList = 5;
inline constexpr int32_t kReportChangedRegisters = 6;
inline constexpr int32_t kReportRailPicture = 7;

// The file a report row is saved as in the project folder ("" for other rows).
std::string reportFileName(int32_t row);

// The programmed-mapping dialog's input and output tables: rows of text cells, the columns
// of its grids (column 0 the terminal position, empty on a terminal's further rows).
using MappingTables = ConfigProgTables;

// The whole text of a report row for a rail, in the current language. dateTime is the
// moment of the report in the system's format. mapping is read by the mapping report only.
std::string fReportText(int32_t row, clsCoupler& rail, const std::string& dateTime,
                        const MappingTables& mapping = {});

}  // namespace varnak
