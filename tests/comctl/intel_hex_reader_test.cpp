// Reading firmware files: geometry from the descriptor, sectors the file writes, every
// refusal of a malformed file, files made by binutils, and a seeded mutation loop.
#include "comctl/intel_hex_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

#include "tests/support/station_hex_file.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

using comctl::FirmwareImage;

// Reads text as a file whose passes see the same content.
int32_t readText(FirmwareImage& image, const std::string& text) {
    return image.read([&]() -> std::unique_ptr<std::istream> {
        return std::make_unique<std::istringstream>(text);
    });
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

TEST(IntelHexReader, DescriptorChoosesGeometryAndTheWrittenSectorsAreMarked) {
    // Type 2: 512 KB in 128-byte sectors, descriptor in bank 7.
    const HexImage hex = firmware(2, 0x100000, {0x0000, 0x0080, 0x12300});
    FirmwareImage image;
    ASSERT_EQ(readText(image, hex.text()), 0);
    EXPECT_EQ(image.type(), 2);
    EXPECT_EQ(image.start(), 0x100000u);
    EXPECT_EQ(image.geometry().flashSize, 0x80000u);
    EXPECT_EQ(image.geometry().sectorSize, 128u);
    EXPECT_TRUE(image.used(0));
    EXPECT_TRUE(image.used(1));
    EXPECT_FALSE(image.used(2));
    EXPECT_TRUE(image.used(0x12300 / 128));
    // The descriptor's sector is written but never sent as such.
    EXPECT_FALSE(image.used(0x7FF74 / 128));
    EXPECT_EQ(image.usedCount(), 3u);
    EXPECT_EQ(image.bytes()[0x12345], patternByte(0x12345));
    EXPECT_EQ(image.bytes()[0x200], 0xFF);

    // Lower-case digits read the same.
    FirmwareImage again;
    ASSERT_EQ(readText(again, lower(hex.text())), 0);
    EXPECT_EQ(again.bytes(), image.bytes());
}

TEST(IntelHexReader, RefusedCheckWordSelectsTheSmallFlash) {
    HexImage hex = firmware(2, 0, {0x100});
    hex.putDescriptor(7, 2, false);
    FirmwareImage image;
    // Bank 7 lies above the small flash: its data marks no sector there.
    EXPECT_EQ(readText(image, hex.text()), comctl::HexOutOfImage);
    HexImage small;
    small.put(0x100, {1, 2, 3});
    small.putDescriptor(1, 5, false);
    small.putStart(0x20000, 0);
    ASSERT_EQ(readText(image, small.text()), 0);
    EXPECT_EQ(image.type(), 0);
    EXPECT_EQ(image.geometry().flashSize, 0x20000u);
    EXPECT_TRUE(image.used(2));
}

TEST(IntelHexReader, NothingOfAnEarlierFileLeaksIntoTheNext) {
    FirmwareImage image;
    ASSERT_EQ(readText(image, firmware(5, 0, {0x90000}).text()), 0);
    EXPECT_EQ(image.bytes()[0x90000], patternByte(0x90000));
    // This file covers neither that byte nor a descriptor.
    HexImage next;
    next.put(0x10, 0xAA);
    next.putStart(0x20000, 0x40000);
    ASSERT_EQ(readText(image, next.text()), 0);
    EXPECT_EQ(image.type(), 0);
    EXPECT_EQ(image.start(), 0x40000u);
    EXPECT_EQ(image.bytes()[0x90000], 0xFF);
    EXPECT_EQ(image.bytes()[0xFF78], 0xFF);
    // Without a start address the file does not say where it goes.
    ASSERT_EQ(readText(image, hexRecord(0, 0x10, {0xAA}) + "\n" + hexRecord(1, 0, {})),
              comctl::HexOutOfImage);
}

struct Refusal {
    const char* what;
    std::string text;
    int32_t code;
};

std::string lines(std::initializer_list<std::string> records) {
    std::string out;
    for (const std::string& r : records) out += r + "\n";
    return out;
}

std::string withDescriptor(uint8_t type, uint32_t start, const std::string& records) {
    HexImage d;
    d.putDescriptor((testFlashSize(type) - 1) >> 16, type);
    d.putStart(testFlashSize(type), start);
    std::string text = d.text();
    return records + text;
}

TEST(IntelHexReader, EveryMalformedFileIsRefusedWithItsCode) {
    const std::string eof = hexRecord(1, 0, {});
    std::string badSum = hexRecord(0, 0x10, {1, 2, 3});
    badSum.back() = badSum.back() == '0' ? '1' : '0';
    std::string badSecond = hexRecord(0, 0x10, {1, 2});
    badSecond[4] = 'x';
    const std::vector<Refusal> cases = {
        {"count above 32", hexRecord(0, 0, std::vector<uint8_t>(33, 1)), comctl::HexCount},
        {"checksum off", badSum, comctl::HexChecksum},
        {"first digit", ":G00000001FF", comctl::HexFirstDigit},
        {"second digit", badSecond, comctl::HexSecondDigit},
        {"line ends early", ":1000", comctl::HexFirstDigit},
        {"segment record count", hexRecord(2, 0, {0x10, 0, 0}), comctl::HexExtended},
        {"segment below 64 KB", hexRecord(2, 0, {0x18, 0}), comctl::HexExtended},
        {"segment low byte", hexRecord(2, 0, {0x10, 1}), comctl::HexExtended},
        {"linear record count", hexRecord(4, 0, {0x01}), comctl::HexExtended},
        {"data at segment 16", lines({hexRecord(4, 0, {0, 0x10}), hexRecord(0, 0, {1})}),
         comctl::HexOutOfImage},
        {"segment 16 without data", lines({hexRecord(4, 0, {0, 0x10}), eof}),
         comctl::HexOutOfImage},
        {"above 16 MB", hexRecord(4, 0, {0x01, 0x00}), comctl::HexOutOfImage},
        {"record crossing 1 MB",
         lines({hexRecord(4, 0, {0, 0x0F}), hexRecord(0, 0xFFF0, std::vector<uint8_t>(32, 1))}),
         comctl::HexOutOfImage},
        {"data above the flash size",
         withDescriptor(0, 0, lines({hexRecord(4, 0, {0, 0x03}), hexRecord(0, 0, {1})})),
         comctl::HexOutOfImage},
        {"start not on a sector", withDescriptor(2, 0x40, ""), comctl::HexOutOfImage},
        {"image above 16 MB", withDescriptor(0, 0xFF0000, ""), comctl::HexOutOfImage},
        {"type without geometry",
         [] {
             HexImage h;
             h.putDescriptor(0, 6);
             return h.text();
         }(),
         comctl::HexOutOfImage},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        FirmwareImage image;
        EXPECT_EQ(readText(image, c.text), c.code);
    }
}

TEST(IntelHexReader, TheSecondPassHasCodesOfItsOwn) {
    // A file that changes between the passes.
    const std::string good = withDescriptor(0, 0, lines({hexRecord(0, 0x10, {1, 2})}));
    std::string badSum = hexRecord(0, 0x10, {1, 2});
    badSum.back() = badSum.back() == '0' ? '1' : '0';
    const std::vector<Refusal> cases = {
        {"count", hexRecord(0, 0, std::vector<uint8_t>(40, 1)), comctl::HexCountPass2},
        {"checksum", badSum, comctl::HexChecksumPass2},
        {"extended", hexRecord(2, 0, {0x11, 0}), comctl::HexExtendedPass2},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        int pass = 0;
        FirmwareImage image;
        EXPECT_EQ(image.read([&]() -> std::unique_ptr<std::istream> {
            return std::make_unique<std::istringstream>(pass++ == 0 ? good : c.text);
        }),
                  c.code);
    }
    FirmwareImage image;
    EXPECT_EQ(image.read("/nonexistent/firmware.hex"), comctl::HexCannotOpen);
}

TEST(IntelHexReader, CountZeroRecordsMarkNothing) {
    FirmwareImage image;
    ASSERT_EQ(readText(image, withDescriptor(0, 0, lines({hexRecord(0, 0x400, {})}))), 0);
    EXPECT_EQ(image.usedCount(), 0u);
}

// Files made by binutils from a binary, with extended segment records and start records.
TEST(IntelHexReader, FilesMadeByObjcopyReadAsTheirBinary) {
    TempDir dir;
    // A whole small flash with a descriptor in bank 0 and the start address 0.
    std::vector<uint8_t> binary(0x20000);
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = patternByte(static_cast<uint32_t>(i));
    for (size_t i : {0xFF78, 0xFF79, 0x1FF7C, 0x1FF7D, 0x1FF7E, 0x1FF7F}) binary[i] = 0;
    binary[0xFF7A] = binary[0xFF7B] = 0xFF;
    writeFile(dir.path() / "fw.bin", std::string(binary.begin(), binary.end()));
    auto objcopy = [&](const std::string& offset, const std::string& out) {
        const std::string command = "objcopy -I binary -O ihex --change-addresses " + offset + " " +
                                    (dir.path() / "fw.bin").string() + " " +
                                    (dir.path() / out).string();
        return std::system(command.c_str());
    };
    ASSERT_EQ(objcopy("0", "plain.hex"), 0);
    ASSERT_EQ(objcopy("0x20000", "segment.hex"), 0);
    ASSERT_EQ(objcopy("0x100000", "linear.hex"), 0);
    EXPECT_NE(readFile(dir.path() / "segment.hex").find(":020000022000DC"), std::string::npos);
    EXPECT_NE(readFile(dir.path() / "linear.hex").find(":020000040010EA"), std::string::npos);

    for (const auto& [name, base] : std::vector<std::pair<std::string, uint32_t>>{
             {"plain.hex", 0}, {"segment.hex", 0x20000}}) {
        SCOPED_TRACE(name);
        FirmwareImage image;
        // No descriptor: the small flash, whose 128 KB holds the plain file only.
        const int32_t r = image.read((dir.path() / name).string());
        if (base + binary.size() > 0x20000) {
            EXPECT_EQ(r, comctl::HexOutOfImage);
            continue;
        }
        ASSERT_EQ(r, 0);
        EXPECT_TRUE(std::equal(binary.begin(), binary.end(), image.bytes().begin()));
        EXPECT_EQ(image.usedCount(), 1023u);
        EXPECT_FALSE(image.used(1022));
    }
    // Everything at and above 1 MB lies outside the image.
    FirmwareImage image;
    EXPECT_EQ(image.read((dir.path() / "linear.hex").string()), comctl::HexOutOfImage);

    // Extended segment records inside a 512 KB flash with its descriptor.
    HexImage descriptor;
    descriptor.putDescriptor(7, 2);
    descriptor.putStart(0x80000, 0);
    std::string text = readFile(dir.path() / "segment.hex");
    text = descriptor.text().substr(0, descriptor.text().rfind(':')) + text;
    writeFile(dir.path() / "with-descriptor.hex", text);
    FirmwareImage large;
    ASSERT_EQ(large.read((dir.path() / "with-descriptor.hex").string()), 0);
    EXPECT_EQ(large.type(), 2);
    EXPECT_EQ(large.bytes()[0x20000 + 0x11FFF], binary[0x11FFF]);
    EXPECT_EQ(large.start(), 0u);
    EXPECT_TRUE(large.used(0x20000 / 128));
}

// Mutated files of every kind are refused or read, never read outside the image.
TEST(IntelHexReader, SeededMutationsNeverMisbehave) {
    const std::vector<std::string> seeds = {
        firmware(0, 0, {0x0, 0x100, 0x1F000}).text(),
        firmware(3, 0x80000, {0x0, 0x7F000}).text(),
        firmware(5, 0, {0xF0000}).text(true),
        hexRecord(4, 0, {0, 0x0F}) + "\n" + hexRecord(0, 0xFFE0, std::vector<uint8_t>(32, 7)),
    };
    const std::set<int32_t> codes = {0, 4865, 4866, 4867, 4868, 4869, 4870, 4871, 4872, 4873};
    std::mt19937 random(20261209);
    const char alphabet[] = "0123456789ABCDEFabcdef:\n\r G";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    FirmwareImage image;
    int rounds = 0;
    for (; rounds < 3000 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        std::string text = seeds[random() % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            switch (random() % 5) {
                case 0:
                    text[at] = alphabet[random() % (sizeof alphabet - 1)];
                    break;
                case 1:
                    text.erase(at, 1 + random() % 8);
                    break;
                case 2:
                    text.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]);
                    break;
                case 3: {
                    // A record that is well formed but may point anywhere.
                    std::vector<uint8_t> data(random() % 34);
                    for (auto& b : data) b = static_cast<uint8_t>(random());
                    text.insert(
                        text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1,
                        hexRecord(static_cast<uint8_t>(random() % 6),
                                  static_cast<uint16_t>(random()), data) +
                            "\n");
                    break;
                }
                default:
                    text += text.substr(at, random() % 200);
                    break;
            }
        }
        EXPECT_TRUE(codes.count(readText(image, text))) << text;
        if (image.type() <= 5 && image.usedCount() > 0) {
            EXPECT_LT(image.start() + image.geometry().flashSize - 1, 0x1000000u);
        }
    }
    EXPECT_GT(rounds, 100);
}

}  // namespace
}  // namespace varnak::test
