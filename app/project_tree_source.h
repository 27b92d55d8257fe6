#pragma once
// The picture of the program's project that the tree is built from: offline the
// project's loaded rail, online the rail read from the station.
#include "app/project_tree.h"

namespace varnak {

struct AppContext;
class clsCoupler;

TreeSource treeSourceFromProject(AppContext& context);
TreeRail treeRailOf(clsCoupler& coupler);

}  // namespace varnak
