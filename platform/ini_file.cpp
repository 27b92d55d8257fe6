// Placeholder: replaced by the real private-profile implementation.
#include "platform/ini_file.h"

namespace varnak::ini {

size_t GetPrivateProfileString(std::string_view, std::string_view, std::string_view def,
                               std::string& out, size_t bufferSize, const std::string&) {
    out = std::string(def.substr(0, bufferSize ? bufferSize - 1 : 0));
    return out.size();
}
std::string readString(const std::string& f, std::string_view s, std::string_view k,
                       std::string_view d, size_t b) {
    std::string out;
    GetPrivateProfileString(s, k, d, out, b, f);
    return out;
}
bool WritePrivateProfileString(std::string_view, std::optional<std::string_view>,
                               std::optional<std::string_view>, const std::string&) {
    return false;
}
std::vector<std::string> sectionNames(const std::string&) { return {}; }
std::vector<std::string> sectionKeys(const std::string&, std::string_view) { return {}; }
bool flush() { return true; }
bool flushFile(const std::string&) { return true; }
void dropCache() {}
IniBatch::IniBatch() {}
IniBatch::~IniBatch() {}
bool IniBatch::commit() { return true; }

}  // namespace varnak::ini
