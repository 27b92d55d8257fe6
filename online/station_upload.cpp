#include "online/station_upload.h"

#include "couplercfg/mapping_list.h"
#include "couplercfg/mapping_routines.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"

namespace varnak {
namespace {

constexpr const char* kTxtStart = "Start upload...";
constexpr const char* kTxtTable = "Upload table :";
constexpr const char* kTxtFieldbusTable = "Upload fieldbus specific table :";
constexpr const char* kTxtTerminal = "Upload to terminal ";
constexpr const char* kTxtChannel = "  Kanal ";

class Upload {
  public:
    Upload(clsCoupler& rail, const TransferProgress& progress) : rail_(rail), run_(progress) {}

    TransferReport run(const UploadChoice& choice) {
        run_.step(kTxtStart);
        for (int box = 0; box < kUploadBoxes; ++box) {
            if (run_.stopped()) break;
            if (choice.boxes[static_cast<size_t>(box)]) runBox(box, choice);
            run_.boxDone(box);
        }
        return run_.report();
    }

  private:
    void runBox(int box, const UploadChoice& choice) {
        switch (box) {
            case kUploadCouplerSettings:
                couplerSettings();
                break;
            case kUploadProgrammedConfiguration:
                programmedConfiguration();
                break;
            case kUploadTerminalConfiguration:
                terminalConfiguration(choice);
                break;
            default:
                break;
        }
    }

    // Reads a coupler table whole; an absent table is skipped. False when the read failed.
    bool readTable(int32_t t, const char* text) {
        run_.step(text + std::to_string(t));
        auto table = rail_.clsColTables()->Item(t);
        if (!table) return true;
        return run_.take(table->ConfUpload(0, table->TableLen() + 1), tableFailure(t));
    }

    bool present(int32_t t) const { return rail_.clsColTables()->Item(t) != nullptr; }

    void couplerSettings() {
        for (int32_t t : {kGeneralSettingsTable, kFieldbusSettingsTable}) {
            readTable(t, kTxtTable);
            if (run_.stopped()) return;
        }
        for (int32_t t = kFieldbusSpecificTableFirst; t <= kFieldbusSpecificTableLast; ++t) {
            if (!present(t)) continue;
            readTable(t, kTxtFieldbusTable);
            if (run_.stopped()) return;
        }
    }

    void programmedConfiguration() {
        readTable(kProgrammedTerminalList, kTxtTable);
        if (run_.stopped()) return;
        mappingList(MappingDirection::Input, kProgrammedInputImageMapLast);
        if (run_.stopped()) return;
        fReCalcProgrammedConfigurationInputImage();
        mappingList(MappingDirection::Output, kProgrammedOutputImageMapLast);
        if (run_.stopped()) return;
        fReCalcProgrammedConfigurationOutputImage();
    }

    // The list's present tables in order, up to the one whose entries hold the end mark (or
    // up to a table that could not be read).
    void mappingList(MappingDirection direction, int32_t last) {
        for (int32_t t = mappingListBase(direction); t <= last; ++t) {
            if (!present(t)) continue;
            if (!readTable(t, kTxtFieldbusTable)) return;
            const std::vector<int32_t> toEnd = mappingTablesToSend(rail_, direction);
            if (!toEnd.empty() && toEnd.back() == t) return;
        }
    }

    void terminalConfiguration(const UploadChoice& choice) {
        const std::optional<TerminalRange> range = terminalRange(choice.firstText, choice.lastText);
        if (!range) return;
        for (const auto& terminal : terminalsInRange(rail_, *range)) {
            const int32_t p = terminal->ConfRailPosition();
            for (const auto& table : *terminal->clsColTables()) {
                run_.step(kTxtTerminal + std::to_string(p) + kTxtChannel +
                          std::to_string(table->TableNr()));
                run_.take(
                    table->ConfUpload(kFirstUserRegister, kLastUserRegister - kFirstUserRegister),
                    channelFailure(p, table->TableNr()));
                if (run_.stopped()) return;
            }
        }
    }

    clsCoupler& rail_;
    TransferRun run_;
};

}  // namespace

TransferReport runStationUpload(clsCoupler& rail, const UploadChoice& choice,
                                const TransferProgress& progress) {
    Upload upload(rail, progress);
    return upload.run(choice);
}

}  // namespace varnak
