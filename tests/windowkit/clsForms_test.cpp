#include "windowkit/clsForms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "tests/support/qt/qt_app.h"

using varnak::clsForms;
using varnak::ControlGeometry;
using varnak::ControlKind;
using varnak::scaleControl;
using varnak::ScaleFactors;
using varnak::scaleFactorsFor;
using varnak::scaleWindow;

TEST(FormScalingArithmetic, FactorsAgainstTheDesignScreen) {
    EXPECT_TRUE(scaleFactorsFor(QSize(1024, 768)).identity());
    ScaleFactors small = scaleFactorsFor(QSize(800, 600));
    EXPECT_FLOAT_EQ(small.fX, 0.78125f);
    EXPECT_FLOAT_EQ(small.fY, 0.78125f);
    ScaleFactors big = scaleFactorsFor(QSize(1280, 1024));
    EXPECT_FLOAT_EQ(big.fX, 1.25f);
    EXPECT_FLOAT_EQ(big.fY, 1.3333334f);
    EXPECT_TRUE(scaleFactorsFor(QSize(0, 0)).identity());  // no screen: leave windows alone
}

TEST(FormScalingArithmetic, WindowAndControlRules) {
    ScaleFactors f = scaleFactorsFor(QSize(800, 600));
    ControlGeometry w = scaleWindow({1200, 900, 6000, 4500, 0}, f);
    EXPECT_DOUBLE_EQ(w.left, 937.5);
    EXPECT_DOUBLE_EQ(w.top, 703.125);
    EXPECT_DOUBLE_EQ(w.width, 4687.5);
    EXPECT_DOUBLE_EQ(w.height, 3515.625);

    ControlGeometry label = scaleControl(ControlKind::Other, {100, 200, 300, 400, 10}, f);
    EXPECT_DOUBLE_EQ(label.fontPoints, 7.8125);
    EXPECT_DOUBLE_EQ(label.height, 312.5);

    // Fonts take the horizontal factor even where the vertical one differs.
    ScaleFactors big = scaleFactorsFor(QSize(1280, 1024));
    ControlGeometry combo = scaleControl(ControlKind::ComboBox, {100, 300, 400, 315, 8}, big);
    EXPECT_DOUBLE_EQ(combo.fontPoints, 10.0);
    EXPECT_DOUBLE_EQ(combo.height, 315);  // a combo box keeps its height
    EXPECT_DOUBLE_EQ(combo.width, 500);
    EXPECT_NEAR(combo.top, 400, 1e-3);

    ControlGeometry menu = scaleControl(ControlKind::Menu, {1, 2, 3, 4, 8}, big);
    EXPECT_DOUBLE_EQ(menu.left, 1);
    EXPECT_DOUBLE_EQ(menu.fontPoints, 8);
    ControlGeometry picture = scaleControl(ControlKind::NoFont, {100, 100, 100, 100, 8}, f);
    EXPECT_DOUBLE_EQ(picture.width, 78.125);
    EXPECT_DOUBLE_EQ(picture.fontPoints, 8);
}

TEST(FormScalingWindows, ScalesOnceAndLeavesMinimisedAndDesignScreenAlone) {
    varnak::test::ensureQtApp();
    QSize screen(1024, 768);
    clsForms forms([&] { return screen; });

    QWidget form;
    form.setGeometry(100, 100, 400, 300);
    QFont baseFont = form.font();
    baseFont.setPointSizeF(10);
    form.setFont(baseFont);
    auto* placed = new QPushButton("x", &form);
    placed->setGeometry(40, 40, 100, 20);
    auto* panel = new QWidget(&form);
    panel->setGeometry(0, 100, 200, 100);
    auto* layout = new QVBoxLayout(panel);
    auto* inLayout = new QLabel("text", panel);
    layout->addWidget(inLayout);

    forms.SetDeviceIndependentWindow(&form);
    EXPECT_EQ(form.geometry(), QRect(100, 100, 400, 300));
    EXPECT_EQ(placed->geometry(), QRect(40, 40, 100, 20));

    screen = QSize(2048, 1536);
    forms.SetDeviceIndependentWindow(&form);
    EXPECT_EQ(form.size(), QSize(800, 600));
    EXPECT_EQ(placed->geometry(), QRect(80, 80, 200, 40));
    EXPECT_DOUBLE_EQ(form.font().pointSizeF(), 10);  // the window's own font stays
    // Children inherit fonts: each is scaled once, not once per ancestor.
    EXPECT_DOUBLE_EQ(placed->font().pointSizeF(), 20);
    EXPECT_DOUBLE_EQ(inLayout->font().pointSizeF(), 20);

    form.showMinimized();
    QRect before = placed->geometry();
    forms.SetDeviceIndependentWindow(&form);
    EXPECT_EQ(placed->geometry(), before);
}

TEST(FormScalingWindows, AFormNotPlacedYetKeepsThePlatformsPlacement) {
    varnak::test::ensureQtApp();
    clsForms forms([] { return QSize(1280, 1024); });
    QWidget placed;
    placed.setGeometry(100, 100, 400, 300);
    forms.SetDeviceIndependentWindow(&placed);
    EXPECT_EQ(placed.pos(), QPoint(125, 133));
    // A dialog about to be shown for the first time: only its size follows the screen, so
    // that it still opens centred over its parent rather than in the screen's corner.
    QWidget unplaced;
    unplaced.resize(400, 300);
    forms.SetDeviceIndependentWindow(&unplaced);
    EXPECT_EQ(unplaced.size(), QSize(500, 400));
    EXPECT_FALSE(unplaced.testAttribute(Qt::WA_Moved));
}
