// What the programmed-mapping editor takes from the keyboard and what an entered cell
// becomes, over the entry rules' edge cases.
#include "mapping/mapping_edit_rules.h"

#include <gtest/gtest.h>

namespace varnak {
namespace {

using Msg = MappingCellMessage;

const MappingRowFlags kBits{false, kDTypeBit, 4};    // four bit entries: columns 8-11
const MappingRowFlags kBytes{false, kDTypeByte, 3};  // three bytes: columns 7-9
const MappingRowFlags kHidden{true, kDTypeBit, 2};
const MappingRowFlags kUnknown{false, 0, 0};

TEST(MappingKeyFilter, EdgeCases) {
    struct Row {
        MappingRowFlags flags;
        int column;
        char key;
        bool passes;
    };
    const std::vector<Row> table{
        {kBits, 6, '3', true},     {kBits, 6, '4', false},   {kBits, 8, '.', true},
        {kBits, 8, '9', true},     {kBits, 7, '1', false},   {kBits, 8, 'a', false},
        {kBits, 5, '1', false},    {kBits, 8, '\b', true},   {kBits, 5, 27, true},
        {kBytes, 7, '5', true},    {kBytes, 9, '.', false},  {kBytes, 6, '0', true},
        {kBytes, 6, '7', false},   {kBytes, 20, '\b', true}, {kHidden, 8, '1', false},
        {kHidden, 6, '\b', false}, {kUnknown, 3, 'x', true}, {kBits, 8, '\r', false},
        {kUnknown, 8, '\r', false}};
    for (const Row& r : table)
        EXPECT_EQ(fFilterMappingKey(r.flags, r.column, r.key), r.passes ? r.key : 0)
            << r.column << " '" << r.key << "' dtype " << r.flags.dtype;
}

TEST(MappingCellCheck, EdgeCases) {
    struct Row {
        MappingRowFlags flags;
        int column;
        const char* text;
        MappingCellResult result;
    };
    const std::string old = "old";
    const std::vector<Row> table{
        {kBits, 6, "", {"0"}},
        {kBits, 6, "3", {"3"}},
        {kBits, 6, "7", {"0", Msg::ImageRange}},
        {kBits, 6, "-1", {"0", Msg::ImageRange}},
        {kBits, 6, "x", {old}},
        {kBytes, 7, "", {"000"}},
        {kBytes, 7, "5", {"005"}},
        {kBytes, 7, "255", {"255"}},
        {kBytes, 7, "256", {old, Msg::ByteRange}},
        {kBytes, 7, "511", {old, Msg::ByteRange}},
        {kBits, 7, "5", {old, Msg::NotExisting}},
        {kBits, 8, "", {"000.0"}},
        {kBits, 8, "255.7", {"255.7"}},
        {kBits, 8, "256.0", {old, Msg::ByteRange}},
        {kBits, 8, "511.7", {old, Msg::ByteRange}},
        {kBits, 8, "12.8", {old, Msg::BitRange}},
        {kBits, 8, "12.35", {"012.4"}},
        {kBits, 8, "12.05", {"012.1"}},
        {kBits, 8, ".5", {"000.5"}},
        {kBits, 11, "1.1", {"001.1"}},
        {kBits, 12, "1.1", {"", Msg::NotMapped}},
        {kBytes, 8, "5", {"005"}},
        {kBytes, 9, "7", {"007"}},
        {kBytes, 10, "7", {"", Msg::NotMapped}},
        {kBits, 8, "1.2.3", {old}},
        {kHidden, 8, "1.1", {old, Msg::OtherImage}},
        {kHidden, 6, "1", {old, Msg::OtherImage}},
        {kUnknown, 8, "1", {""}},
        {kBits, 4, "1", {""}},
    };
    for (const Row& r : table)
        EXPECT_EQ(fValidateMappingCell(r.flags, r.column, r.text, old), r.result)
            << r.column << " \"" << r.text << "\" dtype " << r.flags.dtype;
}

TEST(MappingCellCheck, MessagesInBothLanguages) {
    EXPECT_EQ(mappingCellMessageText(Msg::ImageRange, 0), "Gültiger Bereich zwischen 0..3 ");
    EXPECT_EQ(mappingCellMessageText(Msg::ImageRange, 1), "Only image (0..3) valid");
    EXPECT_EQ(mappingCellMessageText(Msg::BitRange, 1), "Valid bit-adress between 0..7");
    EXPECT_EQ(mappingCellMessageText(Msg::OtherImage, 1),
              "Diese Adresse kann nur im anderen Prozeßabbild manipuliert werden !");
    EXPECT_EQ(mappingCellMessageText(Msg::NotMapped, 0), "Not mapped !");
    EXPECT_EQ(withValues("%2 of %1, %1", {"a%2", "b"}), "b of a%2, a%2");
}

}  // namespace
}  // namespace varnak
