#include "app/main_window_placeholder.h"

namespace varnak {

MainWindowPlaceholder::MainWindowPlaceholder() {
    setWindowTitle("Varnak");
    resize(800, 600);
}

}  // namespace varnak
