#pragma once
#include <QMainWindow>

namespace varnak {

// Stands in for the main window until the shell is built.
class MainWindowPlaceholder : public QMainWindow {
    Q_OBJECT
  public:
    MainWindowPlaceholder();
};

}  // namespace varnak
