#include <QApplication>

#include "app/main_window_placeholder.h"
#include "model/app_context.h"
#include "model/clsCommon.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    varnak::AppContext context;
    varnak::ContextScope scope(context);
    context.VarnakCommon = std::make_shared<varnak::clsCommon>(context, argv[0]);
    varnak::MainWindowPlaceholder window;
    window.show();
    int result = application.exec();
    context.VarnakCommon.reset();
    return result;
}
