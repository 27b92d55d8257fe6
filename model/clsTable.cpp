#include "model/clsTable.h"

#include <algorithm>
#include <span>

#include "model/app_context.h"
#include "model/basConvert.h"
#include "model/clsCommon.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "model/register_device.h"
#include "model/text_util.h"
#include "platform/ini_file.h"

namespace varnak {
namespace {

constexpr size_t kIniBuffer = 100;  // at most 99 characters arrive

// The language whose descriptions a load takes: the settings object's, as it is at the
// time of the load.
int32_t descriptionLanguage(AppContext& context) {
    if (context.VarnakCommon) return context.VarnakCommon->LanguageType();
    return context.LanguageNr;
}

// A failing statement of the load is skipped and the load goes on with the next one.
template <typename Statement>
void skipOnError(Statement statement) {
    try {
        statement();
    } catch (const std::exception&) {
    }
}

// Runs a transfer on the context's device; without one it fails like a telegram that
// could not be sent.
template <typename Transfer>
[[nodiscard]] int32_t onDevice(AppContext& context, Transfer transfer) {
    if (context.registerDevice) return transfer(*context.registerDevice);
    return kNoRegisterDeviceResult;
}

}  // namespace

void clsTable::setTableLen(int32_t value) {
    // A longer table would overrun the 256 slots in every loop over 0..TableLen.
    tableLen_ = std::clamp(value, -1, kLastRegister);
}

void clsTable::lazyLoad() {
    if (tableSourceFile_.empty() || bInitDone_) return;
    // Set first: the load lets window events run, and a register access from there must
    // not start a second load.
    bInitDone_ = true;
    const RegisterSet given = retrieveRegisters(tableSourceFile_);
    if (defaultsFile_.empty()) return;
    clsTable defaults;
    defaults.tableNr_ = tableNr_;
    defaults.posNr_ = posNr_;
    defaults.tableLen_ = tableLen_;
    const RegisterSet filled = defaults.retrieveRegisters(defaultsFile_) & ~given;
    fillFrom(defaults, given);
    if (filled.any()) valueChanged_ = true;
}

void clsTable::checkIndex(int32_t lRegisterOffset) {
    if (lRegisterOffset < 0 || lRegisterOffset > kLastRegister) throw SubscriptOutOfRange();
}

int32_t clsTable::runLength(int32_t lRegisterOffset, int32_t lRegisterSize) {
    if (lRegisterSize < 1) return 0;
    return std::min(lRegisterSize, kRegistersPerTable - lRegisterOffset);
}

void clsTable::showStatus(const char* couplerText, const char* terminalText) const {
    varnak().ui->statusText((posNr_ == 0 ? couplerText : terminalText) + std::to_string(tableNr_));
}

int32_t clsTable::ConfRegisterValue(int32_t lRegisterOffset) {
    lazyLoad();
    checkIndex(lRegisterOffset);
    return values_[static_cast<size_t>(lRegisterOffset)];
}

void clsTable::setConfRegisterValue(int32_t lRegisterOffset, int32_t value) {
    lazyLoad();
    checkIndex(lRegisterOffset);
    int32_t& slot = values_[static_cast<size_t>(lRegisterOffset)];
    if (slot == value) return;
    slot = value;
    valueChanged_ = true;
}

std::string clsTable::InfoRegisterDesc(int32_t lRegisterOffset) {
    lazyLoad();
    checkIndex(lRegisterOffset);
    return descriptions_[static_cast<size_t>(lRegisterOffset)];
}

int32_t clsTable::ConfUpload(int32_t lRegisterOffset, int32_t lRegisterSize) {
    lazyLoad();
    // A refused call changes nothing, so the index is checked before the table is marked.
    checkIndex(lRegisterOffset);
    valueChanged_ = true;
    showStatus("Upload coupler data... ", "Upload terminal data... ");
    AppContext& context = varnak();
    int32_t count = runLength(lRegisterOffset, lRegisterSize);
    if (count == 0) return lastResult_ = 0;
    std::span<int32_t> run(values_.data() + lRegisterOffset, static_cast<size_t>(count));
    lastResult_ = onDevice(context, [&](RegisterDevice& device) {
        return device.readRegisters(posNr_, tableNr_, lRegisterOffset, count, context.MultiPointAdr,
                                    run);
    });
    return lastResult_;
}

int32_t clsTable::ConfDownload(int32_t lRegisterOffset, int32_t lRegisterSize) {
    lazyLoad();
    checkIndex(lRegisterOffset);
    showStatus("Download coupler data... ", "Download terminal data... ");
    AppContext& context = varnak();
    int32_t count = runLength(lRegisterOffset, lRegisterSize);
    if (count == 0) return lastResult_ = 0;
    std::span<const int32_t> run(values_.data() + lRegisterOffset, static_cast<size_t>(count));
    lastResult_ = onDevice(context, [&](RegisterDevice& device) {
        return device.writeRegisters(posNr_, tableNr_, lRegisterOffset, count,
                                     context.MultiPointAdr, run);
    });
    return lastResult_;
}

int32_t clsTable::ConfRetrieveData(const std::string& szFileName) {
    retrieveRegisters(szFileName);
    return 0;
}

void clsTable::fillFrom(const clsTable& defaults, const RegisterSet& given) {
    for (size_t i = 0; i < values_.size(); ++i) {
        if (!given.test(i)) values_[i] = defaults.values_[i];
        if (descriptions_[i].empty()) descriptions_[i] = defaults.descriptions_[i];
    }
}

RegisterSet registersHeldIn(const std::string& file, int32_t tableNr) {
    RegisterSet held;
    for (const std::string& key :
         ini::sectionKeys(file, "RegValue_Table" + std::to_string(tableNr))) {
        const std::string name = upperAscii(key);
        if (!name.starts_with("REG") || name.size() < 4 || name.size() > 6 ||
            name.find_first_not_of("0123456789", 3) != std::string::npos)
            continue;
        const int number = std::stoi(name.substr(3));
        if (number <= kLastRegister) held.set(static_cast<size_t>(number));
    }
    return held;
}

RegisterSet clsTable::retrieveRegisters(const std::string& szFileName) {
    RegisterSet given;
    tableSourceFile_ = szFileName;
    AppContext& context = varnak();
    const int32_t language = descriptionLanguage(context);
    showStatus("Retrieving coupler data... ", "Retrieving terminal data... ");
    context.ui->pumpEvents();

    const std::string valueSection = "RegValue_Table" + std::to_string(tableNr_);
    const std::string descSection = "RegDesc_Table" + std::to_string(tableNr_);
    const std::string descKey = "Lang" + std::to_string(language) + "_Reg";
    // tableLen_ is read on every round: the pump above may have let a window change it.
    ini::IniRun run;  // nothing below lets window events run
    for (int32_t i = 0; i <= tableLen_; ++i) {
        const std::string index = std::to_string(i);
        skipOnError([&] {
            std::string text;
            // A value of a single character is never taken, whatever it is.
            if (ini::GetPrivateProfileString(valueSection, "Reg" + index, "", text, kIniBuffer,
                                             szFileName) <= 1)
                return;
            text = trimBlanks(text);
            if (!gfIsHexValue(text)) return;
            if (std::optional<int32_t> value = gfHexValToLong(text)) {
                values_[static_cast<size_t>(i)] = *value;
                given.set(static_cast<size_t>(i));
            }
        });
        skipOnError([&] {
            std::string text;
            // Counted in characters: a single letter such as "Ä" is two bytes.
            if (ini::GetPrivateProfileString(descSection, descKey + index, "", text, kIniBuffer,
                                             szFileName) > 1)
                descriptions_[static_cast<size_t>(i)] = trimBlanks(text);
        });
    }
    context.ui->statusText("done...");
    return given;
}

bool clsTable::writeRegisters(const std::string& szFileName) const {
    const std::string section = "RegValue_Table" + std::to_string(tableNr_);
    ini::IniBatch batch;
    ini::IniRun run;
    for (int32_t i = 0; i <= tableLen_; ++i) {
        if (!ini::WritePrivateProfileString(section, "Reg" + std::to_string(i),
                                            iniRegisterText(values_[static_cast<size_t>(i)]),
                                            szFileName))
            return false;
    }
    return batch.commit();
}

int32_t clsTable::ConfSaveData(const std::string& szFileName) {
    if (!valueChanged_) return 0;
    tableSourceFile_ = szFileName;
    if (!isPersistentTable(tableNr_)) return 0;
    showStatus("Saving coupler data... ", "Saving terminal data... ");
    // A table whose values did not reach the file stays changed, so the next save
    // tries again instead of dropping them.
    if (!writeRegisters(szFileName)) return kTableFileWriteFailed;
    valueChanged_ = false;
    varnak().ui->statusText("done...");
    return 0;
}

int32_t clsTable::ConfSaveAsResData(const std::string& szFileName) {
    // Without the load, a never-viewed table would write zeros over its defaults.
    lazyLoad();
    showStatus("Saving coupler data... ", "Saving terminal data... ");
    return writeRegisters(szFileName) ? 0 : kTableFileWriteFailed;
}

}  // namespace varnak
