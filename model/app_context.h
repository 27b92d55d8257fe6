#pragma once
// The program-wide values, one instance each for the life of the process. main() creates
// one context and makes it current; tests create a fresh one per case.
#include <cstdint>
#include <memory>
#include <string>

#include "model/ui_services.h"

class QZcomOCX;

namespace varnak {

namespace platform {
class RegistryStore;
class UserSettings;
}  // namespace platform

class clsCommon;
class clsProject;
class RegisterDevice;
class clsCoupler;

struct AppContext {
    AppContext();
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The user text of string id k (0..1999) in the current language.
    std::string text(int k) const;

    UiServices* ui;                     // never null; SilentUi until the program sets its own
    platform::RegistryStore* registry;  // machine-wide values; never null
    platform::UserSettings* settings;   // per-user settings; never null

    QZcomOCX* VarnakComOCX = nullptr;  // the main window's control (not owned)
    // Where register tables read and write: the main window puts its control there unless
    // another device (a test's) is in place; when null the tables' transfers fail.
    RegisterDevice* registerDevice = nullptr;  // not owned
    std::shared_ptr<clsCommon> VarnakCommon;
    std::shared_ptr<clsProject> VarnakProject;
    std::shared_ptr<clsCoupler> VarnakOnlineCoupler;

    int32_t LanguageNr = 0;      // 0 German, 1 English
    int16_t LanguageBase = 0;    // 0 or 2000
    int32_t MultiPointAdr = 0;   // station address of every device request
    std::string AccessCodeText;  // the privileged-access text

private:
    std::unique_ptr<SilentUi> defaultUi_;
    std::unique_ptr<platform::RegistryStore> defaultRegistry_;
    std::unique_ptr<platform::UserSettings> defaultSettings_;
};

// The current context; one must have been made current (ContextScope) before use.
AppContext& varnak();

// Makes a context current for its lifetime and restores the previous one afterwards.
class ContextScope {
public:
    explicit ContextScope(AppContext& context);
    ~ContextScope();
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

private:
    AppContext* previous_;
};

}  // namespace varnak
