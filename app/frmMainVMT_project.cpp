// The main window's project side: the start project it remembers and offers again, the
// captions of the window and its menus in the current language, and the menu state that
// follows the project and the access level.
#include <QAction>
#include <QApplication>
#include <QTreeWidget>

#include "app/frmMainVMT.h"
#include "app/frmRailOpen.h"
#include "app/menu_texts.h"
#include "app/resource_folder.h"
#include "app/shell_texts.h"
#include "app/unsaved_rail.h"
#include "model/app_context.h"
#include "model/basFiles.h"
#include "model/basLookup.h"
#include "model/clsColCouplers.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "windowkit/dialog_support.h"

namespace varnak {

void frmMainVMT::fGetStartProject() {
    startProject_ = readStartProject(*context_.settings);
    QAction* entry = menuItem(MainMenu::Project, kRememberedProjectItem);
    auto caption = startProjectCaption(startProject_);
    entry->setVisible(caption.has_value());
    if (caption) entry->setText(qText(*caption));
}

void frmMainVMT::fSaveStartProject() {
    auto project = gfVarnakProject();
    OpenProjectState state;
    std::shared_ptr<clsCoupler> rail;
    state.hasActiveRail = gfGetActiveCoupler(rail) && rail;
    state.online = project->Online();
    if (rail) state.railName = rail->ConfSymbolicName();
    state.projectName = project->ProjektName();
    state.projectPath = project->FullPathProject();
    state.projectFolder = project->FullPathProjectFolder();
    fSaveStartProject(state);
}

void frmMainVMT::fProjectStateChanged(int32_t state) {
    switch (state) {
        case kProjectOpening:
            fFillTreeView();
            break;
        case kProjectOpen:
            fFillTreeView();
            fSetMainCaption(kProjectOpen);
            break;
        case kProjectDeleted:
            fSetMainCaption(kProjectDeleted);
            break;
        case 6:  // a state the project never sets
            fSetMainCaption(6);
            fFillTreeView();
            break;
        default:
            break;
    }
}

void frmMainVMT::fOpenRememberedProject() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RememberedProjectPlan plan = planRememberedProject(startProject_);
    if (plan.openProject) {
        auto project = gfVarnakProject();
        const std::string title = context_.text(kTxtProjectOpenMessageTitle);
        const auto opened = takeRoadDroppingLoadedRail(
            [&] {
                return project->fOpenProject(startProject_.ProjectName, startProject_.ProjectPath,
                                             startProject_.ProjectFolder);
            },
            title);
        if (opened && *opened != kStoreOk) {
            context_.ui->messageBox(storeResultMessage(*opened), vbCritical, title);
        } else if (opened && plan.openRail) {
            showRailOpenResult(
                project->clsColCouplers()->fOpenCoupler(plan.railFolder, plan.railFile),
                plan.railFile);
        }
    }
    fFillTreeView();
    tvTreeView->setFocus();
    QApplication::restoreOverrideCursor();
}

void frmMainVMT::fSaveStartProject(const OpenProjectState& state) {
    if (auto changed = startProjectToRemember(startProject_, state)) {
        writeStartProject(*context_.settings, *changed);
        fGetStartProject();
    }
}

void frmMainVMT::fSetMainCaption(int projectState) {
    int base = kEditionBlockSize * (context_.VarnakCommon ? context_.VarnakCommon->CompanyID() : 0);
    if (projectState == kProjectOpen) {
        std::string title = context_.text(base + kTxtEditionTitle) +
                            context_.text(base + kTxtEditionProductName) + std::string(9, ' ');
        setWindowTitle(qText(title + std::string(16, ' ') + context_.text(kTxtProjectCaption) +
                             gfVarnakProject()->ProjektName()));
    }
    applyMenuChanges(projectStateMenuChanges(projectState));
}

void frmMainVMT::fSetMenuState() {
    const int32_t level = context_.VarnakCommon ? context_.VarnakCommon->AccessLevel() : 0;
    MenuState state = menuStateFor(level, gfVarnakProject()->Online());
    applyMenuChanges(state.items);
    for (const ToolbarStateChange& t : state.toolbar)
        toolbarButton(t.position)->setEnabled(t.enabled);
}

void frmMainVMT::fLanguageChanged(int32_t) {
    if (context_.VarnakCommon) context_.LanguageNr = context_.VarnakCommon->LanguageType();
    const std::filesystem::path help = shellResourceFolder(context_) / "Help";
    std::string candidate = platform::joinPath(
        {help.string(), context_.LanguageNr == 1 ? "Varnak_en.html" : "Varnak_de.html"});
    helpFile_ = gfFileExists(platform::resolveCaseInsensitive(candidate).string())
                    ? platform::resolveCaseInsensitive(candidate).string()
                    : platform::joinPath({help.string(), "Varnak_xx.html"});

    int base = kEditionBlockSize * (context_.VarnakCommon ? context_.VarnakCommon->CompanyID() : 0);
    setWindowTitle(qText(context_.text(base + kTxtEditionTitle) + std::string(9, ' ') +
                         context_.text(base + kTxtEditionProductName) + std::string(9, ' ')));
    for (const CaptionEntry& c : menuCaptionIds())
        menuItem(c.menu, c.index)->setText(qText(context_.text(c.textId)));
    // The right click sets the coupler popup's items again before every display.
    menuItem(MainMenu::PopupCoupler, 5)->setEnabled(false);
    for (const ToolbarButtonSpec& b : toolbarButtons()) {
        if (b.action != ToolbarAction::None)
            toolbarButton(b.position)->setToolTip(qText(toolbarToolTip(b)));
    }
    fFillTreeView();
}

}  // namespace varnak
