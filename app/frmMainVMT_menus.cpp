// The main window's menu handlers, tree navigation and tree popups.
#include <QApplication>
#include <QMenu>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/basComDlg32.h"
#include "app/frmMainVMT.h"
#include "app/menu_state_rules.h"
#include "app/menu_texts.h"
#include "app/report_printer.h"
#include "app/tree_navigation.h"
#include "app/tree_popup_menus.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "platform/unexamined_result.h"
#include "windowkit/dialog_openers.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

// Coupler types whose description file the export writes.
bool exportsGsd(const std::string& typeName) {
    const std::string six = typeName.substr(0, 6);
    for (const char* t : {"QZ3000", "QZ3010", "QZ3100", "QZ3110", "QY3100"}) {
        if (six == t) return true;
    }
    return false;
}

void reportStoreFailure(int32_t result) {
    if (result == kStoreOk) return;
    AppContext& c = varnak();
    c.ui->messageBox(storeResultMessage(result), vbCritical, kProgramTitle);
}

void underConstruction(int style) {
    varnak().ui->messageBox(kUnderConstruction, style, kProgramTitle);
}

}  // namespace

void frmMainVMT::afterMenuAction() {
    tvTreeView->setFocus();
}

void frmMainVMT::printerSetup() {
    if (printerSetup_) {
        printerSetup_();
        return;
    }
    // The program's report printer, so that what the user chooses here (a printer, or a
    // PDF file on a machine without one) is what the reports and the rail picture print on.
    reportPrinter().runDialog(this, true);
}

const std::vector<frmMainVMT::MenuCommand>& frmMainVMT::menuCommands() {
    using M = MainMenu;
    using W = frmMainVMT;
    static const std::vector<MenuCommand> commands{
        {M::Project, 1, [](W&) { dialogOpeners().frmProjNew_Show(); }},
        {M::Project, 2,
         [](W& w) {
             failureAlreadyShown(gfOpenProjectFile());
             w.fSaveStartProject();
         }},
        {M::Project, 3, [](W&) { dialogOpeners().frmProjDel_Show(); }},
        {M::Project, 5,
         [](W&) {
             std::shared_ptr<clsCoupler> rail;
             if (gfGetActiveCoupler(rail) && rail) reportStoreFailure(rail->ConfSaveData());
         }},
        {M::Project, 9,
         [](W&) {
             std::shared_ptr<clsCoupler> rail;
             if (gfGetActiveCoupler(rail) && rail && exportsGsd(rail->InfoName())) gfSaveGsdFile();
         }},
        {M::Project, 11, [](W& w) { w.printerSetup(); }},
        {M::Project, 12, [](W& w) { w.fShowReportSelection(); }},
        {M::Project, kRememberedProjectItem, [](W& w) { w.fOpenRememberedProject(); }},
        {M::Project, kExitItem, [](W& w) { w.close(); }},
        {M::Online, 1, [](W& w) { w.goOnlineIfGranted(); }},
        {M::Online, 2, [](W& w) { w.fGoOnline(false); }},
        {M::Online, 4, [](W&) { dialogOpeners().frmProcData_fConstructor(); }},
        {M::Online, 12, [](W&) { gfFirmwareLoad(); }},
        {M::OnlineTerminal, 0, [](W&) { gfOpenTerminalScript(); }},
        {M::OnlineCoupler, 0, [](W&) { dialogOpeners().frmCouplerFunctions_Show(); }},
        {M::OnlineCoupler, 2, [](W&) { gfOpenCouplerScript(); }},
        {M::OnlineCoupler, 5, [](W&) { gfFirmwareUpdate(); }},
        {M::RimTalk, 0, [](W&) { dialogOpeners().frmRimTalkQZ3xxx_Show(); }},
        {M::RimTalk, 2, [](W&) { dialogOpeners().frmRimTalkDebug_Show(); }},
        {M::Option, 1, [](W&) { dialogOpeners().frmComParam_Show(); }},
        {M::Language, 0, [](W& w) { w.setLanguage(0); }},
        {M::Language, 1, [](W& w) { w.setLanguage(1); }},
        {M::Help, 1, [](W& w) { w.fShowHelpContents(false); }},
        {M::Help, 5, [](W&) { dialogOpeners().frmAbout_Show(); }},
    };
    return commands;
}

void frmMainVMT::runBarCommand(MainMenu menu, int index) {
    for (const MenuCommand& c : menuCommands()) {
        if (c.menu != menu || c.index != index) continue;
        c.run(*this);
        // Exit leaves nothing to return the focus to.
        if (menu == MainMenu::Project && index == kExitItem) return;
        break;
    }
    afterMenuAction();
}

void frmMainVMT::setLanguage(int language) {
    if (context_.VarnakCommon)
        context_.VarnakCommon->setLanguageType(static_cast<int16_t>(language));
}

void frmMainVMT::mnuProjectItem_Click(int index) {
    runBarCommand(MainMenu::Project, index);
}
void frmMainVMT::mnuOnlineItem_Click(int index) {
    runBarCommand(MainMenu::Online, index);
}
void frmMainVMT::mnuOnlineTerminalItem_Click(int index) {
    runBarCommand(MainMenu::OnlineTerminal, index);
}
void frmMainVMT::mnuOnlineCouplerItem_Click(int index) {
    runBarCommand(MainMenu::OnlineCoupler, index);
}
void frmMainVMT::mnuRimTalkItem_Click(int index) {
    runBarCommand(MainMenu::RimTalk, index);
}
void frmMainVMT::mnuOptionItem_Click(int index) {
    runBarCommand(MainMenu::Option, index);
}
void frmMainVMT::mnuLanguageItem_Click(int index) {
    runBarCommand(MainMenu::Language, index);
}
void frmMainVMT::mnuHelpItem_Click(int index) {
    runBarCommand(MainMenu::Help, index);
}

std::string frmMainVMT::selectedKey() const {
    QTreeWidgetItem* item = tvTreeView->currentItem();
    return item ? item->data(0, Qt::UserRole).toString().toStdString() : std::string();
}

bool frmMainVMT::selectKey(const std::string& key) {
    for (QTreeWidgetItemIterator it(tvTreeView); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString().toStdString() == key) {
            tvTreeView->setCurrentItem(*it);
            return true;
        }
    }
    return false;
}

void frmMainVMT::tvTreeView_DblClick() {
    const std::string key = selectedKey();
    if (key.empty() || isGroupKey(key)) return;
    runNodeDispatch(key, dialogOpeners());
    tvTreeView->setFocus();
}

void frmMainVMT::tvTreeView_KeyDown(int keyCode, int shift) {
    const std::string key = selectedKey();
    switch (treeKeyCommand(key, keyCode, shift, gfVarnakProject()->Online())) {
        case TreeKeyCommand::Dispatch:
            tvTreeView_DblClick();
            break;
        case TreeKeyCommand::Popup: {
            // From the keyboard the menu opens at the selected node.
            QTreeWidgetItem* item = tvTreeView->currentItem();
            tvTreeView_MouseDown(2, 0,
                                 item ? tvTreeView->visualItemRect(item).bottomLeft() : QPoint());
            break;
        }
        case TreeKeyCommand::InsertTerminal: {
            std::string copy = key;
            // A failed insert leaves the rail as the dialog left it; the tree shows that.
            runReportingFailure([&] { dialogOpeners().frmTermInsert_fTerminalInsert(copy); });
            fFillTreeView();
            break;
        }
        case TreeKeyCommand::DeleteTerminal:
            runReportingFailure([&] { reportStoreFailure(deleteTerminalOfKey(key)); });
            fFillTreeView();
            break;
        case TreeKeyCommand::None:
            break;
    }
}

void frmMainVMT::tvTreeView_MouseDown(int button, int, const QPoint& pos) {
    if (button != 2) return;
    const std::string key = selectedKey();
    if (key.empty()) return;
    const bool developer =
        context_.VarnakCommon && isDeveloperMode(context_.VarnakCommon->AccessLevel());
    PopupChoice choice = popupFor(key, gfVarnakProject()->Online(), developer);
    MainMenu menu = MainMenu::PopupProject;
    switch (choice.kind) {
        case PopupChoice::Kind::None:
            return;
        case PopupChoice::Kind::SaveTableAsResource:
            runReportingFailure([&] { runPopupDirectAction(choice, dialogOpeners()); });
            return;
        case PopupChoice::Kind::ProjectMenu:
            menu = MainMenu::PopupProject;
            break;
        case PopupChoice::Kind::CouplerMenu:
            menu = MainMenu::PopupCoupler;
            for (int i : {0, 1, 3, 5}) menuItem(menu, i)->setEnabled(choice.couplerEnabled[i]);
            break;
        case PopupChoice::Kind::TerminalMenu:
            menu = MainMenu::PopupTerminal;
            break;
    }
    const QPoint global = tvTreeView->viewport()->mapToGlobal(pos);
    if (showPopup_)
        showPopup_(menu, global);
    else
        popupMenu(menu)->exec(global);
}

void frmMainVMT::popUpProjectItem_Click(int index) {
    std::string key = selectedKey();
    switch (index) {
        case 0:
            dialogOpeners().frmRailNew_fCouplerInsert(key);
            fFillTreeView();
            break;
        case 1:
            dialogOpeners().frmRailOpen_Show();
            fSaveStartProject();
            fFillTreeView();
            break;
        case 3:
            underConstruction(vbOKOnly);
            break;
        default:
            break;
    }
}

void frmMainVMT::popUpCouplerItem_Click(int index) {
    std::string key = selectedKey();
    switch (index) {
        case 0:
            QApplication::setOverrideCursor(Qt::WaitCursor);
            reportStoreFailure(saveCouplerOfKey(key));
            fSaveStartProject();
            QApplication::restoreOverrideCursor();
            break;
        case 1:
            if (!gfVarnakProject()->Online()) {
                underConstruction(vbInformation);
                break;
            }
            failureShownOrCancelled(saveOnlineCouplerAs(dialogOpeners()));
            fSaveStartProject();
            break;
        case 3:
            dialogOpeners().frmTermInsert_fTerminalInsert(key);
            fFillTreeView();
            break;
        case 5:
            underConstruction(vbOKOnly);
            break;
        default:
            break;
    }
    tvTreeView->setFocus();
}

void frmMainVMT::popUpTerminalItem_Click(int index) {
    std::string key = selectedKey();
    if (index == 0) {
        dialogOpeners().frmTermInsert_fTerminalInsert(key);
        fFillTreeView();
    } else if (index == 1) {
        reportStoreFailure(deleteTerminalOfKey(key));
        fFillTreeView();
    }
    tvTreeView->setFocus();
}

}  // namespace varnak
