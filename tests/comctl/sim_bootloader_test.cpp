// The simulated boot loader catches what a wrong host would send; the firmware tests rely
// on it.
#include "tests/support/sim_bootloader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnak::test {
namespace {

// Feeds bytes and returns everything the loader answered.
std::string feed(SimBootLoader& loader, const std::string& bytes) {
    std::string out;
    for (char c : bytes)
        for (const auto& o : loader.feed(static_cast<uint8_t>(c))) out += o.bytes;
    return out;
}

std::string sector(uint32_t address, uint8_t fill, size_t size = 128) {
    std::string s{static_cast<char>(address & 0xFF), static_cast<char>(address >> 8),
                  static_cast<char>(address >> 16)};
    return s + std::string(size, static_cast<char>(fill));
}

std::string directory(uint32_t sum, const std::vector<uint32_t>& entries) {
    std::vector<uint32_t> words{sum, static_cast<uint32_t>(entries.size() / 2)};
    words.insert(words.end(), entries.begin(), entries.end());
    std::string d;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i) d += static_cast<char>(w >> 8 * i);
    return d + std::string(128 - d.size(), '\0');
}

const std::string kTrailer("\x80\x00\xA0\x00", 4);

TEST(SimBootLoader, AcceptsASoundSmallFlashDownload) {
    SimBootLoader loader;
    loader.configure(0, false, 0);
    EXPECT_EQ(loader.enterUpdateRoad().at(0).bytes, "5");
    std::string out = feed(loader, sector(0x80, 2) + sector(0x100, 3));
    out += feed(loader, sector(0x1FF80, 0).substr(0, 3) + directory(128 * 5, {0x80, 0x17F}));
    feed(loader, kTrailer);
    EXPECT_EQ(out, "$5$5$5");
    EXPECT_EQ(loader.error(), "");
    EXPECT_TRUE(loader.finished());
}

TEST(SimBootLoader, RefusesWhatAWrongHostSends) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"address off a sector", sector(0x40, 1)},
        {"address in the window", sector(0xF000, 1)},
        {"address beyond the flash", sector(0x20000, 1)},
        {"addresses not ascending", sector(0x100, 1) + sector(0x80, 1)},
        {"directory sum",
         sector(0x80, 1) + sector(0x1FF80, 0).substr(0, 3) + directory(1, {0x80, 0xFF})},
        {"directory names a sector not sent",
         sector(0x1FF80, 0).substr(0, 3) + directory(0, {0x80, 0xFF})},
        {"directory pair off the sectors",
         sector(0x80, 1) + sector(0x1FF80, 0).substr(0, 3) + directory(128, {0x80, 0xFE})},
        {"no directory", sector(0x80, 1) + kTrailer},
        {"wrong trailer", std::string("\x80\x00\xA0\x01", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimBootLoader loader;
        loader.configure(0, false, 0);
        loader.enterUpdateRoad();
        feed(loader, c.bytes);
        EXPECT_NE(loader.error(), "");
    }
    // Types 2 and 5 and the load road expect 0x00 before each sector.
    SimBootLoader loader;
    loader.configure(2, false, 0);
    loader.enterBootRom();
    EXPECT_EQ(feed(loader, std::string(1, '\0')), "\xB5");
    feed(loader, std::string(32 + 768, '\x01'));
    EXPECT_EQ(feed(loader, std::string(1, '\0')), "#\x1F\x20");
    feed(loader, std::string(1, '\0'));
    EXPECT_EQ(loader.error(), "");
    feed(loader, sector(0, 1));
    EXPECT_NE(loader.error(), "");
}

}  // namespace
}  // namespace varnak::test
