// Random files of awkward lines, edited at random: a write changes the value it writes and
// nothing else, and the cache always agrees with a fresh read of the disk.
#include <map>
#include <random>

#include "tests/platform/ini_test_support.h"

namespace varnak::test {
namespace {

std::string pick(std::mt19937& rng, const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

std::string randomFile(std::mt19937& rng) {
    const std::vector<std::string> pieces = {
        "[A]", "[a ]", "[B]x", "[B", " [C] ", "K=1", "k = 2 ", "L=\"q\"", ";K=3",   "#L=4",
        "=",   "M",    " \t",  "",   "K",     "[",   "]",      "L='",     "\xE4=5", "\xC3\xA4=6"};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r", "\r\n"};
    std::string out;
    int lines = std::uniform_int_distribution<int>(0, 12)(rng);
    for (int i = 0; i < lines; ++i) out += pick(rng, pieces) + pick(rng, ends);
    if (rng() % 3 == 0) out += pick(rng, pieces);  // no final line end
    return out;
}

std::string expectedRead(std::string v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.erase(0, 1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.pop_back();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

class IniRandomEdit : public IniTest {};

TEST_F(IniRandomEdit, WriteChangesOnlyItsOwnValue) {
    const std::vector<std::string> sections = {"A", "a", "B", "C", "D"};
    const std::vector<std::string> keys = {"K", "k", "L", "M", "N", "\xC3\xA4"};
    const std::vector<std::string> values = {"1", " 2 ", "\"3\"", "'4", "", "x y", "\"\""};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        ini::dropCache();
        std::string f = put(randomFile(rng));
        for (int edit = 0; edit < 4; ++edit) {
            std::map<std::pair<std::string, std::string>, std::string> before;
            for (const auto& s : sections)
                for (const auto& k : keys) before[{s, k}] = readString(f, s, k, "<none>");
            const std::string s = pick(rng, sections), k = pick(rng, keys);
            const bool remove = rng() % 5 == 0;
            const std::string v = pick(rng, values);
            ASSERT_TRUE(remove ? WritePrivateProfileString(s, k, std::nullopt, f)
                               : WritePrivateProfileString(s, k, v, f));
            const std::string fileNow = readFile(f);
            for (const auto& [name, old] : before) {
                std::string now = readString(f, name.first, name.second, "<none>");
                ini::dropCache();
                EXPECT_EQ(readString(f, name.first, name.second, "<none>"), now)
                    << "cache and disk differ\n"
                    << fileNow;
                bool same = name.first == s || (name.first == "a" && s == "A") ||
                            (name.first == "A" && s == "a");
                bool sameKey = name.second == k || (name.second == "k" && k == "K") ||
                               (name.second == "K" && k == "k");
                if (same && sameKey) {
                    if (!remove) {
                        EXPECT_EQ(now, expectedRead(v)) << fileNow;
                    }
                } else {
                    EXPECT_EQ(now, old)
                        << s << "/" << k << " changed " << name.first << "/" << name.second << "\n"
                        << fileNow;
                }
            }
        }
    }
}

}  // namespace
}  // namespace varnak::test
