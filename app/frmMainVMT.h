#pragma once
// The program's main window: the serial control, the toolbar, the project tree with its
// splitter, the status bar, the menus and the child area that holds the rail view.
#include <QMainWindow>
#include <QPoint>
#include <QUrl>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_menu_table.h"
#include "app/menu_state_rules.h"
#include "app/project_tree.h"
#include "app/window_placement.h"
#include "model/signal.h"

class QLabel;
class QMenu;
class QMdiArea;
class QTimer;
class QToolBar;
class QTreeWidget;
class QZcomOCX;

namespace varnak {

struct AppContext;
class ControlRegisterDevice;
class QtUiServices;
class frmComParam;
class frmCouplerDisplay;
class ProgramDialogOpeners;

class frmMainVMT : public QMainWindow {
    Q_OBJECT
  public:
    // Runs the load sequence; the window is disabled at its end (the start-up enables it).
    // ui, when given, sends the model's status texts to the first status panel.
    explicit frmMainVMT(AppContext& context, QtUiServices* ui = nullptr);
    ~frmMainVMT() override;

    // Rebuilds the project tree whole.
    void fFillTreeView();
    // Reads the remembered project and shows or hides its Project menu entry.
    void fGetStartProject();
    // Remembers the open project and rail when they differ from the remembered ones.
    void fSaveStartProject();
    void fSaveStartProject(const OpenProjectState& state);
    // The project-state listener.
    void fProjectStateChanged(int32_t state);
    void fSetEditionIcon();
    void fSizeTreeAndSplitter();
    void fShowHelpContents(bool captionAsTitle = true);
    void fSetMainCaption(int projectState);
    void fSetMenuState();
    // The handler of the settings object's language change.
    void fLanguageChanged(int32_t language);
    // The window's part of going online or offline: menus, status panel 2, tree.
    void fOnlineStateChanged(bool online);
    // Opens the remembered project (Project menu entry 14).
    void fOpenRememberedProject();

    // Going online (True) or offline (False) from the Online menu (after the access code
    // was granted) and the toolbar. Body in frmMainVMT_online.cpp.
    void fGoOnline(bool online);
    // The Project menu's print entry: the report selection. Body in frmMainVMT_online.cpp.
    void fShowReportSelection();

    void tbToolBar_ButtonClick(const std::string& key);
    // Menu handlers, one per item array, each receiving the item index.
    void mnuProjectItem_Click(int index);
    void mnuOnlineItem_Click(int index);
    void mnuOnlineTerminalItem_Click(int index);
    void mnuOnlineCouplerItem_Click(int index);
    void mnuRimTalkItem_Click(int index);
    void mnuOptionItem_Click(int index);
    void mnuLanguageItem_Click(int index);
    void mnuHelpItem_Click(int index);
    void popUpProjectItem_Click(int index);
    void popUpCouplerItem_Click(int index);
    void popUpTerminalItem_Click(int index);

    // Tree events. keyCode and shift as the key handler numbers them (Enter 13, Insert 45,
    // Delete 46; Alt 4); button 2 is the right button.
    void tvTreeView_DblClick();
    void tvTreeView_KeyDown(int keyCode, int shift);
    void tvTreeView_MouseDown(int button, int shift, const QPoint& pos);
    // The key of the tree's selected node ("" without one).
    std::string selectedKey() const;
    // Selects the node with that key; false when the tree has none.
    bool selectKey(const std::string& key);

    // Splitter handlers; x is the pointer's position on the handle, in twips.
    void imgSplitter_MouseDown();
    void imgSplitter_MouseMove(int x);
    void imgSplitter_MouseUp();

    // The status bar's first panel (the model's status texts).
    void setStatusText(const std::string& text);

    // What the tree shows; by default the program's project.
    void setTreeSource(std::function<TreeSource()> source) { treeSource_ = std::move(source); }
    // How the online flag is changed; by default the program's project.
    void setOnlineSetter(std::function<void(bool)> setter) { setOnline_ = std::move(setter); }
    // How the help pages are opened; by default the desktop's browser.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // For tests: receives the menu commands that the toolbar and the menus run, in
    // place of running them (several open modal windows).
    void setCommandInterceptor(std::function<void(MainMenu, int)> interceptor) {
        interceptor_ = std::move(interceptor);
    }
    // How a popup menu is shown; by default modally at the position.
    void setPopupShower(std::function<void(MainMenu, const QPoint&)> shower) {
        showPopup_ = std::move(shower);
    }
    // How the printer set-up is shown; by default the platform's printer dialog.
    void setPrinterSetup(std::function<void()> setup) { printerSetup_ = std::move(setup); }
    // A popup menu (PopupProject, PopupCoupler, PopupTerminal).
    QMenu* popupMenu(MainMenu menu) const;

    // Twips of one pixel on this window's screen.
    float twipsPerPixel() const;

    // Controls, by the names the other windows know them.
    QZcomOCX* QZcomOCX1() const { return control_.get(); }
    QToolBar* tbToolBar = nullptr;
    QWidget* picMDI = nullptr;
    QTreeWidget* tvTreeView = nullptr;
    QWidget* imgSplitter = nullptr;
    QWidget* picSplitter = nullptr;
    QMdiArea* mdiArea = nullptr;
    frmCouplerDisplay* railView = nullptr;
    QLabel* statusPanel(int n) const { return panels_[n - 1]; }
    QAction* menuItem(MainMenu menu, int index) const;
    QAction* toolbarButton(int position) const;
    frmComParam& comParam() { return *comParam_; }
    const StartProjectEntry& startProjectEntry() const { return startProject_; }
    const std::string& helpFile() const { return helpFile_; }
    bool splitterMoving() const { return bSplitterMoving_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildCentre();
    void Form_Load();
    void applyPlacement(const Placement& p);
    Placement currentPlacement() const;
    void updateClock();
    int twips(int pixels) const;
    int pixels(int twips) const;
    void run(MainMenu menu, int index);
    // A command that fails while it works ends with its reason in a message, so that
    // nothing fails unseen or escapes into the event loop.
    void runShowingFailure(const std::function<void()>& command);
    // The log-in: online only when the access code is granted.
    void goOnlineIfGranted();
    void runMenuItem(MainMenu menu, int index);
    void layoutLeftPane();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void buildMenuItems(QMenu* menu, const MenuSpec& spec);
    void applyMenuChanges(const std::vector<MenuStateChange>& changes);
    void afterMenuAction();
    // The bar menus' commands by menu and item index; items without a row do nothing.
    struct MenuCommand {
        MainMenu menu;
        int index;
        void (*run)(frmMainVMT&);
    };
    static const std::vector<MenuCommand>& menuCommands();
    void runBarCommand(MainMenu menu, int index);
    void printerSetup();
    void setLanguage(int language);

    AppContext& context_;
    QtUiServices* ui_;
    std::unique_ptr<QZcomOCX> control_;
    // The register tables' road to the control.
    std::unique_ptr<ControlRegisterDevice> controlDevice_;
    frmComParam* comParam_ = nullptr;  // a child of the window
    std::map<std::pair<MainMenu, int>, QAction*> menuItems_;
    std::map<int, QAction*> toolbarButtons_;
    std::array<QLabel*, 4> panels_{};
    QTimer* clock_ = nullptr;
    StartProjectEntry startProject_;
    std::optional<Placement> storedPlacement_;
    std::string helpFile_;
    bool bSplitterMoving_ = false;
    int treeWidthTwips_ = 3000;
    ScopedConnection languageConnection_;
    ScopedConnection stateConnection_;
    ScopedConnection onlineConnection_;
    std::function<TreeSource()> treeSource_;
    std::function<void(bool)> setOnline_;
    std::function<bool(const QUrl&)> openUrl_;
    std::function<void(MainMenu, int)> interceptor_;
    std::function<void(MainMenu, const QPoint&)> showPopup_;
    std::function<void()> printerSetup_;
    std::map<MainMenu, QMenu*> popups_;
    // The program's openers, installed while no others are (tests install their own).
    std::unique_ptr<ProgramDialogOpeners> openers_;
    bool openersInstalled_ = false;
};

// The program's one main window while it exists (for status texts and tree rebuilds
// from other windows); null before it is created and after it is gone.
frmMainVMT* mainWindow();

}  // namespace varnak
