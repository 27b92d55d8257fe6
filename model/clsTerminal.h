#pragma once
// One bus terminal of a rail: its identity in the project, its type data and channel
// layout from the terminal description, one mapping record per logical channel and, for
// terminals with a register model, one register table per logical channel.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/project_store.h"

namespace varnak {

class clsColTables;

// A node the project tree adds under a terminal node (the model holds no tree).
struct TreeNodeToAdd {
    std::string parentKey;
    std::string key;
    std::string text;
};

// Channel c (from 0) as the project tree names it: "Kanal1" for the first.
std::string treeChannelName(int32_t c);

// Channels a terminal file lacked that took the file's own table 0 (channel 0's saved
// table) because the type's description could not be used. Such values are a guess: the
// rail's open names them, and they are written only once a register of the channel is set.
struct ChannelsFromOwnTable {
    enum class Why { Missing, Damaged, CutShort };
    std::string file;         // the terminal file
    std::string description;  // the description that could not be used
    Why why = Why::Missing;
    std::vector<int32_t> channels;  // the channels that took it, by index (never 0)
};

class clsTerminal : public std::enable_shared_from_this<clsTerminal> {
  public:
    clsTerminal();
    ~clsTerminal();
    clsTerminal(const clsTerminal&) = delete;
    clsTerminal& operator=(const clsTerminal&) = delete;

    // Mapping texts of the channel lSigChannel; lChannel is the input or output unit.
    // An index outside the records throws std::out_of_range (subscript out of range).
    std::string ConfMappInputImage(int32_t lSigChannel, int32_t lChannel) const;
    void setConfMappInputImage(int32_t lSigChannel, int32_t lChannel, const std::string& value);
    std::string ConfInputDestProcImage(int32_t lSigChannel) const;
    void setConfInputDestProcImage(int32_t lSigChannel, const std::string& value);
    std::string ConfMappOutputImage(int32_t lSigChannel, int32_t lChannel) const;
    void setConfMappOutputImage(int32_t lSigChannel, int32_t lChannel, const std::string& value);
    std::string ConfOutputDestProcImage(int32_t lSigChannel) const;
    void setConfOutputDestProcImage(int32_t lSigChannel, const std::string& value);
    // Number of mapping entries of every channel of this terminal.
    int32_t MappingEntryCount() const { return entryCount_; }

    // The channel tables, keyed by channel index; created empty on first use.
    std::shared_ptr<varnak::clsColTables> clsColTables();
    void setClsColTables(std::shared_ptr<varnak::clsColTables> tables);

    int32_t ConfParentCouplerID() const { return couplerID_; }
    void setConfParentCouplerID(int32_t id) { couplerID_ = id; }
    bool InfoTermRegisterModell() const { return registerModel_; }
    void setInfoTermRegisterModell(bool value) { registerModel_ = value; }

    // Reads a terminal file of the project. Returns 0.
    [[nodiscard]] int32_t ConfRetrieveData(const std::string& szFileName);
    // Reads a terminal description: every channel table gets the description's channel
    // registers and counts as changed, so that the first save writes every channel.
    [[nodiscard]] int32_t InfoRetrieveData(const std::string& szFileName);
    // Writes the terminal file into the rail folder (the project's loaded rail folder when
    // none is given). Returns a StoreResult. With flushLater, the file's changes stay in the
    // profile cache and its name is added there: the caller flushes it with the other files
    // of its save.
    [[nodiscard]] int32_t ConfSaveData();
    [[nodiscard]] int32_t ConfSaveData(const std::string& railFolder,
                                       std::vector<std::string>* flushLater = nullptr);
    // The file this terminal is saved as, inside a rail folder, and its name alone: the
    // name of the file it was loaded from when that names its ids in other letters, else
    // the save's own spelling.
    std::string FileName(const std::string& railFolder) const;
    std::string FileBaseName() const;
    // The name of the rail folder's file this terminal was loaded from.
    void setLoadedFileName(const std::string& name) { loadedFileName_ = name; }
    // Set by the last read of a terminal file whose channels took the file's own table 0.
    const std::optional<varnak::ChannelsFromOwnTable>& ChannelsFromOwnTable() const {
        return fromOwnTable_;
    }

    int32_t InfoCurrentKBus() const { return common_.currentKBus; }
    int32_t InfoInputTransCSB() const { return inputCSB_; }
    int32_t InfoOutputTransCSB() const { return outputCSB_; }
    int32_t InfoOutputSizeSigChnl() const { return outputSize_; }
    int32_t InfoInputSizeSigChnl() const { return inputSize_; }
    int32_t InfoSizePhySigChnl() const { return sizePhy_; }
    int32_t InfoNrPhySigChnl() const { return nrPhy_; }
    int32_t InfoSizeLogSigChnl() const { return sizeLog_; }
    int32_t InfoNrLogSigChnl() const { return nrLog_; }
    const std::string& InfoName() const { return common_.name; }
    const std::string& InfoDescription() const { return common_.description; }
    const std::string& InfoBitmap() const { return common_.picture; }
    int32_t InfoBitmapSize() const { return common_.pictureSize; }

    int32_t ConfSymbolicID() const { return termID_; }
    void setConfSymbolicID(int32_t id) { termID_ = id; }
    int32_t ConfRailPosition() const { return railPos_; }
    // Also moves the channel tables to the new position.
    void setConfRailPosition(int32_t position);

    // The process-image placement step. No placement is built: the offsets stay as they
    // are and the answer is false. It stays because the rail's fCalcTermAdrInImages walks
    // the terminals through it, and the channel force window relies on that false to stay
    // idle rather than work on image addresses nobody computed.
    [[nodiscard]] bool ConfProcAdr(int32_t& lInByteOffset, int32_t& lInBitOffset,
                                   int32_t& lOutByteOffset, int32_t& lOutBitOffset);

    // The channel nodes the project tree adds under this terminal's node, in order.
    std::vector<TreeNodeToAdd> AddChannelsToTreeView(const std::string& szTerminalKey,
                                                     const std::string& szTerminalKeyDetail) const;

    // Mapping entries per channel for a type and a logical channel size.
    static int32_t mappingEntryCount(const std::string& typeName, int32_t logicalChannelBits);

  private:
    // Where the inputs or outputs of one channel lie in the process images.
    struct MappingRecord {
        std::string destination;
        std::vector<std::string> addresses;
    };

    [[nodiscard]] int32_t retrieve(const std::string& szFileName, bool description);
    void readFile(const std::string& file, bool description);
    // The file a terminal file's channels take their defaults from, and why it is the
    // file's own when it is.
    std::pair<std::string, std::optional<ChannelsFromOwnTable::Why>> defaultsSource(
        const std::string& file) const;
    [[nodiscard]] int32_t writeSelfContained(const std::string& file) const;
    [[nodiscard]] bool writeLayout(const std::string& file) const;

    std::string loadedFileName_;
    int32_t couplerID_ = 0;
    int32_t railPos_ = 0;
    int32_t termID_ = 0;
    DescriptionCommon common_;
    int32_t nrPhy_ = 0, sizePhy_ = 0, nrLog_ = 0, sizeLog_ = 0;
    int32_t inputSize_ = 0, inputCSB_ = 0, outputSize_ = 0, outputCSB_ = 0;
    // The channel layout words as read (registers 10, 11 and 12 of table 0), which the
    // fields above are split from; a save writes them back as they came.
    int32_t physicalChannelsWord_ = 0, logicalChannelsWord_ = 0, channelSizesWord_ = 0;
    bool registerModel_ = false;
    int32_t entryCount_ = 0;
    std::vector<MappingRecord> inputs_;
    std::vector<MappingRecord> outputs_;
    std::shared_ptr<varnak::clsColTables> tables_;
    std::optional<varnak::ChannelsFromOwnTable> fromOwnTable_;
};

}  // namespace varnak
