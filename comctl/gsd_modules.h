#pragma once
// Module definitions of the GSD template and their assignment to the coupler's terminals.
// The template registers definitions with its module lines; its assignment line then writes,
// for the station as it was read, the lines of the matching definitions.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "comctl/gsd_coupler.h"
#include "comctl/gsd_log.h"
#include "comctl/gsd_text_io.h"

namespace varnak::gsd {

// A module definition: the output lines written for each terminal or block it stands for.
class CGSDDateiClamp {
  public:
    virtual ~CGSDDateiClamp() = default;

    // Whether the definition stands for this terminal entry.
    virtual bool matches(const GsdTerminalEntry& entry) = 0;
    // Whether both definitions describe the same module (their lines then belong together).
    virtual bool equals(const CGSDDateiClamp& other) const = 0;
    // Logs and writes every line in order.
    void write(GsdLineWriter& out, GsdLog& log) const;
    virtual void addLine(std::string line) { lines_.push_back(std::move(line)); }

    size_t lineCount() const { return lines_.size(); }

  protected:
    virtual std::string lineForOutput(size_t index) const { return lines_[index]; }

    std::vector<std::string> lines_;
};

// A block of digital inputs or outputs of one size.
class CGSDDateiClampDigital : public CGSDDateiClamp {
  public:
    // Parameter: first character hex (bit 0 = inputs, else bit 1 = outputs), rest the
    // bit count in decimal.
    explicit CGSDDateiClampDigital(std::string_view parameter);

    bool matches(const GsdTerminalEntry&) override { return false; }
    bool equals(const CGSDDateiClamp& other) const override;
    bool offers(bool inputs, int bitCount) const;

    bool inputs() const { return inputs_; }
    bool outputs() const { return outputs_; }
    int bitCount() const { return bitCount_; }

  private:
    bool inputs_ = false;
    bool outputs_ = false;
    int bitCount_ = -1;
};

// One kind of non-digital terminal, by type number or type pattern ("30xx").
class CGSDDateiClampAnalog : public CGSDDateiClamp {
  public:
    // Parameter: mask A (hex), mask B (hex), four characters type number in decimal or a
    // pattern holding "x", then the size byte in hex (none = 255).
    explicit CGSDDateiClampAnalog(std::string_view parameter);

    bool matches(const GsdTerminalEntry& entry) override;
    bool equals(const CGSDDateiClamp& other) const override;
    void addLine(std::string line) override;

    int maskA() const { return maskA_; }
    int maskB() const { return maskB_; }
    int typeNumber() const { return typeNumber_; }
    const std::string& pattern() const { return pattern_; }
    int sizeByte() const { return sizeByte_; }

  protected:
    std::string lineForOutput(size_t index) const override;

  private:
    bool typeMatches(int typeNumber);

    bool valid_ = true;  // a malformed parameter gives a definition that matches nothing
    int maskA_ = 0;
    int maskB_ = 0;
    int typeNumber_ = -1;
    std::string pattern_;
    int sizeByte_ = 255;
    std::vector<size_t> patternPositions_;  // per line; npos = the line held no pattern
    std::string matchedType_;
};

// The definitions registered since the last assignment, in registration order.
class GsdModuleList {
  public:
    void registerDigital(std::string_view parameter, std::string line);
    void registerAnalog(std::string_view parameter, std::string line);

    // Writes the lines for the terminals (analog ones one by one, digital ones as totals in
    // blocks of at most 128 bits), then drops every definition.
    void assign(const std::vector<GsdTerminalEntry>& terminals, GsdLineWriter& out, GsdLog& log);

    const std::vector<std::unique_ptr<CGSDDateiClamp>>& definitions() const { return definitions_; }

  private:
    void add(std::unique_ptr<CGSDDateiClamp> definition, std::string line);
    void emitDigital(bool inputs, int bitCount, GsdLineWriter& out, GsdLog& log);

    std::vector<std::unique_ptr<CGSDDateiClamp>> definitions_;
};

}  // namespace varnak::gsd
