#include "model/basFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

[[nodiscard]] bool deleteTree(const fs::path& folder) {
    std::error_code ec;
    // Files first, then the subfolders, then the folder itself.
    std::vector<fs::path> subfolders;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            subfolders.push_back(p);
            continue;
        }
        if (!fs::remove(p, ec) || ec) return false;
    }
    if (ec) return false;
    for (const auto& sub : subfolders) {
        if (!deleteTree(sub)) return false;
    }
    return fs::remove(folder, ec) && !ec;
}

}  // namespace

bool gfFileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::path p(path);
    std::string name = p.filename().string();
    if (name.find_first_of("*?") != std::string::npos) {
        fs::path folder = p.parent_path().empty() ? fs::path(".") : p.parent_path();
        return !platform::listMatching(folder, name, true).empty();
    }
    return fs::is_regular_file(p, ec) && !ec;
}

bool gfFolderExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::exists(fs::path(path), ec) && !ec;
}

bool gfDeleteFolderTree(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::path folder(path);
    if (fs::is_symlink(folder, ec)) return false;  // never delete through a link
    if (!fs::is_directory(folder, ec)) return false;
    return deleteTree(folder);
}

}  // namespace varnak
