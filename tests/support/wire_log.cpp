#include "tests/support/wire_log.h"

#include <cstdio>
#include <cstdlib>

#include "tests/support/sim_station.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

constexpr size_t kRegisterHead = 10;

unsigned at(const std::string& s, size_t i) {
    return static_cast<uint8_t>(s[i]);
}

std::string words(const std::string& r, size_t from, size_t count) {
    std::string out;
    char w[8];
    for (size_t i = 0; i < count && from + 2 * i + 1 < r.size(); ++i) {
        std::snprintf(w, sizeof w, " 0x%04X", at(r, from + 2 * i) | at(r, from + 2 * i + 1) << 8);
        out += w;
    }
    return out;
}

std::string rawBytes(const std::string& r) {
    std::string out = "bytes";
    char b[4];
    for (char c : r) {
        std::snprintf(b, sizeof b, " %02X", static_cast<uint8_t>(c));
        out += b;
    }
    return out;
}

}  // namespace

std::string decodeRequest(const std::string& r) {
    if (r.size() >= 5 && r[0] == 'P' && r.size() == 2 * at(r, 1) + 5u)
        return "process station " + std::to_string(at(r, 3)) + " words " +
               std::to_string(at(r, 1)) + ":" + words(r, 4, at(r, 1));
    if (r.size() < kRegisterHead + 2 || at(r, 0) != 0xFD || at(r, 1) != 0x02 || r[6] != 'R')
        return rawBytes(r);
    const bool write = at(r, 8) & 0x80;
    const unsigned count = at(r, 5);
    std::string line = std::string(write ? "write" : "read ") + " pos " + std::to_string(at(r, 7)) +
                       " table " + std::to_string(at(r, 8) & 0x7F) + " reg " +
                       std::to_string(at(r, 9)) + " count " + std::to_string(count);
    if (write) line += ":" + words(r, kRegisterHead, count);
    return line;
}

std::string wireLog(const std::vector<std::string>& requests) {
    std::string log;
    for (const std::string& r : requests) log += decodeRequest(r) + "\n";
    return log;
}

std::string wireLog(const SimStation& station) {
    return wireLog(station.requests());
}

std::filesystem::path testSourcePath(const std::filesystem::path& relative) {
    const char* source = std::getenv("VARNAK_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests" / relative;
}

::testing::AssertionResult matchesGolden(const std::string& text,
                                         const std::filesystem::path& golden) {
    if (const char* update = std::getenv("VARNAK_UPDATE_GOLDEN"); update && *update == '1') {
        writeFile(golden, text);
        return ::testing::AssertionSuccess();
    }
    const std::string expected = readFile(golden);
    if (expected == text) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << golden << " differs:\n--- expected\n"
                                         << expected << "--- actual\n"
                                         << text;
}

}  // namespace varnak::test
