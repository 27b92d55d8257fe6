#include "railview/picture_file.h"

#include "model/text_util.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

constexpr const char* kTerminalFallback = "QTdummy.wmf";
constexpr const char* kCouplerFallback = "Qzdummy.wmf";
// What a metafile name stands for, in this order.
constexpr const char* kMetafileStandIns[] = {".png", ".svg"};

std::optional<fs::path> existingFile(const fs::path& folder, const std::string& name) {
    const fs::path path =
        platform::resolveCaseInsensitive(platform::joinPath({folder.string(), name}));
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) return path;
    return std::nullopt;
}

std::optional<fs::path> pictureIn(const fs::path& graph, const std::string& name) {
    if (trimBlanks(name).empty()) return std::nullopt;
    const std::string extension = fs::path(name).extension().string();
    if (upperAscii(extension) != ".WMF") return existingFile(graph, name);
    const std::string base = name.substr(0, name.size() - extension.size());
    for (const char* standIn : kMetafileStandIns)
        if (auto found = existingFile(graph, base + standIn)) return found;
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> fPictureFile(const fs::path& resourceFolder, const std::string& pictureName,
                                     DeviceKind kind) {
    const fs::path graph = resourceFolder / "Graph";
    if (auto found = pictureIn(graph, pictureName)) return found;
    return pictureIn(graph, kind == DeviceKind::Coupler ? kCouplerFallback : kTerminalFallback);
}

}  // namespace varnak
