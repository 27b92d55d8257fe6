#pragma once
// One parsed private-profile file, held so that every line that a change does not touch is
// written back byte for byte (its encoding, its line end, its blanks).
//
// Sections and keys are indexed by their ASCII-lower-cased names, first copies only, so
// that a rail save of thousands of keys costs one look-up per key, not one scan.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ini_text_encoding.h"

namespace varnak::ini {

class IniDocument {
  public:
    // A new, empty file: UTF-8 without BOM, CRLF line ends.
    IniDocument();
    static IniDocument parse(std::string_view bytes);

    std::string serialize() const;

    // The value of the first copy of the key in the first copy of the section: the text
    // after the first "=", trimmed of blanks and tabs, one pair of enclosing quotes removed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;

    // Each returns true when the document changed. Values and names must be UTF-8 without
    // line breaks; a Windows-1252 file gets "?" for what its code page cannot hold.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    bool deleteKey(std::string_view section, std::string_view key);
    bool deleteSection(std::string_view section);
    // Sets each key of other (first copies, each as its text reads) into this document.
    void setValuesOf(const IniDocument& other);

    // False for a UTF-16 file (it starts with a UTF-16 BOM): such a file is read as holding
    // nothing, and an edit would mix encodings, so it is never rewritten.
    bool editable() const { return editable_; }

  private:
    struct Line {
        std::string text;  // UTF-8
        std::string raw;   // the bytes on disk when they differ from text
        std::string eol;   // "", "\r\n", "\n" or "\r"
        bool hasRaw = false;
    };
    struct Section {
        Line header;
        std::string name;
        std::vector<Line> body;
        std::unordered_map<std::string, size_t> keys;  // lower-cased name -> body line
        void indexKeys();
    };

    Line makeLine(std::string text) const;
    Section* find(std::string_view section);
    const Section* find(std::string_view section) const;
    void indexSections();
    Line* lastLine();
    void endLastLine();

    TextEncoding encoding_ = TextEncoding::Utf8;
    bool bom_ = false;
    bool editable_ = true;
    std::string newline_ = "\r\n";
    std::vector<Line> preamble_;
    std::vector<std::unique_ptr<Section>> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;  // lower-cased name -> first copy
    // The last section found and the name it was asked by: a save or a load asks for one
    // section's keys one after another.
    mutable std::string lastAsked_;
    mutable size_t lastFound_ = 0;
    mutable bool hasLast_ = false;
};

}  // namespace varnak::ini
