#pragma once
#include <filesystem>

namespace varnak {

struct AppContext;

// The resource folder the windows take pictures and help from.
std::filesystem::path shellResourceFolder(AppContext& context);

}  // namespace varnak
