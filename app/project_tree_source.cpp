#include "app/project_tree_source.h"

#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"

namespace varnak {

TreeRail treeRailOf(clsCoupler& c) {
    TreeRail r;
    r.symbolicId = c.ConfSymbolicID();
    r.projectPosition = c.ConfProjectPosition();
    r.symbolicName = c.ConfSymbolicName();
    r.infoName = c.InfoName();
    r.infoDescription = c.InfoDescription();
    if (auto tables = c.clsColTables()) {
        for (const auto& table : *tables)
            if (table) r.tableNumbers.push_back(table->TableNr());
    }
    auto terminals = c.clsColTerminals();
    if (!terminals) return r;
    r.terminalCount = terminals->Count();
    for (int32_t p = 1; p <= r.terminalCount; ++p) {
        std::shared_ptr<clsTerminal> t = terminals->ItemPos(p);
        if (!t) continue;
        TreeTerminal tt;
        tt.symbolicId = t->ConfSymbolicID();
        tt.infoName = t->InfoName();
        tt.infoDescription = t->InfoDescription();
        tt.logicalChannels = t->InfoNrLogSigChnl();
        tt.registerModel = t->InfoTermRegisterModell();
        tt.channelNodes = [t](const std::string& key, const std::string& detail) {
            std::vector<TreeNodeData> nodes;
            for (auto& n : t->AddChannelsToTreeView(key, detail))
                nodes.push_back({n.key, n.text, n.parentKey});
            return nodes;
        };
        r.terminals[p] = std::move(tt);
    }
    return r;
}

TreeSource treeSourceFromProject(AppContext& context) {
    TreeSource s;
    auto project = gfVarnakProject();
    s.online = project->Online();
    if (s.online) {
        if (!context.VarnakOnlineCoupler)
            context.VarnakOnlineCoupler = std::make_shared<clsCoupler>();
        s.rail = treeRailOf(*context.VarnakOnlineCoupler);
        return s;
    }
    s.projectName = project->ProjektName();
    auto couplers = project->clsColCouplers();
    if (couplers && couplers->Count() > 0) {
        if (const auto& first = *couplers->begin()) s.rail = treeRailOf(*first);
    }
    return s;
}

}  // namespace varnak
