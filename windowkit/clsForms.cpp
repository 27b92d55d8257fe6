#include "windowkit/clsForms.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <vector>

namespace varnak {
namespace {

constexpr float kDesignWidth = 1024.0f;
constexpr float kDesignHeight = 768.0f;

ControlKind kindOf(const QWidget* w) {
    if (qobject_cast<const QMenu*>(w) || qobject_cast<const QMenuBar*>(w)) return ControlKind::Menu;
    if (qobject_cast<const QComboBox*>(w)) return ControlKind::ComboBox;
    if (auto* label = qobject_cast<const QLabel*>(w); label && label->text().isEmpty())
        return ControlKind::NoFont;
    return ControlKind::Other;
}

bool layoutHolds(QLayout* layout, const QWidget* w) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w) return true;
        if (item->layout() && layoutHolds(item->layout(), w)) return true;
    }
    return false;
}

// A child that a layout places gets its size from the layout, not from us.
bool placedByLayout(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    return parent && parent->layout() && layoutHolds(parent->layout(), w);
}

QSize primaryScreenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

}  // namespace

ScaleFactors scaleFactorsFor(QSize screen) {
    if (screen.width() <= 0 || screen.height() <= 0) return {};
    return {static_cast<float>(screen.width()) / kDesignWidth,
            static_cast<float>(screen.height()) / kDesignHeight};
}

ControlGeometry scaleWindow(const ControlGeometry& g, ScaleFactors f) {
    ControlGeometry r = g;
    r.left = static_cast<float>(g.left) * f.fX;
    r.top = static_cast<float>(g.top) * f.fY;
    r.width = static_cast<float>(g.width) * f.fX;
    r.height = static_cast<float>(g.height) * f.fY;
    return r;
}

ControlGeometry scaleControl(ControlKind kind, const ControlGeometry& g, ScaleFactors f) {
    ControlGeometry r = g;
    auto font = [&] {
        if (g.fontPoints > 0) r.fontPoints = static_cast<float>(g.fontPoints) * f.fX;
    };
    switch (kind) {
        case ControlKind::Menu:
            return r;
        case ControlKind::ComboBox:
            font();
            r.left = static_cast<float>(g.left) * f.fX;
            r.top = static_cast<float>(g.top) * f.fY;
            r.width = static_cast<float>(g.width) * f.fX;
            return r;
        case ControlKind::NoFont:
            r = scaleWindow(g, f);
            r.fontPoints = g.fontPoints;
            return r;
        case ControlKind::Other:
            r = scaleWindow(g, f);
            font();
            return r;
    }
    return r;
}

clsForms::clsForms(ScreenSizeSource source) : source_(std::move(source)) {}

ScaleFactors clsForms::factors() const {
    return scaleFactorsFor(source_ ? source_() : primaryScreenSize());
}

void clsForms::SetDeviceIndependentWindow(QWidget* form) const {
    if (!form) return;
    ScaleFactors f = factors();
    if (f.identity()) return;
    if (form->isMinimized()) return;

    // Every value is read before anything is written: fonts inherit from their parents,
    // so scaling one widget while reading the next would scale the children twice.
    struct Entry {
        QWidget* widget;
        ControlKind kind;
        bool laidOut;
        ControlGeometry before;
    };
    std::vector<Entry> entries;
    for (QWidget* child : form->findChildren<QWidget*>()) {
        if (child->isWindow()) continue;  // dialogs and popups owned by the form
        QRect rect = child->geometry();
        QFont font = child->font();
        entries.push_back({child,
                           kindOf(child),
                           placedByLayout(child),
                           {double(rect.x()), double(rect.y()), double(rect.width()),
                            double(rect.height()), font.pointSizeF()}});
    }

    if (!form->isMaximized()) {
        QRect frame = form->geometry();
        ControlGeometry w = scaleWindow({double(frame.x()), double(frame.y()),
                                         double(frame.width()), double(frame.height()), 0},
                                        f);
        // A form nobody placed yet keeps the platform's placement (a dialog centred over
        // its parent); scaling its unset position would pin it to the screen's corner.
        if (form->testAttribute(Qt::WA_Moved))
            form->setGeometry(int(std::lround(w.left)), int(std::lround(w.top)),
                              int(std::lround(w.width)), int(std::lround(w.height)));
        else
            form->resize(int(std::lround(w.width)), int(std::lround(w.height)));
    }

    for (const Entry& e : entries) {
        ControlGeometry s = scaleControl(e.kind, e.before, f);
        if (s.fontPoints > 0 && s.fontPoints != e.before.fontPoints) {
            QFont font = e.widget->font();
            font.setPointSizeF(s.fontPoints);
            e.widget->setFont(font);
        }
        if (e.laidOut || e.kind == ControlKind::Menu) continue;
        e.widget->setGeometry(int(std::lround(s.left)), int(std::lround(s.top)),
                              int(std::lround(s.width)), int(std::lround(s.height)));
    }
}

clsForms& VarnakForms() {
    static clsForms forms;
    return forms;
}

}  // namespace varnak
