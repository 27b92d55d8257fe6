#pragma once
// Helpers shared by the INI tests: a fresh cache per test and the golden-file folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {

// The names every INI test uses.
using ini::IniBatch;
using ini::readString;
using ini::WritePrivateProfileString;
using namespace std::string_literals;
namespace fs = std::filesystem;

class IniTest : public ::testing::Test {
  protected:
    void SetUp() override { ini::dropCache(); }
    void TearDown() override { ini::dropCache(); }

    std::string file(const std::string& name = "test.ini") const { return (dir / name).string(); }
    std::string put(const std::string& bytes, const std::string& name = "test.ini") const {
        writeFile(dir / name, bytes);
        return file(name);
    }

    TempDir dir;
};

// "K" and 7 give "K7" (key names of numbered registers and the like).
inline std::string numbered(std::string_view prefix, long number) {
    std::string name(prefix);
    name += std::to_string(number);
    return name;
}

inline std::filesystem::path goldenDir() {
    const char* source = std::getenv("VARNAK_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests" / "platform" / "ini_golden";
}

}  // namespace varnak::test
