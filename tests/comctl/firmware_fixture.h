#pragma once
// A control and a simulated station with its boot loader, in a folder of their own that
// holds the firmware files, dummy loader images and the trace "write.log".
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "tests/support/sim_station.h"
#include "tests/support/station_hex_file.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {

using namespace qzcom;

class FirmwareTest : public ::testing::Test {
  protected:
    static constexpr int kPort = 5;
    static constexpr uint32_t kSkipFrom = 0xF000;
    static constexpr uint32_t kSkipTo = 0x17FFF;

    FirmwareTest() : previous_(std::filesystem::current_path()) {
        if (const char* r = getenv("VARNAK_RESOURCE_DIR")) previousResources_ = r;
        std::filesystem::current_path(dir.path());
        setenv("VARNAK_RESOURCE_DIR", (dir.path() / "res").c_str(), 1);
        writeLoaderImages();
        newStation();
    }
    ~FirmwareTest() override {
        std::filesystem::current_path(previous_);
        unsetenv("VARNAK_COM5");
        // Later tests of the same run read the shipped resources.
        if (previousResources_)
            setenv("VARNAK_RESOURCE_DIR", previousResources_->c_str(), 1);
        else
            unsetenv("VARNAK_RESOURCE_DIR");
    }

    // Dummy images of the lengths the load road expects.
    void writeLoaderImages() {
        const auto folder = dir.path() / "res" / "Firmware" / "Loader";
        writeFile(folder / "header.bin", std::string(32, '\x11'));
        writeFile(folder / "header-3-4.bin", std::string(32, '\x34'));
        writeFile(folder / "loader-0.bin", std::string(768, '\x20'));
        writeFile(folder / "loader-2-5.bin", std::string(768, '\x25'));
        writeFile(folder / "loader-3-4.bin", std::string(640, '\x43'));
    }

    // A fresh station and control, the port open at 19200 baud 8E1.
    void newStation(int timeoutMs = 1000) {
        control = std::make_unique<QZcomOCX>();
        station = std::make_unique<SimStation>(1, 0);
        setenv("VARNAK_COM5", station->devicePath().c_str(), 1);
        control->setQZxCommPort(kPort);
        control->setQZxTyp(QZxType_RS232);
        control->setQZxBaudrate(Baud_19200);
        control->setQZxTimeout(timeoutMs);
        control->setQZxPortOpen(true);
        control->DownloadStart = [this](int32_t total) {
            starts.push_back(total);
            states.clear();
        };
        control->DownloadState = [this](int32_t n, int32_t total) {
            states.push_back(n);
            EXPECT_EQ(total, starts.empty() ? -1 : starts.back());
        };
    }

    std::string writeHex(const HexImage& hex, const std::string& name = "fw.hex") {
        writeFile(dir.path() / name, hex.text());
        return (dir.path() / name).string();
    }

    // The sectors a download must deliver: those holding any byte of the file except the
    // second-to-last of the file's geometry (or every sector), outside the window the
    // loader never writes, in the sector size the loader ends up with.
    static std::map<uint32_t, std::vector<uint8_t>> expectedSectors(
        const HexImage& hex, uint8_t fileType, uint8_t sentType, uint32_t start, bool everySector) {
        const uint32_t flash = testFlashSize(fileType);
        const uint32_t fileSector = testSectorSize(fileType);
        const uint32_t sector = sentType == 6 || sentType == 7 ? 128 : fileSector;
        std::vector<uint8_t> image(flash, 0xFF);
        std::vector<bool> written(flash / fileSector, false);
        for (const auto& [a, b] : hex.bytes()) {
            if (a >= flash) continue;
            image[a] = b;
            written[a / fileSector] = true;
        }
        written[flash / fileSector - 2] = false;
        if (fileType >= 3 && fileType <= 4) {
            const uint32_t at = fileType == 3 ? 0x7FF76 : 0x3FF76;
            image[at] = static_cast<uint8_t>(sector);
            image[at + 1] = static_cast<uint8_t>(sector >> 8);
        }
        std::map<uint32_t, std::vector<uint8_t>> out;
        const uint32_t count = flash / sector;
        for (uint32_t j = 0; j < count; ++j) {
            const uint32_t address = start + j * sector;
            if (address >= kSkipFrom && address <= kSkipTo) continue;
            const bool small = fileType <= 1 && j == count - 1;
            if (small || everySector || written[j * sector / fileSector])
                out[address] = std::vector<uint8_t>(image.begin() + j * sector,
                                                    image.begin() + (j + 1) * sector);
        }
        return out;
    }

    // Received sectors equal the expected ones; the small flash's directory sector is
    // checked by the loader itself.
    void expectDelivered(const std::map<uint32_t, std::vector<uint8_t>>& expected,
                         uint8_t fileType) const {
        // The station may still be taking the last bytes in.
        EXPECT_TRUE(station->waitForBootLoaderEnd(std::chrono::seconds(10)));
        const SimBootLoader loader = station->bootLoader();
        EXPECT_EQ(loader.error(), "");
        const auto& got = loader.sectors();
        ASSERT_EQ(got.size(), expected.size());
        auto e = expected.begin();
        for (auto g = got.begin(); g != got.end(); ++g, ++e) {
            ASSERT_EQ(g->first, e->first);
            const bool directory = fileType <= 1 && std::next(e) == expected.end();
            if (!directory) {
                EXPECT_EQ(g->second, e->second) << std::hex << g->first;
            }
        }
    }

    TempDir dir;
    std::filesystem::path previous_;
    std::optional<std::string> previousResources_;
    std::unique_ptr<SimStation> station;
    std::unique_ptr<QZcomOCX> control;
    std::vector<int32_t> starts;
    std::vector<int32_t> states;
};

}  // namespace varnak::test
