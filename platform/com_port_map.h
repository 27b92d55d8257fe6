#pragma once
// Which device stands behind a port number "COM<n>".
#include <string>

namespace varnak::platform {

// Device path of port n (1 to 8): $VARNAK_COM<n> when set and not empty, else the per-user
// setting "COM<n>" in section "Ports" of application "QZcomOCX", else /dev/ttyS<n-1>.
std::string comPortDevice(int n);

}  // namespace varnak::platform
