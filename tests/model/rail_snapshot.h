#pragma once
// Everything a rail holds that its files keep, as comparable values: ids, positions, names,
// every register of every table and every mapping text of every terminal.
#include <map>
#include <string>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"

namespace varnak::test {

struct Snapshot {
    std::map<std::string, int32_t> numbers;
    std::map<std::string, std::string> texts;
    bool operator==(const Snapshot&) const = default;
};

inline Snapshot snapshot(clsCoupler& rail) {
    Snapshot s;
    s.numbers["CouplerID"] = rail.ConfSymbolicID();
    s.numbers["CouplerPos"] = rail.ConfProjectPosition();
    s.numbers["TermID"] = rail.clsColTerminals()->TermID();
    s.texts["UserName"] = rail.ConfSymbolicName();
    s.texts["UserDesc"] = rail.UserInfoDescription();
    s.texts["Name"] = rail.InfoName();
    for (const auto& t : *rail.clsColTables()) {
        std::string p = "coupler table " + std::to_string(t->TableNr()) + " reg ";
        for (int32_t r = 0; r <= t->TableLen(); ++r)
            s.numbers[p + std::to_string(r)] = t->ConfRegisterValue(r);
    }
    for (const auto& term : *rail.clsColTerminals()) {
        std::string p = "terminal " + std::to_string(term->ConfSymbolicID()) + " ";
        s.numbers[p + "pos"] = term->ConfRailPosition();
        s.numbers[p + "coupler"] = term->ConfParentCouplerID();
        s.texts[p + "type"] = term->InfoName();
        for (int32_t c = 0; c < term->InfoNrLogSigChnl(); ++c) {
            std::string pc = p + "channel " + std::to_string(c) + " ";
            s.texts[pc + "in image"] = term->ConfInputDestProcImage(c);
            s.texts[pc + "out image"] = term->ConfOutputDestProcImage(c);
            for (int32_t k = 0; k < term->MappingEntryCount(); ++k) {
                s.texts[pc + "in " + std::to_string(k)] = term->ConfMappInputImage(c, k);
                s.texts[pc + "out " + std::to_string(k)] = term->ConfMappOutputImage(c, k);
            }
        }
        for (const auto& t : *term->clsColTables()) {
            std::string pt = p + "table " + std::to_string(t->TableNr()) + " ";
            s.numbers[pt + "pos"] = t->PosNr();
            for (int32_t r = 0; r <= t->TableLen(); ++r)
                s.numbers[pt + std::to_string(r)] = t->ConfRegisterValue(r);
        }
    }
    return s;
}

}  // namespace varnak::test
