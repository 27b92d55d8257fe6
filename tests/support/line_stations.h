#pragma once
// Stations sharing the simulated line, answering in its station's place
// (SimStation::setAnswerer): register reads and writes of the tables they hold, refusals of
// the others, and process data that echo the outputs as the inputs with the station's
// address as the status, so that the inputs of every exchange name the request they answer.
// The line's faults still spoil their replies.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/sim_station.h"

namespace varnak::test {

class LineStations {
  public:
    using Shape = SimStation::ReplyShape;

    void addStation(uint8_t address);
    // A table of the station at rail position rail, zero-filled.
    void addTable(uint8_t station, int rail, int table, size_t registers);
    uint16_t reg(uint8_t station, int rail, int table, int reg) const;

    struct Replies {
        Shape writes = Shape::Count;    // what acknowledges a write
        Shape refusals = Shape::Empty;  // what refuses a read of a table a station lacks
        // Every read reply carries values no reply carried before (a running count): a
        // value returned names the reply it came from.
        bool freshValues = false;
    };
    void setReplies(const Replies& replies);

    // Answers the requests addressed to these stations, leaves the others to the line's.
    SimStation::Answerer answerer();

  private:
    using TableKey = std::tuple<uint8_t, int, int>;
    std::optional<std::string> answer(const std::string& request);
    std::string registerAnswer(const std::string& request);

    mutable std::mutex mutex_;
    std::set<uint8_t> stations_;
    std::map<TableKey, std::vector<uint16_t>> tables_;
    Replies replies_;
    uint16_t nextValue_ = 1;
};

}  // namespace varnak::test
