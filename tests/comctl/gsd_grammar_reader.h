#pragma once
// A small reader of the public keyword grammar of GSD files, written for the tests from the
// grammar's rules: the section keyword first, known keywords of the declared revision with
// values in their ranges, the mandatory keywords of a modular DP slave, a maximum response
// time for every supported baud rate, and modules whose configuration bytes decode.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varnak::test {

struct GsdDataLengths {
    int inputs = 0;  // bytes
    int outputs = 0;
    bool operator==(const GsdDataLengths&) const = default;
};

struct GsdModuleEntry {
    std::string name;
    std::vector<int> config;  // the identifier bytes as written
    GsdDataLengths lengths;   // what the identifier bytes declare
};

struct GsdReading {
    std::map<std::string, std::string> keywords;  // keyword -> value as written
    std::vector<GsdModuleEntry> modules;
    std::vector<std::string> faults;  // every rule the file breaks, with its line

    std::optional<long> number(const std::string& keyword) const;
};

GsdReading readGsd(const std::string& text);

// The input and output bytes that configuration identifier bytes declare; nullopt when the
// bytes do not decode (a special identifier whose length bytes are missing).
std::optional<GsdDataLengths> decodeConfig(const std::vector<int>& bytes);

}  // namespace varnak::test
