#include "online/settings_download.h"

#include <algorithm>

#include "comctl/QZcomOCX.h"
#include "couplercfg/mapping_list.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/register_device.h"

namespace varnak {
namespace {

constexpr const char* kTxtLifting = "Schreibschutz aufheben...";
constexpr const char* kTxtStart = "Start download...";
constexpr const char* kTxtTable = "Download table :";
constexpr const char* kTxtFieldbusTable = "Download fieldbus specific table :";
constexpr const char* kTxtTerminal = "Download to terminal ";
constexpr const char* kTxtChannel = "  Kanal ";

// Table 8 ends its terminal list with the end mark within registers 1-64.
constexpr int32_t kTerminalListLastRegister = 64;

bool holdsTerminalListEnd(clsTable& table) {
    const int32_t last = std::min(table.TableLen(), kTerminalListLastRegister);
    for (int32_t r = 1; r <= last; ++r)
        if ((table.ConfRegisterValue(r) & 0xFFFF) == kTerminalListEnd) return true;
    return false;
}

TransferFailure withoutEndMark(int32_t first, int32_t last) {
    TransferFailure f;
    f.kind = TransferFailure::Kind::ListWithoutEndMark;
    f.table = first;
    f.lastTable = last;
    return f;
}

TransferFailure codeFailure(TransferFailure::Kind kind) {
    TransferFailure f;
    f.kind = kind;
    return f;
}

class Download {
  public:
    Download(clsCoupler& rail, const TransferProgress& progress)
        : rail_(rail), run_(progress), control_(varnak().VarnakComOCX) {}

    TransferReport run(const DownloadChoice& choice) {
        run_.status(kTxtLifting);
        const int32_t station = varnak().MultiPointAdr;
        const int32_t lifted =
            control_ ? control_->QZxWriteProtection(station, false) : kNoRegisterDeviceResult;
        if (!run_.take(lifted, codeFailure(TransferFailure::Kind::ProtectionNotLifted)))
            return run_.report();
        run_.step(kTxtStart);
        for (int box = 0; box < kDownloadBoxes; ++box) {
            if (run_.aborted() || run_.stopped()) break;
            if (choice.boxes[static_cast<size_t>(box)]) runBox(box, choice);
            run_.boxDone(box);
        }
        return run_.report();
    }

  private:
    void runBox(int box, const DownloadChoice& choice) {
        switch (box) {
            case kDownloadCouplerSettings:
                couplerSettings();
                break;
            case kDownloadProgrammedConfiguration:
                programmedConfiguration();
                break;
            case kDownloadTerminalSettings:
                terminalSettings(choice);
                break;
            case kDownloadReset:
                reset();
                break;
            default:
                break;
        }
    }

    // Writes a coupler table whole; an absent table is skipped. False when it failed.
    bool writeTable(int32_t t, const char* text) {
        run_.step(text + std::to_string(t));
        auto table = rail_.clsColTables()->Item(t);
        if (!table) return true;
        return run_.take(table->ConfDownload(0, table->TableLen() + 1), tableFailure(t));
    }

    void couplerSettings() {
        for (int32_t t : {kGeneralSettingsTable, kFieldbusSettingsTable}) {
            writeTable(t, kTxtTable);
            if (run_.stopped()) return;
        }
        // Ascending up to the first table the rail lacks or the first that fails.
        for (int32_t t = kFieldbusSpecificTableFirst; t <= kFieldbusSpecificTableLast; ++t) {
            if (run_.aborted()) return;
            if (!rail_.clsColTables()->Item(t)) {
                run_.step(kTxtFieldbusTable + std::to_string(t));
                return;
            }
            if (!writeTable(t, kTxtFieldbusTable)) return;
        }
    }

    void programmedConfiguration() {
        auto list = rail_.clsColTables()->Item(kProgrammedTerminalList);
        if (list && !holdsTerminalListEnd(*list)) {
            // A never-mapped rail's zeros would make the coupler expect no terminal list.
            run_.name(withoutEndMark(kProgrammedTerminalList, kProgrammedTerminalList));
        } else {
            writeTable(kProgrammedTerminalList, kTxtTable);
        }
        if (run_.stopped()) return;
        mappingList(MappingDirection::Input, kProgrammedInputImageMapLast);
        if (run_.stopped()) return;
        mappingList(MappingDirection::Output, kProgrammedOutputImageMapLast);
    }

    // The list's tables up to the one holding its end mark; nothing of a list without one.
    void mappingList(MappingDirection direction, int32_t last) {
        const int32_t first = mappingListBase(direction);
        if (!rail_.clsColTables()->Item(first)) return;  // a coupler without the list
        const std::vector<int32_t> tables = mappingTablesToSend(rail_, direction);
        if (tables.empty()) {
            run_.name(withoutEndMark(first, last));
            return;
        }
        for (int32_t t : tables) {
            if (run_.aborted()) return;
            if (!writeTable(t, kTxtTable)) return;
        }
    }

    void terminalSettings(const DownloadChoice& choice) {
        const std::optional<TerminalRange> range = terminalRange(choice.firstText, choice.lastText);
        if (!range) return;
        for (const auto& terminal : terminalsInRange(rail_, *range)) {
            const int32_t p = terminal->ConfRailPosition();
            for (const auto& table : *terminal->clsColTables()) {
                run_.step(kTxtTerminal + std::to_string(p) + kTxtChannel +
                          std::to_string(table->TableNr()));
                writeChannel(*table, channelFailure(p, table->TableNr()));
                if (run_.stopped()) return;
            }
        }
    }

    // The user registers 32-62 between the code word and 0 in register 31. The settings go
    // only after the code word got through; the 0 goes unless the station is gone. One
    // failure per channel: the first.
    void writeChannel(clsTable& table, const TransferFailure& where) {
        int32_t first = 0;
        auto send = [&](int32_t reg, int32_t count) {
            if (endsTransfer(first)) return;
            const int32_t r = table.ConfDownload(reg, count);
            if (first == 0) first = r;
        };
        table.setConfRegisterValue(kCodeWordRegister, kCodeWordUnlock);
        send(kCodeWordRegister, 1);
        if (first == 0) send(kFirstUserRegister, kLastUserRegister - kFirstUserRegister);
        table.setConfRegisterValue(kCodeWordRegister, 0);
        send(kCodeWordRegister, 1);
        run_.take(first, where);
    }

    void reset() {
        const int32_t station = varnak().MultiPointAdr;
        run_.take(control_ ? control_->QZxResetSoftwareReq(station) : kNoRegisterDeviceResult,
                  codeFailure(TransferFailure::Kind::Reset));
    }

    clsCoupler& rail_;
    TransferRun run_;
    QZcomOCX* control_;
};

}  // namespace

TransferReport runSettingsDownload(clsCoupler& rail, const DownloadChoice& choice,
                                   const TransferProgress& progress) {
    Download download(rail, progress);
    return download.run(choice);
}

}  // namespace varnak
