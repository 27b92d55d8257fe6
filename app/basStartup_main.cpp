#include <QApplication>

#include "app/basStartup.h"
#include "app/frmMainVMT.h"
#include "app/projects_folder.h"
#include "app/qt_ui_services.h"
#include "app/single_instance_lock.h"
#include "app/startup_sequence.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "windowkit/shared_texts.h"

namespace varnak {

int Main(int argc, char** argv) {
    // A second copy ends before it shows or touches anything.
    SingleInstanceLock instance(instanceLockFile());
    if (!instance.acquired()) return 0;

    QApplication application(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    QtUiServices ui;  // outlives the context that refers to it
    AppContext context;
    ContextScope scope(context);
    context.ui = &ui;
    context.VarnakProject = makeProgramProject();
    try {
        context.VarnakCommon = std::make_shared<clsCommon>(context, argv[0]);
        context.LanguageNr = context.VarnakCommon->LanguageType();
    } catch (...) {
        // The program runs with the defaults of the settings it could not read.
    }
    gfReadCommandLine(commandLineArguments(argc, argv), context);

    int result;
    {
        std::unique_ptr<frmMainVMT> window = runStartupWindows(context, &ui, {});
        result = application.exec();
    }
    // The settings object stores the language as it goes.
    context.VarnakCommon.reset();
    return result;
}

}  // namespace varnak
