#pragma once
// The requests a simulated station received, decoded into one text line each, and golden
// files to compare such logs (or any text) with. Line forms:
//   read  pos 0 table 9 reg 0 count 18
//   write pos 2 table 1 reg 40 count 2: 0x0007 0x1234
//   process station 1 words 2: 0x0001 0x0002
//   bytes FD 02 ...            (anything else, as it came)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace varnak::test {

class SimStation;

std::string decodeRequest(const std::string& request);
// Every request so far, one line each, each ending in a line break.
std::string wireLog(const std::vector<std::string>& requests);
std::string wireLog(const SimStation& station);

// A file below the source tree's tests/ folder.
std::filesystem::path testSourcePath(const std::filesystem::path& relative);
// Compares text with the golden file byte for byte; with VARNAK_UPDATE_GOLDEN=1 the golden
// file is written from the text instead.
::testing::AssertionResult matchesGolden(const std::string& text,
                                         const std::filesystem::path& golden);

}  // namespace varnak::test
