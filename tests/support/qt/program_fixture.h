#pragma once
// A program context on temporary stores for the window tests: the per-user settings and the
// machine-wide values in a temporary folder, no device behind any port number, the design
// screen for the form scaling and a SilentUi answering the messages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/app_context.h"
#include "platform/registry_store.h"
#include "tests/support/qt/isolated_machine.h"
#include "tests/support/temp_dir.h"

namespace varnak {
class clsCoupler;
}

namespace varnak::test {

// Keys of a rail's coupler node and of the node of its terminal at a rail position.
std::string couplerKeyOf(const std::shared_ptr<clsCoupler>& rail);
std::string terminalKeyOf(const std::shared_ptr<clsCoupler>& rail, int railPosition);

class ProgramFixture : public ::testing::Test {
  protected:
    ProgramFixture();
    ~ProgramFixture() override;

    // Message texts shown so far.
    std::vector<std::string> messageTexts() const;

    TempDir dir;
    IsolatedMachine machine;
    platform::RegistryStore registry;
    platform::UserSettings settings;
    SilentUi ui;
    AppContext context;
    ContextScope scope;
};

}  // namespace varnak::test
