#pragma once
// Whether the cyclic passes of a process-data view reach the station: not from a pass with
// a failed read until a pass whose reads all went through; a pass that reads nothing leaves
// the answer as it was. Meanwhile the views keep showing the last values read and say so in
// one line (views/no_communication_line.h), never in a message per pass.
#include <cstdint>

namespace varnak {

class PassHealth {
  public:
    void beginPass() {
        reads_ = 0;
        failed_ = false;
    }
    // One read of the pass; true when it went through.
    bool take(int32_t result) {
        ++reads_;
        failed_ = failed_ || result != 0;
        return result == 0;
    }
    void endPass() {
        if (reads_ > 0) communicating_ = !failed_;
    }
    bool communicating() const { return communicating_; }

  private:
    int reads_ = 0;
    bool failed_ = false;
    bool communicating_ = true;
};

}  // namespace varnak
