#pragma once
// Which picture file a coupler or terminal cell shows: the device's picture name in the
// resource folder's "Graph" folder, found whatever its letter case. The descriptions
// name metafiles (".wmf"); the resource folder ships the same pictures as PNG or SVG of
// the same base name, which stand in for them.
#include <filesystem>
#include <optional>
#include <string>

namespace varnak {

enum class DeviceKind { Coupler, Terminal };

// The picture of the device, else its kind's fallback picture ("QTdummy.wmf" for a
// terminal, "Qzdummy.wmf" for the coupler); nullopt when neither is a file, and the cell
// then shows a framed placeholder. An empty name or a folder counts as missing.
std::optional<std::filesystem::path> fPictureFile(const std::filesystem::path& resourceFolder,
                                                  const std::string& pictureName, DeviceKind kind);

}  // namespace varnak
