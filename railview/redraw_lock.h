#pragma once
// Holds a window's redraw while its cells move, so that it is drawn once afterwards;
// released on every way out of the scope, also by an exception.
#include <QWidget>

namespace varnak {

class RedrawLock {
  public:
    explicit RedrawLock(QWidget& window) : window_(window), before_(window.updatesEnabled()) {
        window_.setUpdatesEnabled(false);
    }
    ~RedrawLock() { window_.setUpdatesEnabled(before_); }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

  private:
    QWidget& window_;
    bool before_;
};

}  // namespace varnak
