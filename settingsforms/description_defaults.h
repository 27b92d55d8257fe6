#pragma once
// The factory values the Default buttons copy: read from the device type's own description
// in the resource folder, never from the fallback description (whose zeros would pose as
// factory values) and never from the device. An unusable description gives nothing.
#include <cstdint>
#include <optional>
#include <string>

#include "settingsforms/settings_form_spec.h"

namespace varnak {

// "<resource folder>/<Coupler|Terminal>/<type>.INI", found case-insensitively.
std::string descriptionPath(const char* folder, const std::string& type);

// Registers 0..255 of a coupler description's table (those the description does not list
// are 0); nullopt when the file cannot be read or its table directory lists no such table.
std::optional<RegisterImage> couplerDescriptionTable(const std::string& file, int32_t table);

// The channel registers a terminal description gives channel `channel`; nullopt when the
// file cannot be read, is cut short against the terminal's own file (as the terminal's
// load judges it: its zeros would pose as factory values), has no register model or fewer
// channels.
std::optional<RegisterImage> terminalDescriptionChannel(const std::string& file, int32_t channel,
                                                        const std::string& terminalFile);

}  // namespace varnak
