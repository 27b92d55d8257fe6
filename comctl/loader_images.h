#pragma once
// The header block and loader program a coupler in its boot ROM receives before its flash
// can be written. They come with the coupler's firmware as files of fixed length.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace varnak::comctl {

struct LoaderImages {
    std::vector<uint8_t> header;   // 32 bytes
    std::vector<uint8_t> program;  // empty for flash type 1, which takes none
};

// File names in the loader folder and their lengths.
inline constexpr const char* kHeaderFile = "header.bin";
inline constexpr const char* kHeader34File = "header-3-4.bin";
inline constexpr const char* kLoader0File = "loader-0.bin";
inline constexpr const char* kLoader25File = "loader-2-5.bin";
inline constexpr const char* kLoader34File = "loader-3-4.bin";
inline constexpr size_t kHeaderLength = 32;
inline constexpr size_t kLoader0Length = 768;
inline constexpr size_t kLoader25Length = 768;
inline constexpr size_t kLoader34Length = 640;

// The images for a flash type read from folder; nothing when a file is missing or has
// the wrong length.
std::optional<LoaderImages> loadLoaderImages(const std::filesystem::path& folder, uint8_t type);

// Resource folder "Firmware/Loader".
std::filesystem::path loaderFolder();

}  // namespace varnak::comctl
