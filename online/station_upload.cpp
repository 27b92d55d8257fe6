#include "online/station_upload.h"

#include <map>

#include "mapping/mapping_layout.h"
#include "mapping/mapping_list.h"
#include "mapping/mapping_routines.h"
#include "model/app_context.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "online/online_texts.h"

namespace varnak {
namespace {

constexpr const char* kTxtStart = "Start upload...";
constexpr const char* kTxtTable = "Upload table :";
constexpr const char* kTxtFieldbusTable = "Upload fieldbus specific table :";
constexpr const char* kTxtTerminal = "Upload to terminal ";

class Upload {
  public:
    Upload(clsCoupler& rail, const TransferProgress& progress)
        : rail_(rail), run_(rail, progress) {}

    TransferReport run(const TransferChoice& choice) {
        run_.step(kTxtStart);
        run_.runBoxes(choice, [&](int box) {
            switch (box) {
                case kUploadCouplerSettings:
                    couplerSettings();
                    break;
                case kUploadProgrammedConfiguration:
                    programmedConfiguration();
                    break;
                case kUploadTerminalConfiguration:
                    run_.forEachChannel(
                        choice, kTxtTerminal, [&](clsTable& t, const TransferFailure& where) {
                            run_.read(t, kFirstUserRegister, kLastUserRegister - kFirstUserRegister,
                                      where);
                            ++channelsRead_[where.position];
                        });
                    break;
                default:
                    break;
            }
        });
        noteUndescribedTerminals();
        return run_.report();
    }

  private:
    void couplerSettings() {
        for (int32_t t : {kGeneralSettingsTable, kFieldbusSettingsTable}) {
            run_.transferTable(t, kTxtTable, true);
            if (run_.stopped()) return;
        }
        for (int32_t t = kFieldbusSpecificTableFirst; t <= kFieldbusSpecificTableLast; ++t) {
            if (!run_.hasTable(t)) continue;
            run_.transferTable(t, kTxtFieldbusTable, true);
            if (run_.stopped()) return;
        }
    }

    void programmedConfiguration() {
        run_.transferTable(kProgrammedTerminalList, kTxtTable, true);
        if (run_.stopped()) return;
        if (!undescribedPositions(rail_).empty()) {
            mappingList(MappingDirection::Input, kProgrammedInputImageMapLast);
            if (run_.stopped()) return;
            mappingList(MappingDirection::Output, kProgrammedOutputImageMapLast);
            if (run_.stopped()) return;
            distributeInFrontOfUndescribed();
            return;
        }
        mappingList(MappingDirection::Input, kProgrammedInputImageMapLast);
        if (run_.stopped()) return;
        if (!recalculated(fReCalcProgrammedConfigurationInputImage())) return;
        mappingList(MappingDirection::Output, kProgrammedOutputImageMapLast);
        if (run_.stopped()) return;
        recalculated(fReCalcProgrammedConfigurationOutputImage());
    }

    // Without a terminal's channel layout the entries from it on cannot be told apart: the
    // recalculation unmaps them and places the terminals in front of it. The lists are kept
    // as the device holds them whatever it comes to, so a refusal (a layout check of a
    // guessed terminal, a list not read again) leaves every text as it was and does not
    // keep the rail from being saved; it is named, as is how far the lists went. The
    // refusal's text is the mapping dialog's, whose "mapping stays" does not say that the
    // lists here are the station's: the upload says so.
    void distributeInFrontOfUndescribed() {
        AppContext& c = varnak();
        const MappingRefusal refusal = fReCalcProgrammedConfigurationImages();
        run_.note({.kind = TransferFailure::Kind::Refused,
                   .reason = c.text(kTxtBoxProgrammedConfiguration) + ": " +
                             (refusal ? mappingProblemText(*refusal) + " " +
                                            c.text(kTxtMappingNotDistributed)
                                      : c.text(kTxtMappingDistributedInFront))});
    }

    void noteUndescribedTerminals() {
        for (int32_t p : undescribedPositions(rail_))
            run_.note({.kind = TransferFailure::Kind::Undescribed,
                       .position = p,
                       .channel = channelsRead_[p]});
    }

    // A fully described rail whose mapping texts do not follow its lists is not saved: the
    // refusal fails the upload. Both directions share the rail's limits, so the first
    // refusal is the one.
    bool recalculated(const MappingRefusal& refusal) {
        if (!refusal) return true;
        // The list read again for the recalculation failed: told as the upload's own reads.
        if (refusal->kind == MappingProblem::Kind::ListUnread)
            return run_.takeRead(refusal->code,
                                 {.kind = TransferFailure::Kind::Table, .table = refusal->value});
        AppContext& c = varnak();
        run_.name({.kind = TransferFailure::Kind::Refused,
                   .reason = c.text(kTxtBoxProgrammedConfiguration) + ": " +
                             mappingProblemText(*refusal)});
        return false;
    }

    // The list's present tables in order, up to the one whose entries hold the end mark (or
    // up to a table that could not be read).
    void mappingList(MappingDirection direction, int32_t last) {
        for (int32_t t = mappingListBase(direction); t <= last; ++t) {
            if (!run_.hasTable(t)) continue;
            if (!run_.transferTable(t, kTxtFieldbusTable, true)) return;
            const std::vector<int32_t> toEnd = mappingTablesToSend(rail_, direction);
            if (!toEnd.empty() && toEnd.back() == t) return;
        }
    }

    clsCoupler& rail_;
    TransferRun run_;
    std::map<int32_t, int32_t> channelsRead_;  // by rail position
};

}  // namespace

TransferReport runStationUpload(clsCoupler& rail, const TransferChoice& choice,
                                const TransferProgress& progress) {
    Upload upload(rail, progress);
    return upload.run(choice);
}

}  // namespace varnak
