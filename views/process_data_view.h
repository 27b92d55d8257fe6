#pragma once
// The cyclic process-data view without its window: the input image (table 114 + k) and
// the output image (table 110 + k) of the chosen process image k in two buffers of 256
// registers, refreshed range by range through the control's register requests on the
// coupler, and a value typed for the output image written as one register. Messages go
// through the context's UiServices.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/device_register_model.h"
#include "model/register_grid_rules.h"
#include "views/pass_health.h"

namespace varnak {

// A run of rows of an image grid.
struct RowRange {
    int32_t first = 0;
    int32_t count = 0;
    bool operator==(const RowRange&) const = default;
};

// The rows a grid shows, cut to the image's 256 registers: no row beyond 255 is read or
// shown; a range that starts outside them is empty.
RowRange imageRowRange(int32_t first, int32_t count);

class ProcessDataView {
  public:
    static constexpr int32_t kRows = kRegistersPerTable;

    // The opening reads of the coupler: table 9 registers 0-1, then table 1 registers 0-4.
    // False when the first read fails: the coupler does not answer, message 469 is shown.
    [[nodiscard]] bool open();
    // Before the window first shows: both buffers cleared, image 0 selected and its
    // registers 0-19 read, input image first.
    void load();

    // The process image 0-3 (the selector's index); others keep the current one.
    void selectImage(int32_t image);
    int32_t image() const { return image_; }
    int32_t inputTable() const { return InputImageTable(image_); }
    int32_t outputTable() const { return OutputImageTable(image_); }

    // One refresh pass: the input rows, then the output rows, one request each (an empty
    // range makes none). The buffers show what the reads left, failed or not.
    void UploadProcData(RowRange input, RowRange output);
    // False from a pass (or the load) with a failed read until one whose reads all went
    // through: the buffers then hold the last values read, not the device's. A pass that
    // reads nothing leaves it as it is.
    bool communicating() const { return health_.communicating(); }
    const PassHealth& health() const { return health_; }
    int32_t inputValue(int32_t row) const { return input_.at(static_cast<size_t>(row)); }
    int32_t outputValue(int32_t row) const { return output_.at(static_cast<size_t>(row)); }

    // A text typed into the output grid's row: by the entry rules of the register grids;
    // an accepted value is written at once (one register, no read-back) and the cell's new
    // text returned. nullopt keeps the old text: a refused entry is told first, a failed
    // write is not (the passes tell a silent station).
    std::optional<std::string> enterOutput(int32_t row, RegisterDataType type,
                                           std::string_view text);

    // Result code of the last request (0 = success).

  private:
    using Buffer = std::array<int32_t, kRows>;
    void read(int32_t table, RowRange rows, Buffer& buffer);
    void fWriteProcData(int32_t offset, int32_t value);

    Buffer input_{};
    Buffer output_{};
    int32_t image_ = 0;
    int32_t lastResult_ = 0;
    PassHealth health_;
};

}  // namespace varnak
