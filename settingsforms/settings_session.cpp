#include "settingsforms/settings_session.h"

#include "settingsforms/register_image.h"
#include "settingsforms/settings_messages.h"

namespace varnak {

bool SettingsSession::takeDefaults(const std::string& file,
                                   const std::optional<RegisterImage>& defaults) {
    if (!defaults) {
        showUnusableDescription(file);
        return false;
    }
    apply(*defaults);
    return true;
}

void SettingsSession::write(const RegisterImage& image, clsTable& table, int32_t first,
                            int32_t last) {
    if (applyImage(image, table, first, last)) railSave_.changed();
}

}  // namespace varnak
