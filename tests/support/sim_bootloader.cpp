#include "tests/support/sim_bootloader.h"

#include <cstdio>

namespace varnak::test {
namespace {

using std::chrono::milliseconds;

constexpr uint32_t kSkipFrom = 0xF000;
constexpr uint32_t kSkipTo = 0x17FFF;
const std::string kTrailer("\x80\x00\xA0\x00", 4);
const std::string kAck = "$5";
const std::string kRefused("F\x01", 2);

bool hasHash(uint8_t type) {
    return type == 2 || type == 5;
}

uint32_t readLong(const std::vector<uint8_t>& d, size_t at) {
    return static_cast<uint32_t>(d[at] | d[at + 1] << 8 | d[at + 2] << 16) |
           static_cast<uint32_t>(d[at + 3]) << 24;
}

std::string hexText(uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%X", v);
    return s;
}

}  // namespace

void SimBootLoader::configure(uint8_t type, bool smallSectorChip, uint32_t start) {
    fileType_ = type_ = type;
    smallSectorChip_ = smallSectorChip;
    start_ = start;
}

void SimBootLoader::replace(BootStep step, std::string reply, int sector) {
    replies_[{step, sector}] = std::move(reply);
}

std::string SimBootLoader::reply(BootStep step, const std::string& normal, int sector) const {
    const auto found = replies_.find({step, sector});
    return found == replies_.end() ? normal : found->second;
}

void SimBootLoader::fail(const std::string& what) {
    ++failures_;
    if (error_.empty()) error_ = what;
}

size_t SimBootLoader::programLength() const {
    return type_ == 1 ? 0 : (type_ == 3 || type_ == 4) ? 640 : 768;
}

std::vector<SimBootLoader::Output> SimBootLoader::loaderReady() {
    state_ = State::Bank;
    return {{reply(BootStep::LoaderReady, std::string("\x12\x00\x01\x02\x03", 5))}};
}

bool SimBootLoader::leadingZero() const {
    return loadRoad_ || hasHash(fileType_);
}

uint32_t SimBootLoader::flashSize() const {
    switch (type_) {
        case 2:
        case 3:
        case 6:
            return 0x80000;
        case 4:
        case 7:
            return 0x40000;
        case 5:
            return 0x100000;
        default:
            return 0x20000;
    }
}

uint32_t SimBootLoader::sectorSize() const {
    return type_ == 3 || type_ == 4 ? 256 : 128;
}

std::vector<SimBootLoader::Output> SimBootLoader::enterUpdateRoad() {
    loadRoad_ = false;
    if (hasHash(type_)) {
        state_ = State::SyncZero;
        return {{reply(BootStep::UpdateHello, "#\x01\x02")}};
    }
    return syncStep();
}

void SimBootLoader::enterBootRom() {
    loadRoad_ = true;
    state_ = State::RomZero;
}

std::vector<SimBootLoader::Output> SimBootLoader::syncStep() {
    if (waitsSent_ < syncWaits_) {
        ++waitsSent_;
        state_ = State::SyncEcho;
        return {{"w"}};
    }
    std::string end = "5";
    if ((type_ == 3 || type_ == 4) && smallSectorChip_) {
        end = "&";
        type_ = static_cast<uint8_t>(type_ + 3);
    }
    state_ = State::SectorStart;
    return {{reply(BootStep::SyncEnd, end)}};
}

std::vector<SimBootLoader::Output> SimBootLoader::feed(uint8_t byte) {
    const char c = static_cast<char>(byte);
    switch (state_) {
        case State::Idle:
        case State::Done:
            fail("byte " + hexText(byte) + " outside the dialogue");
            return {};
        case State::SyncZero:
            if (byte != 0) fail("answer to the identification is not 0x00");
            return syncStep();
        case State::SyncEcho:
            if (c != 'w') fail("\"w\" not echoed");
            return syncStep();
        case State::RomZero:
            if (byte != 0) fail("boot ROM expects 0x00 first");
            state_ = State::Header;
            return {{reply(BootStep::RomHello, "\xB5")}};
        case State::Header:
            header_.push_back(byte);
            if (header_.size() < 32) return {};
            state_ = State::Program;
            if (programLength() > 0) return {};
            return loaderReady();
        case State::Program:
            program_.push_back(byte);
            if (program_.size() < programLength()) return {};
            return loaderReady();
        case State::Bank: {
            if (byte != ((start_ >> 16) & 0xFF))
                fail("bank byte " + hexText(byte) + " for start " + hexText(start_));
            state_ = State::ChipAnswer;
            const bool chipCheck = type_ == 3 || type_ == 4;
            const std::string ids = chipCheck && smallSectorChip_ ? "\xBF\x10" : "\x1F\x20";
            return {{reply(BootStep::BankReply, "#" + ids)}};
        }
        case State::ChipAnswer: {
            const bool chipCheck = type_ == 3 || type_ == 4;
            const uint8_t expected = !chipCheck ? 0 : smallSectorChip_ ? 1 : 2;
            if (byte != expected) fail("chip answer " + hexText(byte));
            if (chipCheck && smallSectorChip_) type_ = static_cast<uint8_t>(type_ + 3);
            state_ = State::SectorStart;
            // The loader of types 2 and 5 erases first and answers late.
            const auto delay = hasHash(type_) ? milliseconds(40) : milliseconds(0);
            return {{reply(BootStep::LoaderDone, "5"), delay}};
        }
        case State::SectorStart:
            collected_.clear();
            failuresAtSector_ = failures_;
            if (leadingZero()) {
                if (byte == 0x80) {
                    collected_ = c;
                    state_ = State::Trailer;
                } else if (byte == 0) {
                    state_ = State::Address;
                } else {
                    fail("sector does not begin with 0x00");
                }
                return {};
            }
            collected_ = c;
            state_ = State::Address;
            return {};
        case State::Address: {
            collected_ += c;
            if (collected_.size() < 3) return {};
            if (collected_ == kTrailer.substr(0, 3)) {
                state_ = State::Trailer;
                return {};
            }
            const auto b = [&](size_t i) { return static_cast<uint8_t>(collected_[i]); };
            address_ = static_cast<uint32_t>(b(0) | b(1) << 8 | b(2) << 16);
            const uint32_t size = sectorSize();
            if ((b(0) & 0x7F) != 0 || address_ % size != 0)
                fail("address " + hexText(address_) + " not on a sector");
            if (address_ < start_ || address_ - start_ >= flashSize())
                fail("address " + hexText(address_) + " outside the flash");
            if (address_ >= kSkipFrom && address_ <= kSkipTo)
                fail("address " + hexText(address_) + " in the window never written");
            if (haveAddress_ && address_ <= lastAddress_)
                fail("address " + hexText(address_) + " not ascending");
            haveAddress_ = true;
            lastAddress_ = address_;
            data_.clear();
            state_ = State::Data;
            return {};
        }
        case State::Data:
            data_.push_back(byte);
            if (data_.size() < sectorSize()) return {};
            return sectorComplete();
        case State::Trailer:
            collected_ += c;
            if (collected_ != kTrailer.substr(0, collected_.size())) {
                fail("wrong trailer");
                state_ = State::Done;
            } else if (collected_.size() == kTrailer.size()) {
                state_ = State::Done;
                finished_ = true;
                if ((type_ <= 1) && !sectors_.count(start_ + flashSize() - sectorSize()))
                    fail("no directory before the trailer");
            }
            return {};
    }
    return {};
}

std::vector<SimBootLoader::Output> SimBootLoader::sectorComplete() {
    sectors_[address_] = data_;
    if (type_ <= 1 && address_ == start_ + flashSize() - sectorSize()) checkDirectory(data_);
    const bool refused = failures_ > failuresAtSector_;
    state_ = State::SectorStart;
    return {{reply(BootStep::SectorAck, refused ? kRefused : kAck, sectorIndex_++)}};
}

bool SimBootLoader::checkDirectory(const std::vector<uint8_t>& d) {
    const uint32_t size = sectorSize();
    const uint32_t top = start_ + flashSize() - size;
    const uint32_t pairs = readLong(d, 4);
    if (pairs > 14) {
        fail("directory of " + std::to_string(pairs) + " pairs");
        return false;
    }
    uint32_t sum = 0;
    uint32_t previousEnd = 0;
    for (uint32_t p = 0; p < pairs; ++p) {
        const uint32_t from = readLong(d, 8 + 8 * p), to = readLong(d, 12 + 8 * p);
        if (from % size != 0 || (to + 1) % size != 0 || from > to || from < start_ || to >= top ||
            (p > 0 && from <= previousEnd + 1)) {
            fail("directory pair " + hexText(from) + ".." + hexText(to));
            return false;
        }
        previousEnd = to;
        for (uint32_t a = from; a < to; a += size) {
            const auto found = sectors_.find(a);
            if (found == sectors_.end()) {
                fail("directory names sector " + hexText(a) + " that was not sent");
                return false;
            }
            for (uint8_t b : found->second) sum += b;
        }
    }
    for (size_t i = 8 + 8 * pairs; i < d.size(); ++i)
        if (d[i] != 0) {
            fail("directory not zero-filled");
            return false;
        }
    if (sum != readLong(d, 0)) {
        fail("directory sum " + hexText(readLong(d, 0)) + ", sectors sum " + hexText(sum));
        return false;
    }
    return true;
}

}  // namespace varnak::test
