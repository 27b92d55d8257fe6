#pragma once
// What the settings dialogs' frame needs of a session, coupler or terminal alike: the bound
// table and the device type, Default, taking the form's registers, and the offline save
// when the dialog closes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/unexamined_result.h"
#include "settingsforms/settings_form_spec.h"
#include "windowkit/offline_rail_save.h"

namespace varnak {

class clsCoupler;
class clsTable;

class SettingsSession {
  public:
    virtual ~SettingsSession() = default;

    // The table the form loads from and stores into.
    virtual clsTable& table() const = 0;
    // The type name of the device the form is for.
    virtual const std::string& type() const = 0;
    // The factory values from the device type's description. False (message 1950, the
    // table unchanged) when that description cannot serve.
    [[nodiscard]] virtual bool loadDefaults() = 0;
    // Takes what the form stored into the table.
    virtual void apply(const RegisterImage& image) = 0;
    // The dialog closes: an offline change of the project's rail is saved.
    void close() { failureAlreadyShown(railSave_.save()); }

  protected:
    void bindRail(const std::shared_ptr<clsCoupler>& rail) { railSave_.bind(rail); }
    // Default's common road: the description's registers applied, or message 1950 naming
    // the file and nothing changed. The result of loadDefaults.
    [[nodiscard]] bool takeDefaults(const std::string& file,
                                    const std::optional<RegisterImage>& defaults);
    // Writes registers first..last of the image that differ from the table's.
    void write(const RegisterImage& image, clsTable& table, int32_t first, int32_t last);

  private:
    OfflineRailSave railSave_;
};

}  // namespace varnak
