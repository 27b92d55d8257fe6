#pragma once
// Replacing a file so that a crash or a full disk leaves either the old or the new content,
// never a mixture: the bytes go to a temporary file in the same folder, reach the disk, and
// the temporary file is then renamed over the old one.
#include <string>
#include <string_view>

namespace varnak::platform {

// Replaces (or creates) file with bytes. A symbolic link is followed: its target is
// replaced and the link stays. The permission bits of an existing file are kept; a new
// file gets the usual ones (0666 less the umask). False on any failure; the old file is
// then unchanged.
//
// The rename reaches the disk with a sync of the folder. A caller that replaces many files
// passes deferredFolderSync: the folder is then stored there instead of synced, and the
// caller syncs each folder once (syncFolder) after its last replacement.
bool replaceFileAtomically(const std::string& file, std::string_view bytes,
                           std::string* deferredFolderSync = nullptr);

// Makes the renames done in a folder durable.
void syncFolder(const std::string& folder);

// The temporary files end in this, never in a name the data files use.
inline constexpr std::string_view kAtomicTempSuffix = ".partial";

// For tests: when set, replaceFileAtomically stops as if the process died just before the
// rename (the temporary file stays behind) and reports failure.
void setStopBeforeRenameForTesting(bool stop);

}  // namespace varnak::platform
