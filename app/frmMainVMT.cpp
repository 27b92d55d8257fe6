#include "app/frmMainVMT.h"

#include <QAction>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "app/InitComPort.h"
#include "app/control_register_device.h"
#include "app/edition_texts.h"
#include "app/frmComParam.h"
#include "app/frmPrint.h"
#include "app/program_dialog_openers.h"
#include "app/project_tree_source.h"
#include "app/qt_ui_services.h"
#include "app/resource_folder.h"
#include "app/shell_texts.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsCommon.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "railview/frmCouplerDisplay.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_openers.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

frmMainVMT* theMainWindow = nullptr;

// The handle between tree and child area: passes the pointer to the window's handlers.
class SplitterHandle : public QWidget {
  public:
    SplitterHandle(QWidget* parent, frmMainVMT* window) : QWidget(parent), window_(window) {
        setCursor(Qt::SplitHCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent*) override { window_->imgSplitter_MouseDown(); }
    void mouseMoveEvent(QMouseEvent* e) override {
        window_->imgSplitter_MouseMove(
            static_cast<int>(e->position().x() * window_->twipsPerPixel()));
    }
    void mouseReleaseEvent(QMouseEvent*) override { window_->imgSplitter_MouseUp(); }

  private:
    frmMainVMT* window_;
};

// A submenu keeps its state in its menu widget too: enabling the window again (after the
// splash) enables every menu widget that was not disabled itself, and with it its entry.
void setItemEnabled(QAction* action, bool enabled) {
    if (QMenu* submenu = action->menu()) submenu->setEnabled(enabled);
    action->setEnabled(enabled);
}

}  // namespace

frmMainVMT* mainWindow() {
    return theMainWindow;
}

frmMainVMT::frmMainVMT(AppContext& context, QtUiServices* ui)
    : context_(context),
      ui_(ui),
      control_(std::make_unique<QZcomOCX>()),
      controlDevice_(std::make_unique<ControlRegisterDevice>(*control_)) {
    theMainWindow = this;
    setObjectName("frmMainVMT");
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    printerSetup_ = [this] { fShowPrinterSetup(this); };
    treeSource_ = [this] { return treeSourceFromProject(context_); };
    setOnline_ = [this](bool online) {
        int32_t result = gfVarnakProject()->setOnline(online);
        if (result != kStoreOk && online)
            context_.ui->messageBox(withPortFailure(context_, storeResultMessage(result)),
                                    vbCritical, "");
    };
    buildCentre();
    buildToolbar();
    buildStatusBar();
    buildMenus();
    comParam_ = new frmComParam(context_, this);
    openers_ = std::make_unique<ProgramDialogOpeners>(*this);
    if (!hasDialogOpeners()) {
        setDialogOpeners(openers_.get());
        openersInstalled_ = true;
    }
    if (ui_) {
        ui_->setStatusSink([this](const std::string& t) { setStatusText(t); });
        ui_->setDialogParent(this);
    }
    Form_Load();
}

frmMainVMT::~frmMainVMT() {
    if (ui_) {
        ui_->setStatusSink({});
        ui_->setDialogParent(nullptr);
    }
    if (context_.VarnakComOCX == control_.get()) context_.VarnakComOCX = nullptr;
    if (context_.registerDevice == controlDevice_.get()) context_.registerDevice = nullptr;
    if (context_.VarnakProject) context_.VarnakProject->InitComPort = nullptr;
    if (theMainWindow == this) theMainWindow = nullptr;
    if (openersInstalled_) setDialogOpeners(nullptr);
}

void frmMainVMT::buildCentre() {
    auto* centre = new QWidget;
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    picMDI = new QWidget;
    picMDI->installEventFilter(this);
    tvTreeView = new QTreeWidget(picMDI);
    tvTreeView->setHeaderHidden(true);
    tvTreeView->setRootIsDecorated(true);
    tvTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont tahoma("Tahoma");
    tahoma.setPointSizeF(tvTreeView->font().pointSizeF());
    tvTreeView->setFont(tahoma);
    // The tree's own keys and right button go to the window's handlers.
    tvTreeView->setContextMenuPolicy(Qt::PreventContextMenu);
    tvTreeView->installEventFilter(this);
    tvTreeView->viewport()->installEventFilter(this);
    connect(tvTreeView, &QTreeWidget::itemDoubleClicked, this, [this] { tvTreeView_DblClick(); });
    imgSplitter = new SplitterHandle(picMDI, this);
    mdiArea = new QMdiArea;
    row->addWidget(picMDI);
    row->addWidget(mdiArea, 1);
    setCentralWidget(centre);
    picSplitter = new QWidget(centre);
    picSplitter->setAutoFillBackground(true);
    QPalette bar = picSplitter->palette();
    bar.setColor(QPalette::Window, bar.color(QPalette::Dark));
    picSplitter->setPalette(bar);
    picSplitter->hide();
}

void frmMainVMT::buildToolbar() {
    tbToolBar = addToolBar("tbToolBar");
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    QStyle* s = style();
    const std::map<std::string, QStyle::StandardPixmap> icons{
        {"NewProject", QStyle::SP_FileIcon},
        {"OpenProject", QStyle::SP_DialogOpenButton},
        {"SaveProject", QStyle::SP_DialogSaveButton},
        {"PrintProject", QStyle::SP_FileDialogDetailedView},
        {"OnlineLog", QStyle::SP_MediaPlay},
        {"OfflineLog", QStyle::SP_MediaStop},
        {"Help", QStyle::SP_TitleBarContextHelpButton},
        {"Info", QStyle::SP_MessageBoxInformation}};
    for (const ToolbarButtonSpec& b : toolbarButtons()) {
        QAction* action = nullptr;
        if (b.action == ToolbarAction::None) {
            // Positions without a key keep their index but show nothing: one gap before
            // the online buttons and one after them.
            action = tbToolBar->addSeparator();
            action->setVisible(b.position == 5 || b.position == 11);
        } else {
            action = tbToolBar->addAction(s->standardIcon(icons.at(b.key)), QString());
            std::string key = b.key;
            connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        }
        action->setObjectName(b.key);
        toolbarButtons_[b.position] = action;
    }
}

void frmMainVMT::buildStatusBar() {
    for (auto& panel : panels_) panel = new QLabel;
    panels_[0]->setObjectName("Status");
    panels_[1]->setObjectName("OnlineStatus");
    statusBar()->addWidget(panels_[0], 1);
    for (int i = 1; i < 4; ++i) statusBar()->addPermanentWidget(panels_[i]);
    panels_[1]->setText(qText(context_.text(kTxtOffline)));
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &frmMainVMT::updateClock);
    clock_->start(1000);
    updateClock();
}

void frmMainVMT::updateClock() {
    QLocale locale;
    panels_[2]->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    panels_[3]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
}

void frmMainVMT::buildMenus() {
    for (const MenuSpec& m : mainMenus()) {
        if (!m.inBar) continue;
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setEnabled(m.enabled);
        menuItems_[{m.menu, -1}] = menu->menuAction();
        buildMenuItems(menu, m);
    }
    // The popups are top-level menus of the window that the bar never shows.
    for (MainMenu popup :
         {MainMenu::PopupProject, MainMenu::PopupCoupler, MainMenu::PopupTerminal}) {
        auto* menu = new QMenu(this);
        popups_[popup] = menu;
        buildMenuItems(menu, menuSpec(popup));
    }
}

void frmMainVMT::buildMenuItems(QMenu* menu, const MenuSpec& m) {
    for (const MenuItemSpec& item : m.items) {
        QAction* action = nullptr;
        switch (item.kind) {
            case MenuItemKind::Separator:
                action = menu->addSeparator();
                break;
            case MenuItemKind::Submenu: {
                QMenu* sub = menu->addMenu(QString());
                buildMenuItems(sub, menuSpec(*item.submenu));
                action = sub->menuAction();
                break;
            }
            case MenuItemKind::Command:
            case MenuItemKind::Remembered: {
                action = menu->addAction(QString());
                MainMenu which = m.menu;
                int index = item.index;
                connect(action, &QAction::triggered, this,
                        [this, which, index] { run(which, index); });
                break;
            }
        }
        action->setVisible(item.visible);
        setItemEnabled(action, item.enabled);
        menuItems_[{m.menu, item.index}] = action;
    }
}

QMenu* frmMainVMT::popupMenu(MainMenu menu) const {
    auto it = popups_.find(menu);
    return it == popups_.end() ? nullptr : it->second;
}

QAction* frmMainVMT::menuItem(MainMenu menu, int index) const {
    auto it = menuItems_.find({menu, index});
    return it == menuItems_.end() ? nullptr : it->second;
}

QAction* frmMainVMT::toolbarButton(int position) const {
    auto it = toolbarButtons_.find(position);
    return it == toolbarButtons_.end() ? nullptr : it->second;
}

void frmMainVMT::Form_Load() {
    storedPlacement_ = loadPlacement(*context_.settings);
    applyPlacement(storedPlacement_.value_or(Placement{}));
    context_.VarnakComOCX = control_.get();
    if (!context_.registerDevice) context_.registerDevice = controlDevice_.get();
    InitComPortUnreported(context_);
    if (context_.VarnakCommon) {
        auto& signal = context_.VarnakCommon->LanguageChanged;
        languageConnection_ = ScopedConnection(
            signal, signal.connect([this](int32_t& language) { fLanguageChanged(language); }));
    }
    {
        auto project = gfVarnakProject();
        AppContext* context = &context_;
        project->InitComPort = [context] { return varnak::InitComPort(*context); };
        stateConnection_ = ScopedConnection(
            project->ProjectStateChange,
            project->ProjectStateChange.connect([this](int32_t& st) { fProjectStateChanged(st); }));
        onlineConnection_ = ScopedConnection(project->ProjectStateOnlineChange,
                                             project->ProjectStateOnlineChange.connect(
                                                 [this](bool& on) { fOnlineStateChanged(on); }));
    }
    picMDI->setFixedWidth(pixels(treeWidthTwips_));
    fSetEditionIcon();
    fGetStartProject();
    VarnakForms().SetDeviceIndependentWindow(this);
    // Only the default placement follows the screen; a stored one was saved from this
    // window as the user left it.
    if (storedPlacement_) applyPlacement(*storedPlacement_);
    fSetMenuState();
    fLanguageChanged(context_.VarnakCommon ? context_.VarnakCommon->LanguageType() : 0);
    setEnabled(false);
    railView = new frmCouplerDisplay;
    // Maximised, without caption and control box: the rail view fills the child area.
    QMdiSubWindow* child = mdiArea->addSubWindow(railView, Qt::FramelessWindowHint);
    child->installEventFilter(this);  // the rail view stays until the frame closes
    child->showMaximized();
}

void frmMainVMT::fSetEditionIcon() {
    int companyId = context_.VarnakCommon ? context_.VarnakCommon->CompanyID() : 0;
    if (auto logo = aboutLogo(companyId, shellResourceFolder(context_)))
        setWindowIcon(QIcon(qText(logo->string())));
    fFillTreeView();
}

void frmMainVMT::applyMenuChanges(const std::vector<MenuStateChange>& changes) {
    for (const MenuStateChange& c : changes) {
        QAction* action = menuItem(c.menu, c.index);
        if (!action) continue;
        if (c.visible) action->setVisible(*c.visible);
        if (c.enabled) setItemEnabled(action, *c.enabled);
    }
}

void frmMainVMT::setStatusText(const std::string& text) {
    panels_[0]->setText(qText(text));
}

void frmMainVMT::tbToolBar_ButtonClick(const std::string& key) {
    for (const ToolbarButtonSpec& b : toolbarButtons()) {
        if (key != b.key || b.action == ToolbarAction::None) continue;
        switch (b.action) {
            case ToolbarAction::ProjectMenu:
                run(MainMenu::Project, b.index);
                break;
            case ToolbarAction::HelpMenu:
                run(MainMenu::Help, b.index);
                break;
            // The Online menu's log-in and log-out, failures shown as the menus show them.
            case ToolbarAction::GoOnline:
                runShowingFailure([this] { goOnlineIfGranted(); });
                break;
            case ToolbarAction::GoOffline:
                runShowingFailure([this] { fGoOnline(false); });
                break;
            case ToolbarAction::HelpContents:
                fShowHelpContents();
                break;
            case ToolbarAction::None:
                break;
        }
        break;
    }
    fFillTreeView();
}

void frmMainVMT::run(MainMenu menu, int index) {
    if (interceptor_) {
        interceptor_(menu, index);
        return;
    }
    runShowingFailure([&] { runMenuItem(menu, index); });
}

void frmMainVMT::runShowingFailure(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        // A window that fails while it works ends the command with its reason.
        context_.ui->messageBox(e.what(), vbCritical, kProgramTitle);
    } catch (...) {
        context_.ui->messageBox(context_.text(kTxtActionFailed), vbCritical, kProgramTitle);
    }
}

void frmMainVMT::runMenuItem(MainMenu menu, int index) {
    switch (menu) {
        case MainMenu::PopupProject:
            popUpProjectItem_Click(index);
            break;
        case MainMenu::PopupCoupler:
            popUpCouplerItem_Click(index);
            break;
        case MainMenu::PopupTerminal:
            popUpTerminalItem_Click(index);
            break;
        case MainMenu::Calculate:
        case MainMenu::CalculateCnf:
        case MainMenu::CalculateCnfPLC:
        case MainMenu::CalculateCnfCoupler:
            // The Calculate menu and its submenus have no actions.
            break;
        default:
            runBarCommand(menu, index);
            break;
    }
}

void frmMainVMT::fShowHelpContents(bool captionAsTitle) {
    const std::string title = captionAsTitle ? windowTitle().toStdString() : std::string();
    if (helpFile_.empty()) {
        context_.ui->messageBox(context_.text(kTxtNoHelp), vbInformation, title);
        return;
    }
    // The language's help and its fallback both missing: the same answer as no help at all.
    if (!QFileInfo::exists(qText(helpFile_))) {
        context_.ui->messageBox(context_.text(kTxtNoHelp), vbInformation, title);
        return;
    }
    if (!openUrl_ || !openUrl_(QUrl::fromLocalFile(qText(helpFile_))))
        context_.ui->messageBox(context_.text(kTxtHelpNotOpened) + helpFile_, vbOKOnly, "");
}

void frmMainVMT::closeEvent(QCloseEvent* event) {
    savePlacement(*context_.settings, currentPlacement(), isMinimized());
    QMainWindow::closeEvent(event);
}

}  // namespace varnak
