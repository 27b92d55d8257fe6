#include "couplercfg/frmConfigProg.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "couplercfg/image_mapping_grid.h"
#include "couplercfg/mapping_dialog_texts.h"
#include "mapping/mapping_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr double kNrWidth = 0.05;
constexpr double kTypeWidth = 0.10;
constexpr double kCellWidth = 0.08;

// The programmed dialog edits the image, the control/status byte and the references; the
// automatic one nothing.
bool editable(ImageMappingEditor::Variant variant, int column) {
    return variant == ImageMappingEditor::Variant::Programmed &&
           (column == kMappingColumnMapData || column >= kMappingColumnImage);
}

RegisterGrid::Column column(int index, ImageMappingEditor::Variant variant) {
    const bool e = editable(variant, index);
    if (index == kMappingColumnNr) return {"Nr.", kNrWidth, e};
    if (index <= kMappingColumnMapData) {
        static const char* const kInvisible[] = {"Hidden", "DType", "MapData"};
        return {kInvisible[index - kMappingColumnHidden], 0, e, false};
    }
    if (index == kMappingColumnType) return {dialogText(kTxtMappingType), kTypeWidth, e};
    // Channel, image and C/S carry texts 279-281.
    if (index <= kMappingColumnCS)
        return {dialogText(kTxtMappingChannel + index - kMappingColumnChannel), kCellWidth, e};
    return {dialogText(kTxtMappingRef) + QString::number(index - kMappingColumnRef0), kCellWidth,
            e};
}

}  // namespace

frmConfigProg::frmConfigProg(Variant variant, QWidget* parent) : QDialog(parent), editor_(variant) {
    const bool automatic = variant == Variant::Automatic;
    setObjectName(automatic ? "frmConfigAuto" : "frmConfigProg");
    setModal(true);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName("SSTab1");
    tdbg5Input = new ImageMappingGrid;
    tdbg5Input->setObjectName("tdbg5Input");
    tdbg5Output = new ImageMappingGrid;
    tdbg5Output->setObjectName("tdbg5Output");
    SSTab1->addTab(tdbg5Input, QString());
    SSTab1->addTab(tdbg5Output, QString());
    cmdOK = new QPushButton;
    cmdOK->setObjectName("cmdOK");
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    // Enter belongs to the grids' edits, never to a button.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    auto* column = new QVBoxLayout(this);
    column->addWidget(SSTab1, 1);
    column->addLayout(buttonRow({cmdOK, cmdCancel}));
    resize(900, 520);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
    // Typing goes to the shown grid, not to the tab bar.
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] {
        if (QWidget* grid = SSTab1->currentWidget()) grid->setFocus();
    });
    for (auto [grid, direction] : {std::pair{tdbg5Input, MappingDirection::Input},
                                   std::pair{tdbg5Output, MappingDirection::Output}}) {
        const MappingDirection d = direction;
        ImageMappingGrid* g = grid;
        g->setKeyFilter([this, d](int row, int column, int character) {
            return editor_.filterKey(d, row, column, character);
        });
        g->setRowDimmed([this, d](int row) { return editor_.grid(d).flags(row).hidden; });
        // The type names are read in full.
        g->setFitToContents(kMappingColumnType);
        // Each edit is checked and kept in the dialog's rows at once; OK reads the rows.
        connect(g, &RegisterGrid::cellEdited, this,
                [this, g, d](int row, int col, const QString& text) {
                    g->setCell(row, col, qText(editor_.enter(d, row, col, text.toStdString())));
                });
    }
}

bool frmConfigProg::fKonstruktor(bool show) {
    bool loaded;
    {
        BusyCursor busy;
        loaded = editor_.load();
    }
    if (!loaded) return false;
    fSetupMappingGrid(tdbg5Input, MappingDirection::Input);
    fSetupMappingGrid(tdbg5Output, MappingDirection::Output);
    fInitTexts();
    VarnakForms().SetDeviceIndependentWindow(this);
    tdbg5Input->setFocus();
    if (show) exec();
    return true;
}

void frmConfigProg::fSetupMappingGrid(ImageMappingGrid* grid, MappingDirection direction) {
    std::vector<RegisterGrid::Column> columns;
    for (int i = 0; i < kMappingColumnCount; ++i) columns.push_back(column(i, editor_.variant()));
    grid->setColumns(std::move(columns));
    showGrid(grid, direction);
}

void frmConfigProg::showGrid(ImageMappingGrid* grid, MappingDirection direction) {
    const MappingGrid& rows = editor_.grid(direction);
    grid->setRowCount(static_cast<int>(rows.rows.size()));
    for (int c = 0; c < kMappingColumnCount; ++c) {
        QStringList texts;
        for (const auto& row : rows.rows) texts.append(qText(row[c]));
        grid->setColumnTexts(c, texts);
    }
    if (!rows.rows.empty()) grid->setCurrentIndex(grid->model()->index(0, kMappingColumnImage));
}

void frmConfigProg::fInitTexts() {
    setWindowTitle(dialogText(editor_.variant() == Variant::Automatic
                                  ? kTxtAutomaticConfiguration
                                  : kTxtProgrammedConfiguration));
    cmdOK->setText(dialogText(kTxtMappingOk));
    cmdCancel->setText(dialogText(kTxtMappingCancel));
    SSTab1->setTabText(0, dialogText(kTxtInputImage));
    SSTab1->setTabText(1, dialogText(kTxtOutputImage));
}

void frmConfigProg::keyPressEvent(QKeyEvent* event) {
    // Esc is pressed to leave a cell, and after an edit already ended with Enter it would
    // reach the dialog and throw every typed address away.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmConfigProg::cmdOK_Click() {
    // An edit still open (OK reached by its key) loses its focus and so is committed, and
    // checked, before the rows are stored.
    cmdOK->setFocus();
    for (ImageMappingGrid* g : {tdbg5Input, tdbg5Output})
        QCoreApplication::sendPostedEvents(g, QEvent::MetaCall);
    bool close;
    {
        BusyCursor busy;
        close = editor_.ok();
    }
    if (close) accept();
}

}  // namespace varnak
