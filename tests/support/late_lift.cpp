#include "tests/support/late_lift.h"

#include <memory>

#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

constexpr const char* kLiftBlock = "write pos 0 table 99 reg 0 count 4: 0x0101 0x0001 0x5C3B";
constexpr const char* kCommandReadBack = "read  pos 0 table 99 reg 0 count ";

bool startsWith(const std::string& text, const char* start) {
    return text.rfind(start, 0) == 0;
}

}  // namespace

void answerLiftsLate(SimStation& station, int times) {
    struct Lifts {
        int left;
        bool blockWritten = false;
    };
    auto lifts = std::make_shared<Lifts>(Lifts{times});
    station.setFaultChooser([lifts](const std::string& request) -> std::optional<ReplyFault> {
        const std::string line = decodeRequest(request);
        if (startsWith(line, "write pos 0 table 99 reg 0 "))
            lifts->blockWritten = startsWith(line, kLiftBlock);
        if (lifts->left == 0 || !lifts->blockWritten || !startsWith(line, kCommandReadBack))
            return std::nullopt;
        lifts->blockWritten = false;
        --lifts->left;
        return ReplyFault::late();
    });
}

}  // namespace varnak::test
