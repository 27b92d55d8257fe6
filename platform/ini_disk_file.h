#pragma once
// How the profile cache looks at a file on disk: whether it changed since it was read, its
// whole content, and whether its folder is there to write it into.
#include <sys/types.h>

#include <ctime>
#include <string>

namespace varnak::ini {

// What tells a changed file apart: another program's save replaces the inode or changes
// the size or the modification time (nanoseconds, so two saves in one second differ).
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

// The stamp of a regular file; one that does not exist (or is no regular file) has none.
FileStamp stampOf(const std::string& file);
// The file's bytes; false with errno when it cannot be read.
[[nodiscard]] bool readWholeFile(const std::string& file, std::string& bytes);
// Whether the folder a file would be written into exists.
bool folderExists(const std::string& path);
// Whether nothing at all is at the path (no file, folder or link, not even a broken one).
bool nothingAt(const std::string& path);

}  // namespace varnak::ini
