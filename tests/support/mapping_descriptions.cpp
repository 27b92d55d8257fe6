#include "tests/support/mapping_descriptions.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/ini_file.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

struct Synthetic {
    const char* name;
    int channels, bits, inBits, outBits;
};

constexpr Synthetic kTerminals[] = {
    {"QT8914-0000", 4, 112, 112, 112}, {"QT8941-0000", 41, 1, 1, 1}, {"QT8942-0000", 42, 1, 1, 1},
    {"QT8915-0000", 1, 120, 120, 120}, {"QT8916-0000", 16, 8, 8, 8}, {"QT8908-0000", 3, 16, 8, 0},
    {"QT8903-0000", 2, 3, 3, 3},
};

std::string description(const Synthetic& t) {
    char layout[160];
    std::snprintf(layout, sizeof layout,
                  "Reg10=0x%02X%02X\nReg11=0x%02X%02X\nReg12=0x%02X%02X\nReg31=0x0000\n",
                  t.channels, t.bits, t.channels, t.bits, t.outBits, t.inBits);
    return std::string("[Common]\nName=") + t.name + "\nLang0_Desc=Testklemme\nLang1_Desc=Test " +
           "terminal\nPicture=QTdummy.png\nPicSize=2\nCurrentKBus=-10\n\n[RegValue_Table0]\n" +
           layout;
}

}  // namespace

void writeMappingTestTerminals(const std::filesystem::path& resources) {
    for (const Synthetic& t : kTerminals)
        writeFile(resources / "Terminal" / (std::string(t.name) + ".INI"), description(t));
    ini::dropCache();
}

void dropCouplerTable(const std::filesystem::path& resources, const std::string& coupler,
                      int table) {
    const std::string file =
        platform::resolveCaseInsensitive(resources / "Coupler" / (coupler + ".INI")).string();
    EXPECT_TRUE(ini::WritePrivateProfileString("RegValue_Table127", "Reg" + std::to_string(table),
                                               "0x0000", file));
    EXPECT_TRUE(ini::flush());
    ini::dropCache();
}

}  // namespace varnak::test
