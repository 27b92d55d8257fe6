#include "platform/ini_disk_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace varnak::ini {

FileStamp stampOf(const std::string& file) {
    FileStamp stamp;
    struct stat st;
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modified = st.st_mtim;
    return stamp;
}

bool readWholeFile(const std::string& file, std::string& bytes) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bytes.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    fs::path folder = fs::path(path).parent_path();
    return folder.empty() || fs::is_directory(folder, ec);
}

bool nothingAt(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) != 0 && errno == ENOENT;
}

}  // namespace varnak::ini
