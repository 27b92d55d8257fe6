#include "comctl/firmware_download.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "comctl/boot_loader_link.h"
#include "comctl/command_blocks.h"
#include "comctl/flash_geometry.h"
#include "comctl/intel_hex_reader.h"
#include "comctl/loader_images.h"
#include "comctl/register_telegrams.h"
#include "comctl/telegram_link.h"
#include "platform/unexamined_result.h"

namespace varnak::comctl {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAfterSync{10};
constexpr milliseconds kAfterLoader{100};
constexpr size_t kGroup = 64;
// Flash addresses the boot loader never writes.
constexpr uint32_t kSkipFrom = 0xF000;
constexpr uint32_t kSkipTo = 0x17FFF;
// Directory of the small flash: sum, pair count and at most 28 addresses.
constexpr size_t kDirectoryEntries = 28;
constexpr std::array<uint8_t, 4> kTrailer{0x80, 0x00, 0xA0, 0x00};
constexpr std::array<int32_t, 3> kTrailerCodes{FwTrailer1, FwTrailer2, FwTrailer3};

bool hasLeadingHash(uint8_t type) {
    return type == 2 || type == 5;
}

bool hasChipCheck(uint8_t type) {
    return type == 3 || type == 4;
}

void putLong(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> 8 * i);
}

// Restores the kept line settings however the load road ends, also after a switch that
// failed half-way.
class SettingsGuard {
  public:
    explicit SettingsGuard(const BootLineSettings& s) : s_(s), entered_(!s_.enter || s_.enter()) {}
    ~SettingsGuard() {
        if (s_.restore) s_.restore();
    }
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;
    bool entered() const { return entered_; }

  private:
    const BootLineSettings& s_;
    bool entered_;
};

// Update road: the running boot loader announces itself; types 3 and 4 learn here whether
// the chip writes 128-byte sectors.
[[nodiscard]] int32_t synchronise(BootLoaderLink& link, int tries, uint8_t& type) {
    auto waitForByte = [&]() -> std::optional<uint8_t> {
        for (int i = 0; i < tries; ++i) {
            if (auto b = link.poll()) return b;
            BootLoaderLink::pauseBetweenTries();
        }
        return std::nullopt;
    };
    if (hasLeadingHash(type)) {
        const auto hash = waitForByte();
        if (!hash) return FwSyncHashMissing;
        if (*hash != '#') return FwSyncNoHash;
        if (!waitForByte()) return FwSyncIdMissing;
        waitForByte();  // a second identification byte is optional
        if (!link.send(0x00)) return FwSyncAnswerFailed;
    }
    for (int i = 0; i < tries; ++i) {
        const auto b = link.poll();
        if (!b) {
            BootLoaderLink::pauseBetweenTries();
            continue;
        }
        if (*b == 'w') {
            if (!link.send('w')) return FwSyncEchoFailed;
            continue;
        }
        if (*b == '5') return 0;
        if (*b == '&' && hasChipCheck(type)) {
            type = switchedType(type);
            return 0;
        }
        return FwSyncWrongByte;
    }
    return FwSyncNoEnd;
}

// Load road: the boot ROM takes a loader program that then writes the flash.
[[nodiscard]] int32_t uploadLoader(BootLoaderLink& link, const LoaderImages& images, uint32_t start,
                                   int doneTries, uint8_t& type) {
    if (!link.send(0x00)) return FwRomHelloSend;
    const auto hello = link.await();
    if (!hello) return FwRomHelloMissing;
    if (*hello != 0xB5 && *hello != 0xD5) return FwRomHelloWrong;
    if (!link.send(images.header)) return FwHeaderSend;
    const int32_t programCode = type == 0              ? FwLoader0Send
                                : hasLeadingHash(type) ? FwLoader25Send
                                                       : FwLoader34Send;
    if (!link.send(images.program)) return programCode;
    std::this_thread::sleep_for(kAfterLoader);

    const auto ready = link.await();
    if (!ready) return FwLoaderReadyMissing;
    if (*ready != 0x12) return FwLoaderReadyWrong;
    std::array<uint8_t, 4> info{};
    if (link.await(info) < info.size()) return FwLoaderReadyShort;

    if (!link.send(static_cast<uint8_t>(start >> 16))) return FwBankSend;
    const auto bank = link.await();
    if (!bank) return FwBankReplyMissing;
    if (*bank != '#') return FwBankReplyWrong;
    const auto id1 = link.await();
    if (!id1) return FwChipId1Missing;
    const auto id2 = link.await();
    if (!id2) return FwChipId2Missing;

    uint8_t answer = 0;
    if (hasChipCheck(type)) {
        const bool smallSectors = *id1 == 0xBF && *id2 == 0x10;
        answer = smallSectors ? 1 : 2;
        if (smallSectors) type = switchedType(type);
    }
    if (!link.send(answer)) return FwChipAnswerSend;

    if (hasLeadingHash(type)) {
        for (int i = 0; i < doneTries; ++i) {
            if (link.poll() == std::optional<uint8_t>('5')) return 0;
            BootLoaderLink::pauseBetweenTries();
        }
    }
    const auto done = link.await();
    if (!done) return FwLoaderDoneMissing;
    return *done == '5' ? 0 : FwLoaderDoneWrong;
}

[[nodiscard]] int32_t acknowledgement(BootLoaderLink& link) {
    const auto first = link.await();
    if (!first) return FwAckMissing;
    if (*first == 'F') return link.await() ? FwAckFailWithCode : FwAckFailNoCode;
    if (*first != '$') return FwAckWrong;
    const auto second = link.await();
    if (!second) return FwAck2Missing;
    if (*second == '&' || *second == '5') return 0;
    if (*second == 'F' || *second == 'W')
        return link.await() ? FwAck2FailWithCode : FwAck2FailNoCode;
    return FwAck2Wrong;
}

// Runs of written sectors of the small flash, kept while sending.
class Directory {
  public:
    [[nodiscard]] int32_t track(bool written, uint32_t address) {
        if (written && !open_) {
            if (entries_.size() >= kDirectoryEntries) return FwDirectoryFullAtStart;
            entries_.push_back(address);
            open_ = true;
        } else if (!written && open_) {
            if (entries_.size() >= kDirectoryEntries) return FwDirectoryFullAtEnd;
            entries_.push_back(address - 1);
            open_ = false;
        }
        return 0;
    }
    bool open() const { return open_; }
    std::vector<uint8_t> sector(uint32_t sum, uint32_t size) const {
        std::vector<uint8_t> out(size, 0);
        putLong(out, 0, sum);
        putLong(out, 4, static_cast<uint32_t>(entries_.size() / 2));
        for (size_t i = 0; i < entries_.size(); ++i) putLong(out, 8 + 4 * i, entries_[i]);
        return out;
    }

  private:
    std::vector<uint32_t> entries_;
    bool open_ = false;
};

class SectorSender {
  public:
    SectorSender(BootLoaderLink& link, FirmwareImage& image, uint8_t type, bool everySector,
                 bool leadingZero, const FirmwareEvents& events)
        : link_(link),
          image_(image),
          type_(type),
          geometry_(flashGeometry(type)),
          everySector_(everySector),
          small_(isSmallFlash(type)),
          leadingZero_(leadingZero),
          events_(events) {}

    [[nodiscard]] int32_t run() {
        if (const uint32_t at = sectorSizeWordOffset(type_)) {
            image_.bytes()[at] = static_cast<uint8_t>(geometry_.sectorSize);
            image_.bytes()[at + 1] = static_cast<uint8_t>(geometry_.sectorSize >> 8);
        }
        const uint32_t count = geometry_.sectorCount();
        // The total announces exactly the sectors that go out, so the last progress
        // event reaches it.
        int32_t total = 0;
        for (uint32_t j = 0; j < count; ++j)
            if (sent(j)) ++total;
        counter_ = 0;
        if (events_.start) events_.start(total);
        // Closed on every way out.
        std::ofstream trace("write.log", std::ios::trunc);

        for (uint32_t j = 0; j < count; ++j) {
            const bool directory = holdsDirectory(j);
            if (small_ && !directory)
                if (int32_t r = directory_.track(used(j) && !skipped(j), address(j))) return r;
            if (directory && directory_.open()) return FwDirectoryOpenRun;
            if (!sent(j)) continue;
            if (int32_t r = sendSector(j, address(j), directory, total, trace)) return r;
        }
        for (size_t i = 0; i < kTrailerCodes.size(); ++i)
            if (!link_.send(kTrailer[i])) return kTrailerCodes[i];
        // The loader has finished by now: whether its last byte went out changes nothing.
        resultNotExamined(link_.send(kTrailer[3]));
        return 0;
    }

  private:
    bool used(uint32_t j) const { return image_.used(usesHalvedMap(type_) ? j / 2 : j); }
    uint32_t address(uint32_t j) const { return image_.start() + j * geometry_.sectorSize; }
    bool skipped(uint32_t j) const { return address(j) >= kSkipFrom && address(j) <= kSkipTo; }
    // The small flash's last sector carries the directory instead of image data.
    bool holdsDirectory(uint32_t j) const { return small_ && j == geometry_.sectorCount() - 1; }
    bool sent(uint32_t j) const {
        return !skipped(j) && (used(j) || everySector_ || holdsDirectory(j));
    }

    [[nodiscard]] int32_t sendSector(uint32_t j, uint32_t address, bool directory, int32_t total,
                                     std::ofstream& trace) {
        if (leadingZero_ && !link_.send(0x00)) return FwLeadingZero;
        if (!link_.send(static_cast<uint8_t>(address & 0x80))) return FwAddressLow;
        if (!link_.send(static_cast<uint8_t>(address >> 8))) return FwAddressMiddle;
        if (!link_.send(static_cast<uint8_t>(address >> 16))) return FwAddressHigh;
        ++counter_;
        if (events_.state) events_.state(counter_, total);
        char text[16];
        std::snprintf(text, sizeof text, "%x: ", address);
        trace << text;

        const bool isUsed = !directory && used(j);
        std::vector<uint8_t> bytes;
        if (directory) {
            bytes = directory_.sector(sum_, geometry_.sectorSize);
        } else {
            const auto from = image_.bytes().begin() + j * geometry_.sectorSize;
            bytes.assign(from, from + geometry_.sectorSize);
        }
        for (size_t g = 0; g * kGroup < bytes.size(); ++g) {
            const int32_t code = directory ? (g == 0 ? FwDirectoryFirstHalf : FwDirectorySecondHalf)
                                 : g % 2 == 0 ? FwGroupOddFailed
                                              : FwGroupEvenFailed;
            if (!link_.send(std::span(bytes).subspan(g * kGroup, kGroup))) return code;
        }
        if (isUsed) {
            for (uint8_t b : bytes) {
                sum_ += b;
                std::snprintf(text, sizeof text, "%02x ", b);
                trace << text;
            }
        }
        trace << '\n';
        return acknowledgement(link_);
    }

    BootLoaderLink& link_;
    FirmwareImage& image_;
    uint8_t type_;
    FlashGeometry geometry_;
    bool everySector_;
    bool small_;
    bool leadingZero_;
    const FirmwareEvents& events_;
    Directory directory_;
    uint32_t sum_ = 0;
    int32_t counter_ = 0;
};

[[nodiscard]] int32_t loadRoad(BootLoaderLink& link, const FirmwareRequest& request,
                               const FirmwareEvents& events, const BootLineSettings& settings) {
    SettingsGuard guard(settings);
    // A boot ROM spoken to at the wrong speed only hears noise: stop at the first step.
    if (!guard.entered()) return FwRomHelloSend;
    auto image = std::make_unique<FirmwareImage>();
    if (int32_t r = image->read(request.file)) return r;
    uint8_t type = image->type();
    const auto images = loadLoaderImages(request.loaderFolder, type);
    if (!images) return FwRomHelloSend;
    if (int32_t r = uploadLoader(link, *images, image->start(), request.loaderDoneTries, type))
        return r;
    return SectorSender(link, *image, type, request.everySector, true, events).run();
}

[[nodiscard]] int32_t updateRoad(platform::SerialLine& line, BootLoaderLink& link,
                                 const FirmwareRequest& request, const FirmwareEvents& events) {
    // A bad file must not strand the coupler in its boot loader: read it first.
    auto image = std::make_unique<FirmwareImage>();
    if (int32_t r = image->read(request.file)) return r;
    LineState fresh;
    TelegramLink telegrams(line, request.rs485, request.line ? *request.line : fresh,
                           request.timeoutMs);
    const std::array<int32_t, 4> block{RegCmdEnterBootloader, 1, kUnlockWord, 0};
    if (int32_t r = writeRegisters(telegrams,
                                   RegisterAddress{0, kCommandTable, 0, 4, request.station}, block))
        return r;
    uint8_t type = image->type();
    if (int32_t r = synchronise(link, request.syncTries, type)) return r;
    std::this_thread::sleep_for(kAfterSync);
    return SectorSender(link, *image, type, request.everySector, hasLeadingHash(type), events)
        .run();
}

}  // namespace

int32_t downloadFirmware(platform::SerialLine& line, const FirmwareRequest& request,
                         const FirmwareEvents& events, const BootLineSettings& settings) {
    if (!std::ifstream(request.file)) return FwFileCannotOpen;
    BootLoaderLink link(line, request.rs485, request.timeoutMs);
    if (request.road == FirmwareRoad::Load) return loadRoad(link, request, events, settings);
    return updateRoad(line, link, request, events);
}

}  // namespace varnak::comctl
