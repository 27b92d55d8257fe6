#include "windowkit/register_grid.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>

#include "model/register_grid_rules.h"
#include "windowkit/dialog_support.h"

namespace varnak {

void fInitDataTypControl(QComboBox* combo) {
    combo->clear();
    for (int i = 0; i < kRegisterDataTypeCount; ++i)
        combo->addItem(dialogText(kTxtRegisterDataTypeFirst + i));
    combo->setCurrentIndex(0);
}

class RegisterGrid::Model : public QAbstractTableModel {
  public:
    explicit Model(RegisterGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(cells_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(grid_->columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        return cells_[index.row()][index.column()];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
            section >= static_cast<int>(grid_->columns_.size()))
            return {};
        return grid_->columns_[section].caption;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.isValid() && grid_->columns_[index.column()].editable) f |= Qt::ItemIsEditable;
        return f;
    }
    // The grid never stores an edit: the owner decides after the editor has closed.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        QPointer<RegisterGrid> grid = grid_;
        const int row = index.row(), column = index.column();
        const QString text = value.toString();
        QMetaObject::invokeMethod(
            grid_,
            [grid, row, column, text] {
                if (grid) emit grid->cellEdited(row, column, text);
            },
            Qt::QueuedConnection);
        return false;
    }

    void reset(int rows) {
        beginResetModel();
        cells_.assign(static_cast<size_t>(rows), QStringList());
        for (QStringList& r : cells_)
            for (size_t c = 0; c < grid_->columns_.size(); ++c) r.append(QString());
        endResetModel();
    }
    void resize(int rows) {
        const int old = rowCount();
        if (rows < old) {
            beginRemoveRows({}, rows, old - 1);
            cells_.resize(static_cast<size_t>(rows));
            endRemoveRows();
        } else if (rows > old) {
            beginInsertRows({}, old, rows - 1);
            QStringList empty;
            for (size_t c = 0; c < grid_->columns_.size(); ++c) empty.append(QString());
            cells_.resize(static_cast<size_t>(rows), empty);
            endInsertRows();
        }
    }
    bool valid(int row, int column) const {
        return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
    }
    void set(int row, int column, const QString& text) {
        cells_[row][column] = text;
        emit dataChanged(index(row, column), index(row, column));
    }
    void setColumn(int column, const QStringList& texts) {
        const int n = std::min(rowCount(), static_cast<int>(texts.size()));
        for (int r = 0; r < n; ++r) cells_[r][column] = texts[r];
        if (n > 0) emit dataChanged(index(0, column), index(n - 1, column));
    }
    const QString& at(int row, int column) const { return cells_[row][column]; }

  private:
    RegisterGrid* grid_;
    std::vector<QStringList> cells_;
};

RegisterGrid::RegisterGrid(QWidget* parent) : QTableView(parent), model_(new Model(this)) {
    setModel(model_);
    setFont(QFont("Tahoma"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    applyRowHeight();
}

RegisterGrid::~RegisterGrid() = default;

void RegisterGrid::setColumns(std::vector<Column> columns) {
    columns_ = std::move(columns);
    model_->reset(0);
    for (size_t c = 0; c < columns_.size(); ++c)
        setColumnHidden(static_cast<int>(c), !columns_[c].visible);
    applyWidths();
}

void RegisterGrid::setRowCount(int rows) {
    model_->resize(std::max(rows, 0));
}

int RegisterGrid::rowCount() const {
    return model_->rowCount();
}

void RegisterGrid::setCell(int row, int column, const QString& text) {
    if (model_->valid(row, column)) model_->set(row, column, text);
}

QString RegisterGrid::cell(int row, int column) const {
    return model_->valid(row, column) ? model_->at(row, column) : QString();
}

void RegisterGrid::setColumnTexts(int column, const QStringList& texts) {
    if (column >= 0 && column < model_->columnCount()) model_->setColumn(column, texts);
}

bool RegisterGrid::editing() const {
    return state() == QAbstractItemView::EditingState;
}

void RegisterGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // While an edit runs the editor has the key and commits; here Enter starts one.
        if (!editing() && currentIndex().isValid()) edit(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void RegisterGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyWidths();
}

void RegisterGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) applyRowHeight();
}

void RegisterGrid::applyRowHeight() {
    // Rows as high as their text: a table of 256 registers shows as many as it can.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void RegisterGrid::applyWidths() {
    const int width = viewport()->width();
    for (size_t c = 0; c < columns_.size(); ++c)
        setColumnWidth(static_cast<int>(c),
                       static_cast<int>(columns_[c].widthShare * static_cast<double>(width)));
}

}  // namespace varnak
