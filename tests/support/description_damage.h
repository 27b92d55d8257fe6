#pragma once
// A device description of a test's own resource folder, or a file of a saved project,
// damaged one way after another: gone, a folder in its place, its text with one change,
// cut short, or its bytes replaced by random ones.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace varnak::test {

class DescriptionDamage {
  public:
    explicit DescriptionDamage(std::filesystem::path file) : file_(std::move(file)) {
        std::ifstream in(file_, std::ios::binary);
        text_.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::filesystem::path& path() const { return file_; }
    // The file as it was before any damage.
    const std::string& original() const { return text_; }

    void missing() { std::filesystem::remove_all(file_); }
    void folder() {
        missing();
        std::filesystem::create_directory(file_);
    }
    void replace(const std::string& from, const std::string& to) {
        std::string t = text_;
        if (const size_t at = t.find(from); at != std::string::npos) t.replace(at, from.size(), to);
        write(t);
    }
    // Only the first bytes of the file stay, as an interrupted copy leaves it.
    void cutTo(size_t bytes) { write(text_.substr(0, bytes)); }
    // As many bytes as the file held, none of them its own.
    void randomBytes(unsigned seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> byte(0, 255);
        std::string t(text_.size(), '\0');
        for (char& c : t) c = static_cast<char>(byte(rng));
        write(t);
    }

  private:
    void write(const std::string& bytes) {
        missing();
        std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::filesystem::path file_;
    std::string text_;
};

}  // namespace varnak::test
