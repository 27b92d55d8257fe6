#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <string>

namespace varnak::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Whole content of a file as bytes ("" when missing).
std::string readFile(const std::filesystem::path& file);
// Writes bytes to a file, creating folders as needed.
void writeFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace varnak::test
