#include "platform/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/write_failure.h"

namespace fs = std::filesystem;

namespace varnak::platform {
namespace {

std::atomic<bool> stopBeforeRename{false};
std::atomic<unsigned> tempCounter{0};
std::atomic<unsigned long long> fileSyncs{0};
std::atomic<unsigned long long> folderSyncs{0};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// "." + file name + "." + process id + "-" + counter + kAtomicTempSuffix, as add makes
// them: the process id, or 0 for a name of another form.
pid_t tempFileOwner(const std::string& name) {
    if (name.size() < 2 || name.front() != '.' || !name.ends_with(kAtomicTempSuffix)) return 0;
    const std::string stem = name.substr(0, name.size() - kAtomicTempSuffix.size());
    const size_t dot = stem.rfind('.');
    const size_t dash = stem.rfind('-');
    if (dot == 0 || dot == std::string::npos || dash == std::string::npos || dash < dot + 2 ||
        dash + 1 == stem.size())
        return 0;
    auto digits = [](std::string_view s) {
        return !s.empty() && s.size() <= 10 &&
               s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const std::string_view all(stem);
    if (!digits(all.substr(dot + 1, dash - dot - 1)) || !digits(all.substr(dash + 1))) return 0;
    const long long pid = std::stoll(stem.substr(dot + 1, dash - dot - 1));
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool processRuns(pid_t pid) {
    // EPERM: it runs, under another user.
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// The file a write really goes to: the target of a symbolic link, so that the link stays.
std::string targetOf(const std::string& file) {
    char resolved[PATH_MAX];
    struct stat st;
    if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(file.c_str(), resolved))
        return resolved;
    return file;
}

// Notes why the file could not be replaced (errno keeps it too, for callers that read it).
bool failed(const std::string& file, int error) {
    noteWriteFailure(file, error);
    errno = error;
    return false;
}

}  // namespace

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ++folderSyncs;
    ::fsync(fd);
    ::close(fd);
}

SyncCounts syncCountsForTesting() {
    return {fileSyncs.load(), folderSyncs.load()};
}

void setStopBeforeRenameForTesting(bool stop) {
    stopBeforeRename = stop;
}

AtomicReplaceGroup::~AtomicReplaceGroup() {
    for (const Pending& p : pending_) ::unlink(p.temp.c_str());
}

bool AtomicReplaceGroup::add(const std::string& file, std::string_view bytes) {
    const fs::path target = targetOf(file);
    const fs::path folder = target.parent_path();
    struct stat old;
    const bool existed = ::stat(target.c_str(), &old) == 0;
    // A file marked read-only stays as it is, even for a user whom the folder would let
    // replace it (or root): the mark is how a user protects a description or a rail.
    if (existed && (old.st_mode & S_IWUSR) == 0) return failed(target, EACCES);
    if (existed && ::access(target.c_str(), W_OK) != 0) return failed(target, errno);

    // A hidden name in the same folder (rename is atomic only within one file system).
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        std::string name = ".";
        // Cut so that a long file name still leaves room for the suffix.
        name.append(target.filename().string().substr(0, 200)).append(".");
        name.append(std::to_string(::getpid())).append("-");
        name.append(std::to_string(tempCounter++)).append(kAtomicTempSuffix);
        temp = (folder / name).string();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return failed(target, errno);
    }
    if (fd < 0) return failed(target, EEXIST);

    bool ok = writeAll(fd, bytes);
    if (ok && existed) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    int error = ok ? 0 : errno;
#ifdef SYNC_FILE_RANGE_WRITE
    // The bytes start on their way now, so that the waits of the files of one group
    // overlap instead of following one another.
    if (ok) ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;  // a full disk may show only here
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return failed(target, error);
    }
    pending_.push_back({target.string(), temp});
    return true;
}

std::vector<bool> AtomicReplaceGroup::commit() {
    std::vector<bool> done;
    std::set<std::string> folders;
    for (const Pending& p : pending_) {
        int fd = ::open(p.temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) ++fileSyncs;
        bool ok = fd >= 0 && ::fsync(fd) == 0;
        int error = ok ? 0 : errno;
        if (fd >= 0 && ::close(fd) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (ok && stopBeforeRename) {
            noteWriteFailure(p.target, 0);
            done.push_back(false);  // the temporary file stays, as after a crash
            continue;
        }
        if (ok && ::rename(p.temp.c_str(), p.target.c_str()) != 0) {
            ok = false;
            error = errno;
        }
        if (!ok) {
            ::unlink(p.temp.c_str());
            noteWriteFailure(p.target, error);
            done.push_back(false);
            continue;
        }
        folders.insert(fs::path(p.target).parent_path().string());
        done.push_back(true);
    }
    pending_.clear();
    for (const std::string& folder : folders) syncFolder(folder);
    return done;
}

int removeAbandonedTempFiles(const std::string& folder) {
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const pid_t owner = tempFileOwner(it->path().filename().string());
        if (owner == 0 || processRuns(owner)) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

bool replaceFileAtomically(const std::string& file, std::string_view bytes) {
    AtomicReplaceGroup group;
    return group.add(file, bytes) && group.commit().front();
}

}  // namespace varnak::platform
