#include "platform/ini_document.h"

#include <algorithm>

#include "platform/ini_blanks.h"

namespace varnak::ini {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// Name of a section header: from "[" to the last "]" of the line; text after it is ignored.
bool headerName(std::string_view line, std::string_view& name) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return false;
    size_t close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    name = trim(line.substr(1, close - 1));
    return true;
}

// A key line: not a comment, holds "="; the name runs to the first "=".
bool keyLine(std::string_view line, std::string_view& name, std::string_view& rest) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';') return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    name = trim(line.substr(0, eq));
    rest = line.substr(eq + 1);
    return true;
}

std::string unquote(std::string_view v) {
    v = trim(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

bool isBlankLine(std::string_view line) {
    return trim(line).empty();
}

std::string joined(std::string_view a, std::string_view b, std::string_view c) {
    std::string out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}

}  // namespace

IniDocument::IniDocument() = default;

void IniDocument::Section::indexKeys() {
    keys.clear();
    keys.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        std::string_view name, rest;
        if (keyLine(body[i].text, name, rest)) keys.try_emplace(lower(name), i);
    }
}

void IniDocument::indexSections() {
    hasLast_ = false;
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) {
        sectionIndex_.try_emplace(lower(sections_[i]->name), i);
    }
}

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument doc;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        doc.editable_ = false;
        return doc;
    }
    if (bytes.substr(0, kBom.size()) == kBom) {
        doc.bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    // A file valid as a whole is valid line by line: its lines need no repair.
    const bool valid = isValidUtf8(bytes);
    if (!doc.bom_ && !valid) doc.encoding_ = TextEncoding::Windows1252;
    // Each line's text and its end; false after the last line.
    auto nextLine = [&bytes](size_t& pos, std::string_view& raw, std::string_view& eol) {
        if (pos >= bytes.size()) return false;
        // A plain scan: find_first_of looks each byte up in its set.
        size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        if (end == bytes.size()) {
            raw = bytes.substr(pos);
            eol = {};
            pos = bytes.size();
            return true;
        }
        raw = bytes.substr(pos, end - pos);
        const size_t eolLen =
            (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        eol = bytes.substr(end, eolLen);
        pos = end + eolLen;
        return true;
    };
    auto isHeader = [](std::string_view text) {
        std::string_view name;
        return headerName(text, name);
    };
    // The lines of each section, counted first, so that no body grows line by line (a
    // header is one on the bytes as on the decoded text: its marks are ASCII).
    std::vector<size_t> bodyLines;
    std::string_view raw, eol;
    for (size_t pos = 0; nextLine(pos, raw, eol);) {
        if (isHeader(raw))
            bodyLines.push_back(0);
        else if (!bodyLines.empty())
            ++bodyLines.back();
    }
    doc.sections_.reserve(bodyLines.size());

    bool styleKnown = false;
    Section* current = nullptr;
    for (size_t pos = 0; nextLine(pos, raw, eol);) {
        Line line;
        line.eol = std::string(eol);
        if (!eol.empty() && !styleKnown) {
            doc.newline_ = line.eol;
            styleKnown = true;
        }
        if (doc.encoding_ == TextEncoding::Windows1252) {
            line.text = windows1252ToUtf8(raw);
        } else if (valid) {
            line.text = std::string(raw);
        } else {
            line.text = sanitizeUtf8(raw);
        }
        if (!valid && line.text != raw) {
            line.raw = std::string(raw);
            line.hasRaw = true;
        }
        std::string_view name;
        if (headerName(line.text, name)) {
            auto section = std::make_unique<Section>();
            section->name = std::string(name);
            section->header = std::move(line);
            if (doc.sections_.size() < bodyLines.size())
                section->body.reserve(bodyLines[doc.sections_.size()]);
            current = section.get();
            doc.sections_.push_back(std::move(section));
        } else if (current) {
            current->body.push_back(std::move(line));
        } else {
            doc.preamble_.push_back(std::move(line));
        }
    }
    for (auto& section : doc.sections_) section->indexKeys();
    doc.indexSections();
    return doc;
}

std::string IniDocument::serialize() const {
    std::string out;
    if (bom_) out += kBom;
    auto put = [&](const Line& line) {
        out += line.hasRaw ? line.raw : line.text;
        out += line.eol;
    };
    for (const Line& line : preamble_) put(line);
    for (const auto& section : sections_) {
        put(section->header);
        for (const Line& line : section->body) put(line);
    }
    return out;
}

IniDocument::Line IniDocument::makeLine(std::string text) const {
    Line line;
    if (encoding_ == TextEncoding::Windows1252) {
        // Keep the cache equal to the disk: what the code page cannot hold is "?" in both.
        line.raw = utf8ToWindows1252(text);
        line.text = windows1252ToUtf8(line.raw);
        line.hasRaw = line.raw != line.text;
    } else {
        line.text = std::move(text);
    }
    line.eol = newline_;
    return line;
}

IniDocument::Section* IniDocument::find(std::string_view section) {
    section = trim(section);
    if (hasLast_ && section == lastAsked_) return sections_[lastFound_].get();
    auto it = sectionIndex_.find(lower(section));
    if (it == sectionIndex_.end()) return nullptr;
    lastAsked_ = section;
    lastFound_ = it->second;
    hasLast_ = true;
    return sections_[it->second].get();
}

const IniDocument::Section* IniDocument::find(std::string_view section) const {
    return const_cast<IniDocument*>(this)->find(section);
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Section* s = find(section);
    if (!s) return std::nullopt;
    auto it = s->keys.find(lower(trim(key)));
    if (it == s->keys.end()) return std::nullopt;
    std::string_view name, rest;
    keyLine(s->body[it->second].text, name, rest);
    return unquote(rest);
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < sections_.size(); ++i) {
        auto it = sectionIndex_.find(lower(sections_[i]->name));
        if (it != sectionIndex_.end() && it->second == i) names.push_back(sections_[i]->name);
    }
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const Section* s = find(section);
    if (!s) return names;
    for (size_t i = 0; i < s->body.size(); ++i) {
        std::string_view name, rest;
        if (!keyLine(s->body[i].text, name, rest)) continue;
        auto it = s->keys.find(lower(name));
        if (it != s->keys.end() && it->second == i) names.emplace_back(name);
    }
    return names;
}

IniDocument::Line* IniDocument::lastLine() {
    if (!sections_.empty()) {
        Section& s = *sections_.back();
        return s.body.empty() ? &s.header : &s.body.back();
    }
    return preamble_.empty() ? nullptr : &preamble_.back();
}

void IniDocument::endLastLine() {
    Line* last = lastLine();
    if (last && last->eol.empty()) last->eol = newline_;
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    Section* s = find(section);
    if (!s) {
        endLastLine();
        auto added = std::make_unique<Section>();
        added->header = makeLine(joined("[", section, "]"));
        added->name = std::string(section);
        added->body.push_back(makeLine(joined(key, "=", value)));
        added->indexKeys();
        sections_.push_back(std::move(added));
        sectionIndex_.emplace(lower(section), sections_.size() - 1);
        return true;
    }
    auto it = s->keys.find(lower(key));
    if (it != s->keys.end()) {
        Line& old = s->body[it->second];
        std::string_view name, rest;
        keyLine(old.text, name, rest);
        // An ASCII value reads back as it is written in any encoding: a save that rewrites
        // unchanged values learns so without making the line.
        if (isAscii(value) && trim(rest) == value) return false;
        Line replaced = makeLine(joined(name, "=", value));
        // Unchanged when the stored text already reads back as what is written.
        std::string_view newName, newRest;
        keyLine(replaced.text, newName, newRest);
        if (trim(rest) == newRest) return false;
        replaced.eol = old.eol;
        old = std::move(replaced);
        return true;
    }
    // After the last non-blank line of the section, so that a blank line separating it
    // from the next section stays in place; only blank lines follow, so no key moves.
    size_t pos = s->body.size();
    while (pos > 0 && isBlankLine(s->body[pos - 1].text)) --pos;
    Line& before = pos == 0 ? s->header : s->body[pos - 1];
    if (before.eol.empty()) before.eol = newline_;
    s->body.insert(s->body.begin() + static_cast<std::ptrdiff_t>(pos),
                   makeLine(joined(key, "=", value)));
    s->keys.emplace(lower(key), pos);
    return true;
}

bool IniDocument::deleteKey(std::string_view section, std::string_view key) {
    Section* s = find(section);
    if (!s) return false;
    auto it = s->keys.find(lower(trim(key)));
    if (it == s->keys.end()) return false;
    s->body.erase(s->body.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->indexKeys();
    return true;
}

bool IniDocument::deleteSection(std::string_view section) {
    auto it = sectionIndex_.find(lower(trim(section)));
    if (it == sectionIndex_.end()) return false;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    indexSections();
    return true;
}

void IniDocument::setValuesOf(const IniDocument& other) {
    for (size_t i = 0; i < other.sections_.size(); ++i) {
        const Section& s = *other.sections_[i];
        auto first = other.sectionIndex_.find(lower(s.name));
        if (first == other.sectionIndex_.end() || first->second != i) continue;  // a later copy
        for (size_t line = 0; line < s.body.size(); ++line) {
            std::string_view name, rest;
            if (!keyLine(s.body[line].text, name, rest)) continue;
            auto key = s.keys.find(lower(name));
            if (key == s.keys.end() || key->second != line) continue;
            // The text as it stands, quotes and all, reads back as it read there.
            setValue(s.name, name, trim(rest));
        }
    }
}

}  // namespace varnak::ini
