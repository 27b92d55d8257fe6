#pragma once
// Device descriptions no shipped device has, for the process-image mapping's limits: terminals
// with many or wide channels, and a coupler lacking one of its mapping tables. Written into a
// test's own resource folder (tests and benchmarks only, never the shipped one).
#include <filesystem>
#include <string>

namespace varnak::test {

// Synthetic terminal types (all "-0000"):
//   QT8914  4 channels of 14 bytes, register model: 56 entries per direction
//   QT8941  41 channels of 1 bit, inputs and outputs: 41 entries
//   QT8942  42 channels of 1 bit: 42 entries
//   QT8915  1 channel of 15 bytes: more entries than a grid row holds
//   QT8916  16 channels of 8 bits without register model: 128 bits, beyond a list word
//   QT8908  3 channels of 2 bytes without register model, inputs only
//   QT8903  2 channels of 3 bits, inputs and outputs
void writeMappingTestTerminals(const std::filesystem::path& resourceFolder);

// Removes a coupler table from the description's table directory in the resource folder:
// a rail or station made from it lacks the table.
void dropCouplerTable(const std::filesystem::path& resourceFolder, const std::string& coupler,
                      int table);

}  // namespace varnak::test
