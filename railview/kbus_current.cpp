#include "railview/kbus_current.h"

#include "model/string_table.h"

namespace varnak {
namespace {

constexpr int kTxtCurrentTooHigh = 180;
constexpr int kTxtInsertSupply = 181;
constexpr int kTxtPosition = 740;

}  // namespace

std::optional<int32_t> fKBusShortPosition(int32_t couplerFigure,
                                          const std::vector<int32_t>& terminalFigures) {
    int64_t balance = couplerFigure;
    for (size_t i = 0; i < terminalFigures.size(); ++i) {
        balance += terminalFigures[i];
        if (balance < 0) return static_cast<int32_t>(i + 1);
    }
    return std::nullopt;
}

std::string fKBusWarningText(int32_t position) {
    return LoadResString(kTxtCurrentTooHigh) + "\r\n\r\n" + LoadResString(kTxtPosition) +
           std::to_string(position) + "\r\n\r\n" + LoadResString(kTxtInsertSupply);
}

}  // namespace varnak
