// `cmake --install` of this build into a fresh prefix: each part where a Linux user expects
// it, and the installed program finds its libraries and its resource folder from there.
#include <gtest/gtest.h>
#include <stdio.h>

#include <cstdlib>
#include <filesystem>
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

TEST(Install, PutsEachPartWhereTheInstalledProgramFindsIt) {
    TempDir prefix;
    const std::string install =
        "cmake --install '" VARNAK_BUILD_DIR "' --prefix '" + prefix.str() + "' > /dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0) << install;
    const std::string lib = VARNAK_INSTALL_LIBDIR;
    const std::vector<std::string> parts = {"bin/varnak",
                                            lib + "/libqzcomocx.so.1",
                                            lib + "/libqzcomocx.so",
                                            lib + "/libvarnak_platform.so.0",
                                            "include/QZcomOCX.h",
                                            "share/varnak/Coupler"};
    for (const std::string& part : parts) EXPECT_TRUE(fs::exists(prefix / part)) << part;
    EXPECT_EQ(platform::resourceDirOf(prefix / "bin"), prefix / "share" / "varnak");
    const std::string loaded = outputOf("ldd '" + (prefix / "bin" / "varnak").string() + "'");
    for (const char* library : {"libqzcomocx.so.1", "libvarnak_platform.so.0"}) {
        const std::string installed = (prefix / "bin" / ".." / lib / library).string();
        EXPECT_NE(loaded.find(std::string(library) + " => " + installed), std::string::npos)
            << loaded;
    }
}

}  // namespace
}  // namespace varnak::test
