#pragma once
// The process-image mapping dialogs: frmConfigProg edits the coupler's programmed mapping,
// frmConfigAuto shows the automatic one (every column locked); both are this class with a
// variant flag. Two tabs hold the input and the output grid, one row per terminal channel;
// OK writes the mapping into the terminals and the coupler's tables and, online, downloads
// them and offers a reboot. Only Cancel (or the close box) closes it unstored: Esc never
// does.
#include <QDialog>

#include "couplercfg/image_mapping_editor.h"
#include "windowkit/dialog_openers.h"

class QKeyEvent;
class QPushButton;
class QTabWidget;

namespace varnak {

class ImageMappingGrid;

class frmConfigProg : public QDialog {
    Q_OBJECT
  public:
    using Variant = ImageMappingEditor::Variant;

    explicit frmConfigProg(Variant variant = Variant::Programmed, QWidget* parent = nullptr);

    // Loads the dialog for the active rail and, with show, shows it modally. False when it
    // could not load (the message was shown).
    [[nodiscard]] bool fKonstruktor(bool show);
    // The two grids' rows as the mapping report reads them.
    ConfigProgTables Tables() const { return editor_.tables(); }
    ImageMappingEditor& editor() { return editor_; }

    QTabWidget* SSTab1 = nullptr;
    ImageMappingGrid* tdbg5Input = nullptr;
    ImageMappingGrid* tdbg5Output = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fSetupMappingGrid(ImageMappingGrid* grid, MappingDirection direction);
    void fInitTexts();
    void showGrid(ImageMappingGrid* grid, MappingDirection direction);
    void cmdOK_Click();

    ImageMappingEditor editor_;
};

}  // namespace varnak
