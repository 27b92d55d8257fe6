// The rail window offscreen on a project and the simulated station: rebuilds on opening,
// online and offline, layouts from a changed position, scrolling and resizing, the
// pictures and their placeholder, and the terminal-bus current check.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <cmath>

#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "railview/QzTerm.h"
#include "railview/frmCouplerDisplay.h"
#include "tests/support/description_damage.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

namespace fs = std::filesystem;

std::string text(QLabel* label) {
    return label->text().toStdString();
}

TEST(RailCell, ANewCellStacksItsChildrenWhenItsSizeChanges) {
    ensureQtApp();
    QzTerm cell;
    EXPECT_EQ(text(cell.QzCtlPosNrViewLayer()), "ViewLayer");
    EXPECT_EQ(text(cell.QzCtlPosNrHardwareLayer()), "HardwareLayer");
    EXPECT_EQ(text(cell.QzCtlType()), "Type");
    EXPECT_EQ(text(cell.QzCtlInfo()), "");
    EXPECT_FALSE(cell.QzCtlTermPic()->hasPicture() || cell.QzCtlTermPic()->showsPlaceholder());
    const double t = railTwipsPerPixel(cell);
    auto px = [t](double twips) { return static_cast<int>(std::lround(twips / t)); };
    cell.resize(100, 700);
    cell.show();
    EXPECT_EQ(cell.QzCtlPosNrViewLayer()->y(), px(200));
    EXPECT_EQ(cell.QzCtlTermPic()->y(), px(200) + 2 * px(375));  // 950 twips
    const int typeTop = cell.QzCtlType()->y();
    EXPECT_EQ(typeTop, cell.QzCtlTermPic()->y() + px(5000) + px(200));
    // The container's picture height moves the texts at the next size change only.
    cell.QzCtlTermPic()->resize(100, 100);
    EXPECT_EQ(cell.QzCtlType()->y(), typeTop);
    cell.resize(120, 700);
    EXPECT_EQ(cell.QzCtlType()->y(), cell.QzCtlTermPic()->y() + 100 + px(200));
    EXPECT_EQ(cell.QzCtlInfo()->y(), cell.QzCtlType()->y() + px(375) + px(200));
}

class RailWindow : public RailFixture {
  protected:
    explicit RailWindow(std::vector<std::string> terminals = {"QT3002-0000", "QT1002-0000",
                                                              "QT3002-0000", "QT1002-0000",
                                                              "QT9010-0000"},
                        std::string coupler = "QZ3100-0000")
        : RailFixture({std::move(coupler), std::move(terminals)}) {
        fs::copy(platform::resourceDir() / "Graph", resources() / "Graph",
                 fs::copy_options::recursive);
        context.VarnakCommon->setCheckCurrentKBus(false);
    }
    // A terminal type of the test's own: its picture, figure and current.
    void describe(const std::string& type, const std::string& picture, int figure, int current) {
        writeFile(resources() / "Terminal" / (type + ".INI"),
                  "[Common]\nName=" + type + "\nPicture=" + picture + "\nPicSize=" +
                      std::to_string(figure) + "\nCurrentKBus=" + std::to_string(current) +
                      "\n\n[RegValue_Table0]\nReg10=0x0201\nReg11=0x0201\nReg12=0x0001\n");
    }
    void insert(const std::string& type, int position, int count) {
        auto terminals = rail()->clsColTerminals();
        ASSERT_EQ(terminals->Add(type, position, count, rail()->ConfSymbolicID()), kStoreOk);
    }
    // Goes online with a station rail of the fixture's coupler and that many terminals.
    std::shared_ptr<clsCoupler> goOnlineWith(int terminals) {
        auto online = std::make_shared<clsCoupler>();
        ignoreLoadResult(online->ConfRetrieveData(
            platform::joinPath({resources().string(), "Coupler", spec.coupler + ".INI"})));
        EXPECT_EQ(
            online->clsColTerminals()->Add("QT1002-0000", 1, terminals, online->ConfSymbolicID()),
            kStoreOk);
        context.VarnakOnlineCoupler = online;
        EXPECT_EQ(project->setOnline(true), kStoreOk);
        return online;
    }
    QzTerm* cell(int i) { return window->QzPicPos().at(static_cast<size_t>(i)); }
    std::vector<int> shownCells() {
        std::vector<int> out;
        for (size_t i = 0; i < window->QzPicPos().size(); ++i)
            if (!window->QzPicPos()[i]->isHidden()) out.push_back(static_cast<int>(i));
        return out;
    }
    std::vector<int> lefts() {
        std::vector<int> out;
        for (QzTerm* c : window->QzPicPos()) out.push_back(c->x());
        return out;
    }
    void openWindow() {
        window = std::make_unique<frmCouplerDisplay>();
        window->resize(1000, 600);
        window->show();
    }
    std::unique_ptr<frmCouplerDisplay> window;
};

TEST_F(RailWindow, OfflineTheRowFollowsTheProjectWithoutTouchingTheWire) {
    connectStation();
    station->setRegister(0, 0, 246, 2);
    openWindow();
    EXPECT_EQ(shownCells(), std::vector<int>{0});  // nothing drawn before the first rebuild
    EXPECT_EQ(text(cell(0)->QzCtlType()), "");

    // Opening the project rebuilds; the stored register 246 counts, the station's does not.
    rail()->clsColTables()->Item(0)->setConfRegisterValue(246, 0x0120);
    rail()->clsColTables()->Item(0)->setValueChanged(false);
    ASSERT_EQ(project->fOpenProject("Werk", (dir / "Werk.PF").string(), dir.str()), kStoreOk);
    EXPECT_EQ(shownCells(), std::vector<int>{});  // its rail is not loaded yet
    railFromDisk();
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    rail()->clsColTables()->Item(0)->setConfRegisterValue(246, 0x0120);
    window->HvrCouplers_InfoColCouplersChanged();
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(text(cell(0)->QzCtlType()), "QZ3100-0000");
    EXPECT_EQ(text(cell(0)->QzCtlPosNrViewLayer()), "0");
    EXPECT_EQ(text(cell(0)->QzCtlPosNrHardwareLayer()), "");
    EXPECT_EQ(text(cell(0)->QzCtlInfo()), "");
    EXPECT_EQ(text(cell(2)->QzCtlType()), "QT1002\n0000");
    EXPECT_EQ(text(cell(2)->QzCtlPosNrViewLayer()), "2");
    EXPECT_EQ(cell(2)->shownTerminal(), rail()->clsColTerminals()->ItemPos(2));
    EXPECT_TRUE(cell(2)->QzCtlTermPic()->hasPicture());
    EXPECT_EQ(cell(1)->x(), cell(0)->width());  // design screen: 2200 twips
    EXPECT_EQ(cell(0)->width(), std::lround(2200 / railTwipsPerPixel(*window)));
    EXPECT_FALSE(window->hsbRailView->isVisible());

    // Removing the last drawn terminal hides its cell; a rail without terminals shows the
    // coupler alone, and no rail at all nothing.
    rail()->clsColTables()->Item(0)->setConfRegisterValue(246, 0);
    rail()->clsColTerminals()->Remove(5);
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 3, 4}));
    for (int p = 4; p >= 1; --p) rail()->clsColTerminals()->Remove(p);
    EXPECT_EQ(shownCells(), std::vector<int>{0});
    project->clsColCouplers()->fDropColCouplers();
    EXPECT_EQ(shownCells(), std::vector<int>{});
    EXPECT_FALSE(rail());

    EXPECT_EQ(wireLog(*station), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RailWindow, AnInsertLaysOutFromItsPositionAlsoWhenScrolled) {
    railFromDisk();
    openWindow();
    window->HvrProject_ProjectStateChange(6);
    window->resize(250, 600);
    ASSERT_TRUE(window->hsbRailView->isVisible());
    window->hsbRailView->setValue(50);
    const std::vector<int> before = lefts();
    ASSERT_LT(before[0], 0);

    insert("QT2002-0000", 3, 2);
    std::vector<int> after = lefts();
    ASSERT_EQ(after.size(), 8u);
    EXPECT_EQ(std::vector<int>(after.begin(), after.begin() + 3),
              std::vector<int>(before.begin(), before.begin() + 3));
    EXPECT_EQ(after[3], before[3]);
    EXPECT_EQ(text(cell(3)->QzCtlType()), "QT2002\n0000");
    EXPECT_EQ(text(cell(5)->QzCtlType()), "QT3002\n0000");
    EXPECT_EQ(after[7], after[6] + cell(6)->width());

    // A resize to the row's width and 100 twips more hides the bar and resets the row.
    const double t = railTwipsPerPixel(*window);
    window->resize(static_cast<int>((window->geometry().rowTotal(7)) / t) + 1, 600);
    EXPECT_FALSE(window->hsbRailView->isVisible());
    EXPECT_EQ(cell(0)->x(), 0);
    EXPECT_EQ(lefts()[7], lefts()[6] + cell(6)->width());
    // The cells reach down to the scroll strip.
    EXPECT_EQ(cell(3)->y() + cell(3)->height(), window->picScroll->y());
}

TEST_F(RailWindow, UnreadablePicturesGiveAFramedPlaceholderNeverAStaleOne) {
    railFromDisk();
    openWindow();
    window->HvrProject_ProjectStateChange(2);
    ASSERT_TRUE(cell(1)->QzCtlTermPic()->hasPicture());
    writeFile(resources() / "Graph" / "broken.png", "not a picture");
    describe("QT7001-0000", "broken.png", 2, -5);
    describe("QT7002-0000", "", 2000, -5);
    fs::remove(resources() / "Graph" / "QTdummy.png");
    insert("QT7001-0000", 1, 1);
    insert("QT7002-0000", 2, 1);
    for (int i : {1, 2}) {
        TermPicture* picture = cell(i)->QzCtlTermPic();
        EXPECT_FALSE(picture->hasPicture());
        EXPECT_TRUE(picture->showsPlaceholder());
        EXPECT_EQ(picture->placeholderText().toStdString(), "QT700" + std::to_string(i) + "-0000");
    }
    EXPECT_EQ(cell(2)->width(), std::lround(16 * 600 / railTwipsPerPixel(*window)));
    EXPECT_TRUE(cell(3)->QzCtlTermPic()->hasPicture());
}

TEST_F(RailWindow, ACellShowsOnlyWhileItHasATerminalAndKeepsNothingOfAnEarlierOne) {
    // Two of the five terminal files damaged: the row shows the other three, counted through.
    const fs::path folder = dir / "Werk.PF" / "Linie 1.CF";
    DescriptionDamage cut(folder / "C001T001.TCF");
    DescriptionDamage noise(folder / "C001T004.TCF");
    cut.cutTo(700);
    noise.randomBytes(4);
    railFromDisk();
    ui.messages.clear();
    openWindow();
    window->HvrProject_ProjectStateChange(2);
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 3}));
    const char* types[] = {"QT1002\n0000", "QT3002\n0000", "QT9010\n0000"};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(cell(i)->shownTerminal(), rail()->clsColTerminals()->ItemPos(i));
        EXPECT_EQ(text(cell(i)->QzCtlPosNrViewLayer()), std::to_string(i));
        EXPECT_EQ(text(cell(i)->QzCtlType()), types[i - 1]);
    }

    // A position left without a terminal hides its cell and empties it.
    rail()->clsColTerminals()->ItemPos(2)->setConfRailPosition(9);
    window->fRailLayout(1);
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 3}));
    auto empty = [&](int i) {
        return !cell(i)->shownTerminal() && text(cell(i)->QzCtlType()).empty() &&
               text(cell(i)->QzCtlPosNrViewLayer()).empty() &&
               !cell(i)->QzCtlTermPic()->hasPicture() &&
               !cell(i)->QzCtlTermPic()->showsPlaceholder();
    };
    EXPECT_TRUE(empty(2));
    // An insert moves the empty place on; no cell keeps the picture it had, and neither a
    // resize nor scrolling shows the empty cell again.
    insert("QT2002-0000", 1, 1);
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_TRUE(empty(3));
    EXPECT_EQ(text(cell(2)->QzCtlType()), "QT1002\n0000");
    window->resize(250, 600);
    window->hsbRailView->setValue(50);
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_TRUE(ui.messages.empty());
}

class RailCurrent : public RailWindow {
  protected:
    RailCurrent() : RailWindow({}) {}
};

TEST_F(RailCurrent, TheCheckWarnsInGermanOncePerChangeAndOnlyWhenOn) {
    context.VarnakCommon->setLanguageType(1);
    describe("QT7400-0000", "QT1002-0000.png", 2, -400);
    openWindow();
    window->HvrProject_ProjectStateChange(2);
    insert("QT7400-0000", 1, 6);
    EXPECT_TRUE(ui.messages.empty());

    context.VarnakCommon->setCheckCurrentKBus(true);
    insert("QT7400-0000", 1, 1);
    insert("QT1002-0000", 8, 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Zu große Stromaufnahme vom KBus !\r\n\r\nPosition: 5\r\n\r\n"
              "Bitte eine QT9400-0000 einfügen !");
    EXPECT_EQ(ui.messages[0].style, vbExclamation);
    EXPECT_EQ(ui.messages[0].title, "Varnak");
    rail()->clsColTerminals()->Remove(8);
    for (int p = 7; p >= 5; --p) rail()->clsColTerminals()->Remove(p);
    EXPECT_EQ(ui.messages.size(), 5u);     // still short at 5 until the fifth one goes
    rail()->clsColTerminals()->Remove(4);  // 1750 - 4 x 400 = 150
    EXPECT_EQ(ui.messages.size(), 5u);
}

TEST_F(RailWindow, OnlineTheRowShowsTheStationAndOfflineAgainTheProject) {
    connectStation();
    station->setRegister(0, 0, 246, 32);
    railFromDisk();
    openWindow();
    window->HvrProject_ProjectStateChange(2);
    station->clearRequests();

    auto online = goOnlineWith(3);
    EXPECT_EQ(window->objActiveCoupler, online);
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2}));  // the station's last has no cell
    EXPECT_EQ(text(cell(0)->QzCtlInfo()), "Firmware: 0x0B02\n\n\nStationNr: 3\n");
    online->clsColTerminals()->Remove(3);  // a terminal change reads register 246 alone
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(
        matchesGolden(wireLog(*station), testSourcePath("railview/wire_golden/online.txt")));

    station->clearRequests();
    EXPECT_EQ(project->setOnline(false), kStoreOk);
    EXPECT_EQ(window->objActiveCoupler, rail());
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(text(cell(0)->QzCtlInfo()), "");
    online->clsColTerminals()->Remove(1);  // no longer listened to
    EXPECT_EQ(shownCells(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(wireLog(*station), "");
    EXPECT_FALSE(rail()->clsColTables()->Item(0)->ValueChanged());
}

class RailWindowQZ5100 : public RailWindow {
  protected:
    RailWindowQZ5100() : RailWindow({"QT1002-0000"}, "QZ5100-0000") {}
};

TEST_F(RailWindowQZ5100, TheDipSwitchLinesNameTheBaudRateOfTheSwitchedSetting) {
    connectStation();
    openWindow();
    goOnlineWith(1);
    // DIP 0x45: station 5, switch 7 on: the second setting, code 3 in register 35.
    EXPECT_EQ(text(cell(0)->QzCtlInfo()),
              "Firmware: 0x0B02\n\n\nDip:    10100010  ( 69)\nStation :    5\n"
              "Baudrate:    1\n  250");
    context.VarnakCommon = std::make_shared<clsCommon>(context, "/opt/VarnakPLW");
    window->HvrCouplers_InfoColCouplersChanged();
    EXPECT_EQ(text(cell(0)->QzCtlInfo()), "");
}

}  // namespace
}  // namespace varnak::test
