#include "platform/paths.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace varnak::platform {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool lessNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char x = lowerAscii(a[i]), y = lowerAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace

std::string joinPath(std::initializer_list<std::string_view> pieces) {
    std::string out;
    bool first = true;
    for (std::string_view piece : pieces) {
        if (piece.empty()) continue;
        std::string p(piece);
        std::replace(p.begin(), p.end(), '\\', '/');
        if (!first) {
            while (!out.empty() && out.back() == '/' && out.size() > 1) out.pop_back();
            size_t start = p.find_first_not_of('/');
            p = (start == std::string::npos) ? std::string() : p.substr(start);
            if (p.empty()) continue;
            if (out.empty() || out.back() != '/') out += '/';
        }
        out += p;
        first = false;
    }
    return out;
}

fs::path resolveCaseInsensitive(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) return path;
    fs::path result = path.root_path();
    bool lost = false;
    for (const auto& part : path.relative_path()) {
        if (!lost) {
            fs::path exact = result.empty() ? part : result / part;
            if (fs::exists(exact, ec)) {
                result = exact;
                continue;
            }
            fs::path folder = result.empty() ? fs::path(".") : result;
            std::string found;
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
                std::string name = it->path().filename().string();
                // Several spellings may exist; the same one must win on every call.
                if (equalsNoCase(name, part.string()) && (found.empty() || name < found))
                    found = name;
            }
            if (!found.empty()) {
                result = result.empty() ? fs::path(found) : result / found;
                continue;
            }
            lost = true;
        }
        result = result.empty() ? part : result / part;
    }
    return result;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // A trailing ".*" also matches names without an extension, as folder listings of
    // "*.*" always have.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return wildcardMatch(pattern.substr(0, pattern.size() - 2), name);
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> listMatching(const fs::path& folder, std::string_view pattern,
                                      bool filesOnly) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::path dir = resolveCaseInsensitive(folder);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (filesOnly && !it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (wildcardMatch(pattern, name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), lessNoCase);
    return names;
}

fs::path executableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

fs::path resourceDir() {
    if (const char* env = std::getenv("VARNAK_RESOURCE_DIR"); env && *env) return fs::path(env);
    return resourceDirOf(executableDir());
}

fs::path resourceDirOf(const fs::path& programFolder) {
    const fs::path beside = programFolder / "Resource";
    const fs::path installed = (programFolder / VARNAK_INSTALLED_RESOURCE_DIR).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside;
    if (fs::is_directory(installed, ec)) return installed;
    return beside;
}

}  // namespace varnak::platform
