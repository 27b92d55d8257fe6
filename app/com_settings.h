#pragma once
// The serial settings as the per-user store keeps them (application = the edition's
// company name, section "Settings"; every value is text).
#include <string>
#include <vector>

namespace varnak {

namespace platform {
class UserSettings;
}

struct ComSettings {
    std::string Port = "2";
    std::string Baud = "19200";
    std::string Parity = "Even";
    std::string DataBits = "8";
    std::string StopBits = "1";
    std::string QZxType = "RS232";
    std::string Timeout = "1000";
    std::string MultiPoint = "0";
    bool CheckCurrentKBus = true;
};

// Reads the nine keys; a missing key or an unreadable Boolean keeps the default.
ComSettings fLoadComSettings(const platform::UserSettings& store, const std::string& appName);
// Writes the nine keys in the order the dialog stores them.
void fSaveComSettings(platform::UserSettings& store, const std::string& appName,
                      const ComSettings& settings);

// The text-to-Boolean rule of stored flags: "True"/"False" in any case, or a number
// (non-zero is True); anything else has no value.
bool parseStoredBoolean(const std::string& text, bool& value);

// The baud rates the control runs; any other stored rate runs as the last of them.
const std::vector<std::string>& supportedBaudRates();
std::string baudRateThatRuns(const std::string& storedBaud);

// Ranges of the dialog's number fields.
inline constexpr int kMinTimeout = 10;
inline constexpr int kMaxTimeout = 60000;
inline constexpr int kMaxStationAddress = 255;

// The station address of a stored text: the leading number rounded half to even, 0 when
// the text holds no number.
int stationAddressOf(const std::string& text);

}  // namespace varnak
