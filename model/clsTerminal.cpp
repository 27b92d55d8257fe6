#include "model/clsTerminal.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <tuple>

#include "model/app_context.h"
#include "model/basConvert.h"
#include "model/clsColTables.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "model/tree_node_key.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"

namespace fs = std::filesystem;

namespace varnak {
namespace {

constexpr int kTxtChannel = 1157;
constexpr const char* kUnmappedByte = "511";
constexpr const char* kUnmappedBit = "511.7";

// Registers 10-12 of table 0: taken only when at least two characters arrive and they
// are a hexadecimal value.
std::optional<int32_t> readLayoutRegister(const std::string& file, int reg) {
    std::string text =
        ini::readString(file, "RegValue_Table0", "Reg" + std::to_string(reg), "", 100);
    if (text.size() < 2 || !gfIsHexValue(text)) return std::nullopt;
    return gfHexValToLong(text);
}

std::string readMappingKey(const std::string& file, const std::string& section,
                           const std::string& key, const char* emptyValue) {
    std::string text = ini::readString(file, section, key, "", 100);
    if (text.empty()) return emptyValue;
    return trimBlanks(text);
}

// The registers every channel starts from, as an insert reads them from a description:
// its [RegValue_Table0], read as table 0. Answers the registers the source gave.
RegisterSet loadChannelDefaults(clsTable& defaults, const std::string& source, int32_t position) {
    defaults.setTableNr(0);
    defaults.setPosNr(position);
    defaults.setTableLen(kChannelTableLen);
    return defaults.retrieveRegisters(source);
}

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

}  // namespace

clsTerminal::clsTerminal() = default;
clsTerminal::~clsTerminal() = default;

int32_t clsTerminal::mappingEntryCount(const std::string& typeName, int32_t logicalChannelBits) {
    // The serial interface types carry six entries whatever their size; the type names
    // carry a four-digit suffix ("QT6001-0000"), so the base name decides.
    std::string base = typeName.substr(0, typeName.find('-'));
    if (base == "QT6001" || base == "QT6011" || base == "QT6021") return 6;
    if (logicalChannelBits <= 8) return logicalChannelBits < 0 ? 0 : logicalChannelBits;
    return roundHalfToEven(logicalChannelBits / 8.0).value_or(0);
}

namespace {

// The record of channel c and entry k of a record; outside the arrays, the subscript
// error of the accessors' contract.
template <typename Records>
auto& recordAt(Records& records, int32_t c) {
    if (c < 0 || static_cast<size_t>(c) >= records.size()) throw SubscriptOutOfRange();
    return records[static_cast<size_t>(c)];
}

template <typename Records>
auto& addressAt(Records& records, int32_t c, int32_t k) {
    auto& addresses = recordAt(records, c).addresses;
    if (k < 0 || static_cast<size_t>(k) >= addresses.size()) throw SubscriptOutOfRange();
    return addresses[static_cast<size_t>(k)];
}

}  // namespace

std::string clsTerminal::ConfMappInputImage(int32_t c, int32_t k) const {
    return addressAt(inputs_, c, k);
}
void clsTerminal::setConfMappInputImage(int32_t c, int32_t k, const std::string& value) {
    addressAt(inputs_, c, k) = value;
}
std::string clsTerminal::ConfMappOutputImage(int32_t c, int32_t k) const {
    return addressAt(outputs_, c, k);
}
void clsTerminal::setConfMappOutputImage(int32_t c, int32_t k, const std::string& value) {
    addressAt(outputs_, c, k) = value;
}
std::string clsTerminal::ConfInputDestProcImage(int32_t c) const {
    return recordAt(inputs_, c).destination;
}
void clsTerminal::setConfInputDestProcImage(int32_t c, const std::string& value) {
    recordAt(inputs_, c).destination = value;
}
std::string clsTerminal::ConfOutputDestProcImage(int32_t c) const {
    return recordAt(outputs_, c).destination;
}
void clsTerminal::setConfOutputDestProcImage(int32_t c, const std::string& value) {
    recordAt(outputs_, c).destination = value;
}

std::shared_ptr<clsColTables> clsTerminal::clsColTables() {
    if (!tables_) tables_ = std::make_shared<varnak::clsColTables>();
    return tables_;
}

void clsTerminal::setClsColTables(std::shared_ptr<varnak::clsColTables> tables) {
    tables_ = std::move(tables);
}

void clsTerminal::setConfRailPosition(int32_t position) {
    railPos_ = position;
    if (!registerModel_ || !tables_) return;
    for (int32_t c = 0; c < nrLog_; ++c) {
        if (auto t = tables_->Item(c)) t->setPosNr(position);
    }
}

int32_t clsTerminal::ConfRetrieveData(const std::string& szFileName) {
    return retrieve(szFileName, false);
}

int32_t clsTerminal::InfoRetrieveData(const std::string& szFileName) {
    return retrieve(szFileName, true);
}

int32_t clsTerminal::retrieve(const std::string& szFileName, bool description) {
    auto self = shared_from_this();  // a handler run by the status text must not end us
    ini::IniBatch batch;
    fs::path file = platform::resolveCaseInsensitive(szFileName);
    if (description && !usableDescription(file.string())) {
        // Missing or naming no type: the fallback description; when it is unusable too,
        // the terminal stays empty. A terminal file comes here only when the rail can use
        // it, and an empty name in it is the empty terminal's own.
        file = deviceDescriptionFile("Terminal", kUnknownDeviceName);
        if (!usableDescription(file.string())) return 0;
    }
    readFile(file.string(), description);
    varnak().ui->statusText("Done..");
    return 0;
}

std::pair<std::string, std::optional<ChannelsFromOwnTable::Why>> clsTerminal::defaultsSource(
    const std::string& file) const {
    // The description's channel registers, not the file's own table 0: that is channel 0's
    // saved table, and its changes are no other channel's. Only without a usable
    // description (missing, naming no type, or cut short by an interrupted copy: its
    // registers would come as zeros) does the file's table 0 stand in.
    using Why = ChannelsFromOwnTable::Why;
    const std::string own = deviceDescriptionFile("Terminal", common_.name);
    switch (descriptionState(own)) {
        case DescriptionState::Missing:
            return {file, Why::Missing};
        case DescriptionState::Refused:
            return {file, Why::Damaged};
        case DescriptionState::Usable:
            break;
    }
    if (descriptionCutShort(own, file)) return {file, Why::CutShort};
    return {own, std::nullopt};
}

void clsTerminal::readFile(const std::string& file, bool description) {
    // The keys come one after another; the channel tables' loads below let window events
    // run, so the run ends before them.
    std::optional<ini::IniRun> run(std::in_place);
    fromOwnTable_.reset();
    railPos_ = readKeyNumber(file, "Config", "TermPos");
    termID_ = readKeyNumber(file, "Config", "TermID");
    couplerID_ = readKeyNumber(file, "Config", "CouplerID");
    common_.read(file);

    if (auto v = readLayoutRegister(file, kPhysicalChannelsRegister)) {
        physicalChannelsWord_ = *v;
        nrPhy_ = highByte(*v);
        sizePhy_ = lowByte(*v);
    }
    if (auto v = readLayoutRegister(file, kLogicalChannelsRegister)) {
        logicalChannelsWord_ = *v;
        nrLog_ = highByte(*v);
        sizeLog_ = lowByte(*v);
    }
    if (auto v = readLayoutRegister(file, kChannelSizesRegister)) {
        channelSizesWord_ = *v;
        inputSize_ = channelInputBits(*v);
        inputCSB_ = channelInputCSB(*v);
        outputSize_ = channelOutputBits(*v);
        outputCSB_ = channelOutputCSB(*v);
        registerModel_ = inputSize_ > 8 || outputSize_ > 8;
    }

    entryCount_ = mappingEntryCount(common_.name, sizeLog_);
    const char* unmapped = registerModel_ ? kUnmappedByte : kUnmappedBit;
    inputs_.assign(static_cast<size_t>(nrLog_), {});
    outputs_.assign(static_cast<size_t>(nrLog_), {});
    for (int32_t c = 0; c < nrLog_; ++c) {
        std::string section = "Mapp_Table" + std::to_string(c);
        auto& in = inputs_[static_cast<size_t>(c)];
        auto& out = outputs_[static_cast<size_t>(c)];
        in.destination = readMappingKey(file, section, "InProcImage", "0");
        out.destination = readMappingKey(file, section, "OutProcImage", "0");
        in.addresses.resize(static_cast<size_t>(entryCount_));
        out.addresses.resize(static_cast<size_t>(entryCount_));
        for (int32_t k = 0; k < entryCount_; ++k) {
            std::string n = std::to_string(k);
            in.addresses[static_cast<size_t>(k)] =
                readMappingKey(file, section, "Input_Adr" + n, unmapped);
            out.addresses[static_cast<size_t>(k)] =
                readMappingKey(file, section, "Output_Adr" + n, unmapped);
        }
    }

    run.reset();
    tables_ = std::make_shared<varnak::clsColTables>();
    if (!registerModel_) return;
    // Every channel starts from the description's channel registers, read once and only
    // when a channel needs them (a file this program saved holds every register).
    clsTable defaults;
    std::optional<RegisterSet> defaultsGiven;
    std::optional<ChannelsFromOwnTable::Why> ownTableBecause;
    auto channelDefaults = [&]() -> const RegisterSet& {
        if (!defaultsGiven) {
            std::string source = file;
            if (!description) std::tie(source, ownTableBecause) = defaultsSource(file);
            defaultsGiven = loadChannelDefaults(defaults, source, railPos_);
        }
        return *defaultsGiven;
    };
    for (int32_t c = 0; c < nrLog_; ++c) {
        auto t = tables_->Add(c);
        t->setTableDesc("Kanal " + std::to_string(c));
        t->setTableLen(kChannelTableLen);
        t->setTableNr(c);
        t->setPosNr(railPos_);
        if (description) {
            channelDefaults();
            t->fillFrom(defaults, {});
            t->setTableSourceFile(file);
            // Never saved channels would come back as zeros: the first save writes them.
            t->setValueChanged(true);
        } else if (const RegisterSet given = t->retrieveRegisters(file);
                   given.count() <= static_cast<size_t>(kChannelTableLen)) {
            // The file lacks this channel's table or some of its registers (a file begun as
            // a copy of the description holds channel 0 only): the defaults fill them, and
            // the next save writes a table so filled from the description whole, so the file
            // holds it from then on. Channel 0's values in another channel are a guess that
            // no save stores unasked: once the description is back, it fills them.
            const RegisterSet& fromDefaults = channelDefaults();
            t->fillFrom(defaults, given);
            if (!ownTableBecause) {
                if ((fromDefaults & ~given).any()) t->setValueChanged(true);
            } else if (c > 0) {
                if (!fromOwnTable_)
                    fromOwnTable_ = {file,
                                     deviceDescriptionFile("Terminal", common_.name),
                                     *ownTableBecause,
                                     {}};
                fromOwnTable_->channels.push_back(c);
            }
        }
        t->setbInitDone(true);  // loaded now; a lazy reload would only read the same again
    }
}

std::string clsTerminal::FileName(const std::string& railFolder) const {
    return platform::joinPath({railFolder, FileBaseName()});
}

std::string clsTerminal::FileBaseName() const {
    const std::string own = terminalFileName(couplerID_, termID_);
    // A save into the own spelling would leave the loaded file beside it as a second copy.
    if (upperAscii(loadedFileName_) == upperAscii(own)) return loadedFileName_;
    return own;
}

int32_t clsTerminal::ConfSaveData() {
    return ConfSaveData(gfVarnakProject()->FullPathCoupler());
}

int32_t clsTerminal::writeSelfContained(const std::string& file) const {
    return common_.write(file) ? kStoreOk : kStoreWriteFailed;
}

bool clsTerminal::writeLayout(const std::string& file) const {
    // The layout decides the channels, records and tables at the next load. A copied
    // description, a file written from the terminal's own data or a damaged file may hold
    // another layout than the terminal has: only what would read back differently is
    // written, so an intact file keeps its lines.
    const std::pair<int32_t, int32_t> layout[] = {
        {kPhysicalChannelsRegister, physicalChannelsWord_},
        {kLogicalChannelsRegister, logicalChannelsWord_},
        {kChannelSizesRegister, channelSizesWord_}};
    for (const auto& [reg, value] : layout) {
        if (readLayoutRegister(file, reg).value_or(0) == value) continue;
        if (!writeKeyText(file, "RegValue_Table0", "Reg" + std::to_string(reg),
                          iniRegisterText(value)))
            return false;
    }
    return true;
}

int32_t clsTerminal::ConfSaveData(const std::string& railFolder,
                                  std::vector<std::string>* flushLater) {
    if (railFolder.empty()) return kStoreNoProject;
    auto self = shared_from_this();
    ini::IniBatch batch;
    std::string file = FileName(railFolder);
    bool newFile = !isRegularFile(file);
    if (newFile) {
        std::string description =
            platform::resolveCaseInsensitive(
                platform::joinPath({gfVarnakProject()->FullPathResourceFolder(), "Terminal",
                                    common_.name + ".INI"}))
                .string();
        // Without its description the file is written from the terminal's own data.
        if (!copyDescription(description, file)) {
            if (int32_t r = writeSelfContained(file)) return r;
        }
    }
    std::optional<ini::IniRun> run(std::in_place);  // until the tables' saves
    bool ok = writeLayout(file) && writeKeyNumber(file, "Config", "TermPos", railPos_) &&
              writeKeyNumber(file, "Config", "TermID", termID_) &&
              writeKeyNumber(file, "Config", "CouplerID", couplerID_);
    for (int32_t c = 0; ok && c < nrLog_; ++c) {
        std::string section = "Mapp_Table" + std::to_string(c);
        const auto& in = inputs_[static_cast<size_t>(c)];
        const auto& out = outputs_[static_cast<size_t>(c)];
        ok = writeKeyText(file, section, "InProcImage", in.destination) &&
             writeKeyText(file, section, "OutProcImage", out.destination);
        for (int32_t k = 0; ok && k < entryCount_; ++k) {
            std::string n = std::to_string(k);
            ok = writeKeyText(file, section, "Input_Adr" + n, in.addresses[k]) &&
                 writeKeyText(file, section, "Output_Adr" + n, out.addresses[k]);
        }
    }
    run.reset();
    if (!ok) return kStoreWriteFailed;
    if (tables_) {
        for (const auto& t : *tables_) {
            // A new file (a new terminal, or a rail saved under a new name) gets every
            // channel, changed or not.
            if (newFile) t->setValueChanged(true);
            if (t->ConfSaveData(file) != 0) return kStoreWriteFailed;
            // The table's own save keeps only the coupler's persistent table numbers; a
            // terminal's channel tables are all persistent.
            if (t->ValueChanged()) {
                if (t->ConfSaveAsResData(file) != 0) return kStoreWriteFailed;
                t->setValueChanged(false);
            }
        }
    }
    varnak().ui->statusText("Done..");
    if (flushLater) {
        flushLater->push_back(file);
        return kStoreOk;
    }
    // Only this file's own writes decide the answer (another file's failed write stays
    // pending in the profile cache and must not fail every later save).
    return ini::flushFile(file) ? kStoreOk : kStoreWriteFailed;
}

bool clsTerminal::ConfProcAdr(int32_t&, int32_t&, int32_t&, int32_t&) {
    return false;
}

std::string treeChannelName(int32_t c) {
    return varnak().text(kTxtChannel) + std::to_string(c + 1);
}

std::vector<TreeNodeToAdd> clsTerminal::AddChannelsToTreeView(
    const std::string& szTerminalKey, const std::string& szTerminalKeyDetail) const {
    std::vector<TreeNodeToAdd> nodes;
    for (int32_t c = 0; c < nrLog_; ++c) {
        std::string detail = channelKeyDetail(szTerminalKeyDetail, c);
        std::string channelKey = treeKey(TreeNodeKind::TerminalChannel, detail);
        nodes.push_back({szTerminalKey, channelKey, treeChannelName(c)});
        if (!registerModel_) continue;
        nodes.push_back(
            {channelKey, treeKey(TreeNodeKind::TerminalSettings, detail), varnak().text(1151)});
        nodes.push_back(
            {channelKey, treeKey(TreeNodeKind::TerminalRegister, detail), varnak().text(1156)});
    }
    return nodes;
}

}  // namespace varnak
