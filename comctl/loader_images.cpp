#include "comctl/loader_images.h"

#include <fstream>
#include <iterator>

#include "platform/paths.h"

namespace varnak::comctl {
namespace {

std::optional<std::vector<uint8_t>> readExactly(const std::filesystem::path& folder,
                                                const char* name, size_t length) {
    std::ifstream in(platform::resolveCaseInsensitive(folder / name), std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (bytes.size() != length) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<LoaderImages> loadLoaderImages(const std::filesystem::path& folder, uint8_t type) {
    const bool chipCheck = type == 3 || type == 4;
    auto header = readExactly(folder, chipCheck ? kHeader34File : kHeaderFile, kHeaderLength);
    if (!header) return std::nullopt;
    LoaderImages images{std::move(*header), {}};
    std::optional<std::vector<uint8_t>> program;
    switch (type) {
        case 0:
            program = readExactly(folder, kLoader0File, kLoader0Length);
            break;
        case 2:
        case 5:
            program = readExactly(folder, kLoader25File, kLoader25Length);
            break;
        case 3:
        case 4:
            program = readExactly(folder, kLoader34File, kLoader34Length);
            break;
        default:
            return images;
    }
    if (!program) return std::nullopt;
    images.program = std::move(*program);
    return images;
}

std::filesystem::path loaderFolder() {
    return platform::resourceDir() / "Firmware" / "Loader";
}

}  // namespace varnak::comctl
