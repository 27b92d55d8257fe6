#include "online/settings_download.h"

#include "comctl/QZcomOCX.h"
#include "mapping/mapping_list.h"
#include "mapping/mapping_routines.h"
#include "mapping/mapping_texts.h"
#include "mapping/terminal_list.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "model/register_device.h"
#include "online/online_texts.h"
#include "online/station_terminal_list.h"

namespace varnak {
namespace {

constexpr const char* kTxtLifting = "Schreibschutz aufheben...";
constexpr const char* kTxtStart = "Start download...";
constexpr const char* kTxtTable = "Download table :";
constexpr const char* kTxtFieldbusTable = "Download fieldbus specific table :";
constexpr const char* kTxtTerminal = "Download to terminal ";

TransferFailure withoutEndMark(int32_t first, int32_t last) {
    return {.kind = TransferFailure::Kind::ListWithoutEndMark, .table = first, .lastTable = last};
}

// Tables as a note names them, runs of neighbours as one: "8, 10-11, 50".
std::string tablesText(const std::vector<int32_t>& tables) {
    std::string text;
    for (size_t i = 0, last = 0; i < tables.size(); i = last + 1) {
        for (last = i; last + 1 < tables.size() && tables[last + 1] == tables[last] + 1;) ++last;
        text += (text.empty() ? "" : ", ") + std::to_string(tables[i]);
        if (last > i) text += "-" + std::to_string(tables[last]);
    }
    return text;
}

// The boxes whose writes go by the rail's terminals.
bool writesByTerminals(const TransferChoice& choice) {
    return choice.boxes[kDownloadProgrammedConfiguration] ||
           choice.boxes[kDownloadTerminalSettings];
}

class Download {
  public:
    Download(clsCoupler& rail, const TransferProgress& progress)
        : rail_(rail), run_(rail, progress), control_(varnak().VarnakComOCX) {}

    TransferReport run(const TransferChoice& choice, const TransferQuestion& goOn) {
        if (writesByTerminals(choice) && !stationAgrees(goOn)) return run_.report();
        run_.status(kTxtLifting);
        const int32_t station = varnak().MultiPointAdr;
        const int32_t lifted =
            control_ ? control_->QZxWriteProtection(station, false) : kNoRegisterDeviceResult;
        if (!run_.take(lifted, {.kind = TransferFailure::Kind::ProtectionNotLifted}))
            return run_.report();
        run_.step(kTxtStart);
        run_.runBoxes(choice, [&](int box) {
            switch (box) {
                case kDownloadCouplerSettings:
                    couplerSettings();
                    break;
                case kDownloadProgrammedConfiguration:
                    programmedConfiguration();
                    break;
                case kDownloadTerminalSettings:
                    run_.forEachChannel(
                        choice, kTxtTerminal,
                        [&](clsTable& t, const TransferFailure& where) { writeChannel(t, where); });
                    break;
                case kDownloadReset:
                    reset();
                    break;
                default:
                    break;
            }
        });
        return run_.report();
    }

  private:
    // True when the station lists the rail's terminals, or the user wants the settings
    // written all the same.
    bool stationAgrees(const TransferQuestion& goOn) {
        run_.status(varnak().text(kTxtReadingStationList));
        const StationTerminalList list = readStationTerminalList();
        if (!run_.take(list.result, {.kind = TransferFailure::Kind::StationListUnread}))
            return false;
        const std::vector<TerminalMismatch> mismatches = stationMismatches(rail_, *list.table);
        if (mismatches.empty() || (goOn && goOn(stationMismatchQuestion(mismatches)))) return true;
        run_.decline();
        return false;
    }

    void couplerSettings() {
        // Registers 200-255 (identification, firmware version) describe the device.
        run_.transferTable(kGeneralSettingsTable, kTxtTable, false, kIdentificationFirst - 1);
        if (run_.stopped()) return;
        run_.transferTable(kFieldbusSettingsTable, kTxtTable, false);
        if (run_.stopped()) return;
        // Ascending up to the first table the rail lacks or the first that fails.
        for (int32_t t = kFieldbusSpecificTableFirst; t <= kFieldbusSpecificTableLast; ++t) {
            if (run_.aborted()) return;
            const bool present = run_.hasTable(t);
            if (!run_.transferTable(t, kTxtFieldbusTable, false) || !present) return;
        }
    }

    void programmedConfiguration() {
        std::vector<int32_t> sent;
        auto list = rail_.clsColTables()->Item(kProgrammedTerminalList);
        if (list && !storedTerminalList(*list)) {
            // A never-mapped rail's zeros would make the coupler expect no terminal list.
            run_.name(withoutEndMark(kProgrammedTerminalList, kProgrammedTerminalList));
        } else if (run_.transferTable(kProgrammedTerminalList, kTxtTable, false) && list) {
            sent.push_back(kProgrammedTerminalList);
        }
        if (!run_.stopped())
            mappingList(MappingDirection::Input, kProgrammedInputImageMapLast, sent);
        if (!run_.stopped())
            mappingList(MappingDirection::Output, kProgrammedOutputImageMapLast, sent);
        noteUndescribedListsSent(sent);
    }

    // Such a rail's lists are the station's own, as an upload read them whole: they go back
    // as stored, so that a replacement coupler gets its programmed configuration. The
    // program cannot check them against the terminals it does not know, and says so for
    // the tables that went.
    void noteUndescribedListsSent(const std::vector<int32_t>& sent) {
        const std::vector<int32_t> undescribed = undescribedPositions(rail_);
        if (undescribed.empty() || sent.empty()) return;
        run_.note({.kind = TransferFailure::Kind::Refused,
                   .reason = withValues(varnak().text(kTxtUndescribedListsSent),
                                        {tablesText(sent), positionsText(undescribed)})});
    }

    // The list's tables up to the one holding its end mark; nothing of a list without one.
    // The tables that went are added to sent.
    void mappingList(MappingDirection direction, int32_t last, std::vector<int32_t>& sent) {
        const int32_t first = mappingListBase(direction);
        if (!run_.hasTable(first)) return;  // a coupler without the list
        const std::vector<int32_t> tables = mappingTablesToSend(rail_, direction);
        if (tables.empty()) {
            run_.name(withoutEndMark(first, last));
            return;
        }
        for (int32_t t : tables) {
            if (run_.aborted()) return;
            if (!run_.transferTable(t, kTxtTable, false)) return;
            sent.push_back(t);
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
                  {.kind = TransferFailure::Kind::Reset});
    }

    clsCoupler& rail_;
    TransferRun run_;
    QZcomOCX* control_;
};

}  // namespace

TransferReport runSettingsDownload(clsCoupler& rail, const TransferChoice& choice,
                                   const TransferProgress& progress,
                                   const TransferQuestion& writeIntoDifferingStation) {
    Download download(rail, progress);
    return download.run(choice, writeIntoDifferingStation);
}

}  // namespace varnak
