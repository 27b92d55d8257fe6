#pragma once
// The process-image mapping dialogs without their window: the rail they show (offline the
// project's loaded rail, online the station's), the two grids' rows, what a typed key or an
// entered cell does, and OK: the grids into the terminals and the coupler's tables, then
// offline the rail's save, online the download of the lists and table 8 under lifted write
// protection and the reboot question. Messages go through the context's UiServices.
#include <memory>
#include <string>

#include "mapping/mapping_grid.h"
#include "mapping/mapping_layout.h"
#include "windowkit/dialog_openers.h"
#include "windowkit/offline_rail_save.h"

namespace varnak {

class clsCoupler;

class ImageMappingEditor {
  public:
    // The automatic mapping is shown only; the programmed one is edited.
    enum class Variant { Automatic, Programmed };

    explicit ImageMappingEditor(Variant variant) : variant_(variant) {}

    // Takes the active rail and fills both grids; the programmed variant online first
    // recalculates the terminals' mapping from the coupler's tables (a list the coupler
    // does not deliver is named, and both grids show the project's mapping). False, after
    // the message, when there is no rail or its mapping cannot be held; stored texts that
    // are no addresses are named in a message and shown unmapped.
    [[nodiscard]] bool load();

    Variant variant() const { return variant_; }
    bool online() const { return online_; }
    bool loaded() const { return coupler_ != nullptr; }
    const MappingGrid& grid(MappingDirection direction) const;

    // The character a key press in a cell passes on (0: swallowed).
    int filterKey(MappingDirection direction, int row, int column, int character) const;
    // A text the user entered into a cell: when it differs from the cell's, checked (its
    // message shown first) and stored in the grid at once. Returns the cell's text
    // afterwards.
    std::string enter(MappingDirection direction, int row, int column, const std::string& text);

    // OK: true when the dialog may close. A refused rail, a refused lift or a failed
    // download is told and keeps the dialog open (nothing asked, the grids as they are); a
    // lift without an answer is told as one the coupler may have made, and left as it is.
    // A terminal without a word for table 8 is named; the lists are stored and sent all
    // the same, table 8 is left as it was. While a terminal is undescribed, its position
    // is named and nothing is taken, stored or sent; the dialog stays open.
    [[nodiscard]] bool ok();

    // The grids' rows as text for the mapping report (every column), each table closed by
    // an empty row.
    ConfigProgTables tables() const;

  private:
    bool showRefusal(const MappingRefusal& refusal) const;
    // The lists and, unless table 8 was left as it was, table 8.
    [[nodiscard]] bool download(bool withTerminalList);

    Variant variant_;
    std::shared_ptr<clsCoupler> coupler_;
    bool online_ = false;
    RailMappingLayout layout_;
    MappingGrid input_;
    MappingGrid output_;
    OfflineRailSave railSave_;
};

}  // namespace varnak
