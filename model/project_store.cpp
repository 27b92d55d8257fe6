#include "model/project_store.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "model/app_context.h"
#include "model/clsCommon.h"
#include "model/device_description.h"
#include "platform/ini_file.h"
#include "platform/write_failure.h"

namespace varnak {
namespace {

constexpr int kTxtChangedOnDiskDuringSave = 1761;

}  // namespace

int storeResultTextId(int32_t result) {
    if (result == kStoreDescriptionRefused) return 1849;
    if (result == kStoreDescriptionCutShort) return 1848;
    // Texts 1870.. explain the store results in the order of StoreResult.
    if (result <= kStoreOk || result > kStoreNotARailFile) return 0;
    return 1869 + result;
}

std::string storeResultMessage(int32_t result) {
    AppContext& c = varnak();
    std::string text = c.text(storeResultTextId(result));
    const auto failure = platform::lastWriteFailure();
    if (result != kStoreWriteFailed || !failure) return text;
    text += "\r\n\r\n" + failure->path;
    if (failure->error == platform::kChangedOnDisk)
        text += "\r\n" + c.text(kTxtChangedOnDiskDuringSave);
    else if (failure->error > 0)
        text += "\r\n" + std::string(std::strerror(failure->error));
    return text;
}

std::string idText(int32_t id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", static_cast<int>(id));
    return buf;
}

std::string terminalFileName(int32_t couplerId, int32_t terminalId) {
    std::string name = "C";  // appended piecewise: GCC 12 misreports "literal" + string
    name += idText(couplerId);
    name += 'T';
    name += idText(terminalId);
    name += ".TCF";
    return name;
}

std::optional<int32_t> terminalIdFromFileName(std::string_view name) {
    auto digitsAt = [&](size_t& i) {
        size_t start = i;
        while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
        return i - start;
    };
    size_t i = 1;
    if (name.empty() || (name[0] != 'C' && name[0] != 'c') || digitsAt(i) == 0) return std::nullopt;
    if (i >= name.size() || (name[i] != 'T' && name[i] != 't')) return std::nullopt;
    size_t first = ++i;
    size_t count = digitsAt(i);
    if (count == 0 || count > 6 || !containsNoCase(name.substr(i), ".TCF") || name.size() - i != 4)
        return std::nullopt;
    return std::stoi(std::string(name.substr(first, count)));
}

std::string readKeyText(const std::string& file, std::string_view section, std::string_view key) {
    return trimBlanks(ini::readString(file, section, key, "0", kKeyBuffer));
}

std::string readKeyTextOrEmpty(const std::string& file, std::string_view section,
                               std::string_view key) {
    return trimBlanks(ini::readString(file, section, key, "", kKeyBuffer));
}

int32_t readKeyNumber(const std::string& file, std::string_view section, std::string_view key) {
    double v = leadingNumber(readKeyText(file, section, key));
    if (!std::isfinite(v) || v > INT32_MAX || v < INT32_MIN) return 0;
    return static_cast<int32_t>(v);
}

bool writeKeyText(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    std::string text = trimBlanks(value);
    // Reading takes one pair of enclosing quotes off a value.
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        text = text.front() + text + text.back();
    return ini::WritePrivateProfileString(section, key, std::string_view(text), file);
}

bool writeKeyNumber(const std::string& file, std::string_view section, std::string_view key,
                    int32_t value) {
    std::string text = std::to_string(value);
    return ini::WritePrivateProfileString(section, key, std::string_view(text), file);
}

std::string descriptionKey() {
    std::string key = "Lang";
    key += std::to_string(varnak().LanguageNr);
    key += "_Desc";
    return key;
}

void DescriptionCommon::read(const std::string& file) {
    name = readKeyText(file, "Common", "Name");
    description = readKeyText(file, "Common", descriptionKey());
    picture = readKeyText(file, "Common", "Picture");
    pictureSize = readKeyNumber(file, "Common", "PicSize");
    currentKBus = readKeyNumber(file, "Common", "CurrentKBus");
}

bool DescriptionCommon::write(const std::string& file) const {
    return writeKeyText(file, "Common", "Name", name) &&
           writeKeyText(file, "Common", descriptionKey(), description) &&
           writeKeyText(file, "Common", "Picture", picture) &&
           writeKeyNumber(file, "Common", "PicSize", pictureSize) &&
           writeKeyNumber(file, "Common", "CurrentKBus", currentKBus);
}

bool copyDescription(const std::string& from, const std::string& to) {
    if (!usableDescription(from)) return false;
    // The description's bytes keep its encoding and layout; the profile writer then
    // changes only the sections the object owns. Made in the profile cache, the file is
    // the save's own write: what a failed save left waiting for it is kept, and the copy
    // is not taken for another program's change.
    return ini::createFromCopy(from, to);
}

bool containsNoCase(std::string_view text, std::string_view part) {
    auto lower = [](std::string_view s) {
        std::string out(s);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            if (c == '\\') c = '/';
        }
        return out;
    };
    return lower(text).find(lower(part)) != std::string::npos;
}

}  // namespace varnak
