#pragma once
// Shared pieces of the project store: the result codes of its operations, the limits that
// keep ids and positions within their file and wire forms, file names, and the reading and
// writing of the [Config] and [Common] keys of rail and terminal files.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/text_util.h"

namespace varnak {

// Results of the store operations: 0 success, otherwise what kept the operation from
// happening (nothing was changed unless the operation says so).
enum StoreResult : int32_t {
    kStoreOk = 0,
    kStoreNoProject = 1,      // no project is open
    kStoreInvalidName = 2,    // a name that cannot become a folder name
    kStoreNameInUse = 3,      // the folder belongs to another rail or project
    kStoreWriteFailed = 4,    // a file or folder could not be written
    kStoreFileMissing = 5,    // the file to open does not exist
    kStoreDeleteFailed = 6,   // a deletion stopped half-way
    kStoreLimitReached = 7,   // more terminals or a higher id than the store can address
    kStoreBusy = 8,           // the collection is in the middle of an operation
    kStorePortFailed = 9,     // the serial port could not be set up
    kStoreBadPosition = 10,   // a rail position outside the terminals of the rail
    kStoreNotARailFile = 11,  // the file names no coupler type or no usable rail name
    // the device description names no type (damaged)
    kStoreDescriptionRefused = 12,
    // the device description stops inside a line of register values (an interrupted copy)
    kStoreDescriptionCutShort = 13,
};

// String id of the user text that explains a result (0 for success).
int storeResultTextId(int32_t result);
// The message of a failed result: its text, and for a failed write the file (or folder)
// that failed and the system's reason, as the operation that failed noted them.
std::string storeResultMessage(int32_t result);

// Terminal positions travel as one byte; ids and positions enter tree keys and file names
// with three digits.
inline constexpr int32_t kMaxTerminalsPerRail = 255;
inline constexpr int32_t kMaxStoreId = 999;

// A number written with at least three digits (7 gives "007", 1234 stays "1234").
std::string idText(int32_t id);
// "C<coupler id>T<terminal id>.TCF", both ids with at least three digits.
std::string terminalFileName(int32_t couplerId, int32_t terminalId);
// The terminal id a terminal file's name carries ("C001T012.TCF" gives 12, in any letter
// case); nullopt for a name of another form.
std::optional<int32_t> terminalIdFromFileName(std::string_view name);

// Keys of rail and terminal files are read into a buffer of this many characters, so at
// most one less arrives: a longer text would come back cut.
inline constexpr size_t kKeyBuffer = 100;
inline constexpr int kMaxKeyTextLength = static_cast<int>(kKeyBuffer) - 1;

// A [Config] or [Common] key: read with the default "0" into a 100-character buffer and
// taken trimmed, so an absent key reads "0".
std::string readKeyText(const std::string& file, std::string_view section, std::string_view key);
// As readKeyText, but an absent key is the empty text (a rail's name and comment: a rail
// without them has none, not one called "0").
std::string readKeyTextOrEmpty(const std::string& file, std::string_view section,
                               std::string_view key);
// The same key taken as a number (its leading number, rounded half to even).
int32_t readKeyNumber(const std::string& file, std::string_view section, std::string_view key);

// Writes the value trimmed. A value in enclosing quotes gets one more pair, which reading
// takes off again, so it reads back as written.
[[nodiscard]] bool writeKeyText(const std::string& file, std::string_view section,
                                std::string_view key, std::string_view value);
[[nodiscard]] bool writeKeyNumber(const std::string& file, std::string_view section,
                                  std::string_view key, int32_t value);

// "Lang<LanguageNr>_Desc" of the current context.
std::string descriptionKey();

// The [Common] type data that rail and terminal files copy from their device description.
struct DescriptionCommon {
    std::string name;         // Name: the type name, also the description's file name
    std::string description;  // Lang<LanguageNr>_Desc
    std::string picture;      // Picture
    int32_t pictureSize = 0;  // PicSize
    int32_t currentKBus = 0;  // CurrentKBus

    // Each key as readKeyText / readKeyNumber take it (an absent key reads "0").
    void read(const std::string& file);
    // The keys written from these fields (a file made without its description).
    [[nodiscard]] bool write(const std::string& file) const;
};

// A new project file begun as a copy of a description's bytes, written with the save's
// own writes (ini::createFromCopy). False when it could not be made (a file of the name is
// there) or the description is not usable (device_description.h): its bytes would make a
// file that names no type, which the next open refuses.
[[nodiscard]] bool copyDescription(const std::string& from, const std::string& to);

// Case-insensitive containment of one path text in another (descriptions are addressed
// the way a case-insensitive file system does).
bool containsNoCase(std::string_view text, std::string_view part);

}  // namespace varnak
