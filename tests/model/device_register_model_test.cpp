#include "model/device_register_model.h"

#include <gtest/gtest.h>

namespace varnak {
namespace {

TEST(DeviceRegisterModel, DirectoryValues) {
    EXPECT_EQ(directoryTableLen(0), std::nullopt);
    EXPECT_EQ(directoryTableLen(-5), std::nullopt);
    EXPECT_EQ(directoryTableLen(1), 1);
    EXPECT_EQ(directoryTableLen(63), 63);
    EXPECT_EQ(directoryTableLen(300), 255);
    EXPECT_EQ(directoryTableLen(0x200), 255);
}

TEST(DeviceRegisterModel, ChannelLayoutWords) {
    ChannelLayout l = decodeChannelLayout(0x0410, 0x0208, 0x8010);
    EXPECT_EQ(l.physicalChannels, 4);
    EXPECT_EQ(l.physicalChannelBits, 16);
    EXPECT_EQ(l.logicalChannels, 2);
    EXPECT_EQ(l.logicalChannelBits, 8);
    EXPECT_EQ(l.inputBits, 16);
    EXPECT_EQ(l.inputCSB, 0);
    EXPECT_EQ(l.outputBits, 0);
    EXPECT_EQ(l.outputCSB, 1);
    EXPECT_EQ(channelInputCSB(0x0080), 1);
    EXPECT_EQ(channelOutputBits(0x7F00), 127);
}

TEST(DeviceRegisterModel, MappingEntryWords) {
    MappingEntry byteEntry = decodeMappingEntry(0x5005);
    EXPECT_EQ(byteEntry, (MappingEntry{5, 0, true, 2}));
    EXPECT_EQ(mappingEntryText(byteEntry), "5");
    MappingEntry bitEntry = decodeMappingEntry(0x0605);
    EXPECT_EQ(bitEntry, (MappingEntry{5, 3, false, 0}));
    EXPECT_EQ(mappingEntryText(bitEntry), "5.3");
    EXPECT_EQ(mappingEntryText(decodeMappingEntry(kMappingUnmappedBitWord)), "511.7");
    EXPECT_EQ(mappingEntryText(MappingEntry{511, 0, true, 0}), "511");
    EXPECT_EQ(mappingEntryText(MappingEntry{12, 0, true, 0}), "12");
    EXPECT_EQ(mappingEntryText(MappingEntry{3, 5, false, 1}), "3.5");

    for (int32_t word = 0; word < 0x8000; ++word) {
        MappingEntry e = decodeMappingEntry(word);
        if (e.byteOriented && e.bit != 0) continue;  // a byte entry keeps bits 9-11 clear
        ASSERT_EQ(encodeMappingEntry(e), word) << word;
    }
    EXPECT_EQ(encodeMappingEntry(MappingEntry{511, 7, false, 0}), 0x0FFF);
    EXPECT_EQ(encodeMappingEntry(MappingEntry{5, 3, true, 2}), 0x5005);
}

TEST(DeviceRegisterModel, MappingListLayout) {
    EXPECT_EQ(mappingListAddress(kProgrammedInputImageMap, 255), (RegisterAddress{11, 0}));
    EXPECT_EQ(mappingListAddress(kProgrammedInputImageMap, 254), (RegisterAddress{10, 254}));
    EXPECT_EQ(mappingListAddress(kProgrammedOutputImageMap, 0), (RegisterAddress{50, 0}));
    EXPECT_EQ(mappingListAddress(kProgrammedInputImageMap, 14 * 255 - 1),
              (RegisterAddress{kProgrammedInputImageMapLast, 254}));
}

TEST(DeviceRegisterModel, TerminalListWords) {
    EXPECT_EQ(decodeTerminalListWord(3002), (TerminalListEntry{false, 3002, 0, false, false}));
    EXPECT_EQ(decodeTerminalListWord(0x8403), (TerminalListEntry{true, 0, 4, true, true}));
    EXPECT_EQ(decodeTerminalListWord(0x8201), (TerminalListEntry{true, 0, 2, true, false}));
    EXPECT_TRUE(isTerminalListEnd(0));
    EXPECT_TRUE(isTerminalListEnd(0xFFFF));
    EXPECT_FALSE(isTerminalListEnd(0x8403));
    for (int32_t word : {3002, 1, 0x7FFF, 0x8403, 0x8201, 0x8002, 0xFF03})
        EXPECT_EQ(encodeTerminalListWord(decodeTerminalListWord(word)), word) << word;
    EXPECT_EQ(OutputImageTable(3), 113);
    EXPECT_EQ(InputImageTable(0), 114);
}

}  // namespace
}  // namespace varnak
