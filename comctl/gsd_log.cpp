#include "comctl/gsd_log.h"

#include <array>
#include <string>

namespace varnak::gsd {

namespace {

// Each text carries its own closing quote and the blanks that line the block up.
constexpr std::array<std::string_view, 5> kGroupTexts{
    "High End'    ", "Economy'     ", "Low Cost'    ", "Konfiguriert'", "QP'          "};
constexpr std::array<std::string_view, 5> kAsicTexts{"SPC'  ", "SPC3' ", "SPC4' ", "SPC41'",
                                                     "DPC31'"};
constexpr std::array<std::string_view, 2> kBaudTexts{"1.5 MBaud", "12 MBaud "};
constexpr std::array<std::string_view, 2> kInterfaceTexts{"RS485", "LWL"};

template <size_t N>
std::string_view textOf(const std::array<std::string_view, N>& texts, int code) {
    if (code < 0 || code >= static_cast<int>(N)) return {};
    return texts[code];
}

}  // namespace

void GsdLog::create(const std::filesystem::path& file) {
    file_.open(file, std::ios::binary | std::ios::trunc);
}

void GsdLog::add(std::string_view text, GsdMessageKind kind) {
    if (file_.good()) {
        std::string line;
        if (kind == GsdMessageKind::Warning) line = "[WARN]";
        if (kind == GsdMessageKind::Error) line = "[ERROR]";
        line += text;
        writer_.writeLine(line);
        file_.flush();
    }
    if (kind == GsdMessageKind::Warning) ++warnings_;
    if (kind == GsdMessageKind::Error) ++errors_;
}

void GsdLog::summary() {
    std::string text =
        std::to_string(errors_) + " Fehler, " + std::to_string(warnings_) + " Warnung(en)";
    GsdMessageKind kind = errors_ > 0     ? GsdMessageKind::Error
                          : warnings_ > 0 ? GsdMessageKind::Warning
                                          : GsdMessageKind::Info;
    add(text, kind);
    info("");
    warnings_ = 0;
    errors_ = 0;
}

void GsdLog::couplerBlock(const CGSDDatei& coupler) {
    char date[32] = "";
    std::strftime(date, sizeof date, "%d.%m.%Y", &coupler.created);
    info("Best.-Nr.:'" + coupler.name + "'             Dateiname: '" + coupler.targetBaseName +
         "'");
    info("Gruppe  = '" + std::string(textOf(kGroupTexts, coupler.group)) + "       Stand: " + date);
    info("ASIC    = '" + std::string(textOf(kAsicTexts, coupler.asic)) +
         "              SW-Rel. = '" + coupler.softwareRelease + "'");
    info("Baud    =  " + std::string(textOf(kBaudTexts, coupler.baudRate)) +
         "           HW-Rel. = '" + coupler.hardwareRelease + "'");
    info("RS/LWL  = '" + std::string(textOf(kInterfaceTexts, coupler.interfaceKind)) + "'");
    info("");
}

}  // namespace varnak::gsd
