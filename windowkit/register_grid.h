#pragma once
// The data grid of the register and mapping views: rows of text cells under captioned
// columns whose widths are shares of the grid's width. The grid shows the texts it is given
// and never stores an edit itself: a committed edit goes to the owner (cellEdited) once the
// editor has closed, so that the owner's checks, device writes and messages never run
// inside the editor's commit; the owner then sets the cell's new text or leaves the old one.
// Enter works as F2: it starts an edit of the current cell or commits the running one, and
// never reaches the cell or the dialog's buttons.
#include <QStringList>
#include <QTableView>
#include <vector>

class QComboBox;

namespace varnak {

// Fills a register grid's data-type selector with its five items (texts 820 to 824 in
// the current language) and selects the first, which runs the selector's change handling.
void fInitDataTypControl(QComboBox* combo);

class RegisterGrid : public QTableView {
    Q_OBJECT
  public:
    struct Column {
        QString caption;
        double widthShare = 0;  // of the grid's width
        bool editable = false;
        bool visible = true;
    };

    explicit RegisterGrid(QWidget* parent = nullptr);
    ~RegisterGrid() override;

    // Replaces the columns; the rows become empty.
    void setColumns(std::vector<Column> columns);
    const std::vector<Column>& columns() const { return columns_; }
    // Rows added at the end are empty; rows beyond the count are dropped.
    void setRowCount(int rows);
    int rowCount() const;
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;
    // One column of every row at once (a shorter list leaves the other rows alone).
    void setColumnTexts(int column, const QStringList& texts);
    // True while an edit of a cell runs.
    bool editing() const;

  signals:
    // A committed edit, delivered after the editor has closed.
    void cellEdited(int row, int column, const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    class Model;
    void applyWidths();
    void applyRowHeight();

    Model* model_;
    std::vector<Column> columns_;
};

}  // namespace varnak
