#include "app/report_columns.h"

#include <algorithm>
#include <string>

namespace varnak {
namespace {

// Characters of a UTF-8 cell (continuation bytes do not count).
int characters(std::string_view cell) {
    return static_cast<int>(std::count_if(cell.begin(), cell.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

std::vector<int> reportColumnStops(std::string_view text) {
    std::vector<int> widths;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        size_t cellStart = 0;
        for (size_t column = 0;; ++column) {
            size_t tab = line.find('\t', cellStart);
            if (tab == std::string_view::npos) break;  // the last cell widens nothing
            if (widths.size() <= column) widths.resize(column + 1, 0);
            int width = characters(line.substr(cellStart, tab - cellStart));
            if (width <= kReportWidestColumn) widths[column] = std::max(widths[column], width);
            cellStart = tab + 1;
        }
        start = end + 1;
    }
    std::vector<int> stops;
    int position = 0;
    for (int w : widths) {
        position += w + kReportColumnGap;
        stops.push_back(position);
    }
    return stops;
}

}  // namespace varnak
