#pragma once
// A serial line on termios with the semantics the telegram layers were written for:
// blocking reads bounded by a total time-out that grows with the number of bytes asked
// for and by an interval time-out between bytes, writes that block until every byte is
// handed over, and an RTS line switched around telegrams on a half-duplex bus.
#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/unexamined_result.h"

namespace varnak::platform {

// The operations the telegram layers stand on; a test can put a fake line below them.
class SerialLine {
  public:
    virtual ~SerialLine() = default;
    // False when the line refused (a pseudo-terminal has no RTS).
    [[nodiscard]] virtual bool setRts(bool on) = 0;
    // Keys (true) or releases the bus transmitter through RTS where the line has it. A
    // pseudo-terminal or a plain RS232 adapter refuses, and its bytes go out all the same,
    // so a refusal fails nothing.
    void keyTransmitter(bool on) { resultNotExamined(setRts(on)); }
    // Discards input not yet read and output not yet sent.
    virtual void purge() = 0;
    // Discards input not yet read only. On a pseudo-terminal an output purge also drops
    // bytes already written that the far end has not read yet.
    virtual void purgeInput() { purge(); }
    // Number of bytes handed to the line (fewer than asked on failure).
    [[nodiscard]] virtual size_t write(std::span<const uint8_t> bytes) = 0;
    // Returns once every written byte has left the line.
    virtual void drain() = 0;
    // Blocks until bytes.size() bytes arrived or a time-out ended the read; returns the
    // number received.
    [[nodiscard]] virtual size_t read(std::span<uint8_t> bytes) = 0;
    // The same with a total time-out of its own instead of the one the line derives.
    [[nodiscard]] virtual size_t readWithin(std::span<uint8_t> bytes, int totalMs) {
        (void)totalMs;
        return read(bytes);
    }
};

class SerialPort : public SerialLine {
  public:
    static constexpr int kIntervalTimeoutMs = 20;
    static constexpr int kMinTimeoutMs = 1;
    static constexpr int kMaxTimeoutMs = 60000;

    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens an existing device exclusively in raw mode at baud (9600, 19200 or 38400),
    // 8 data bits, even parity, 1 stop bit, no flow control, RTS off. timeoutMs is the
    // per-byte and base read time-out, clamped to 1..60000. On failure the port stays
    // closed and errorText() says why.
    [[nodiscard]] bool open(const std::string& device, int baud, int timeoutMs);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& errorText() const { return error_; }
    int timeoutMs() const { return timeoutMs_; }

    // 38400 baud 8N1 for a coupler's boot ROM; restoreLineSettings() brings back the
    // settings of the open.
    [[nodiscard]] bool useBootLoaderSettings();
    [[nodiscard]] bool restoreLineSettings();

    [[nodiscard]] bool setRts(bool on) override;
    void purge() override;
    void purgeInput() override;
    [[nodiscard]] size_t write(std::span<const uint8_t> bytes) override;
    void drain() override;
    // Total time-out: timeoutMs per byte asked plus timeoutMs; once the first byte has
    // arrived, a gap of kIntervalTimeoutMs between bytes also ends the read.
    [[nodiscard]] size_t read(std::span<uint8_t> bytes) override;
    [[nodiscard]] size_t readWithin(std::span<uint8_t> bytes, int totalMs) override;

  private:
    [[nodiscard]] bool applySettings(const termios& wanted);

    int fd_ = -1;
    int timeoutMs_ = 10;
    int baud_ = 38400;
    termios line_{};  // the settings applied at open, kept while the port is open
    std::string error_;
};

// Why a serial device cannot be opened, in terms the user can act on.
enum class SerialDeviceFault {
    None,          // it opens now
    Missing,       // no such device file, or no hardware behind it
    NoPermission,  // the user may not open it
    InUse,         // another program holds it exclusively
    NotSerial,     // it opens but is no serial port
    Other,
};

struct SerialDeviceDiagnosis {
    SerialDeviceFault fault = SerialDeviceFault::None;
    std::string group;   // NoPermission: the group whose members may open it
    std::string detail;  // Other: the system's own words
};

// Looks at a device the way SerialPort::open would, without keeping it open or taking it
// exclusively: what a user is told after an open failed.
SerialDeviceDiagnosis diagnoseSerialDevice(const std::string& device);

}  // namespace varnak::platform
