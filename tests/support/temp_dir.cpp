#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/text/utf.h"

namespace soramine::testing {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "soramine-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made == nullptr)
        ADD_FAILURE() << "cannot create a temporary folder";
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give write permission back first, so that read-only test files can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
}

std::u16string TempDir::folder() const {
    return text::fromUtf8(path_.string() + "/");
}

std::filesystem::path TempDir::write(std::string_view relative, std::string_view content) const {
    auto p = path_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
}

std::filesystem::path TempDir::makeFolder(std::string_view relative) const {
    auto p = path_ / relative;
    std::filesystem::create_directories(p);
    return p;
}

bool TempDir::exists(std::string_view relative) const {
    std::error_code ec;
    return std::filesystem::symlink_status(path_ / relative, ec).type() !=
           std::filesystem::file_type::not_found;
}

std::string TempDir::read(std::string_view relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string utf8(std::u16string_view s) {
    return text::toUtf8(s);
}

}  // namespace soramine::testing
