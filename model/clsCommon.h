#pragma once
// The program-wide settings object: the edition (from the program's file name), the
// user-interface language with its string-id base, the access level and the
// terminal-bus current check.
#include <cstdint>
#include <string>

#include "model/signal.h"

namespace varnak {

struct AppContext;

class clsCommon {
public:
    // programPath: argv[0] as started (a link's own name selects its edition).
    clsCommon(AppContext& context, const std::string& programPath);
    // Writes "Language" back, as the settings object's release does at process end.
    ~clsCommon();
    clsCommon(const clsCommon&) = delete;
    clsCommon& operator=(const clsCommon&) = delete;

    bool CheckCurrentKBus() const { return checkCurrentKBus_; }
    void setCheckCurrentKBus(bool value) { checkCurrentKBus_ = value; }
    int32_t AccessLevel() const { return accessLevel_; }
    void setAccessLevel(int32_t value) { accessLevel_ = value; }
    int32_t CompanyID() const { return companyID_; }
    const std::string& CompanyRegKey() const { return companyRegKey_; }
    const std::string& CompanyName() const { return companyName_; }

    // The Get also recomputes LanguageBase from the stored value.
    int16_t LanguageType();
    // Stores the language, sets LanguageBase and the user-interface language and raises
    // LanguageChanged, also when the value is unchanged.
    void setLanguageType(int16_t value);

    // Argument: the language number (by reference, as the event passes it).
    Signal<int32_t&> LanguageChanged;

    // Edition rows, by program file name without extension (compared case-sensitively).
    struct Edition {
        std::string regKey;
        std::string companyName;
        int32_t companyID;
        bool accessCode;  // whether AccessCodeText is set
    };
    static Edition editionFor(const std::string& programBaseName);

private:
    void fReadLanguage();
    void fWriteLanguage();

    AppContext& context_;
    bool checkCurrentKBus_ = false;
    std::string companyRegKey_;
    std::string companyName_;
    int32_t companyID_ = 0;
    int32_t accessLevel_ = 0;
    int32_t languageType_ = 0;
};

// The access text that unlocks the privileged functions.
inline constexpr const char* kAccessCode = "TIDAL-GATE";

// The leading number of a text as the registry values are read: blanks skipped, an
// optional sign, digits with an optional decimal part, rounded half to even; 0 when the
// text starts with no number.
double leadingNumber(const std::string& text);

}  // namespace varnak
