#include "app/com_settings.h"

#include <QString>
#include <limits>
#include <utility>

#include "model/clsCommon.h"
#include "platform/registry_store.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {
constexpr const char* kSection = "Settings";
}

bool parseStoredBoolean(const std::string& text, bool& value) {
    QString t = QString::fromStdString(text).trimmed();
    if (t.compare("True", Qt::CaseInsensitive) == 0) return value = true, true;
    if (t.compare("False", Qt::CaseInsensitive) == 0) return value = false, true;
    bool ok = false;
    double n = t.toDouble(&ok);
    if (!ok) return false;
    value = n != 0;
    return true;
}

ComSettings fLoadComSettings(const platform::UserSettings& store, const std::string& app) {
    ComSettings s;
    auto get = [&](const char* key, std::string& field) {
        field = store.getSetting(app, kSection, key, field);
    };
    get("Port", s.Port);
    get("Baud", s.Baud);
    get("Parity", s.Parity);
    get("DataBits", s.DataBits);
    get("StopBits", s.StopBits);
    get("QZxType", s.QZxType);
    get("Timeout", s.Timeout);
    get("MultiPoint", s.MultiPoint);
    bool check = s.CheckCurrentKBus;
    if (parseStoredBoolean(store.getSetting(app, kSection, "CheckCurrentKBus", "True"), check))
        s.CheckCurrentKBus = check;
    return s;
}

void fSaveComSettings(platform::UserSettings& store, const std::string& app, const ComSettings& s) {
    const std::pair<const char*, std::string> keys[] = {
        {"Port", s.Port},
        {"Baud", s.Baud},
        {"Parity", s.Parity},
        {"DataBits", s.DataBits},
        {"StopBits", s.StopBits},
        {"QZxType", s.QZxType},
        {"Timeout", s.Timeout},
        {"MultiPoint", s.MultiPoint},
        {"CheckCurrentKBus", s.CheckCurrentKBus ? "True" : "False"},
    };
    // The per-user settings are written unchecked, as the program always writes them: a
    // key that cannot be written keeps the value it held.
    for (const auto& [key, value] : keys)
        resultNotExamined(store.saveSetting(app, kSection, key, value));
}

const std::vector<std::string>& supportedBaudRates() {
    static const std::vector<std::string> rates{"9600", "19200", "38400"};
    return rates;
}

std::string baudRateThatRuns(const std::string& stored) {
    QString t = QString::fromStdString(stored).trimmed();
    bool ok = false;
    long n = t.toLong(&ok);
    if (ok && (n == 9600 || n == 19200)) return std::to_string(n);
    return "38400";
}

int stationAddressOf(const std::string& text) {
    const double n = leadingNumber(text);
    // A hand-edited number beyond a Long is no station address either.
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int>(n);
}

}  // namespace varnak
