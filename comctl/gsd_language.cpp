#include "comctl/gsd_language.h"

#include "comctl/gsd_text_io.h"

namespace varnak::gsd {

namespace {

bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string trimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The value between its quotes holds \n for a line break and \" for a quote.
std::string unescape(const std::string& raw) {
    std::string value;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == 'n' || raw[i + 1] == '"')) {
            value += raw[i + 1] == 'n' ? '\n' : '"';
            ++i;
        } else {
            value += raw[i];
        }
    }
    return value;
}

}  // namespace

void GsdLanguage::read(const std::filesystem::path& file) {
    path_ = file;
    std::optional<std::vector<std::string>> lines = readTextLines(file);
    if (!lines) {
        log_->error("Cannot open file \"" + file.string() + "\".");
        return;
    }
    parse(*lines);
}

void GsdLanguage::parse(const std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        while (!line.empty() && line.back() == '\\') {
            line.pop_back();
            if (i + 1 >= lines.size()) break;
            line += lines[++i];
        }
        if (line.size() > kTraditionalLineLimit) {
            log_->warning(kLineTooLongWarning);
        }
        if (line.empty() || line.starts_with("//")) continue;

        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = trimBlanks(line.substr(0, equals));

        size_t open = line.find('"', equals + 1);
        if (open == std::string::npos) {
            log_->warning("Kein fuehrendes \" bei Ersetzungsmarke " + name + ".");
            continue;
        }
        size_t close = open + 1;
        while (close < line.size() && !(line[close] == '"' && line[close - 1] != '\\')) ++close;
        if (close >= line.size()) {
            log_->warning("Kein schliessendes \" bei Ersetzungsmarke " + name + ".");
            continue;
        }
        store(name, unescape(line.substr(open + 1, close - open - 1)));
    }
}

void GsdLanguage::store(const std::string& name, std::string value) {
    if (!name.empty() && isLower(name[0])) {
        texts_[name] = std::move(value);
        return;
    }
    if (!name.empty() && isHexDigit(name[0])) {
        if (std::optional<uint32_t> number = parseNumber(name, 16, UINT32_MAX)) {
            numbered_[*number] = std::move(value);
            return;
        }
    } else if (name == "GSD_EXT") {
        extension_ = std::move(value);
        return;
    } else if (name == "GSD_NAME") {
        name_ = std::move(value);
        return;
    }
    log_->warning("Kann Ersetzungsmarke " + name + " nicht eindeutig erkennen.");
}

std::optional<std::string> GsdLanguage::lookup(const std::string& name) const {
    if (!name.empty() && isLower(name[0])) {
        auto found = texts_.find(name);
        if (found != texts_.end()) return found->second;
        return std::nullopt;
    }
    if (!name.empty() && isDigit(name[0])) {
        std::optional<uint32_t> number = parseNumber(name, 16, UINT32_MAX);
        if (!number) return std::nullopt;
        auto found = numbered_.find(*number);
        if (found != numbered_.end()) return found->second;
        return std::nullopt;
    }
    log_->warning("Kann Ersetzungsmarke " + name + "nicht eindeutig erkennen.");
    return std::nullopt;
}

}  // namespace varnak::gsd
