#include "settingsforms/settings_messages.h"

#include "model/app_context.h"
#include "model/string_table.h"
#include "model/text_util.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

void show(const std::string& text, int icon) {
    varnak().ui->messageBox(text, icon, "");
}

// "&Grenzwert 1:" names the field as "Grenzwert 1".
std::string fieldName(const std::string& caption) {
    std::string out = withoutAccelerators(caption);
    while (!out.empty() && (out.back() == ':' || out.back() == ' ')) out.pop_back();
    return out;
}

}  // namespace

void showTransferFailed(int32_t code) {
    AppContext& c = varnak();
    show(c.text(kTxtNoCommunication) + "\n" + c.text(kTxtCode) + std::to_string(code), vbCritical);
}

void showUnusableDescription(const std::string& file) {
    show(varnak().text(kTxtNoUsableDescription) + file, vbExclamation);
}

void showRefusedEntry(const std::string& caption, const std::string& range) {
    show(varnak().text(kTxtInvalidEntry) + fieldName(caption) + " (" + range + ")", vbExclamation);
}

std::string captionText(const Caption& caption) {
    const int id = caption.id + varnak().LanguageBase;
    if (caption.id > 0 && HasResString(id)) return caption.prefix + LoadResString(id);
    return caption.prefix + caption.design;
}

}  // namespace varnak
