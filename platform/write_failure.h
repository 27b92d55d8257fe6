#pragma once
// The last write of a file or folder that failed, and why. A save runs through layers that
// answer only "failed"; what the user is then told names the file and the system's reason,
// which the layer that met the failure notes here. One record per thread: the last failure
// wins, and a save clears it when it starts.
#include <optional>
#include <string>

namespace varnak::platform {

// The file's pending changes were dropped because it changed on disk while they waited
// (not an errno).
inline constexpr int kChangedOnDisk = -1;

struct WriteFailure {
    std::string path;
    int error = 0;  // the errno, kChangedOnDisk, or 0 when the reason is not known
};

void noteWriteFailure(std::string path, int error);
std::optional<WriteFailure> lastWriteFailure();
void forgetWriteFailure();

}  // namespace varnak::platform
