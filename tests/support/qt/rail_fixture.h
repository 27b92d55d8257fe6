#pragma once
// A program context on temporary stores whose resource folder is a temporary copy of the
// shipped coupler and terminal descriptions, with the project "Werk"
// with the loaded rail "Linie 1" built from a list of types, and on request the simulated
// station made from the same types, reached through the serial control over a
// pseudo-terminal at station address 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/control_register_device.h"
#include "comctl/QZcomOCX.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "tests/support/qt/program_fixture.h"
#include "tests/support/station_from_rail.h"

namespace varnak::test {

class RailFixture : public ProgramFixture {
  protected:
    explicit RailFixture(RailStationSpec spec);
    ~RailFixture() override;

    std::filesystem::path resources() const { return dir / "Resource"; }
    std::shared_ptr<clsCoupler> rail() const;
    // The rail as a fresh open of the project reads it from disk.
    std::shared_ptr<clsCoupler> railFromDisk();

    // Makes the station and opens the control on it (reply time-out 1 s).
    SimStation& connectStation();
    // The online flag and the online rail read from the station; the station's request
    // log starts empty afterwards.
    void goOnline();

    // The station's wire log against a golden file in the wire_golden folder beside the
    // running test's source.
    ::testing::AssertionResult logMatches(const std::string& golden) const;

    // Keys of the project tree (offline) or of the online tree.
    std::string couplerKey() const;
    std::string terminalKey(int railPosition) const;
    std::string couplerTableKey(int table) const;
    std::string registerKey(int railPosition, int channel) const;

    RailStationSpec spec;
    std::shared_ptr<clsProject> project;
    std::unique_ptr<SimStation> station;
    QZcomOCX control;
    // The tables reach the station as the program's do: through the control.
    ControlRegisterDevice device{control};

  private:
    std::shared_ptr<clsCoupler> shownRail() const;
};

}  // namespace varnak::test
