#pragma once
// A pseudo-terminal pair: the master end for a simulated device, the slave end as the
// serial device a program under test opens by its path.
#include <string>

namespace varnak::test {

class Pty {
  public:
    // Both ends start in raw mode; the slave stays open here as well so that the pair
    // lives on while the program under test closes and reopens its end.
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int master() const { return master_; }
    int slave() const { return slave_; }
    const std::string& slavePath() const { return slavePath_; }
    // Baud rate the program under test set on the line (0 when unknown).
    int baud() const;

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace varnak::test
