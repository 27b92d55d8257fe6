#pragma once
// The controller's PLC cycle-time measurement without its window: the coupler's tables 1
// (register 14 tells whether the evaluation runs) and 98 (minimum, maximum, current and
// mean cycle time in units of 8 µs), switching the evaluation on (with the restart values
// 65535, 0, 0, 0) and off, and the poll of table 98 every 50 ms while it runs online. The
// poll re-arms itself after each read and never runs during the evaluation command, whose
// waits let window events run.
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace varnak {

class clsTable;

inline constexpr int kCycleTimeValueCount = 4;
inline constexpr int kCycleTimePollMs = 50;
// Register 14 of table 1: the flag word; bit 1 "Calculate PLC cycle time".
inline constexpr int32_t kControllerFlagsRegister = 14;
inline constexpr int32_t kCycleTimeEvaluationBit = 1 << 1;

// A cycle time of n units of 8 µs in milliseconds as "0000.000" (n / 125 in single
// precision: 65535 shows "0524.280", 1 shows "0000.008").
std::string cycleTimeText(int32_t units);

class CycleTimeMeasurement {
  public:
    // Switches the coupler's evaluation; true when the coupler confirmed it.
    using Evaluation = std::function<bool(bool active)>;
    using ValuesShown = std::function<void(const std::array<std::string, kCycleTimeValueCount>&)>;

    // By default the program's coupler services send the command.
    explicit CycleTimeMeasurement(Evaluation evaluation = {});
    ~CycleTimeMeasurement();

    // Takes the active coupler's tables 1 and 98 and, online, reads registers 0-3 of table
    // 98. False after message 469 when there is no coupler, a table is missing or the read
    // failed.
    [[nodiscard]] bool open();
    bool online() const { return online_; }
    // Online reads register 14 of table 1; answers whether the evaluation runs, which the
    // window's box then shows (its change runs setActive).
    bool evaluationRuns();
    // The box's click: on writes the restart values (online also to the coupler); online
    // the command follows and the poll runs while on.
    void setActive(bool on);
    // The dialog closes: the poll stops and the write protection is set, online or not.
    void close();

    // Where a sound poll's four texts go, and what a failed poll does (a beep).
    void onValues(ValuesShown shown) { shown_ = std::move(shown); }
    void onFailedPoll(std::function<void()> failed) { failed_ = std::move(failed); }
    bool polling() const { return timerCycleTime_.isActive(); }

  private:
    void tick();

    Evaluation evaluation_;
    std::shared_ptr<clsTable> settings_;
    std::shared_ptr<clsTable> results_;
    bool online_ = false;
    bool active_ = false;
    QTimer timerCycleTime_;
    ValuesShown shown_;
    std::function<void()> failed_;
    int32_t lastResult_ = 0;
    bool evaluationConfirmed_ = false;
};

}  // namespace varnak
