#include "tests/support/line_stations.h"

#include <algorithm>

namespace varnak::test {
namespace {

constexpr uint8_t kWriteFlag = 0x80;

uint8_t at(const std::string& s, size_t i) {
    return static_cast<uint8_t>(s[i]);
}

// A register reply whose count byte says count, whatever values it carries.
std::string replyWithCount(uint8_t station, uint8_t count, uint8_t rail, uint8_t table,
                           uint8_t first, const std::vector<uint16_t>& values) {
    std::string r = registerReplyFrame(station, rail, table, first, values);
    r[5] = static_cast<char>(count);
    uint16_t sum = 0;
    for (size_t i = 0; i + 2 < r.size(); ++i) sum = static_cast<uint16_t>(sum + at(r, i));
    r[r.size() - 2] = static_cast<char>(sum & 0xFF);
    r[r.size() - 1] = static_cast<char>(sum >> 8);
    return r;
}

// The values a reply of this shape carries for count registers.
std::vector<uint16_t> carried(SimStation::ReplyShape shape, std::vector<uint16_t> values) {
    return shape == SimStation::ReplyShape::Values ? values : std::vector<uint16_t>{};
}

uint8_t countOf(SimStation::ReplyShape shape, uint8_t count) {
    return shape == SimStation::ReplyShape::Empty ? 0 : count;
}

}  // namespace

void LineStations::addStation(uint8_t address) {
    std::lock_guard lock(mutex_);
    stations_.insert(address);
}

void LineStations::addTable(uint8_t station, int rail, int table, size_t registers) {
    std::lock_guard lock(mutex_);
    tables_[{station, rail, table}].assign(registers, 0);
}

uint16_t LineStations::reg(uint8_t station, int rail, int table, int reg) const {
    std::lock_guard lock(mutex_);
    return tables_.at({station, rail, table}).at(static_cast<size_t>(reg));
}

void LineStations::setReplies(const Replies& replies) {
    std::lock_guard lock(mutex_);
    replies_ = replies;
}

SimStation::Answerer LineStations::answerer() {
    return [this](const std::string& request) { return answer(request); };
}

std::optional<std::string> LineStations::answer(const std::string& r) {
    std::lock_guard lock(mutex_);
    if (r[0] == 'P') {
        if (!stations_.count(at(r, 3))) return std::nullopt;
        std::vector<uint16_t> outputs;
        for (size_t i = 0; i < at(r, 1); ++i)
            outputs.push_back(static_cast<uint16_t>(at(r, 4 + 2 * i) | at(r, 5 + 2 * i) << 8));
        return processDataReplyFrame(at(r, 3), outputs, at(r, 2));
    }
    if (!stations_.count(at(r, 4))) return std::nullopt;
    return registerAnswer(r);
}

// Request: FD 02 L 00 station count 52 rail table first values... sum.
std::string LineStations::registerAnswer(const std::string& r) {
    const uint8_t station = at(r, 4), count = at(r, 5), rail = at(r, 7), tableByte = at(r, 8),
                  first = at(r, 9);
    const int table = tableByte & ~kWriteFlag;
    const bool write = tableByte & kWriteFlag;
    const auto found = tables_.find({station, rail, table});
    const bool known = found != tables_.end() && first + count <= int(found->second.size());
    if (write) {
        std::vector<uint16_t> values;
        for (size_t i = 0; i < count; ++i)
            values.push_back(static_cast<uint16_t>(at(r, 10 + 2 * i) | at(r, 11 + 2 * i) << 8));
        if (known) std::copy(values.begin(), values.end(), found->second.begin() + first);
        return replyWithCount(station, countOf(replies_.writes, count), rail, tableByte, first,
                              carried(replies_.writes, values));
    }
    if (!known)
        return replyWithCount(station, countOf(replies_.refusals, count), rail,
                              tableByte | kWriteFlag, first,
                              carried(replies_.refusals, std::vector<uint16_t>(count, 0)));
    auto& registers = found->second;
    if (replies_.freshValues)
        for (size_t i = 0; i < count; ++i) registers[first + i] = nextValue_++;
    return registerReplyFrame(station, rail, tableByte, first,
                              {registers.begin() + first, registers.begin() + first + count});
}

}  // namespace varnak::test
