#pragma once
// A device description of a test's own resource folder, damaged one way after another:
// gone, a folder in its place, or its text with one change.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace varnak::test {

class DescriptionDamage {
  public:
    explicit DescriptionDamage(std::filesystem::path file) : file_(std::move(file)) {
        std::ifstream in(file_);
        text_.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::filesystem::path& path() const { return file_; }

    void missing() { std::filesystem::remove_all(file_); }
    void folder() {
        missing();
        std::filesystem::create_directory(file_);
    }
    void replace(const std::string& from, const std::string& to) {
        missing();
        std::string t = text_;
        if (const size_t at = t.find(from); at != std::string::npos) t.replace(at, from.size(), to);
        std::ofstream(file_, std::ios::trunc) << t;
    }

  private:
    std::filesystem::path file_;
    std::string text_;
};

}  // namespace varnak::test
