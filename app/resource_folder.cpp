#include "app/resource_folder.h"

#include "model/app_context.h"
#include "platform/paths.h"

namespace varnak {

std::filesystem::path shellResourceFolder(AppContext&) {
    return platform::resourceDir();
}

}  // namespace varnak
