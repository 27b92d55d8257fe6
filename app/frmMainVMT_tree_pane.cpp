// The main window's left pane: the project tree it fills and whose keys and right clicks it
// hands to the tree's handlers, the splitter between tree and child area, and the twips the
// window and its placement measure in.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "app/frmMainVMT.h"
#include "app/project_tree.h"
#include "app/splitter_rules.h"
#include "app/tree_navigation.h"
#include "app/window_placement.h"
#include "railview/frmCouplerDisplay.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kTreeIndentTwips = 200;
constexpr int kBarShorterTwips = 20;

}  // namespace

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
        item->setText(0, qText(n.text));
        item->setData(0, Qt::UserRole, qText(n.key));
        byKey[n.key] = item;
        inOrder.push_back(item);
    }
    for (size_t i = 0; i < inOrder.size() && i < kVisibleAfterRebuild; ++i) {
        for (QTreeWidgetItem* p = inOrder[i]->parent(); p; p = p->parent()) p->setExpanded(true);
    }
    tvTreeView->setFocus();
    QApplication::restoreOverrideCursor();
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

}  // namespace varnak
