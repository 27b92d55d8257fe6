#pragma once
// File-backed stand-in for the registry: machine-wide values under a key path and the
// per-user application settings store (application, section, key). Both live as INI files
// in the configuration folder; names match case-insensitively, values are text.
#include <filesystem>
#include <string>

namespace varnak::platform {

// $VARNAK_CONFIG_DIR, else $XDG_CONFIG_HOME/varnak, else ~/.config/varnak.
std::filesystem::path configDir();

// Machine-wide values (stand-in for HKEY_LOCAL_MACHINE).
class RegistryStore {
  public:
    // Uses configDir()/machine.ini unless a file is given.
    RegistryStore();
    explicit RegistryStore(std::filesystem::path file);
    virtual ~RegistryStore() = default;

    // True and the value when the value exists.
    [[nodiscard]] virtual bool readValue(const std::string& keyPath, const std::string& valueName,
                                         std::string& value);
    // True on success; creates the key when missing.
    [[nodiscard]] virtual bool writeValue(const std::string& keyPath, const std::string& valueName,
                                          const std::string& value);
    // Creates the key and sets the value (the "third operation" used after a failed read or
    // write to establish a default). True on success.
    [[nodiscard]] virtual bool createValue(const std::string& keyPath, const std::string& valueName,
                                           const std::string& value);
    [[nodiscard]] virtual bool deleteValue(const std::string& keyPath,
                                           const std::string& valueName);

    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
};

// Per-user application settings (GetSetting / SaveSetting / DeleteSetting).
class UserSettings {
  public:
    // Uses configDir()/settings.ini unless a file is given.
    UserSettings();
    explicit UserSettings(std::filesystem::path file);

    std::string getSetting(const std::string& appName, const std::string& section,
                           const std::string& key, const std::string& defaultValue = "") const;
    [[nodiscard]] bool saveSetting(const std::string& appName, const std::string& section,
                                   const std::string& key, const std::string& value);
    [[nodiscard]] bool deleteSetting(const std::string& appName, const std::string& section,
                                     const std::string& key);

    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
};

}  // namespace varnak::platform
