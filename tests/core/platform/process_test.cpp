#include "core/platform/process.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/text/utf.h"

namespace soramine::platform {
namespace {

// Sets or removes an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Process, SettingsFolderWithoutHomeIsTheUsersHomeFromTheUserDatabase) {
    const passwd* entry = ::getpwuid(::geteuid());
    if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != '/')
        GTEST_SKIP() << "this user has no home folder in the user database";
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    const std::string expected = std::string(entry->pw_dir) + "/.config/soramine/";
    EXPECT_EQ(text::toUtf8(settingsFolder()), expected);
}

}  // namespace
}  // namespace soramine::platform
