#pragma once
// One numbered register table of one device of a rail: up to 256 registers of 16-bit
// device words in 32-bit signed slots, with a description per register. It is the only
// road between the program and the device registers: upload (read a run from the device),
// download (write a run), loading values and descriptions from an INI-format file and
// saving the values back.
//
// Values load lazily: a table given a TableSourceFile reads it at the first register
// access (ConfRegisterValue, InfoRegisterDesc, ConfUpload, ConfDownload), so a rail with
// many terminals opens without reading every channel table.
#include <array>
#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace varnak {

// A register index outside 0..255 (the run-time error 9 of the callers' contract).
class SubscriptOutOfRange : public std::out_of_range {
  public:
    SubscriptOutOfRange() : std::out_of_range("subscript out of range") {}
};

// ConfSaveData / ConfSaveAsResData: the file could not be written (0 = written).
inline constexpr int32_t kTableFileWriteFailed = -1;

// Registers 0..255 as a set, such as those a load found a value for.
using RegisterSet = std::bitset<256>;

// The registers a file gives a key for in its "RegValue_Table<n>" section, whatever their
// values (without reading the values, as a load would).
RegisterSet registersHeldIn(const std::string& file, int32_t tableNr);

class clsTable {
  public:
    clsTable() = default;
    clsTable(const clsTable&) = delete;
    clsTable& operator=(const clsTable&) = delete;

    const std::string& TableSourceFile() const { return tableSourceFile_; }
    void setTableSourceFile(const std::string& file) { tableSourceFile_ = file; }
    // A register changed or was uploaded since the last save.
    bool ValueChanged() const { return valueChanged_; }
    void setValueChanged(bool value) { valueChanged_ = value; }
    // The lazy load has been done, or is not wanted (tables to be filled by upload).
    bool bInitDone() const { return bInitDone_; }
    void setbInitDone(bool value) { bInitDone_ = value; }
    // Does the lazy load now, when it is still to be done.
    void ensureLoaded() { lazyLoad(); }
    // A file whose same-numbered table gives, at the lazy load, the registers the source
    // file lacks (a rail's coupler description); the table is then marked changed, so that
    // the next save writes what was filled. Empty: the registers the source lacks stay 0.
    void setDefaultsFile(const std::string& file) { defaultsFile_ = file; }
    // Owner's rail position: 0 the coupler, n the terminal at rail position n.
    int32_t PosNr() const { return posNr_; }
    void setPosNr(int32_t value) { posNr_ = value; }
    // Index of the LAST register (not a count): a table of registers 0..63 has 63; a
    // whole-table transfer moves TableLen + 1 registers. Kept within -1..255 (-1: empty).
    int32_t TableLen() const { return tableLen_; }
    void setTableLen(int32_t value);
    const std::string& TableDesc() const { return tableDesc_; }
    void setTableDesc(const std::string& value) { tableDesc_ = value; }
    // Coupler table number (position 0) or channel index of a terminal (position n).
    int32_t TableNr() const { return tableNr_; }
    void setTableNr(int32_t value) { tableNr_ = value; }
    // Result code of the last upload or download.
    int32_t LastResult() const { return lastResult_; }

    // Register lRegisterOffset (0..255, else SubscriptOutOfRange).
    int32_t ConfRegisterValue(int32_t lRegisterOffset);
    // Stores the value unmasked; ValueChanged becomes True only on a real change.
    void setConfRegisterValue(int32_t lRegisterOffset, int32_t value);
    std::string InfoRegisterDesc(int32_t lRegisterOffset);

    // Reads registers lRegisterOffset .. + lRegisterSize - 1 from the device and returns
    // the control's result code (0 = success). Marks the table changed even when the
    // device does not answer. A run past register 255 is cut at 255; a count below 1
    // reads nothing and gives 0.
    [[nodiscard]] int32_t ConfUpload(int32_t lRegisterOffset, int32_t lRegisterSize);
    // Writes the same run to the device; ValueChanged stays as it is.
    [[nodiscard]] int32_t ConfDownload(int32_t lRegisterOffset, int32_t lRegisterSize);

    // Loads registers and descriptions 0..TableLen from the file's sections
    // "RegValue_Table<n>" and "RegDesc_Table<n>". Result 0.
    [[nodiscard]] int32_t ConfRetrieveData(const std::string& szFileName);
    // The same load, answering which registers the file gave a value; the others keep
    // theirs, so a load over defaults leaves the defaults where the file is silent.
    RegisterSet retrieveRegisters(const std::string& szFileName);
    // Fills this table from defaults (a channel's): the value of every register not in
    // given, and every description this table lacks. Nothing else of this table changes.
    void fillFrom(const clsTable& defaults, const RegisterSet& given);
    // Saves registers 0..TableLen into "RegValue_Table<n>" when the table changed and its
    // number is one the files keep. 0, or kTableFileWriteFailed (the table then stays
    // changed).
    [[nodiscard]] int32_t ConfSaveData(const std::string& szFileName);
    // Saves registers 0..TableLen whatever the table number or change state (a table
    // saved as a device description). 0 or kTableFileWriteFailed.
    [[nodiscard]] int32_t ConfSaveAsResData(const std::string& szFileName);

  private:
    void lazyLoad();
    static void checkIndex(int32_t lRegisterOffset);
    // Clamps a run to the 256 slots; the count to transfer (0: nothing to do).
    static int32_t runLength(int32_t lRegisterOffset, int32_t lRegisterSize);
    void showStatus(const char* couplerText, const char* terminalText) const;
    [[nodiscard]] bool writeRegisters(const std::string& szFileName) const;

    std::array<int32_t, 256> values_{};
    std::array<std::string, 256> descriptions_;
    int32_t tableLen_ = 0;
    int32_t tableNr_ = 0;
    int32_t posNr_ = 0;
    std::string tableDesc_;
    std::string tableSourceFile_;
    std::string defaultsFile_;
    bool bInitDone_ = false;
    bool valueChanged_ = false;
    int32_t lastResult_ = 0;
};

}  // namespace varnak
