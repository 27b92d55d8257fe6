#include "app/startup_sequence.h"

#include <QApplication>
#include <QTreeWidget>

#include "app/description_cleanup.h"
#include "app/frmMainVMT.h"
#include "app/frmSplash.h"
#include "app/resource_folder.h"
#include "model/app_context.h"
#include "model/clsCommon.h"

namespace varnak {

std::unique_ptr<frmMainVMT> runStartupWindows(AppContext& context, QtUiServices* ui,
                                              const StartupOptions& options) {
    auto splash = std::make_unique<frmSplash>(context);
    splash->show();
    splash->raise();
    context.ui->pumpEvents();

    auto main = std::make_unique<frmMainVMT>(context, ui);
    main->show();

    if (context.VarnakCommon) {
        gfMigrateDescriptionFiles(*context.registry, context.VarnakCommon->CompanyRegKey(),
                                  shellResourceFolder(context));
    }

    SecondsClock clock = options.clock ? options.clock : steadySecondsClock();
    waitWhileLessThan(options.splashSeconds, clock, [&] {
        splash->raise();  // stays above windows that come to the front meanwhile
        context.ui->pumpEvents();
    });

    splash->close();
    splash.reset();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    main->setEnabled(true);
    main->activateWindow();
    main->tvTreeView->setFocus();
    return main;
}

}  // namespace varnak
