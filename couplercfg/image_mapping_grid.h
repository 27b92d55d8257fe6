#pragma once
// A grid of the mapping dialogs: the register grid with a key filter that sees every typed
// character before the cell does (also while a cell is being edited), and rows the filter
// closes to all keys drawn dimmed.
#include <functional>

#include "windowkit/register_grid.h"

namespace varnak {

class ImageMappingGrid : public RegisterGrid {
    Q_OBJECT
  public:
    // (row, column, character) -> the character passed on, 0 to swallow it.
    using KeyFilter = std::function<int(int row, int column, int character)>;
    using RowDimmed = std::function<bool(int row)>;

    explicit ImageMappingGrid(QWidget* parent = nullptr);

    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }
    void setRowDimmed(RowDimmed dimmed) { rowDimmed_ = std::move(dimmed); }
    bool rowDimmed(int row) const { return rowDimmed_ && rowDimmed_(row); }
    // True when the filter lets a key event through at the current cell.
    bool passes(const QKeyEvent* event) const;
    // The column is kept at least as wide as its texts (its share of the grid's width
    // otherwise); fitContents applies it after the texts changed.
    void setFitToContents(int column) { fitColumn_ = column; }
    void fitContents();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Delegate;
    KeyFilter keyFilter_;
    RowDimmed rowDimmed_;
    int fitColumn_ = -1;
};

}  // namespace varnak
