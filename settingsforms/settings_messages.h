#pragma once
// The messages of the settings dialogs, shown through the context's UiServices with an OK
// button and an empty title, and the captions in the current language.
#include <cstdint>
#include <string>

#include "settingsforms/settings_form_spec.h"
#include "windowkit/dialog_support.h"

namespace varnak {

inline constexpr int kTxtNoUsableDescription = 1950;  // followed by the file
inline constexpr int kTxtInvalidEntry = 1951;         // followed by the field and its range

// "No communication with coupler!" (windowkit/dialog_support.h's showNoCommunication) followed by
// the code of the first failed request of an OK.
void showTransferFailed(int32_t code);
// Default found no usable description; nothing changed.
void showUnusableDescription(const std::string& file);
// OK refused a typed value: the field's caption (without its access key) and its range.
void showRefusedEntry(const std::string& caption, const std::string& range);

// The caption's text in the current language (the design text when the string table has
// none for its id).
std::string captionText(const Caption& caption);

}  // namespace varnak
