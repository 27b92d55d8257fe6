#pragma once
// A project with one rail for the report tests: a coupler with changed and unchanged
// registers in tables 0, 1 and 100, and seven terminals of four types, some of them with
// changed channel registers.
#include <string>

#include "tests/model/project_fixture.h"

namespace varnak::test {

class ReportFixture : public ProjectFixture {
  public:
    // Language 0 German, 1 English; the rail reads its descriptions in that language.
    void buildRail(int language) {
        context().LanguageNr = language;
        context().LanguageBase = static_cast<int16_t>(language * 2000);
        ASSERT_EQ(newProject("Plant"), kStoreOk);
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "Line1"), kStoreOk);
        rail()->setUserInfoDescription("Hall 2, cabinet 4");
        const char* row[] = {"QT1002-0000", "QT3002-0000", "QT4002-0000", "QT1002-0000",
                             "QT3002-0000", "QT6001-0000", "QT3002-0000"};
        int position = 1;
        for (const char* name : row)
            ASSERT_EQ(terminals()->Add(name, position++, 1, rail()->ConfSymbolicID()), kStoreOk);
        auto coupler = rail()->clsColTables();
        coupler->Item(0)->setConfRegisterValue(5, 0x42);
        coupler->Item(0)->setConfRegisterValue(200, 0xABCD);
        coupler->Item(100)->setConfRegisterValue(5, 6);  // description: 5
        auto second = terminals()->ItemPos(2)->clsColTables();
        second->Item(0)->setConfRegisterValue(32, 7);  // description: 5
        second->Item(0)->setConfRegisterValue(8, 0x8000);
        second->Item(1)->setConfRegisterValue(17, 1);  // left out of the comparison
        second->Item(1)->setConfRegisterValue(18, 2);
        terminals()->ItemPos(5)->clsColTables()->Item(1)->setConfRegisterValue(63, 0);
    }
};

}  // namespace varnak::test
