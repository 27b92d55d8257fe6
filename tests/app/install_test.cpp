// `cmake --install` of this build into a fresh prefix: each part where a Linux user expects
// it (the desktop's menu entry among them), the installed program finds its libraries and
// its resource folder from there, and the control's library exports its interface only
// (no internal class, no copy of the platform layer that could clash with, or be replaced
// by, one of its host's).
#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

namespace fs = std::filesystem;

std::string outputOf(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        for (int c; (c = fgetc(pipe)) != EOF;) out += static_cast<char>(c);
        pclose(pipe);
    }
    return out;
}

class Install : public ::testing::Test {
  protected:
    Install() {
        const std::string command =
            "cmake --install '" VARNAK_BUILD_DIR "' --prefix '" + prefix.str() + "' > /dev/null";
        installed = std::system(command.c_str()) == 0;
    }
    fs::path lib(const char* name) const { return prefix / VARNAK_INSTALL_LIBDIR / name; }

    TempDir prefix;
    bool installed = false;
};

TEST_F(Install, PutsEachPartWhereTheInstalledProgramFindsIt) {
    ASSERT_TRUE(installed);
    for (const fs::path& part :
         {prefix / "bin" / "varnak", lib("libqzcomocx.so.1"), lib("libqzcomocx.so"),
          lib("libvarnak_platform.so.0"), prefix / "include" / "QZcomOCX.h"})
        EXPECT_TRUE(fs::exists(part)) << part;
    EXPECT_EQ(platform::resourceDirOf(prefix / "bin"), prefix / "share" / "varnak");
    EXPECT_TRUE(fs::is_directory(prefix / "share" / "varnak" / "Coupler"));
    const std::string loaded = outputOf("ldd '" + (prefix / "bin" / "varnak").string() + "'");
    for (const char* name : {"libqzcomocx.so.1", "libvarnak_platform.so.0"})
        EXPECT_NE(loaded.find(std::string(name) + " => " + prefix.str() + "/bin/../"),
                  std::string::npos)
            << loaded;
}

TEST_F(Install, GivesTheDesktopsMenuAnEntryThatStartsTheInstalledProgramWithItsIcon) {
    ASSERT_TRUE(installed);
    const fs::path entry = prefix / "share" / "applications" / "varnak.desktop";
    ASSERT_TRUE(fs::exists(entry));
    if (outputOf("command -v desktop-file-validate").empty())
        ADD_FAILURE() << "desktop-file-validate is missing (Debian: desktop-file-utils)";
    else
        EXPECT_EQ(outputOf("desktop-file-validate '" + entry.string() + "' 2>&1; echo rc=$?"),
                  "rc=0\n");
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("\nExec=\"" + (prefix / "bin" / "varnak").string() + "\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nIcon=varnak\n"), std::string::npos) << text;

    // The icon theme's folder names the size the picture must have.
    const std::string icon =
        readFile(prefix / "share" / "icons" / "hicolor" / "96x96" / "apps" / "varnak.png");
    ASSERT_GE(icon.size(), 24u);
    EXPECT_EQ(icon.substr(0, 4), "\x89PNG");
    auto word = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = at; i < at + 4; ++i) v = v << 8 | static_cast<unsigned char>(icon[i]);
        return v;
    };
    EXPECT_EQ(word(16), 96u);  // width and height of the header chunk
    EXPECT_EQ(word(20), 96u);
}

TEST_F(Install, TheControlExportsTheClassItsErrorAndTheEntryPointsOnly) {
    ASSERT_TRUE(installed);
    std::istringstream symbols(outputOf("nm -D --defined-only -C --format=just-symbols '" +
                                        lib("libqzcomocx.so.1").string() + "'"));
    const std::vector<std::string> single = {
        "QZcomOCX_Create",      "QZcomOCX_Destroy",        "DllRegisterServer",
        "DllUnregisterServer",  "typeinfo for QZcomError", "typeinfo name for QZcomError",
        "vtable for QZcomError"};
    size_t entries = 0, members = 0;
    for (std::string name; std::getline(symbols, name);) {
        if (std::find(single.begin(), single.end(), name) != single.end())
            ++entries;
        else if (name.starts_with("QZcomOCX::") || name.starts_with("QZcomError::"))
            ++members;
        else
            ADD_FAILURE() << "exported: " << name;
    }
    EXPECT_EQ(entries, single.size());
    EXPECT_GT(members, 30u);  // the properties and methods
}

}  // namespace
}  // namespace varnak::test
