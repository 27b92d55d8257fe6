#include "platform/com_port_map.h"

#include <cstdlib>

#include "platform/registry_store.h"

namespace varnak::platform {

std::string comPortDevice(int n) {
    const std::string name = "COM" + std::to_string(n);
    if (const char* env = std::getenv(("VARNAK_" + name).c_str()); env && *env) return env;
    std::string setting = UserSettings().getSetting("QZcomOCX", "Ports", name);
    if (!setting.empty()) return setting;
    return "/dev/ttyS" + std::to_string(n - 1);
}

}  // namespace varnak::platform
