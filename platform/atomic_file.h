#pragma once
// Replacing a file so that a crash or a full disk leaves either the old or the new content,
// never a mixture: the bytes go to a temporary file in the same folder, reach the disk, and
// the temporary file is then renamed over the old one.
#include <string>
#include <string_view>
#include <vector>

namespace varnak::platform {

// Replaces (or creates) file with bytes. A symbolic link is followed: its target is
// replaced and the link stays. The permission bits of an existing file are kept; a new
// file gets the usual ones (0666 less the umask). An existing file that is read-only (no
// write permission for its owner, or none for this process) is refused. False on any
// failure; the old file is then unchanged.
[[nodiscard]] bool replaceFileAtomically(const std::string& file, std::string_view bytes);

// Makes the renames done in a folder durable.
void syncFolder(const std::string& folder);

// Replaces several files the same way, each one atomically: every file's bytes are
// written and start on their way to the disk before the first one is waited for, and each
// folder is synced once after its renames. A save of a rail and its terminals writes
// dozens of files; one after another, their waits for the disk add up.
class AtomicReplaceGroup {
  public:
    AtomicReplaceGroup() = default;
    // Removes the temporary files of a group that was never committed.
    ~AtomicReplaceGroup();
    AtomicReplaceGroup(const AtomicReplaceGroup&) = delete;
    AtomicReplaceGroup& operator=(const AtomicReplaceGroup&) = delete;

    // Writes bytes to a temporary file beside file. False on failure (nothing is left
    // behind, and the file is not part of the group).
    [[nodiscard]] bool add(const std::string& file, std::string_view bytes);
    // Waits for the temporary files to reach the disk and renames each over its file.
    // One result per successful add, in the order of the adds.
    [[nodiscard]] std::vector<bool> commit();

  private:
    struct Pending {
        std::string target;
        std::string temp;
    };
    std::vector<Pending> pending_;
};

// The temporary files end in this, never in a name the data files use.
inline constexpr std::string_view kAtomicTempSuffix = ".partial";

// Removes the temporary files that a replacement killed half-way left in folder (not in
// its subfolders): those whose process no longer runs. Files of a running process, and
// names of another form, stay. Returns the number removed.
int removeAbandonedTempFiles(const std::string& folder);

// For tests: how many files and folders were synced to the disk, ever.
struct SyncCounts {
    unsigned long long files = 0;
    unsigned long long folders = 0;
};
SyncCounts syncCountsForTesting();

// For tests: when set, replaceFileAtomically stops as if the process died just before the
// rename (the temporary file stays behind) and reports failure.
void setStopBeforeRenameForTesting(bool stop);

}  // namespace varnak::platform
