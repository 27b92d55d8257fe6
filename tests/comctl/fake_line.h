#pragma once
// A serial line in memory: records what the telegram layer does to it and serves scripted
// replies at once, so that sequencing and reply parsing can be tested without a device.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "tests/comctl/telegram_bytes.h"

namespace varnak::test {

class FakeLine : public platform::SerialLine {
  public:
    // Every call in order: "rts+", "rts-", "purge", "write <hex>", "drain", "read <n>".
    std::vector<std::string> log;
    // Replies served one per written telegram.
    std::deque<std::string> replies;
    // At most this many bytes of a write get through.
    size_t writeLimit = SIZE_MAX;
    bool rtsWorks = true;

    bool setRts(bool on) override {
        log.push_back(on ? "rts+" : "rts-");
        return rtsWorks;
    }
    void purge() override {
        log.push_back("purge");
        input_.clear();
    }
    size_t write(std::span<const uint8_t> bytes) override {
        const size_t n = std::min(bytes.size(), writeLimit);
        log.push_back("write " + hexOf(bytes.first(n)));
        if (!replies.empty()) {
            input_ = replies.front();
            replies.pop_front();
        }
        return n;
    }
    void drain() override { log.push_back("drain"); }
    size_t read(std::span<uint8_t> bytes) override {
        log.push_back("read " + std::to_string(bytes.size()));
        const size_t n = std::min(bytes.size(), input_.size());
        std::copy_n(input_.begin(), n, bytes.begin());
        input_.erase(0, n);
        return n;
    }

  private:
    std::string input_;
};

}  // namespace varnak::test
