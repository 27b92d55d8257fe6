#include "platform/ini_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <unordered_map>

#include "platform/atomic_file.h"
#include "platform/ini_blanks.h"
#include "platform/ini_disk_file.h"
#include "platform/ini_document.h"
#include "platform/ini_text_encoding.h"
#include "platform/unexamined_result.h"
#include "platform/write_failure.h"

namespace fs = std::filesystem;

namespace varnak::ini {
namespace {

struct Resolution;

struct CachedFile {
    IniDocument doc;
    FileStamp stamp;
    bool exists = false;          // false: the file is missing (or unreadable); reads give defaults
    bool dirty = false;           // changes not yet on disk
    bool unreadable = false;      // there but not readable: never replaced by a new file
    int readError = 0;            // why it was not readable (errno)
    bool stale = false;           // pending changes were dropped: read the disk again
    bool lost = false;            // pending changes were dropped and not yet reported
    uint64_t closedIn = 0;        // the outermost batch that dropped its changes (0: none)
    uint64_t checkedInRun = 0;    // the run in which the disk was last checked (0: none)
    Resolution* named = nullptr;  // the last name it was asked by, while namedIn is current
    uint64_t namedIn = 0;
};

// What the cache keeps of a file name: the path it resolved to and the file it reached.
struct Resolution {
    std::string key;
    dev_t device = 0;  // the file the name reached then (device 0, inode 0: none)
    ino_t inode = 0;
    uint64_t scope = 0;          // the outermost batch or run it was taken in (0: none)
    CachedFile* file = nullptr;  // the key's entry, while generation is the cache's
    uint64_t generation = 0;
};

// A file name as the cache knows it, and the file's stamp when it was taken with it.
struct Key {
    const std::string& path() const { return resolution ? resolution->key : own; }
    Resolution* resolution = nullptr;  // the kept resolution it comes from, if any
    std::string own;                   // the path when none is kept
    std::optional<FileStamp> stamp;
};

class IniCache {
  public:
    std::recursive_mutex mutex;
    int batchDepth = 0;
    int runDepth = 0;
    uint64_t batch = 0;    // the current outermost batch, counted from 1
    uint64_t run = 0;      // the current outermost run, counted from 1
    uint64_t scope = 0;    // the current outermost batch or run, counted from 1
    uint64_t dropped = 0;  // how often pending changes were dropped, ever

    bool inScope() const { return batchDepth > 0 || runDepth > 0; }
    // An outermost batch or run begins.
    void enterScope() {
        if (!inScope()) ++scope;
    }

    // A batch whose changes of a file were dropped writes nothing more into it: the rest
    // of its changes would mix one save's keys into another program's file.
    bool closedToThisBatch(const CachedFile& entry) const {
        return batchDepth > 0 && entry.closedIn == batch;
    }
    void close(CachedFile& entry) const {
        if (batchDepth > 0) entry.closedIn = batch;
    }

    // A change on disk wins over pending changes: had they been written at once, as outside
    // a batch, the change would have replaced them (a file deleted or replaced by another
    // operation of the same batch must not come back at its end).
    // known: the file's stamp when the caller just took it; hint: the path's entry when
    // the caller knows it.
    CachedFile& load(const std::string& path, const std::optional<FileStamp>& known = {},
                     CachedFile* hint = nullptr) {
        const uint64_t currentRun = runDepth > 0 ? run : 0;
        CachedFile* found = hint;
        if (!found) {
            auto it = files_.find(path);
            if (it != files_.end()) found = &it->second;
        }
        if (currentRun != 0 && found && found->checkedInRun == currentRun && !found->stale)
            return *found;
        FileStamp now = known ? *known : stampOf(path);
        if (found && found->stamp == now && !found->stale) {
            found->checkedInRun = currentRun;
            return *found;
        }
        CachedFile& entry = found ? *found : files_[path];
        // A change on disk replaces the pending changes: the batch that made them must
        // learn that they never reach the disk.
        const bool lost = entry.lost || entry.dirty;
        if (entry.dirty) {
            ++dropped;
            close(entry);
        }
        const uint64_t closedIn = entry.closedIn;
        entry = CachedFile{};
        entry.lost = lost;
        entry.closedIn = closedIn;
        entry.stamp = now;
        entry.checkedInRun = currentRun;
        std::string bytes;
        if (now.exists && readWholeFile(path, bytes)) {
            entry.doc = IniDocument::parse(bytes);
            entry.exists = true;
        } else if (now.exists) {
            entry.unreadable = true;
            entry.readError = errno;
        }
        return entry;
    }

    // A kept resolution remembers its entry, so that a run of calls finds it at once.
    CachedFile& load(const Key& key) {
        Resolution* r = key.resolution;
        CachedFile* hint = r && r->generation == generation_ ? r->file : nullptr;
        CachedFile& entry = load(key.path(), key.stamp, hint);
        if (r) {
            r->file = &entry;
            r->generation = generation_;
            entry.named = r;
            entry.namedIn = namesGeneration_;
        }
        return entry;
    }

    // False when the pending changes must be dropped (the file changed on disk, or its
    // folder went): a change on disk wins over them.
    bool stillWritable(const std::string& path, CachedFile& entry) {
        const bool folderThere = folderExists(path);
        if (stampOf(path) == entry.stamp && folderThere) return true;
        platform::noteWriteFailure(path, folderThere ? platform::kChangedOnDisk : ENOENT);
        entry.dirty = false;
        entry.stale = true;
        entry.lost = true;
        ++dropped;
        close(entry);
        return false;
    }

    // True when the entry's dropped changes were not yet reported; they count as reported.
    static bool takeLost(const std::string& path, CachedFile& entry) {
        const bool lost = entry.lost;
        entry.lost = false;
        if (lost) platform::noteWriteFailure(path, platform::kChangedOnDisk);
        return lost;
    }

    void written(const std::string& path, CachedFile& entry) {
        const FileStamp old = entry.stamp;
        entry.dirty = false;
        entry.exists = true;
        entry.stamp = stampOf(path);
        // Our own replacement is a new file at the same path: the name that reached the old
        // one reaches it, and need not be resolved again for it.
        Resolution* r = entry.named;
        if (r && entry.namedIn == namesGeneration_ && r->key == path && entry.stamp.exists &&
            r->device == old.device && r->inode == old.inode) {
            r->device = entry.stamp.device;
            r->inode = entry.stamp.inode;
        }
    }

    // The entry was changed: written at once outside a batch, where a failed write leaves
    // no trace (the cache goes back to the disk). False when that write failed.
    bool changed(const std::string& path, CachedFile& entry) {
        const bool hadPending = entry.dirty;
        entry.dirty = true;
        if (batchDepth > 0 || flushEntry(path, entry)) return true;
        if (!hadPending) forget(path);
        return false;
    }

    // False when the changes failed to reach the disk or were dropped.
    bool flushEntry(const std::string& path, CachedFile& entry) {
        if (!entry.dirty) return true;
        if (!stillWritable(path, entry)) return false;
        if (!platform::replaceFileAtomically(path, entry.doc.serialize())) return false;
        written(path, entry);
        return true;
    }

    // Writes the pending changes of the entries as one group: each file is replaced
    // atomically and each folder synced once. One answer per entry: false when its changes
    // failed to reach the disk (they stay pending) or were dropped since the last flush.
    std::vector<bool> flushGroup(const std::vector<std::pair<std::string, CachedFile*>>& entries) {
        std::vector<bool> ok(entries.size(), true);
        platform::AtomicReplaceGroup group;
        std::vector<size_t> added;
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto& [path, entry] = entries[i];
            if (!entry->dirty || !stillWritable(path, *entry)) continue;
            if (group.add(path, entry->doc.serialize()))
                added.push_back(i);
            else
                ok[i] = false;
        }
        std::vector<bool> done = group.commit();
        for (size_t n = 0; n < added.size(); ++n) {
            const auto& [path, entry] = entries[added[n]];
            if (done[n])
                written(path, *entry);
            else
                ok[added[n]] = false;
        }
        for (size_t i = 0; i < entries.size(); ++i) {
            if (takeLost(entries[i].first, *entries[i].second)) ok[i] = false;
        }
        return ok;
    }

    // Every file with pending changes, written as one group.
    bool flushAll() {
        std::vector<std::pair<std::string, CachedFile*>> entries;
        for (auto& [path, entry] : files_) entries.emplace_back(path, &entry);
        const std::vector<bool> ok = flushGroup(entries);
        return std::find(ok.begin(), ok.end(), false) == ok.end();
    }

    // The files of the keys written as one group; a file named twice answers twice.
    std::vector<bool> flushFiles(const std::vector<std::string>& paths) {
        std::vector<std::pair<std::string, CachedFile*>> entries;
        std::vector<size_t> entryOf(paths.size(), SIZE_MAX);
        for (size_t i = 0; i < paths.size(); ++i) {
            auto it = files_.find(paths[i]);
            if (it == files_.end()) continue;
            auto same = std::find_if(entries.begin(), entries.end(),
                                     [&](const auto& e) { return e.second == &it->second; });
            entryOf[i] = static_cast<size_t>(same - entries.begin());
            if (same == entries.end()) entries.emplace_back(it->first, &it->second);
        }
        const std::vector<bool> flushed = flushGroup(entries);
        std::vector<bool> ok(paths.size(), true);
        for (size_t i = 0; i < paths.size(); ++i) {
            if (entryOf[i] != SIZE_MAX) ok[i] = flushed[entryOf[i]];
        }
        return ok;
    }

    // The cache knows a file by its resolved path: written under two names (a symbolic
    // link to it, or a link in one of its folders), it is still one file with one set of
    // changes. Resolving costs a system call per folder of the path, and callers pass the
    // same name thousands of times in a row, so a name's resolution is kept: inside one
    // outermost batch or run it is taken as it stands (links do not change between the
    // calls of one save); outside one it is taken while the name still reaches the file it
    // reached when it was resolved, which the one look at the file that every call makes
    // anyway tells. A name that reaches another file, or none, is resolved afresh.
    Key keyOf(const std::string& fileName) {
        // Relative names depend on the working folder: only absolute ones are remembered.
        const bool remember = !fileName.empty() && fileName.front() == '/';
        const uint64_t currentScope = inScope() ? scope : 0;
        Resolution* kept = remember ? find(fileName) : nullptr;
        if (kept && currentScope != 0 && kept->scope == currentScope) return {kept, {}, {}};
        const FileStamp now = stampOf(fileName);
        // The name's stamp is the key's when both are one text.
        auto known = [&](const std::string& key) {
            return key == fileName ? std::optional<FileStamp>(now) : std::nullopt;
        };
        if (kept && now.exists && kept->device == now.device && kept->inode == now.inode) {
            kept->scope = currentScope;
            return {kept, {}, known(kept->key)};
        }
        ++resolutions;
        std::error_code ec;
        fs::path absolute = fs::absolute(fs::path(fileName), ec);
        if (ec) return {nullptr, fileName, std::nullopt};
        fs::path resolved = fs::weakly_canonical(absolute, ec);
        std::string key = (ec ? absolute : resolved).lexically_normal().string();
        std::optional<FileStamp> stamp = known(key);
        if (!remember) return {nullptr, std::move(key), stamp};
        if (names_.size() >= kRememberedNames) forgetNames();
        Resolution& r = names_[fileName];
        r = {std::move(key), now.device, now.inode, currentScope};
        lastName_ = fileName;
        last_ = &r;
        return {&r, {}, stamp};
    }

    void forget(const std::string& path) {
        files_.erase(path);
        ++generation_;
    }
    void forgetPendingAt(const std::string& path) {
        const std::string prefix = path.ends_with('/') ? path : path + "/";
        std::erase_if(files_, [&](const auto& item) {
            return (item.second.dirty || item.second.lost) &&
                   (item.first == path || item.first.starts_with(prefix));
        });
        ++generation_;
    }
    // The names' resolutions stay: they are checked at their next use as always.
    void clear() {
        files_.clear();
        ++generation_;
    }

    uint64_t resolutions = 0;  // how often a name was resolved, ever

  private:
    // The last name asked for is compared before any hashing: a save or a load passes
    // one name thousands of times in a row.
    Resolution* find(const std::string& fileName) {
        if (last_ && fileName == lastName_) return last_;
        auto it = names_.find(fileName);
        if (it == names_.end()) return nullptr;
        lastName_ = fileName;
        last_ = &it->second;
        return last_;
    }
    void forgetNames() {
        names_.clear();
        last_ = nullptr;
        ++namesGeneration_;
    }

    // A project has a few hundred files; the bound only keeps a long session's memory.
    static constexpr size_t kRememberedNames = 4096;

    std::unordered_map<std::string, CachedFile> files_;
    uint64_t generation_ = 1;  // counts the erasures of entries of files_
    std::unordered_map<std::string, Resolution> names_;
    uint64_t namesGeneration_ = 1;  // counts the clearings of names_
    std::string lastName_;
    Resolution* last_ = nullptr;
};

IniCache& cache() {
    static IniCache instance;
    return instance;
}

bool isLineBreakOrNul(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

// A plain scan: find_first_of would look each character up in its set.
bool hasLineBreakOrNul(std::string_view s) {
    return std::any_of(s.begin(), s.end(), isLineBreakOrNul);
}

// Names that would not read back as written (or would inject lines) are refused.
bool validSectionName(std::string_view name) {
    return !hasLineBreakOrNul(name);
}

bool validKeyName(std::string_view name) {
    name = trim(name);
    return !name.empty() && !hasLineBreakOrNul(name) && name.find('=') == std::string_view::npos &&
           name.front() != ';' && name.front() != '[';
}

// A value ends at its NUL, as the profile functions take a C string; a line break inside
// it would end the line and turn the rest into keys or sections.
std::string_view uptoNul(std::string_view value) {
    return value.substr(0, value.find('\0'));
}

// The text itself when it is valid UTF-8 (a save's names nearly always are), else its
// repaired copy kept in store.
std::string_view validUtf8View(std::string_view text, std::string& store) {
    if (isValidUtf8(text)) return text;
    store = sanitizeUtf8(text);
    return store;
}

// The value as written: up to its NUL, its line breaks blanks, valid UTF-8. The text
// itself when it needs none of that (a save's values nearly always), else a copy kept in
// store.
std::string_view flattenValue(std::string_view value, std::string& store) {
    value = uptoNul(value);
    if (!hasLineBreakOrNul(value) && isValidUtf8(value)) return value;
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    store = sanitizeUtf8(out);
    return store;
}

// The default loses its trailing blanks and one pair of enclosing quotes.
std::string cleanDefault(std::string_view value) {
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::string& out, size_t bufferSize,
                               const std::string& fileName) {
    out.clear();
    if (bufferSize == 0) return 0;
    std::optional<std::string> found;
    {
        IniCache& c = cache();
        std::lock_guard lock(c.mutex);
        CachedFile& entry = c.load(c.keyOf(fileName));
        if (entry.exists || entry.dirty) found = entry.doc.value(section, key);
    }
    out = found ? std::move(*found) : cleanDefault(uptoNul(defaultValue));
    out.resize(uptoNul(out).size());
    const size_t limit = bufferSize - 1;
    size_t length = utf8Length(out);
    if (length > limit) {
        out.resize(utf8PrefixBytes(out, limit));
        length = limit;
    }
    return length;
}

std::string readString(const std::string& fileName, std::string_view section, std::string_view key,
                       std::string_view defaultValue, size_t bufferSize) {
    std::string out;
    GetPrivateProfileString(section, key, defaultValue, out, bufferSize, fileName);
    return out;
}

bool WritePrivateProfileString(std::string_view section, std::optional<std::string_view> key,
                               std::optional<std::string_view> value, const std::string& fileName) {
    if (!validSectionName(section) || (key && !validKeyName(*key))) {
        platform::noteWriteFailure(fileName, EINVAL);
        return false;
    }
    std::string repairedSection, repairedKey;
    const std::string_view sectionName = validUtf8View(section, repairedSection);
    const std::string_view keyName = key ? validUtf8View(*key, repairedKey) : std::string_view();
    const bool deleting = !key || !value;

    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    const Key cached = c.keyOf(fileName);
    const std::string& path = cached.path();
    CachedFile& entry = c.load(cached);
    if (c.closedToThisBatch(entry)) {
        platform::noteWriteFailure(path, platform::kChangedOnDisk);
        return false;
    }
    if (entry.unreadable || !entry.doc.editable()) {
        // An unreadable file would be replaced by one of the changes alone; a UTF-16 one
        // is never rewritten.
        platform::noteWriteFailure(path, entry.unreadable ? entry.readError : EILSEQ);
        return false;
    }
    if (!entry.exists && !entry.dirty) {
        if (deleting) return true;  // nothing to delete; no file is created for it
        if (!folderExists(path)) {
            platform::noteWriteFailure(path, ENOENT);
            return false;
        }
        entry.doc = IniDocument();
    }
    bool changed;
    if (!key) {
        changed = entry.doc.deleteSection(sectionName);
    } else if (!value) {
        changed = entry.doc.deleteKey(sectionName, keyName);
    } else {
        std::string flattened;
        changed = entry.doc.setValue(sectionName, keyName, flattenValue(*value, flattened));
    }
    return !changed || c.changed(path, entry);
}

bool createFromCopy(const std::string& source, const std::string& fileName) {
    std::string bytes;
    if (!readWholeFile(source, bytes)) return false;
    IniDocument copy = IniDocument::parse(bytes);
    if (!copy.editable()) return false;
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    const Key cached = c.keyOf(fileName);
    const std::string& path = cached.path();
    CachedFile& entry = c.load(cached);
    if (entry.exists || c.closedToThisBatch(entry) || !nothingAt(path) || !folderExists(path))
        return false;
    // What still waits for the file was written while it was not there, by a save that
    // failed and counted it as written: it is the only record of it, and goes on top.
    if (entry.dirty) copy.setValuesOf(entry.doc);
    entry.doc = std::move(copy);
    return c.changed(path, entry);
}

std::vector<std::string> sectionNames(const std::string& fileName) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    CachedFile& entry = c.load(c.keyOf(fileName));
    return entry.exists || entry.dirty ? entry.doc.sectionNames() : std::vector<std::string>{};
}

std::vector<std::string> sectionKeys(const std::string& fileName, std::string_view section) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    CachedFile& entry = c.load(c.keyOf(fileName));
    return entry.exists || entry.dirty ? entry.doc.keyNames(section) : std::vector<std::string>{};
}

bool hasKey(const std::string& fileName, std::string_view section, std::string_view key) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    CachedFile& entry = c.load(c.keyOf(fileName));
    return (entry.exists || entry.dirty) && entry.doc.value(section, key).has_value();
}

bool flush() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    return c.flushAll();
}

bool flushFile(const std::string& fileName) {
    return flushFiles({fileName}).front();
}

std::vector<bool> flushFiles(const std::vector<std::string>& fileNames) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::vector<std::string> paths;
    paths.reserve(fileNames.size());
    for (const std::string& name : fileNames) paths.push_back(c.keyOf(name).path());
    return c.flushFiles(paths);
}

void discardPending(const std::string& path) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.forgetPendingAt(c.keyOf(path).path());
}

void dropCache() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.clear();
}

uint64_t nameResolutionsForTesting() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    return c.resolutions;
}

IniBatch::IniBatch() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.enterScope();
    if (c.batchDepth++ == 0) ++c.batch;
    droppedAtStart_ = c.dropped;
}

IniBatch::~IniBatch() {
    // A batch that ends without its commit has nobody to answer: a file that failed stays
    // pending, and dropped changes count as failed, so the next flush answers for both.
    resultNotExamined(commit());
}

bool IniBatch::commit() {
    if (done_) return true;
    done_ = true;
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    // Changes dropped since the batch began (a file changed on disk meanwhile) never
    // reach the disk: the batch failed, whatever the flush does with the rest.
    if (--c.batchDepth > 0) return c.dropped == droppedAtStart_;
    const bool flushed = c.flushAll();
    return flushed && c.dropped == droppedAtStart_;
}

IniRun::IniRun() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.enterScope();
    if (c.runDepth++ == 0) ++c.run;
}

IniRun::~IniRun() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    --c.runDepth;
}

}  // namespace varnak::ini
