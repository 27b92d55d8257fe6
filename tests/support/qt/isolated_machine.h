#pragma once
// The per-user configuration in a test's own folder and no device behind any of the
// port numbers 1 to 8 (a test maps one when it needs a station); undone when it ends.
#include <filesystem>

namespace varnak::test {

class IsolatedMachine {
  public:
    explicit IsolatedMachine(const std::filesystem::path& folder);
    ~IsolatedMachine();
    IsolatedMachine(const IsolatedMachine&) = delete;
    IsolatedMachine& operator=(const IsolatedMachine&) = delete;
};

}  // namespace varnak::test
