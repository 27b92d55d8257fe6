#include "model/clsCommon.h"

#include <cmath>
#include <filesystem>

#include "model/app_context.h"
#include "platform/registry_store.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {

constexpr const char* kLanguageValue = "Language";
constexpr const char* kMakerFullName = "Harvenor";

std::string programBaseName(const std::string& programPath) {
    // The name as started, not the resolved executable: a link named after an edition
    // selects that edition.
    return std::filesystem::path(programPath).stem().string();
}

}  // namespace

clsCommon::Edition clsCommon::editionFor(const std::string& name) {
    if (name == "Varnak" || name == "VMT")
        return {"SOFTWARE\\Harvenor\\Varnak\\Common", "Harvenor", 0, true};
    if (name == "VarnakPLW") return {"SOFTWARE\\PLW\\VarnakPLW\\Common", "PLW", 1, true};
    if (name == "JRV-101") return {"SOFTWARE\\Harvenor\\Varnak", "Harvenor", 0, false};
    return {"SOFTWARE\\Harvenor\\Varnak", "Harvenor", 0, true};
}

clsCommon::clsCommon(AppContext& context, const std::string& programPath) : context_(context) {
    std::string name = programBaseName(programPath);
    Edition e = editionFor(name);
    companyRegKey_ = e.regKey;
    companyName_ = e.companyName;
    companyID_ = e.companyID;
    if (e.accessCode) context_.AccessCodeText = kAccessCode;
    if (name == "JRV-101") {
        context_.ui->messageBox(std::string(kMakerFullName) +
                                    " presents:\n\nJorvel Softwaretool JRV-101\n\n"
                                    "Bitte erst Datei-Resourcen an Harvenor senden.",
                                vbInformation, "Not for sale, no support");
    }
    fReadLanguage();
}

clsCommon::~clsCommon() { fWriteLanguage(); }

int16_t clsCommon::LanguageType() {
    context_.LanguageBase = static_cast<int16_t>(2000 * languageType_);
    return static_cast<int16_t>(languageType_);
}

void clsCommon::setLanguageType(int16_t value) {
    languageType_ = value;
    context_.LanguageBase = static_cast<int16_t>(2000 * value);
    if (value == 0) context_.ui->setUiLanguage(7, 1);
    if (value == 1) context_.ui->setUiLanguage(9, 1);
    int32_t argument = languageType_;
    LanguageChanged.raise(argument);
}

void clsCommon::fReadLanguage() {
    std::string text;
    int16_t language = 0;
    if (context_.registry->readValue(companyRegKey_, kLanguageValue, text)) {
        double n = leadingNumber(text);
        // Only German and English exist; a hand-edited value falls back to German.
        language = (n == 1.0) ? 1 : 0;
    } else {
        // From here on the stored value counts as "0", whether or not it could be made.
        resultNotExamined(context_.registry->createValue(companyRegKey_, kLanguageValue, "0"));
    }
    setLanguageType(language);
    fWriteLanguage();
}

void clsCommon::fWriteLanguage() {
    std::string text = std::to_string(languageType_) + " ";
    if (!context_.registry->writeValue(companyRegKey_, kLanguageValue, text)) {
        // The language in use stays as it is: resetting the stored number alone would
        // leave it disagreeing with LanguageBase and the texts on screen.
        // No message either way: the value counts as "0 " from here on.
        resultNotExamined(context_.registry->createValue(companyRegKey_, kLanguageValue, "0 "));
    }
}

double leadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double value = 0;
    bool any = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i++] - '0');
        any = true;
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
            value += (text[i] - '0') * scale;
            any = true;
        }
    }
    if (!any) return 0;
    value = std::nearbyint(value);  // the default rounding mode rounds half to even
    return negative ? -value : value;
}

}  // namespace varnak
