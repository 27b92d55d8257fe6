#include "views/process_data_view.h"

#include <algorithm>
#include <span>

#include "windowkit/control_requests.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr int32_t kLoadRows = 20;
constexpr int32_t kTerminalListCheck = 2;  // table 9, registers 0-1
constexpr int32_t kControllerCheck = 5;    // table 1, registers 0-4

}  // namespace

RowRange imageRowRange(int32_t first, int32_t count) {
    if (first < 0 || first >= ProcessDataView::kRows || count <= 0) return {first, 0};
    return {first, std::min(count, ProcessDataView::kRows - first)};
}

bool ProcessDataView::open() {
    std::array<int32_t, kRows> scratch{};
    lastResult_ = controlReadRegisters(0, kActualTerminalList, 0, kTerminalListCheck, scratch);
    if (lastResult_ != 0) {
        showNoCommunication();
        return false;
    }
    // Read as the coupler expects it of this view; the values are not used.
    lastResult_ = controlReadRegisters(0, kControllerSettingsTable, 0, kControllerCheck, scratch);
    return true;
}

void ProcessDataView::load() {
    input_.fill(0);
    output_.fill(0);
    image_ = 0;
    UploadProcData({0, kLoadRows}, {0, kLoadRows});
}

void ProcessDataView::selectImage(int32_t image) {
    if (image >= 0 && image < kProcessImageCount) image_ = image;
}

void ProcessDataView::read(int32_t table, RowRange rows, Buffer& buffer) {
    rows = imageRowRange(rows.first, rows.count);
    if (rows.count == 0) return;
    lastResult_ =
        controlReadRegisters(0, table, rows.first, rows.count,
                             std::span<int32_t>(buffer).subspan(static_cast<size_t>(rows.first),
                                                                static_cast<size_t>(rows.count)));
    health_.take(lastResult_);
}

void ProcessDataView::UploadProcData(RowRange input, RowRange output) {
    health_.beginPass();
    read(inputTable(), input, input_);
    read(outputTable(), output, output_);
    health_.endPass();
}

std::optional<std::string> ProcessDataView::enterOutput(int32_t row, RegisterDataType type,
                                                        std::string_view text) {
    if (row < 0 || row >= kRows) return std::nullopt;
    const RegisterEntry entry = checkRegisterEntry(type, text);
    if (entry.verdict == EntryVerdict::Refused)
        varnak().ui->messageBox(kRefusedEntryMessage, vbInformation, kProgramTitle);
    if (entry.verdict != EntryVerdict::Accepted) return std::nullopt;
    const int32_t value = entry.value & 0xFFFF;
    fWriteProcData(row, value);
    if (lastResult_ != 0) return std::nullopt;
    return registerDisplayText(type, value);
}

void ProcessDataView::fWriteProcData(int32_t offset, int32_t value) {
    const std::array<int32_t, 1> word{value};
    lastResult_ = controlWriteRegisters(0, outputTable(), offset, 1, word);
}

}  // namespace varnak
