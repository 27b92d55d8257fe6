#include "app/description_cleanup.h"

#include <algorithm>
#include <system_error>

#include "model/clsCommon.h"
#include "platform/paths.h"
#include "platform/registry_store.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModificationValue = "Modification";
constexpr size_t kOldNameLength = 10;  // a six-character type and ".INI"

bool twinExists(const fs::path& folder, const std::string& oldName) {
    fs::path twin = platform::resolveCaseInsensitive(folder / (oldName.substr(0, 6) + "-0000.INI"));
    std::error_code ec;
    return fs::is_regular_file(twin, ec);
}

// A file that cannot be deleted (read-only folder, locked) stays; the others still go
// and the start-up goes on.
std::vector<std::string> cleanFolder(const fs::path& folder,
                                     std::initializer_list<const char*> patterns) {
    std::vector<std::string> names;
    for (const char* pattern : patterns) {
        for (auto& name : platform::listMatching(folder, pattern)) {
            if (name.size() == kOldNameLength) names.push_back(name);
        }
    }
    std::vector<std::string> deleted;
    for (const auto& name : names) {
        if (!twinExists(folder, name)) continue;
        std::error_code ec;
        if (fs::remove(folder / name, ec)) deleted.push_back(name);
    }
    return deleted;
}

int storedLevel(platform::RegistryStore& registry, const std::string& regKey) {
    std::string text;
    if (!registry.readValue(regKey, kModificationValue, text)) return 0;
    // The leading number comes rounded; five characters hold none beyond an int.
    return static_cast<int>(leadingNumber(text.substr(0, 5)));
}

}  // namespace

std::vector<std::string> fCleanTerminalFolder(const fs::path& resourceFolder) {
    return cleanFolder(platform::resolveCaseInsensitive(resourceFolder / "Terminal"), {"QT*.INI"});
}

std::vector<std::string> fCleanCouplerFolder(const fs::path& resourceFolder) {
    return cleanFolder(platform::resolveCaseInsensitive(resourceFolder / "Coupler"),
                       {"QZ*.INI", "QY*.INI"});
}

void gfMigrateDescriptionFiles(platform::RegistryStore& registry, const std::string& regKey,
                               const fs::path& resourceFolder) {
    if (storedLevel(registry, regKey) >= kDescriptionMigrationLevel) return;
    // The outcome of the write is not checked: a level that stays unwritten only runs the
    // clean-up again at the next start, which finds nothing more to delete.
    resultNotExamined(registry.writeValue(regKey, kModificationValue,
                                          std::to_string(kDescriptionMigrationLevel)));
    fCleanTerminalFolder(resourceFolder);
    fCleanCouplerFolder(resourceFolder);
}

}  // namespace varnak
