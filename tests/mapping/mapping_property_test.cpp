// Random rails within the limits: storing a grid and filling it again gives the grid back,
// and recalculating the stored tables gives the terminals' mapping back.
#include <gtest/gtest.h>

#include <random>

#include "mapping/mapping_address.h"
#include "mapping/mapping_routines.h"
#include "tests/mapping/mapping_fixture.h"

namespace varnak::test {
namespace {

using Dir = MappingDirection;

const std::vector<std::string> kTypes{"QT1002-0000", "QT1104-0000", "QT1212-0000", "QT2002-0000",
                                      "QT2114-0000", "QT3002-0000", "QT3004-0000", "QT4002-0000",
                                      "QT1501-0000", "QT5001-0000", "QT6001-0000", "QT6021-0000",
                                      "QT8908-0000", "QT8903-0000", "QT8914-0000", "QT9400-0000"};

// What a stored entry means: byte and bit (bit-oriented), byte (byte-oriented), image.
struct Meaning {
    std::vector<std::optional<ImageAddress>> addresses;
    std::string image;
    bool operator==(const Meaning&) const = default;
};

std::vector<Meaning> meaningOf(const RailMappingLayout& layout, Dir d) {
    std::vector<Meaning> all;
    for (const auto& t : layout.terminals) {
        for (int32_t c = 0; c < t.channels; ++c) {
            Meaning m;
            m.image = d == Dir::Input ? t.terminal->ConfInputDestProcImage(c)
                                      : t.terminal->ConfOutputDestProcImage(c);
            for (int32_t k = 0; k < t.entries; ++k) {
                auto a =
                    fSplitImageAddress(d == Dir::Input ? t.terminal->ConfMappInputImage(c, k)
                                                       : t.terminal->ConfMappOutputImage(c, k));
                if (a && t.byteOriented) a->bit = 0;
                m.addresses.push_back(a);
            }
            all.push_back(m);
        }
    }
    return all;
}

class MappingProperty : public MappingFixture {};

TEST_F(MappingProperty, StoreFillAndRecalculationAgree) {
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> types;
        for (int n = pick(12); n > 0; --n) types.push_back(kTypes[pick(kTypes.size())]);
        types.push_back("QT9010-0000");
        auto rail = makeRail("QZ3100-0000", types);
        for (int p = 1; p <= rail->clsColTerminals()->Count(); ++p) {
            auto t = rail->clsColTerminals()->ItemPos(p);
            if (isSerialInterfaceType(t->InfoName()))
                t->clsColTables()->Item(0)->setConfRegisterValue(kSerialDataBytesRegister, pick(6));
        }
        const RailMappingLayout layout = layoutOf(*rail);
        for (Dir d : {Dir::Input, Dir::Output}) {
            std::vector<MappingTextFault> faults;
            MappingGrid grid = fFillImageGrid(layout, d, faults);
            for (int row = 0; row < static_cast<int>(grid.rows.size()); ++row) {
                const MappingRowFlags f = grid.flags(row);
                if (f.hidden) continue;
                grid.setCell(row, kMappingColumnImage, std::to_string(pick(4)));
                for (int k = 0; k < f.mapData; ++k) {
                    const bool bytes = f.dtype == kDTypeByte;
                    std::string text =
                        pick(5) == 0 ? (bytes ? "511" : "511.7") : std::to_string(pick(256));
                    if (!bytes && text != "511.7") text += "." + std::to_string(pick(8));
                    grid.setCell(row, mappingEntryColumn(bytes, k), text);
                }
            }
            ASSERT_EQ(fStoreImageGrid(*rail, layout, d, grid), std::nullopt);
            EXPECT_EQ(fFillImageGrid(layout, d, faults), grid) << "round " << round;
            EXPECT_TRUE(faults.empty());

            const std::vector<Meaning> stored = meaningOf(layout, d);
            for (const auto& t : layout.terminals)
                for (int32_t c = 0; c < t.channels; ++c)
                    for (int32_t k = 0; k < t.entries; ++k)
                        d == Dir::Input ? t.terminal->setConfMappInputImage(c, k, "0")
                                        : t.terminal->setConfMappOutputImage(c, k, "0");
            ASSERT_EQ(fReCalcProgrammedConfiguration(*rail, d, false), std::nullopt);
            EXPECT_EQ(meaningOf(layout, d), stored) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace varnak::test
