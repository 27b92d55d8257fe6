#pragma once
// Private-profile INI files as the data model knows them from its Windows origins:
// case-insensitive section and key names, the first copy of a duplicated section or key
// wins, ";" comments only at the start of a line, one pair of enclosing quotes stripped
// from values, buffer-size cuts, and in-place rewrites that keep every untouched line
// byte for byte (including its encoding and line-end style).
//
// Parsed files are cached by their resolved path (symbolic links followed, once per name
// while the name reaches the same file) and invalidated when the file changes on disk.
// Outside an IniBatch every write is flushed at once (atomically: temporary file, then rename);
// inside one, writes stay in the cache and are flushed when the outermost batch ends,
// so that a rail save of thousands of keys rewrites each file once.
//
// Choices where the rules leave room:
// - A new key goes after the last non-blank line of its section (a comment there counts),
//   so that a blank line separating it from the next section stays where it is.
// - A replaced key line becomes name "=" value, the name spelled as in the file.
// - Counts and cuts are in characters (code points), as they were in the single-byte code
//   page; a multi-byte character is never split.
// - A file without BOM that is plain ASCII counts as UTF-8, so it becomes UTF-8 when a
//   non-ASCII value is written into it.
// - Names that would not read back as written (a key that is empty or holds "=", starts
//   with ";" or "[", any name with a line break or NUL) are refused; a UTF-16 file and an
//   unreadable file are never rewritten.
// - A change made to a file on disk during a batch (by another program, or by a copy or
//   delete of this one) wins over the batch's pending changes of that file, as it would
//   have if they had been written at once: a deleted or replaced file is not brought back.
//   The changes so dropped count as a failed write: the batch's commit and the next flush
//   of the file answer false. The rest of that outermost batch writes nothing into the
//   file (such a write fails), so that it keeps the bytes the change left; the next
//   batch writes into it as into any file.
//   A file made by createFromCopy is this program's own write, not such a change.
// - A failed write outside a batch leaves nothing pending: the cache follows the disk.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnak::ini {

// Windows' GetPrivateProfileString for one key: copies at most bufferSize - 1 characters
// of the value (or of the default when the file, section or key is missing) into out and
// returns the number delivered. "Key=" delivers the empty text, not the default. A value
// (or default) holding a NUL ends there.
// bufferSize 0 delivers nothing. Never creates or changes a file.
size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::string& out, size_t bufferSize,
                               const std::string& fileName);

// Convenience form with the data model's 100-character buffer.
std::string readString(const std::string& fileName, std::string_view section, std::string_view key,
                       std::string_view defaultValue = "", size_t bufferSize = 100);

// Windows' WritePrivateProfileString: key nullopt deletes the section (first copy),
// value nullopt deletes the key. Creates the file when missing; a missing folder fails.
// A written value ends at its NUL; CR and LF in it become blanks. Returns false on failure.
[[nodiscard]] bool WritePrivateProfileString(std::string_view section,
                                             std::optional<std::string_view> key,
                                             std::optional<std::string_view> value,
                                             const std::string& fileName);

// Makes fileName, which is not there yet, begun as source's bytes: in the cache, written
// as a write of it would be (at once, or when the outermost batch ends), so that it is no
// change on disk. Changes still waiting for fileName (a failed save's) are set on top of
// the copy, never dropped. False when source cannot be read or is UTF-16, when anything of
// that name is there or its folder is missing, and outside a batch when the write fails.
[[nodiscard]] bool createFromCopy(const std::string& source, const std::string& fileName);

// Names of the sections of a file (first copies, in file order); empty when missing.
std::vector<std::string> sectionNames(const std::string& fileName);
// Key names of a section (first copies, in file order); empty when missing.
std::vector<std::string> sectionKeys(const std::string& fileName, std::string_view section);
// Whether the section holds the key (also as "Key=", which reads as the empty text).
bool hasKey(const std::string& fileName, std::string_view section, std::string_view key);

// Writes every pending change of the cache to disk. Returns false when any file failed
// (the failing file's changes stay pending and are reported again at the next flush) or
// lost pending changes to a change on disk since the last flush.
[[nodiscard]] bool flush();
// Writes the pending changes of one file only (for stores that must know at once whether
// a write reached the disk, even inside a batch). False also when pending changes of the
// file were dropped since the last flush because it changed on disk.
[[nodiscard]] bool flushFile(const std::string& fileName);
// Writes the pending changes of these files as one group: each file is replaced atomically
// and answers for itself as flushFile would (one answer per name, in their order), and
// each folder is synced once for all of them, after the last rename in it.
[[nodiscard]] std::vector<bool> flushFiles(const std::vector<std::string>& fileNames);
// Drops the pending changes of the file at path, or of the files in the folder at path and
// below (what a failed save left waiting): they never reach the disk, and the files read
// from the disk again.
void discardPending(const std::string& path);
// Forgets every cached file (pending changes are dropped). For tests and for callers that
// know a file was replaced behind the cache's back within the same second. What the file
// names resolved to is kept (it is checked at each name's next use).
void dropCache();
// For tests: how often a file name was resolved (its symbolic links followed), ever.
uint64_t nameResolutionsForTesting();

// Defers the flushing of writes until the outermost batch ends.
class IniBatch {
  public:
    IniBatch();
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;
    // Flushes now (when outermost) and reports the result; the destructor then does nothing.
    // False also when pending changes of the batch were dropped because their file changed
    // on disk meanwhile (an inner batch reports the drops so far).
    [[nodiscard]] bool commit();

  private:
    bool done_ = false;
    uint64_t droppedAtStart_ = 0;
};

// A run of calls that follow one another with nothing in between that could change the
// files (no window events, no file operations): while the outermost run lasts, each file
// is checked on disk at its first use only, instead of at every call. A register table's
// load reads two keys per register, its save writes one: a check per key would cost more
// than the reading. Outside a run (and between runs) every call checks the file.
class IniRun {
  public:
    IniRun();
    ~IniRun();
    IniRun(const IniRun&) = delete;
    IniRun& operator=(const IniRun&) = delete;
};

}  // namespace varnak::ini
