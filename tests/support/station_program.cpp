// A simulated station on a pseudo-terminal for trying the program by hand: a rail of
// device descriptions answering at a station address (the program's default 0). It prints
// the line to set before starting the program, e.g. "VARNAK_COM2=/dev/pts/7", and serves
// until interrupted.
//
//   varnak_station [--address N] [--com N] [--resources DIR] [--pace] [--log]
//                  [--log-writes] [--moving-inputs] [--no-code-word] [--dip N]
//                  [--dhcp-after S] [--write-replies count|values|empty]
//                  [--refusals empty|count|values] [--without-table P:T ...]
//                  [--register P:T:R=V ...]
//                  COUPLER [TERMINAL ...]
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/paths.h"
#include "tests/support/station_from_rail.h"
#include "tests/support/station_process_images.h"
#include "tests/support/wire_log.h"
#include "tests/support/write_reply_shapes.h"

namespace {

struct Options {
    int address = 0;
    int com = 2;
    std::string resources;
    bool pace = false;
    bool log = false;
    bool logWrites = false;
    bool movingInputs = false;
    bool codeWord = true;
    int dip = -1;        // the coupler's DIP switches; -1: the station's own
    int dhcpAfter = -1;  // seconds until the DHCP server's address is taken; -1: never
    varnak::test::SimStation::ReplyShape writeReplies = varnak::test::SimStation::ReplyShape::Count;
    varnak::test::SimStation::ReplyShape refusals = varnak::test::SimStation::ReplyShape::Empty;
    std::vector<std::pair<int, int>> lacking;  // rail position and table
    struct Preset {
        int position, table, reg, value;
    };
    std::vector<Preset> presets;  // registers holding a value of their own from the start
    varnak::test::RailStationSpec rail;
};

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--address N] [--com N] [--resources DIR] [--pace] [--log] "
                 "[--log-writes] [--moving-inputs] [--no-code-word] [--dip N] [--dhcp-after S] "
                 "[--write-replies count|values|empty] [--refusals empty|count|values] "
                 "[--without-table P:T ...] [--register P:T:R=V ...] COUPLER [TERMINAL ...]\n"
                 "  --address N     station address (default 0, the program's default)\n"
                 "  --com N         the COM number the printed variable names (default 2)\n"
                 "  --resources DIR device descriptions (default: the program's resource "
                 "folder)\n"
                 "  --pace          answer at the wire speed the program set\n"
                 "  --log           print every request as it arrives\n"
                 "  --log-writes    print only the write requests (what the program changed)\n"
                 "  --moving-inputs the input images move: register 0 counts tenths of a "
                 "second,\n"
                 "                  register 1 walks a bit every quarter second, register 2 "
                 "counts seconds\n"
                 "  --no-code-word  terminals take writes to registers 32-63 without the code "
                 "word in register 31\n"
                 "  --dip N         the coupler's DIP switches (bit n-1 = switch n, e.g. 0x20C)\n"
                 "  --dhcp-after S  S seconds after start an Ethernet coupler's status table 121 "
                 "holds the DHCP ready marker and the address 10.0.0.7, mask 255.255.255.0, DNS "
                 "10.0.0.1\n"
                 "  --write-replies how a register write is acknowledged: count (the count "
                 "written, no values;\n"
                 "                  the default), values (the values echoed) or empty (no "
                 "values, count 0)\n"
                 "  --refusals      how a read of a table, position or range the station lacks "
                 "is refused:\n"
                 "                  empty (no values, count 0; the default), count (the count "
                 "read, no values)\n"
                 "                  or values (the count and that many zero values)\n"
                 "  --without-table P:T  the device at rail position P lacks table T (e.g. 4:1, "
                 "channel table 1\n"
                 "                  of the terminal at 4): its reads are refused\n"
                 "  --register P:T:R=V  register R of table T at rail position P holds V from the "
                 "start\n"
                 "                  (decimal or 0x hexadecimal, e.g. 0:10:0=0x5014)\n",
                 program);
    return 2;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](int& out, int low, int high) {
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 0);
            if (*end != '\0' || n < low || n > high) return false;
            out = static_cast<int>(n);
            return true;
        };
        if (a == "--address") {
            if (!number(o.address, 0, 255)) return false;
        } else if (a == "--com") {
            if (!number(o.com, 1, 8)) return false;
        } else if (a == "--resources") {
            if (i + 1 >= argc) return false;
            o.resources = argv[++i];
        } else if (a == "--pace") {
            o.pace = true;
        } else if (a == "--log") {
            o.log = true;
        } else if (a == "--log-writes") {
            o.logWrites = true;
        } else if (a == "--moving-inputs") {
            o.movingInputs = true;
        } else if (a == "--no-code-word") {
            o.codeWord = false;
        } else if (a == "--dip") {
            if (!number(o.dip, 0, 0xFFFF)) return false;
        } else if (a == "--dhcp-after") {
            if (!number(o.dhcpAfter, 0, 86400)) return false;
        } else if (a == "--write-replies" || a == "--refusals") {
            if (i + 1 >= argc) return false;
            const auto shape = varnak::test::writeReplyNamed(argv[++i]);
            if (!shape) return false;
            (a == "--refusals" ? o.refusals : o.writeReplies) = *shape;
        } else if (a == "--without-table") {
            if (i + 1 >= argc) return false;
            int position = 0;
            int table = 0;
            char end = '\0';
            if (std::sscanf(argv[++i], "%d:%d%c", &position, &table, &end) != 2 || position < 0 ||
                position > 255 || table < 0 || table > 127)
                return false;
            o.lacking.emplace_back(position, table);
        } else if (a == "--register") {
            if (i + 1 >= argc) return false;
            Options::Preset p{};
            char end = '\0';
            if (std::sscanf(argv[++i], "%d:%d:%d=%i%c", &p.position, &p.table, &p.reg, &p.value,
                            &end) != 4 ||
                p.value < 0 || p.value > 0xFFFF)
                return false;
            o.presets.push_back(p);
        } else if (a.starts_with("-")) {
            return false;
        } else if (o.rail.coupler.empty()) {
            o.rail.coupler = a;
        } else {
            o.rail.terminals.push_back(a);
        }
    }
    return !o.rail.coupler.empty();
}

// What an Ethernet coupler's status table holds once the DHCP server gave its address:
// the ready marker, address 10.0.0.7, mask 255.255.255.0 and DNS server 10.0.0.1, each
// byte pair low byte first. False when the coupler has no such table.
bool takeDhcpLease(varnak::test::SimStation& station) {
    const std::pair<int, uint16_t> lease[] = {{2, 0x000A}, {3, 0x0700}, {4, 0xFFFF}, {5, 0x00FF},
                                              {8, 0x000A}, {9, 0x0100}, {0, 0x7C4E}};
    try {
        for (const auto& [reg, value] : lease) station.setRegister(0, 121, reg, value);
    } catch (const std::out_of_range&) {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) return usage(argv[0]);
    if (o.resources.empty()) o.resources = varnak::platform::resourceDir().string();

    // The station's thread inherits the blocked signals; this thread waits for them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    auto station =
        varnak::test::makeRailStation(o.resources, o.rail, static_cast<uint8_t>(o.address));
    station->setPacing(o.pace ? varnak::test::SimStation::Pacing::ByteByByte
                              : varnak::test::SimStation::Pacing::None);
    station->setTerminalCodeWord(o.codeWord);
    station->setWriteReplies(o.writeReplies);
    station->setRefusals(o.refusals);
    for (const auto& [position, table] : o.lacking) station->removeTable(position, table);
    try {
        for (const auto& p : o.presets)
            station->setRegister(p.position, p.table, p.reg, static_cast<uint16_t>(p.value));
    } catch (const std::out_of_range&) {
        std::fprintf(stderr, "The station has no such register (--register).\n");
        return 2;
    }
    if (o.dip >= 0)
        station->changeCoupler(
            [&](varnak::test::CouplerState& s) { s.dipSwitch = static_cast<uint16_t>(o.dip); });
    const auto dhcpDue = std::chrono::steady_clock::now() + std::chrono::seconds(o.dhcpAfter);
    bool dhcpPending = o.dhcpAfter >= 0;
    if (o.movingInputs) varnak::test::moveInputs(*station);
    std::printf("VARNAK_COM%d=%s\n", o.com, station->devicePath().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "%s with %zu terminal(s) at station address %d; Ctrl+C ends it.\n",
                 o.rail.coupler.c_str(), o.rail.terminals.size(), o.address);

    size_t shown = 0;
    const timespec tick{0, 100'000'000};
    for (;;) {
        if (sigtimedwait(&stop, nullptr, &tick) > 0) break;
        if (dhcpPending && std::chrono::steady_clock::now() >= dhcpDue) {
            dhcpPending = false;
            std::fprintf(stderr, takeDhcpLease(*station)
                                     ? "DHCP address taken (table 121).\n"
                                     : "The coupler has no table 121: no DHCP address.\n");
        }
        if (!o.log && !o.logWrites) continue;
        const auto requests = station->requests();
        for (; shown < requests.size(); ++shown) {
            const std::string line = varnak::test::decodeRequest(requests[shown]);
            if (o.log || line.starts_with("write")) std::printf("%s\n", line.c_str());
        }
        std::fflush(stdout);
    }
    return 0;
}
