#include "comctl/gsd_modules.h"

#include <cctype>
#include <optional>

namespace varnak::gsd {

namespace {

constexpr int kDigitalBlockBits = 128;

std::optional<int> parseInt(std::string_view text, int base, int limit) {
    std::optional<uint32_t> value = parseNumber(text, base, static_cast<uint32_t>(limit));
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

std::string_view part(std::string_view text, size_t from, size_t count = std::string_view::npos) {
    return from >= text.size() ? std::string_view{} : text.substr(from, count);
}

bool sameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

void CGSDDateiClamp::write(GsdLineWriter& out, GsdLog& log) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string line = lineForOutput(i);
        log.info(line);
        out.writeLine(line);
    }
}

CGSDDateiClampDigital::CGSDDateiClampDigital(std::string_view parameter) {
    int direction = parseInt(part(parameter, 0, 1), 16, 15).value_or(0);
    inputs_ = (direction & 1) != 0;
    outputs_ = !inputs_ && (direction & 2) != 0;
    bitCount_ = parseInt(part(parameter, 1), 10, 0x7FFF).value_or(-1);
}

bool CGSDDateiClampDigital::equals(const CGSDDateiClamp& other) const {
    auto* digital = dynamic_cast<const CGSDDateiClampDigital*>(&other);
    return digital && digital->inputs_ == inputs_ && digital->outputs_ == outputs_ &&
           digital->bitCount_ == bitCount_;
}

bool CGSDDateiClampDigital::offers(bool inputs, int bitCount) const {
    return (inputs ? inputs_ : outputs_) && bitCount_ == bitCount;
}

CGSDDateiClampAnalog::CGSDDateiClampAnalog(std::string_view parameter) {
    std::optional<int> maskA = parseInt(part(parameter, 0, 1), 16, 15);
    std::optional<int> maskB = parseInt(part(parameter, 1, 1), 16, 15);
    std::string_view type = part(parameter, 2, 4);
    std::string_view size = part(parameter, 6);
    valid_ = maskA && maskB;
    maskA_ = maskA.value_or(0);
    maskB_ = maskB.value_or(0);
    if (type.find('x') != std::string_view::npos) {
        pattern_ = std::string(type);
    } else {
        std::optional<int> number = parseInt(type, 10, 0x7FFF);
        valid_ = valid_ && number;
        typeNumber_ = number.value_or(-1);
    }
    if (!size.empty()) {
        std::optional<int> sizeByte = parseInt(size, 16, 255);
        valid_ = valid_ && sizeByte;
        sizeByte_ = sizeByte.value_or(255);
    }
}

bool CGSDDateiClampAnalog::equals(const CGSDDateiClamp& other) const {
    auto* analog = dynamic_cast<const CGSDDateiClampAnalog*>(&other);
    return analog && analog->valid_ == valid_ && analog->typeNumber_ == typeNumber_ &&
           analog->pattern_ == pattern_ && analog->maskA_ == maskA_ && analog->maskB_ == maskB_ &&
           analog->sizeByte_ == sizeByte_;
}

void CGSDDateiClampAnalog::addLine(std::string line) {
    size_t at = std::string::npos;
    if (!pattern_.empty()) {
        at = line.find(pattern_);
        if (at != std::string::npos) line.erase(at, pattern_.size());
    }
    patternPositions_.push_back(at);
    CGSDDateiClamp::addLine(std::move(line));
}

std::string CGSDDateiClampAnalog::lineForOutput(size_t index) const {
    std::string line = lines_[index];
    if (patternPositions_[index] != std::string::npos) {
        line.insert(patternPositions_[index], matchedType_);
    }
    return line;
}

bool CGSDDateiClampAnalog::typeMatches(int typeNumber) {
    std::string digits = std::to_string(typeNumber);
    if (pattern_.empty()) {
        if (typeNumber != typeNumber_) return false;
    } else {
        if (digits.size() != pattern_.size()) return false;
        for (size_t i = 0; i < digits.size(); ++i) {
            char p = pattern_[i];
            if (p != 'x' && p != 'X' && !sameLetter(p, digits[i])) return false;
        }
    }
    matchedType_ = digits;
    return true;
}

bool CGSDDateiClampAnalog::matches(const GsdTerminalEntry& entry) {
    if (!valid_ || entry.digital()) return false;
    if (!typeMatches(entry.typeNumber())) return false;
    if (maskA_ == 1 && !entry.flagA) return false;
    if (maskA_ == 2 && entry.flagA) return false;
    if (maskB_ == 1 && entry.flagB) return false;
    if (maskB_ == 2 && !entry.flagB) return false;
    return sizeByte_ == entry.size;
}

void GsdModuleList::add(std::unique_ptr<CGSDDateiClamp> definition, std::string line) {
    for (auto& registered : definitions_) {
        if (registered->equals(*definition)) {
            registered->addLine(std::move(line));
            return;
        }
    }
    definition->addLine(std::move(line));
    definitions_.push_back(std::move(definition));
}

void GsdModuleList::registerDigital(std::string_view parameter, std::string line) {
    add(std::make_unique<CGSDDateiClampDigital>(parameter), std::move(line));
}

void GsdModuleList::registerAnalog(std::string_view parameter, std::string line) {
    add(std::make_unique<CGSDDateiClampAnalog>(parameter), std::move(line));
}

void GsdModuleList::emitDigital(bool inputs, int bitCount, GsdLineWriter& out, GsdLog& log) {
    for (auto& definition : definitions_) {
        auto* digital = dynamic_cast<CGSDDateiClampDigital*>(definition.get());
        if (digital && digital->offers(inputs, bitCount)) {
            digital->write(out, log);
            return;
        }
    }
    log.warning("Kann digital In-/ Outputs nicht an registrierte In-/ Outputs zuweisen.");
}

void GsdModuleList::assign(const std::vector<GsdTerminalEntry>& terminals, GsdLineWriter& out,
                           GsdLog& log) {
    int inputBits = 0;
    int outputBits = 0;
    for (size_t i = 0; i < terminals.size(); ++i) {
        const GsdTerminalEntry& entry = terminals[i];
        if (entry.digital()) {
            if (entry.hasInputs()) inputBits += entry.bitCount();
            if (entry.hasOutputs()) outputBits += entry.bitCount();
            continue;
        }
        bool written = false;
        for (auto& definition : definitions_) {
            if (dynamic_cast<CGSDDateiClampAnalog*>(definition.get()) &&
                definition->matches(entry)) {
                definition->write(out, log);
                written = true;
                break;
            }
        }
        // The terminal is named so that whoever reads the log (or the export's message)
        // knows which one the master's configuration would lack.
        if (!written) {
            log.warning("Kann analog Klemme nicht an registrierte Klemme zuweisen: Position " +
                        std::to_string(i + 1) + ", Typ " + std::to_string(entry.typeNumber()));
        }
    }

    for (bool inputs : {true, false}) {
        int remaining = ((inputs ? inputBits : outputBits) + 7) / 8 * 8;
        while (remaining > kDigitalBlockBits) {
            emitDigital(inputs, kDigitalBlockBits, out, log);
            remaining -= kDigitalBlockBits;
        }
        if (remaining != 0) emitDigital(inputs, remaining, out, log);
    }
    definitions_.clear();
}

}  // namespace varnak::gsd
