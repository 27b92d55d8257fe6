// The control's library exports its interface and nothing else: no internal class and no
// copy of the platform layer can clash with, or be replaced by, one of its host's.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "comctl/QZcomOCX.h"

namespace varnak::test {
namespace {

std::string loadedLibraryFile() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&QZcomOCX_Create), &info) == 0 || !info.dli_fname) return {};
    return info.dli_fname;
}

// The demangled names of the library's defined dynamic symbols.
std::vector<std::string> exportedNames(const std::string& file) {
    std::vector<std::string> names;
    const std::string command = "nm -D --defined-only -C --format=just-symbols '" + file + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return names;
    std::string line;
    for (int c; (c = fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
        } else if (!line.empty()) {
            names.push_back(line);
            line.clear();
        }
    }
    pclose(pipe);
    return names;
}

bool belongsToTheInterface(const std::string& name) {
    static const std::set<std::string> single = {
        "QZcomOCX_Create",      "QZcomOCX_Destroy",        "DllRegisterServer",
        "DllUnregisterServer",  "typeinfo for QZcomError", "typeinfo name for QZcomError",
        "vtable for QZcomError"};
    return single.count(name) > 0 || name.starts_with("QZcomOCX::") ||
           name.starts_with("QZcomError::");
}

TEST(LibraryInterface, ExportsTheControlItsErrorAndTheEntryPointsOnly) {
    const std::string file = loadedLibraryFile();
    ASSERT_NE(file.find("libqzcomocx.so"), std::string::npos) << file;
    const std::vector<std::string> names = exportedNames(file);
    for (const std::string& name : names) EXPECT_TRUE(belongsToTheInterface(name)) << name;
    auto has = [&](const std::string& prefix) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& n) { return n.starts_with(prefix); });
    };
    for (const char* entry :
         {"QZcomOCX_Create", "QZcomOCX_Destroy", "DllRegisterServer", "DllUnregisterServer",
          "typeinfo for QZcomError", "QZcomOCX::QZcomOCX()", "QZcomOCX::QZxRegSyncReadReq("})
        EXPECT_TRUE(has(entry)) << entry;
}

}  // namespace
}  // namespace varnak::test
