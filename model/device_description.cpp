#include "model/device_description.h"

#include <filesystem>
#include <system_error>

#include "model/app_context.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace varnak {

bool usableDescription(const std::string& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && !readKeyTextOrEmpty(file, "Common", "Name").empty();
}

DescriptionState descriptionState(const std::string& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return DescriptionState::Missing;
    return usableDescription(file) ? DescriptionState::Usable : DescriptionState::Refused;
}

std::string deviceDescriptionFile(std::string_view folder, const std::string& type) {
    return platform::resolveCaseInsensitive(
               platform::joinPath(
                   {gfVarnakProject()->FullPathResourceFolder(), folder, type + ".INI"}))
        .string();
}

std::string descriptionRefusedText(const std::string& file) {
    return varnak().text(storeResultTextId(kStoreDescriptionRefused)) + "\r\n\r\n" + file;
}

}  // namespace varnak
