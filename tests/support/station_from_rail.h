#pragma once
// A simulated station built from a rail of device descriptions (the shipped ones or a
// test's own): the coupler's tables as its description's table directory lists them, with
// the description's values, its identification, the terminal list of table 9, and the
// channel tables of every terminal with a register model (64 registers each, the
// description's channel registers). Going online against it reads back the same rail.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/sim_station.h"

namespace varnak::test {

struct RailStationSpec {
    std::string coupler;                 // e.g. "QZ3100-0000"
    std::vector<std::string> terminals;  // in rail order; the end terminal has no list word
};

// The station at that address; descriptions are looked up case-insensitively in the
// resource folder's "Coupler" and "Terminal" folders (a missing one gives an empty type,
// but a terminal variant without one, "QT3102-0016", is its type's "-0000" with the
// variant's name extension: a terminal the program has no description for).
std::unique_ptr<SimStation> makeRailStation(const std::filesystem::path& resourceFolder,
                                            const RailStationSpec& spec, uint8_t address = 0);

// The terminal list word of a terminal description: its type number when it has a
// register model, else the digital word of its channels; 0 for the end terminal.
uint16_t terminalListWord(const std::string& typeName, const std::string& descriptionFile);

}  // namespace varnak::test
