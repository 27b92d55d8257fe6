#pragma once
// The texts and pictures of the splash and about windows, worked out without windows:
// the edition's text block, the version and the edition's pictures.
#include <filesystem>
#include <optional>
#include <string>

namespace varnak {

struct AppContext;

namespace platform {
class RegistryStore;
}

// major.minor.revision of the running program, decimal without leading zeros.
std::string versionText();

// A text of the edition's block (offset into the block of 20 x CompanyID).
std::string editionText(const AppContext& context, int offset);

struct SplashTexts {
    std::string licenseTo;
    std::string companyProduct;
    std::string productName;
    std::string platform;
    std::string version;
    std::string copyright;
    std::string company;
    std::string warning;
};
SplashTexts splashTexts(const AppContext& context);

struct AboutTexts {
    std::string caption;
    std::string version;
    std::string title;
    std::string description;
};
AboutTexts aboutTexts(const AppContext& context);

// The edition's pictures in the resource folder's "Graph" subfolder, looked up by the
// base name with a picture extension Qt reads (PNG or SVG), letters compared without
// regard to case. nullopt when the edition has none or the file is missing.
std::optional<std::filesystem::path> splashPicture(int companyId,
                                                   const std::filesystem::path& resourceFolder);
std::optional<std::filesystem::path> aboutLogo(int companyId,
                                               const std::filesystem::path& resourceFolder);

// The system-information program as the registry names it; nullopt when there is none.
std::optional<std::string> systemInfoProgram(platform::RegistryStore& registry);

}  // namespace varnak
