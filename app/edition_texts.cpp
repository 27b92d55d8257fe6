#include "app/edition_texts.h"

#include "app/shell_texts.h"
#include "model/app_context.h"
#include "model/basFiles.h"
#include "model/clsCommon.h"
#include "platform/paths.h"
#include "platform/registry_store.h"

#ifndef VARNAK_VERSION_TEXT
#define VARNAK_VERSION_TEXT "0.0.0"
#endif

namespace varnak {
namespace {

namespace fs = std::filesystem;

int companyIdOf(const AppContext& context) {
    return context.VarnakCommon ? context.VarnakCommon->CompanyID() : 0;
}

std::optional<fs::path> graphPicture(const fs::path& resourceFolder, const std::string& base) {
    fs::path folder = platform::resolveCaseInsensitive(resourceFolder / "Graph");
    for (const char* ext : {".png", ".svg"}) {
        fs::path file = platform::resolveCaseInsensitive(folder / (base + ext));
        std::error_code ec;
        if (fs::is_regular_file(file, ec)) return file;
    }
    return std::nullopt;
}

}  // namespace

std::string versionText() {
    return VARNAK_VERSION_TEXT;
}

std::string editionText(const AppContext& context, int offset) {
    return context.text(kEditionBlockSize * companyIdOf(context) + offset);
}

SplashTexts splashTexts(const AppContext& context) {
    SplashTexts t;
    t.companyProduct = editionText(context, kTxtEditionShortName);
    t.productName = editionText(context, kTxtEditionProductName);
    t.platform = context.text(kTxtPlatform);
    t.version = context.text(kTxtVersion) + versionText();
    t.company = editionText(context, kTxtEditionCompanyName);
    t.warning = context.text(kTxtSplashWarning);
    return t;
}

AboutTexts aboutTexts(const AppContext& context) {
    AboutTexts t;
    t.caption = context.text(kTxtAboutCaption);
    t.version = context.text(kTxtVersion) + versionText();
    t.title = editionText(context, kTxtEditionTitle) +
              editionText(context, kTxtEditionProductName) + std::string(9, ' ');
    t.description = editionText(context, kTxtEditionCompanyName);
    for (int k = kTxtEditionContactFirst; k <= kTxtEditionContactLast; ++k)
        t.description += "\n" + editionText(context, k);
    return t;
}

std::optional<fs::path> splashPicture(int companyId, const fs::path& resourceFolder) {
    return graphPicture(resourceFolder, companyId == 1 ? "PWelcome" : "HWelcome");
}

std::optional<fs::path> aboutLogo(int companyId, const fs::path& resourceFolder) {
    if (companyId == 0) return graphPicture(resourceFolder, "hlogo");
    if (companyId == 1) return graphPicture(resourceFolder, "plogo");
    return std::nullopt;
}

std::optional<std::string> systemInfoProgram(platform::RegistryStore& registry) {
    std::string path;
    if (registry.readValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) return path;
    std::string folder;
    if (!registry.readValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder))
        return std::nullopt;
    std::string candidate = platform::joinPath({folder, "MSINFO32.EXE"});
    if (!gfFileExists(candidate)) return std::nullopt;
    return candidate;
}

}  // namespace varnak
