#include "text_table_parse.h"

#include <charconv>
#include <sstream>

namespace varnak::texts {
namespace {

bool unescape(const std::string& raw, std::string& out) {
    out.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i == raw.size()) return false;
        switch (raw[i]) {
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case '\\': out += '\\'; break;
            default: return false;
        }
    }
    return true;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

}  // namespace

void parseTextTable(const std::string& content, const std::string& origin,
                    TextTableResult& result) {
    std::istringstream in(content);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        result.errors.push_back(origin + ":" + std::to_string(lineNo) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto fields = splitTabs(line);
        if (fields.size() != 3) {
            fail("expected id, German and English separated by tabs");
            continue;
        }
        TextRow row;
        auto [ptr, ec] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(),
                                         row.id);
        if (ec != std::errc{} || ptr != fields[0].data() + fields[0].size() || row.id < 0 ||
            row.id > 1999) {
            fail("id must be a number from 0 to 1999");
            continue;
        }
        if (!unescape(fields[1], row.german) || !unescape(fields[2], row.english)) {
            fail("bad escape (only \\t, \\n and \\\\ are known)");
            continue;
        }
        if (row.german.empty() || row.english.empty()) {
            fail("text " + std::to_string(row.id) + " misses a language");
            continue;
        }
        auto [it, inserted] = result.rows.emplace(row.id, row);
        if (!inserted && (it->second.german != row.german || it->second.english != row.english)) {
            fail("text " + std::to_string(row.id) + " is given twice with different texts");
        }
    }
}

}  // namespace varnak::texts
