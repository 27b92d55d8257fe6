// Build step: merges the texts.tsv files into one C++ source holding the string table.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "text_table_parse.h"

namespace {

std::string cLiteral(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: text_table_gen OUTPUT [texts.tsv...]\n";
        return 2;
    }
    varnak::texts::TextTableResult result;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << argv[i] << ": cannot be read\n";
            return 1;
        }
        std::stringstream content;
        content << in.rdbuf();
        varnak::texts::parseTextTable(content.str(), argv[i], result);
    }
    for (const auto& e : result.errors) std::cerr << e << "\n";
    if (!result.errors.empty()) return 1;

    std::ostringstream out;
    out << "// Generated from the texts.tsv files; do not edit.\n"
           "#include \"model/text_table_data.h\"\n\n"
           "namespace varnak {\n\nconst TextTableEntry kTextTable[] = {\n";
    for (const auto& [id, row] : result.rows) {
        out << "    {" << id << ", " << cLiteral(row.german) << ", " << cLiteral(row.english)
            << "},\n";
    }
    out << "    {-1, \"\", \"\"},\n};\n\nconst int kTextTableSize = " << result.rows.size()
        << ";\n\n}  // namespace varnak\n";

    // Only rewrite when the content changed, so that unchanged texts rebuild nothing.
    std::ifstream old(argv[1], std::ios::binary);
    std::stringstream oldContent;
    if (old) oldContent << old.rdbuf();
    if (oldContent.str() != out.str()) {
        std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
        file << out.str();
        if (!file) return 1;
    }
    return 0;
}
