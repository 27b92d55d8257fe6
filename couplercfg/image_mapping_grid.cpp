#include "couplercfg/image_mapping_grid.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace varnak {

// Dims the closed rows and puts the grid's filter in front of every cell editor.
class ImageMappingGrid::Delegate : public QStyledItemDelegate {
  public:
    explicit Delegate(ImageMappingGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor) editor->installEventFilter(grid_);
        return editor;
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (grid_->rowDimmed(index.row()))
            option->palette.setColor(QPalette::Text,
                                     option->palette.color(QPalette::Disabled, QPalette::Text));
    }

  private:
    ImageMappingGrid* grid_;
};

ImageMappingGrid::ImageMappingGrid(QWidget* parent) : RegisterGrid(parent) {
    setItemDelegate(new Delegate(this));
}

bool ImageMappingGrid::passes(const QKeyEvent* event) const {
    // Only typed characters meet the filter; Enter, Escape, Tab and the moving keys keep
    // their work in the grid and its editor.
    const QString text = event->text();
    if (!keyFilter_ || text.size() != 1) return true;
    const int character = text.at(0).unicode();
    if (character == '\r' || character == '\n' || character == 27 || character == '\t') return true;
    const QModelIndex at = currentIndex();
    if (!at.isValid()) return true;
    return keyFilter_(at.row(), at.column(), character) != 0;
}

void ImageMappingGrid::keyPressEvent(QKeyEvent* event) {
    if (!passes(event)) {
        event->accept();
        return;
    }
    RegisterGrid::keyPressEvent(event);
}

void ImageMappingGrid::resizeEvent(QResizeEvent* event) {
    RegisterGrid::resizeEvent(event);
    fitContents();
}

void ImageMappingGrid::fitContents() {
    if (fitColumn_ < 0 || fitColumn_ >= model()->columnCount()) return;
    const int needed = sizeHintForColumn(fitColumn_);
    if (columnWidth(fitColumn_) < needed) setColumnWidth(fitColumn_, needed);
}

bool ImageMappingGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !passes(static_cast<QKeyEvent*>(event))) return true;
    return RegisterGrid::eventFilter(watched, event);
}

}  // namespace varnak
