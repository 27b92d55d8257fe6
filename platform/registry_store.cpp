#include "platform/registry_store.h"

#include <cstdlib>

#include "platform/ini_file.h"

namespace fs = std::filesystem;

namespace varnak::platform {
namespace {

std::string quoted(const std::string& value) {
    std::string out;
    out.reserve(value.size() + 2);
    out.append(1, '"').append(value).append(1, '"');
    return out;
}

// Values are stored as text without surrounding quotes; a value that itself starts and
// ends with a quote character would lose them on reading, so such values are quoted.
std::string protectQuotes(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return quoted(value);
    // Blanks at the ends would be trimmed on reading; the quotes keep them.
    if (!value.empty() && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                           value.back() == '\t'))
        return quoted(value);
    return value;
}

// The settings store keeps each application's sections apart, as the registry's key path
// application\section did.
std::string settingsSection(const std::string& appName, const std::string& section) {
    std::string out;
    out.reserve(appName.size() + section.size() + 1);
    out.append(appName).append(1, '\\').append(section);
    return out;
}

constexpr size_t kValueBuffer = 4096;

bool ensureFolder(const fs::path& file) {
    if (file.parent_path().empty()) return true;  // the working folder
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    return !ec;
}

}  // namespace

fs::path configDir() {
    if (const char* dir = std::getenv("VARNAK_CONFIG_DIR"); dir && *dir) return fs::path(dir);
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return fs::path(xdg) / "varnak";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".config" / "varnak";
    return fs::path(".varnak");
}

RegistryStore::RegistryStore() : file_(configDir() / "machine.ini") {}
RegistryStore::RegistryStore(fs::path file) : file_(std::move(file)) {}

bool RegistryStore::readValue(const std::string& keyPath, const std::string& valueName,
                              std::string& value) {
    const std::string marker = "\x01";  // cannot be a stored value: tells "missing" apart
    std::string out;
    ini::GetPrivateProfileString(keyPath, valueName, marker, out, kValueBuffer, file_.string());
    if (out == marker) return false;
    value = out;
    return true;
}

bool RegistryStore::writeValue(const std::string& keyPath, const std::string& valueName,
                               const std::string& value) {
    if (!ensureFolder(file_)) return false;
    return ini::WritePrivateProfileString(keyPath, valueName, protectQuotes(value),
                                          file_.string()) &&
           ini::flushFile(file_.string());
}

bool RegistryStore::createValue(const std::string& keyPath, const std::string& valueName,
                                const std::string& value) {
    return writeValue(keyPath, valueName, value);
}

bool RegistryStore::deleteValue(const std::string& keyPath, const std::string& valueName) {
    return ini::WritePrivateProfileString(keyPath, valueName, std::nullopt, file_.string()) &&
           ini::flushFile(file_.string());
}

UserSettings::UserSettings() : file_(configDir() / "settings.ini") {}
UserSettings::UserSettings(fs::path file) : file_(std::move(file)) {}

std::string UserSettings::getSetting(const std::string& appName, const std::string& section,
                                     const std::string& key,
                                     const std::string& defaultValue) const {
    const std::string marker = "\x01";
    std::string out;
    ini::GetPrivateProfileString(settingsSection(appName, section), key, marker, out, kValueBuffer,
                                 file_.string());
    return out == marker ? defaultValue : out;
}

bool UserSettings::saveSetting(const std::string& appName, const std::string& section,
                               const std::string& key, const std::string& value) {
    if (!ensureFolder(file_)) return false;
    return ini::WritePrivateProfileString(settingsSection(appName, section), key,
                                          protectQuotes(value), file_.string()) &&
           ini::flushFile(file_.string());
}

bool UserSettings::deleteSetting(const std::string& appName, const std::string& section,
                                 const std::string& key) {
    return ini::WritePrivateProfileString(settingsSection(appName, section), key, std::nullopt,
                                          file_.string()) &&
           ini::flushFile(file_.string());
}

}  // namespace varnak::platform
