#include "app/resource_folder.h"

#include "model/app_context.h"
#include "model/clsProject.h"

namespace varnak {

// Reading the folder creates the project object, as the splash window's load relies on.
std::filesystem::path shellResourceFolder(AppContext&) {
    return gfVarnakProject()->FullPathResourceFolder();
}

}  // namespace varnak
