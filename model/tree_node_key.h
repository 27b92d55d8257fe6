#pragma once
// Keys of the project tree's nodes: a kind prefix of exactly 25 characters (the name
// padded with "_") followed by fixed-width id fields. Readers in several windows cut the
// fields out of fixed character positions, so the text form is an interface: every
// number is written as at least three decimal digits and must stay within 0..999 (a
// wider number widens its field and shifts every later position).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnak {

inline constexpr size_t kTreeKeyPrefixLength = 25;

inline constexpr std::string_view SZ_PROJECT_GRPKEY = "SZ_PROJECT_GRPKEY________";
inline constexpr std::string_view SZ_COUPLER_ITEMKEY = "SZ_COUPLER_ITEMKEY_______";
inline constexpr std::string_view SZ_COUPLER_SETTINGS = "SZ_COUPLER_SETTINGS______";
inline constexpr std::string_view SZ_CONTROLLER_SETTINGS = "SZ_CONTROLLER_SETTINGS___";
inline constexpr std::string_view SZ_CONTROLLER_SETTINGS2 = "SZ_CONTROLLER_SETTINGS2__";
inline constexpr std::string_view SZ_SPECIFIC_PROG_TERMCFG = "SZ_SPECIFIC_PROG_TERMCFG_";
inline constexpr std::string_view SZ_COMMON_SETTINGS = "SZ_COMMON_SETTINGS_______";
inline constexpr std::string_view SZ_SPECIFIC_SETTINGS = "SZ_SPECIFIC_SETTINGS_____";
inline constexpr std::string_view SZ_SPECIFIC_PROG_CONF = "SZ_SPECIFIC_PROG_CONF____";
inline constexpr std::string_view SZ_COUPLER_TABLE = "SZ_COUPLER_TABLE_________";
inline constexpr std::string_view SZ_TERMINAL_ITEMKEY = "SZ_TERMINAL_ITEMKEY______";
inline constexpr std::string_view SZ_TERMINAL_CHANNEL = "SZ_TERMINAL_CHANNEL______";
inline constexpr std::string_view SZ_TERMINAL_SETTINGS = "SZ_TERMINAL_SETTINGS_____";
inline constexpr std::string_view SZ_TERMINAL_REGISTER = "SZ_TERMINAL_REGISTER_____";

// Kinds that some views recognise but the tree never builds; they have no TreeNodeKind.
inline constexpr std::string_view SZ_SPECIFIC_AUTO_CONF = "SZ_SPECIFIC_AUTO_CONF____";
inline constexpr std::string_view SZ_CHANNEL_INDATA = "SZ_CHANNEL_INDATA________";
inline constexpr std::string_view SZ_CHANNEL_OUTDATA = "SZ_CHANNEL_OUTDATA_______";
inline constexpr std::string_view SZ_CHANNEL_STATUS = "SZ_CHANNEL_STATUS________";
inline constexpr std::string_view SZ_CHANNEL_CONTROL = "SZ_CHANNEL_CONTROL_______";

enum class TreeNodeKind {
    Project,
    Coupler,
    CouplerSettings,
    ControllerSettings,
    ControllerSettings2,
    SpecificProgTermCfg,
    CommonSettings,
    SpecificSettings,
    SpecificProgConf,
    CouplerTable,  // the bare prefix is the tables group
    Terminal,
    TerminalChannel,
    TerminalSettings,
    TerminalRegister,
};

// What follows the prefix of each kind.
enum class TreeKeyDetail { None, Coupler, Terminal, Channel, Table };

std::string_view treeKeyPrefix(TreeNodeKind kind);
// The detail an item key of that kind carries (the tables group carries none).
TreeKeyDetail treeKeyDetail(TreeNodeKind kind);
// The kind named by the key's first 25 characters (compared exactly); nullopt for none.
std::optional<TreeNodeKind> treeKeyKind(std::string_view key);
// A group node's key is the bare prefix: exactly 25 characters.
inline bool isGroupKey(std::string_view key) {
    return key.size() == kTreeKeyPrefixLength;
}

// 1-based start positions of the fields readers take (three characters each).
inline constexpr size_t kKeyCouplerId = 27;
inline constexpr size_t kKeyProjectPosition = 31;
inline constexpr size_t kKeyTermId = 35;
inline constexpr size_t kKeyRailPosition = 39;  // terminal and channel keys
inline constexpr size_t kKeyTableNr = 39;       // coupler table keys
inline constexpr size_t kKeyChannel = 49;       // channel keys: also the channel table

// A number as written into a key: at least three digits ("007"); a negative number keeps
// its sign in front ("-001").
std::string treeKeyNumber(int32_t value);

// "C" id "P" position (8 characters).
std::string couplerKeyDetail(int32_t couplerId, int32_t projectPosition);
// coupler detail "T" terminal id "P" rail position (16 characters).
std::string terminalKeyDetail(int32_t couplerId, int32_t projectPosition, int32_t termId,
                              int32_t railPosition);
// coupler detail "TABLE" table number (16 characters).
std::string tableKeyDetail(int32_t couplerId, int32_t projectPosition, int32_t tableNr);
// terminal detail "CHANNEL" channel index counted from 0 (26 characters).
std::string channelKeyDetail(std::string_view terminalDetail, int32_t channel);
// prefix followed by detail.
std::string treeKey(TreeNodeKind kind, std::string_view detail = {});

// Three characters from the 1-based start read as a decimal number: leading blanks are
// skipped, the first other non-digit ends the number, no digits give 0 ("007" gives 7,
// "0 7" gives 0, "___" gives 0). A key shorter than start + 2 gives what is there.
int32_t treeKeyField(std::string_view key, size_t start);

// A key parsed once into its fields (fields its kind does not carry stay 0).
struct TreeNodeKey {
    TreeNodeKind kind = TreeNodeKind::Project;
    bool group = false;  // the bare prefix
    int32_t couplerId = 0;
    int32_t projectPosition = 0;
    int32_t termId = 0;
    int32_t railPosition = 0;
    int32_t tableNr = 0;
    int32_t channel = 0;
    bool operator==(const TreeNodeKey&) const = default;
};

// nullopt for an unknown prefix.
std::optional<TreeNodeKey> parseTreeNodeKey(std::string_view key);
std::string buildTreeNodeKey(const TreeNodeKey& key);

}  // namespace varnak
