#pragma once
// Layout of the generated string table (see tools/text_table_gen.cpp).
namespace varnak {

struct TextTableEntry {
    int id;  // 0..1999; -1 ends the table
    const char* german;
    const char* english;
};

extern const TextTableEntry kTextTable[];
extern const int kTextTableSize;

}  // namespace varnak
