#include "platform/serial_port.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace varnak::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

speed_t speedOf(int baud) {
    switch (baud) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        default:
            return B38400;
    }
}

// Waits for one event on fd until the deadline; false when the deadline passed first. A
// thread that runs late still looks once: bytes that came in time count.
bool waitFor(int fd, short events, Clock::time_point deadline, short& revents) {
    for (;;) {
        const auto left = std::max(deadline - Clock::now(), Clock::duration::zero());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        pollfd p{fd, events, 0};
        const int r = ppoll(&p, 1, &ts, nullptr);
        if (r > 0) {
            revents = p.revents;
            return true;
        }
        if (r < 0 && errno != EINTR) {
            revents = POLLERR;
            return true;
        }
        if (r == 0 && left == Clock::duration::zero()) return false;
    }
}

// Everything a tcsetattr asked for except the parity bit, which a pseudo-terminal clears.
bool sameButParity(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag &&
           (a.c_cflag & ~PARENB) == (b.c_cflag & ~PARENB) && cfgetospeed(&a) == cfgetospeed(&b) &&
           a.c_cc[VMIN] == b.c_cc[VMIN] && a.c_cc[VTIME] == b.c_cc[VTIME];
}

// The group a user must join to open the device: its own group when that group may read
// and write it, else the one serial ports usually belong to.
std::string groupToJoin(const std::string& device) {
    constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
    struct stat st {};
    if (::stat(device.c_str(), &st) == 0 && (st.st_mode & kGroupReadWrite) == kGroupReadWrite) {
        std::vector<char> buffer(4096);
        group entry{};
        group* found = nullptr;
        if (getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
            return found->gr_name;
    }
    return "dialout";
}

}  // namespace

SerialDeviceDiagnosis diagnoseSerialDevice(const std::string& device) {
    SerialDeviceDiagnosis d;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
            case ENOENT:
            case ENOTDIR:
            case ENODEV:
            case ENXIO:
            case EIO:  // a serial device file without its hardware
                d.fault = SerialDeviceFault::Missing;
                break;
            case EACCES:
            case EPERM:
                d.fault = SerialDeviceFault::NoPermission;
                d.group = groupToJoin(device);
                break;
            case EBUSY:
                d.fault = SerialDeviceFault::InUse;
                break;
            case EISDIR:
                d.fault = SerialDeviceFault::NotSerial;
                break;
            default:
                d.fault = SerialDeviceFault::Other;
                d.detail = std::strerror(errno);
        }
        return d;
    }
    termios t{};
    int exclusive = 0;
    if (tcgetattr(fd, &t) != 0)
        d.fault = SerialDeviceFault::NotSerial;
    else if (ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive)
        // Only a privileged user gets past another program's exclusive hold.
        d.fault = SerialDeviceFault::InUse;
    ::close(fd);
    return d;
}

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::open(const std::string& device, int baud, int timeoutMs) {
    close();
    // Never O_CREAT: a missing device must fail, not turn into a file.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = device + ": " + std::strerror(errno);
        return false;
    }
    termios current{};
    if (ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &current) != 0) {
        error_ = device + ": not a serial device";
        ::close(fd);
        return false;
    }
    tcflush(fd, TCIOFLUSH);

    termios wanted = current;
    cfmakeraw(&wanted);
    wanted.c_cflag &= ~(CSIZE | PARODD | CSTOPB | CRTSCTS);
    wanted.c_cflag |= CS8 | PARENB | CLOCAL | CREAD;
    wanted.c_iflag &= ~(IXON | IXOFF | IXANY);
    // The parity-check flag stays as the port reported it.
    wanted.c_iflag = (wanted.c_iflag & ~INPCK) | (current.c_iflag & INPCK);
    wanted.c_cc[VMIN] = 0;
    wanted.c_cc[VTIME] = 0;
    cfsetispeed(&wanted, speedOf(baud));
    cfsetospeed(&wanted, speedOf(baud));

    fd_ = fd;
    if (!applySettings(wanted)) {
        error_ = device + ": line settings refused: " + std::strerror(errno);
        close();
        return false;
    }
    line_ = wanted;
    baud_ = baud;
    timeoutMs_ = timeoutMs < kMinTimeoutMs   ? kMinTimeoutMs
                 : timeoutMs > kMaxTimeoutMs ? kMaxTimeoutMs
                                             : timeoutMs;
    keyTransmitter(false);
    error_.clear();
    return true;
}

void SerialPort::close() {
    if (fd_ < 0) return;
    // The exclusive flag outlives this descriptor while anyone else holds the device open.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

bool SerialPort::applySettings(const termios& wanted) {
    if (tcsetattr(fd_, TCSANOW, &wanted) == 0) return true;
    if (errno != EINVAL) return false;
    // A pseudo-terminal takes everything but the parity and then reports EINVAL.
    termios applied{};
    if (tcgetattr(fd_, &applied) != 0) return false;
    return sameButParity(applied, wanted);
}

bool SerialPort::useBootLoaderSettings() {
    if (fd_ < 0) return false;
    termios boot = line_;
    boot.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    boot.c_cflag |= CS8;
    cfsetispeed(&boot, B38400);
    cfsetospeed(&boot, B38400);
    keyTransmitter(false);
    return applySettings(boot);
}

bool SerialPort::restoreLineSettings() {
    return fd_ >= 0 && applySettings(line_);
}

bool SerialPort::setRts(bool on) {
    if (fd_ < 0) return false;
    int bits = TIOCM_RTS;
    return ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

void SerialPort::purge() {
    if (fd_ >= 0) tcflush(fd_, TCIOFLUSH);
}

void SerialPort::purgeInput() {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

size_t SerialPort::write(std::span<const uint8_t> bytes) {
    if (fd_ < 0) return 0;
    // No write time-out as such; the deadline only keeps a stalled line from hanging the
    // caller for good. It allows twice the wire time plus a second.
    const auto wire = milliseconds(bytes.size() * 11 * 1000 / static_cast<size_t>(baud_));
    const auto deadline = Clock::now() + 2 * wire + milliseconds(1000);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) break;
        short revents = 0;
        if (!waitFor(fd_, POLLOUT, deadline, revents) || (revents & (POLLERR | POLLNVAL))) break;
    }
    return done;
}

void SerialPort::drain() {
    if (fd_ < 0) return;
    while (tcdrain(fd_) != 0 && errno == EINTR) {
    }
}

size_t SerialPort::read(std::span<uint8_t> bytes) {
    return readWithin(bytes,
                      static_cast<int>(std::min<int64_t>(
                          static_cast<int64_t>(timeoutMs_) * (bytes.size() + 1), INT32_MAX)));
}

size_t SerialPort::readWithin(std::span<uint8_t> bytes, int totalMs) {
    if (fd_ < 0) return 0;
    const auto start = Clock::now();
    const auto total = start + milliseconds(totalMs);
    auto lastByte = start;
    size_t got = 0;
    while (got < bytes.size()) {
        auto deadline = total;
        if (got > 0) deadline = std::min(total, lastByte + milliseconds(kIntervalTimeoutMs));
        short revents = 0;
        if (!waitFor(fd_, POLLIN, deadline, revents)) break;
        if (revents & POLLIN) {
            const ssize_t n = ::read(fd_, bytes.data() + got, bytes.size() - got);
            if (n > 0) {
                got += static_cast<size_t>(n);
                lastByte = Clock::now();
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        }
        // Hang-up or error: nothing more will come; leave the rest to the time-out's caller.
        break;
    }
    return got;
}

}  // namespace varnak::platform
