#include "app/report_columns.h"

#include <algorithm>

namespace varnak {
namespace {

// Calls line(text) for every line of a text; a last line without its end counts too.
template <typename Line>
void forEachLine(std::string_view text, Line line) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        line(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

int nextStop(int position, const std::vector<int>& stops) {
    const auto stop = std::upper_bound(stops.begin(), stops.end(), position);
    if (stop != stops.end()) return *stop;
    return (position / kReportDefaultTab + 1) * kReportDefaultTab;
}

}  // namespace

int reportCharacters(std::string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::vector<int> reportColumnStops(std::string_view text) {
    std::vector<int> widths;
    forEachLine(text, [&](std::string_view line) {
        size_t cellStart = 0;
        for (size_t column = 0;; ++column) {
            size_t tab = line.find('\t', cellStart);
            if (tab == std::string_view::npos) break;  // the last cell widens nothing
            if (widths.size() <= column) widths.resize(column + 1, 0);
            int width = reportCharacters(line.substr(cellStart, tab - cellStart));
            if (width <= kReportWidestColumn) widths[column] = std::max(widths[column], width);
            cellStart = tab + 1;
        }
    });
    std::vector<int> stops;
    int position = 0;
    for (int w : widths) {
        position += w + kReportColumnGap;
        stops.push_back(position);
    }
    return stops;
}

std::vector<ReportLine> reportLines(std::string_view text, const std::vector<int>& stops) {
    std::vector<ReportLine> lines;
    forEachLine(text, [&](std::string_view line) {
        ReportLine cells;
        int position = 0;
        size_t cellStart = 0;
        for (;;) {
            const size_t tab = line.find('\t', cellStart);
            const std::string_view cell = line.substr(cellStart, tab - cellStart);
            if (!cell.empty()) cells.push_back({position, std::string(cell)});
            position += reportCharacters(cell);
            if (tab == std::string_view::npos) break;
            position = nextStop(position, stops);
            cellStart = tab + 1;
        }
        lines.push_back(std::move(cells));
    });
    // The text's last line end starts no line of its own.
    if (!lines.empty() && lines.back().empty() && !text.empty() &&
        (text.back() == '\n' || text.back() == '\r'))
        lines.pop_back();
    return lines;
}

int reportWidth(const std::vector<ReportLine>& lines) {
    int width = 0;
    for (const ReportLine& line : lines)
        if (!line.empty())
            width = std::max(width, line.back().position + reportCharacters(line.back().text));
    return width;
}

double reportFitPoints(int widthCharacters, double widthPoints, double advance) {
    if (widthCharacters <= 0 || advance <= 0) return kReportFontPoints;
    return std::min(kReportFontPoints, widthPoints / (widthCharacters * advance));
}

}  // namespace varnak
