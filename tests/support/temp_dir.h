#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace soramine::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away. Each file-system test makes its own.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the item table holds it: UTF-16, ending in "/".
    std::u16string folder() const;

    // Creates a file (and its parent folders) relative to the folder; returns its path.
    std::filesystem::path write(std::string_view relative, std::string_view content = {}) const;
    std::filesystem::path makeFolder(std::string_view relative) const;
    bool exists(std::string_view relative) const;
    std::string read(std::string_view relative) const;

  private:
    std::filesystem::path path_;
};

// UTF-8 text of a UTF-16 string, for readable assertions.
std::string utf8(std::u16string_view s);

}  // namespace soramine::testing
