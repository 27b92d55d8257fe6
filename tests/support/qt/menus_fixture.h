#pragma once
// A program context on temporary stores (no device behind any port) with recording
// openers, and optionally a project "Werk" on the shipped descriptions with the loaded
// rail "Linie 1" (QZ3100-0000: QT3004, QT1002, QT9010).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/app_context.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "tests/support/qt/program_fixture.h"
#include "tests/support/qt/recording_openers.h"
#include "windowkit/dialog_openers.h"

namespace varnak::test {

class MenusFixture : public ProgramFixture {
  protected:
    MenusFixture();
    ~MenusFixture() override;

    // Creates the project "Werk" in dir with its rail; false (test skipped) without the
    // shipped descriptions.
    bool makeProject();
    std::shared_ptr<clsCoupler> loadedRail() const;
    std::string railFolder() const { return (dir / "Werk.PF" / "Linie 1.CF").string(); }
    // Keys of the loaded rail's nodes.
    std::string couplerKey() const;
    std::string terminalKey(int railPosition) const;

    RecordingOpeners openers;
    DialogOpenersScope openersScope;
    std::shared_ptr<clsProject> project;
};

}  // namespace varnak::test
