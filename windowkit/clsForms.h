#pragma once
// Screen-independent scaling of windows laid out for a design screen of 1024 x 768
// pixels.
//
// How it meets Qt: a window built with layouts gets its own geometry and every widget's
// font scaled; the layouts then place the children. A child that no layout manages (an
// absolutely placed control) also gets its position and size scaled by the rule of its
// kind. All of this happens in SetDeviceIndependentWindow, the one place where scaling is
// applied; the arithmetic below is plain and tested on its own.
#include <QSize>
#include <functional>

class QWidget;

namespace varnak {

struct ScaleFactors {
    float fX = 1.0f;
    float fY = 1.0f;
    bool identity() const { return fX == 1.0f && fY == 1.0f; }
};

// The factors for a screen of that many pixels against the design screen.
ScaleFactors scaleFactorsFor(QSize screenPixels);

// What a control's kind lets the scaling change.
enum class ControlKind {
    ComboBox,  // position, width and font; the height stays
    Menu,      // left alone
    NoFont,    // pictures: moved and sized only
    Other,     // text boxes, labels, check boxes, buttons, containers, ...
};

struct ControlGeometry {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double fontPoints = 0;  // 0: the control has no font of its own
};

// The scaled values of one control by the rule of its kind.
ControlGeometry scaleControl(ControlKind kind, const ControlGeometry& g, ScaleFactors f);
// The scaled values of a window: position and size; the window's font stays.
ControlGeometry scaleWindow(const ControlGeometry& g, ScaleFactors f);

class clsForms {
  public:
    using ScreenSizeSource = std::function<QSize()>;

    // Without a source the primary screen's size in pixels is used.
    explicit clsForms(ScreenSizeSource source = {});

    // Scales the window and its widgets once; call it once per window, before showing it.
    // A second call scales again. A minimised window is left as it is.
    void SetDeviceIndependentWindow(QWidget* form) const;

    ScaleFactors factors() const;
    void setScreenSizeSource(ScreenSizeSource source) { source_ = std::move(source); }

  private:
    ScreenSizeSource source_;
};

// The program's one form helper (VarnakForms), created on first use.
clsForms& VarnakForms();

}  // namespace varnak
