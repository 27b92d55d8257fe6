#pragma once
// A pseudo-terminal standing in for a serial device that nobody answers on: the control
// can open its slave side as "COM<n>" through the port mapping.
#include <string>

namespace varnak::test {

class PtyPort {
  public:
    // Maps COM<n> to the new pseudo-terminal for the lifetime of this object.
    explicit PtyPort(int comNumber);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;
    const std::string& device() const { return device_; }

  private:
    int master_ = -1;
    std::string variable_;
    std::string device_;
};

}  // namespace varnak::test
