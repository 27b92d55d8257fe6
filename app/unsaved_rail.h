#pragma once
// The roads that put the loaded rail away (opening another project or rail, a new rail or
// project, going online) save it first. When that save fails the rail stays loaded with its
// changes, and the user decides: one message names the file that failed and why and asks
// whether to drop the rail's unsaved changes. No ends the road with everything as it was;
// Yes drops the rail unsaved (its files stay as they are on disk) and takes the road again.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace varnak {

// The road's result, or nullopt when its save failed and the user kept the rail (the
// message has been shown: there is nothing more to say).
std::optional<int32_t> takeRoadDroppingLoadedRail(const std::function<int32_t()>& road,
                                                  const std::string& title);

}  // namespace varnak
