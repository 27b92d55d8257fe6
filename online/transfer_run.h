#pragma once
// What the station upload and the settings download share: the boxes and range the user
// chose, the report of what failed and of what was passed over, the progress they show,
// the rule that a time-out or send failure ends a transfer, the whole-table transfer and
// the walk over the channels of the terminals in the range.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/device_register_model.h"

namespace varnak {

class clsCoupler;
class clsTable;
class clsTerminal;

// The dialog's row of boxes: UploadBox and DownloadBox name them.
inline constexpr int kTransferBoxes = 6;
// The boxes the user ticked, by the dialog's names of them, and the range fields' texts.
struct TransferChoice {
    std::array<bool, kTransferBoxes> boxes{};
    std::string firstText;
    std::string lastText;
};

struct TransferFailure {
    enum class Kind {
        ProtectionNotLifted,  // the download wrote nothing (code; unanswered: maybe lifted)
        StationListUnread,    // the station's terminal list: the download wrote nothing (code)
        Table,                // a coupler table (table, code)
        Channel,              // a terminal channel (position, channel, code)
        ListWithoutEndMark,   // tables table..lastTable were not sent
        Reset,                // the closing software reset (code)
        Refused,              // the program's own refusal to take what was read (reason)
        Undescribed,          // a terminal without description (position, channels read)
    };
    Kind kind = Kind::Table;
    int32_t table = 0;
    int32_t lastTable = 0;
    int32_t position = 0;
    int32_t channel = 0;
    int32_t code = 0;
    std::string reason = {};
    bool operator==(const TransferFailure&) const = default;
};

struct [[nodiscard]] TransferReport {
    std::vector<TransferFailure> failures;
    // What was passed over without spoiling the rest: a table the device refused to read
    // (it has no such table; the table was left as it was), a terminal without description.
    std::vector<TransferFailure> notes;
    bool stopped = false;   // a time-out or send failure ended the transfer
    bool declined = false;  // the user chose not to write into a differing station
    bool clean() const { return failures.empty() && !stopped; }
};

// Result codes after which the station is taken as gone: the time-outs and a send failure
// (every later request would wait for the time-out too).
bool endsTransfer(int32_t code);

// The message naming the failures and then the notes under a heading (a string id), in the
// current language.
std::string transferReportText(const TransferReport& report, int headingTextId);

// What a transfer shows while it runs; unset members show nothing.
struct TransferProgress {
    std::function<void(const std::string&)> status;  // a new status text
    std::function<void(const std::string&)> step;    // one step further, then the text
    std::function<bool()> aborted;                   // the user asked to stop
    std::function<void(int)> boxDone;                // a box of the dialog was processed
};

// One transfer's bookkeeping and its shared steps. Every failure goes into the run's report,
// so the steps' answers only spare a caller the look into it and may go unused.
class TransferRun {
  public:
    TransferRun(clsCoupler& rail, TransferProgress progress)
        : rail_(rail), progress_(std::move(progress)) {}

    void status(const std::string& text) const;
    void step(const std::string& text) const;
    bool aborted() const { return progress_.aborted && progress_.aborted(); }

    // Takes a request's result: true for success; otherwise the failure is recorded (once:
    // the same failure again is not named twice), and a time-out or send failure ends the
    // transfer.
    bool take(int32_t code, TransferFailure failure);
    // Takes a read's result: a refusal (the device has no such table) is noted and counts
    // as done, any other failure is taken.
    bool takeRead(int32_t code, TransferFailure where);
    bool stopped() const { return report_.stopped; }
    // Records a failure that is no request's result.
    void name(TransferFailure failure) { report_.failures.push_back(failure); }
    // Records what was passed over, once.
    void note(TransferFailure passedOver);
    // Reads registers first .. first + count - 1 of the table. A read that fails leaves the
    // table's values as they were; a refusal (the device has no such table) is noted and
    // the transfer goes on, any other failure is taken. False only for such a failure.
    bool read(clsTable& table, int32_t first, int32_t count, const TransferFailure& where);
    // The user chose not to go on.
    void decline() { report_.declined = true; }
    const TransferReport& report() const { return report_; }

    // Boxes 0-5 in order, the ticked ones through runBox, each reported done; ends early
    // when the user stopped it or the transfer ended.
    void runBoxes(const TransferChoice& choice, const std::function<void(int)>& runBox);
    bool hasTable(int32_t t) const;
    // A coupler table (read when upload, else written) from register 0 up to TableLen or
    // lastRegister, whichever comes first, after a progress step of the text and the table
    // number; a table the rail lacks is skipped. False when it failed (a read the device
    // refused is noted, see read).
    bool transferTable(int32_t t, const char* text, bool upload,
                       int32_t lastRegister = kLastRegister);
    // Each channel table of the terminals in the choice's range, in rail and channel order,
    // after a progress step: the text, the position, "  Kanal " and the channel number.
    void forEachChannel(const TransferChoice& choice, const char* text,
                        const std::function<void(clsTable&, const TransferFailure&)>& transfer);

  private:
    clsCoupler& rail_;
    TransferProgress progress_;
    TransferReport report_;
};

// The range fields' whole numbers; nullopt when either holds none.
struct TerminalRange {
    int32_t first = 0;
    int32_t last = 0;
};
std::optional<TerminalRange> terminalRange(const std::string& firstText,
                                           const std::string& lastText);
// The rail's terminals from first to last in rail order, positions without one skipped.
std::vector<std::shared_ptr<clsTerminal>> terminalsInRange(clsCoupler& rail,
                                                           const TerminalRange& range);

}  // namespace varnak
