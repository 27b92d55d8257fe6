#include "app/frmMainVMT.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include "app/InitComPort.h"
#include "app/control_register_device.h"
#include "app/edition_texts.h"
#include "app/frmAbout.h"
#include "app/frmComParam.h"
#include "app/frmPrint.h"
#include "app/frmRailOpen.h"
#include "app/menu_texts.h"
#include "app/program_dialog_openers.h"
#include "app/project_tree_source.h"
#include "app/qt_ui_services.h"
#include "app/resource_folder.h"
#include "app/shell_texts.h"
#include "app/splitter_rules.h"
#include "app/tree_navigation.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/basFiles.h"
#include "model/basLookup.h"
#include "model/clsColCouplers.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "platform/registry_store.h"
#include "railview/frmCouplerDisplay.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_openers.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

frmMainVMT* theMainWindow = nullptr;

constexpr int kTreeIndentTwips = 200;
constexpr int kBarShorterTwips = 20;

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

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

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
            context_.ui->messageBox(
                withPortFailure(context_, context_.text(storeResultTextId(result))), vbCritical,
                "");
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
    panels_[1]->setText(q(context_.text(kTxtOffline)));
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

float frmMainVMT::twipsPerPixel() const {
    QScreen* s = screen();
    double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? static_cast<float>(kTwipsPerInch / dpi) : 15.0f;
}

int frmMainVMT::twips(int px) const {
    return static_cast<int>(std::lround(px * twipsPerPixel()));
}
int frmMainVMT::pixels(int tw) const {
    return static_cast<int>(std::lround(tw / twipsPerPixel()));
}

void frmMainVMT::applyPlacement(const Placement& p) {
    const float t = twipsPerPixel();
    move(static_cast<int>(std::lround(p.left / t)), static_cast<int>(std::lround(p.top / t)));
    resize(static_cast<int>(std::lround(p.width / t)), static_cast<int>(std::lround(p.height / t)));
}

Placement frmMainVMT::currentPlacement() const {
    const float t = twipsPerPixel();
    return {pos().x() * t, pos().y() * t, width() * t, height() * t};
}

void frmMainVMT::Form_Load() {
    storedPlacement_ = loadPlacement(*context_.settings);
    applyPlacement(storedPlacement_.value_or(Placement{}));
    context_.VarnakComOCX = control_.get();
    if (!context_.registerDevice) context_.registerDevice = controlDevice_.get();
    InitComPort(context_);
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
        setWindowIcon(QIcon(q(logo->string())));
    fFillTreeView();
}

void frmMainVMT::layoutLeftPane() {
    const int splitter = pixels(kSplitterWidth);
    const int h = picMDI->height();
    const int treeWidth = std::max(0, picMDI->width() - splitter);
    tvTreeView->setGeometry(0, 0, treeWidth, h);
    imgSplitter->setGeometry(treeWidth, 0, splitter, h);
}

void frmMainVMT::fSizeTreeAndSplitter() {
    layoutLeftPane();
}

bool frmMainVMT::eventFilter(QObject* watched, QEvent* event) {
    if (tvTreeView && watched == tvTreeView && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                code = kKeyEnter;
                break;
            case Qt::Key_Insert:
                code = kKeyInsert;
                break;
            case Qt::Key_Delete:
                code = kKeyDelete;
                break;
            default:
                break;
        }
        if (code) {
            const Qt::KeyboardModifiers m = key->modifiers() & ~Qt::KeypadModifier;
            const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                              (m & Qt::AltModifier ? kShiftAlt : 0);
            tvTreeView_KeyDown(code, shift);
            return true;
        }
    }
    if (tvTreeView && watched == tvTreeView->viewport() &&
        event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            // The menu is for the node under the pointer: it becomes the selected node
            // first, so that the menu's actions work on the node the user pointed at.
            const QPoint at = mouse->position().toPoint();
            if (QTreeWidgetItem* item = tvTreeView->itemAt(at)) tvTreeView->setCurrentItem(item);
            const Qt::KeyboardModifiers m = mouse->modifiers();
            const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                              (m & Qt::AltModifier ? kShiftAlt : 0);
            tvTreeView_MouseDown(2, shift, at);
            return true;
        }
    }
    if (watched == picMDI && event->type() == QEvent::Resize) layoutLeftPane();
    if (event->type() == QEvent::Close && railView && watched == railView->parentWidget()) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainVMT::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutLeftPane();
}

void frmMainVMT::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) tvTreeView->setFocus();
}

void frmMainVMT::fFillTreeView() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    tvTreeView->setIndentation(pixels(kTreeIndentTwips));
    layoutLeftPane();
    picSplitter->hide();
    tvTreeView->clear();
    std::vector<TreeNodeData> nodes;
    try {
        nodes = fBuildProjectTree(treeSource_(), context_);
    } catch (...) {
        // A project object that cannot be read leaves the tree empty.
    }
    std::map<std::string, QTreeWidgetItem*> byKey;
    std::vector<QTreeWidgetItem*> inOrder;
    for (const TreeNodeData& n : nodes) {
        QTreeWidgetItem* item;
        if (n.parentKey.empty()) {
            item = new QTreeWidgetItem(tvTreeView);
        } else {
            auto parent = byKey.find(n.parentKey);
            if (parent == byKey.end()) continue;
            item = new QTreeWidgetItem(parent->second);
        }
        item->setText(0, q(n.text));
        item->setData(0, Qt::UserRole, q(n.key));
        byKey[n.key] = item;
        inOrder.push_back(item);
    }
    for (size_t i = 0; i < inOrder.size() && i < kVisibleAfterRebuild; ++i) {
        for (QTreeWidgetItem* p = inOrder[i]->parent(); p; p = p->parent()) p->setExpanded(true);
    }
    tvTreeView->setFocus();
    QApplication::restoreOverrideCursor();
}

void frmMainVMT::fGetStartProject() {
    startProject_ = readStartProject(*context_.settings);
    QAction* entry = menuItem(MainMenu::Project, kRememberedProjectItem);
    auto caption = startProjectCaption(startProject_);
    entry->setVisible(caption.has_value());
    if (caption) entry->setText(q(*caption));
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
        case 1:
            fFillTreeView();
            break;
        case 2:
            fFillTreeView();
            fSetMainCaption(2);
            break;
        case 4:
            fSetMainCaption(4);
            break;
        case 6:
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
        int32_t opened = project->fOpenProject(startProject_.ProjectName, startProject_.ProjectPath,
                                               startProject_.ProjectFolder);
        if (opened != kStoreOk) {
            context_.ui->messageBox(context_.text(storeResultTextId(opened)), vbCritical,
                                    context_.text(kTxtProjectOpenMessageTitle));
        } else if (plan.openRail) {
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
    if (projectState == 2) {
        std::string title = context_.text(base + kTxtEditionTitle) +
                            context_.text(base + kTxtEditionProductName) + std::string(9, ' ');
        setWindowTitle(q(title + std::string(16, ' ') + context_.text(kTxtProjectCaption) +
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

void frmMainVMT::applyMenuChanges(const std::vector<MenuStateChange>& changes) {
    for (const MenuStateChange& c : changes) {
        QAction* action = menuItem(c.menu, c.index);
        if (!action) continue;
        if (c.visible) action->setVisible(*c.visible);
        if (c.enabled) setItemEnabled(action, *c.enabled);
    }
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
    setWindowTitle(q(context_.text(base + kTxtEditionTitle) + std::string(9, ' ') +
                     context_.text(base + kTxtEditionProductName) + std::string(9, ' ')));
    for (const CaptionEntry& c : menuCaptionIds())
        menuItem(c.menu, c.index)->setText(q(context_.text(c.textId)));
    // The right click sets the coupler popup's items again before every display.
    menuItem(MainMenu::PopupCoupler, 5)->setEnabled(false);
    for (const ToolbarButtonSpec& b : toolbarButtons()) {
        if (b.action != ToolbarAction::None)
            toolbarButton(b.position)->setToolTip(q(toolbarToolTip(b)));
    }
    fFillTreeView();
}

void frmMainVMT::setStatusText(const std::string& text) {
    panels_[0]->setText(q(text));
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
            case ToolbarAction::GoOnline:
                // The same access check as the Online menu's log-in.
                if (gfCheckAccessCode()) fGoOnline(true);
                break;
            case ToolbarAction::GoOffline:
                fGoOnline(false);
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
    try {
        runMenuItem(menu, index);
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
    if (!QFileInfo::exists(q(helpFile_))) {
        context_.ui->messageBox(context_.text(kTxtNoHelp), vbInformation, title);
        return;
    }
    if (!openUrl_ || !openUrl_(QUrl::fromLocalFile(q(helpFile_))))
        context_.ui->messageBox(context_.text(kTxtHelpNotOpened) + helpFile_, vbOKOnly, "");
}

void frmMainVMT::imgSplitter_MouseDown() {
    const QRect handle = imgSplitter->geometry();
    picSplitter->setGeometry(handle.x(), handle.y(), handle.width() / 2,
                             std::max(0, handle.height() - pixels(kBarShorterTwips)));
    picSplitter->raise();
    picSplitter->show();
    bSplitterMoving_ = true;
}

void frmMainVMT::imgSplitter_MouseMove(int x) {
    if (!bSplitterMoving_) return;
    const int pos = x + twips(imgSplitter->x());
    const int left = splitterBarLeft(pos, twips(width()));
    picSplitter->move(pixels(left), picSplitter->y());
}

void frmMainVMT::imgSplitter_MouseUp() {
    if (!bSplitterMoving_) return;
    treeWidthTwips_ = twips(picSplitter->x());
    picMDI->setFixedWidth(picSplitter->x());
    layoutLeftPane();
    picSplitter->hide();
    bSplitterMoving_ = false;
}

void frmMainVMT::closeEvent(QCloseEvent* event) {
    savePlacement(*context_.settings, currentPlacement(), isMinimized());
    QMainWindow::closeEvent(event);
}

}  // namespace varnak
