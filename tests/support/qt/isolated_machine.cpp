#include "tests/support/qt/isolated_machine.h"

#include <cstdlib>
#include <string>

namespace varnak::test {
namespace {

constexpr int kPorts = 8;

std::string portVariable(int n) {
    return "VARNAK_COM" + std::to_string(n);
}

}  // namespace

IsolatedMachine::IsolatedMachine(const std::filesystem::path& folder) {
    setenv("VARNAK_CONFIG_DIR", folder.c_str(), 1);
    for (int n = 1; n <= kPorts; ++n)
        setenv(portVariable(n).c_str(), (folder / ("none" + std::to_string(n))).c_str(), 1);
}

IsolatedMachine::~IsolatedMachine() {
    unsetenv("VARNAK_CONFIG_DIR");
    for (int n = 1; n <= kPorts; ++n) unsetenv(portVariable(n).c_str());
}

}  // namespace varnak::test
