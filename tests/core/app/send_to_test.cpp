#include "core/app/send_to.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine::app {
namespace {

using soramine::testing::TempDir;

const char* const kImportFiles[] = {"kio/servicemenus/soramine-import.desktop",
                                    "nautilus/scripts/ソラミネ(取り込み)"};
const char* const kSwapFiles[] = {"kio/servicemenus/soramine-swap.desktop",
                                  "nautilus/scripts/ソラミネ(入れ替え)"};

TEST(SendTo, FilesRunTheProgramWithTheirArguments) {
    const auto import = sendToFiles(SendToAction::Import, u"/opt/my apps/soramine", u"/d/");
    const auto swap = sendToFiles(SendToAction::Swap, u"/o'k/\"x\"$%/soramine", u"/d/");
    struct Case {
        const char* label;
        const SendToFile& file;
        const char* path;
        const char* line;
    } cases[] = {
        {"import menu", import[0], "/d/kio/servicemenus/soramine-import.desktop",
         "Exec=\"/opt/my apps/soramine\" %F\n"},
        {"import menu name", import[0], "", "Name=ソラミネ(取り込み)\n"},
        {"import script", import[1], "/d/nautilus/scripts/ソラミネ(取り込み)",
         "exec '/opt/my apps/soramine' \"$@\"\n"},
        {"swap menu escapes", swap[0], "/d/kio/servicemenus/soramine-swap.desktop",
         "Exec=\"/o'k/\\\\\"x\\\\\"\\\\$%%/soramine\" C %F\n"},
        {"swap takes two", swap[0], "", "X-KDE-RequiredNumberOfUrls=2\n"},
        {"swap script quotes", swap[1], "/d/nautilus/scripts/ソラミネ(入れ替え)",
         "exec '/o'\\''k/\"x\"$%/soramine' C \"$@\"\n"},
    };
    for (const auto& c : cases) {
        if (*c.path) {
            EXPECT_EQ(text::toUtf8(c.file.path), c.path) << c.label;
        }
        EXPECT_NE(c.file.content.find(c.line), std::string::npos) << c.label << "\n"
                                                                  << c.file.content;
        EXPECT_TRUE(c.file.executable) << c.label;
    }
}

TEST(SendTo, CreateKeepsWhatIsThereAndDeleteRemovesOnlyOurs) {
    TempDir home;
    home.write(kSwapFiles[1], "a script of the user's own");
    EXPECT_FALSE(createSendTo(SendToAction::Import, u"/usr/bin/soramine", home.folder()));
    EXPECT_FALSE(createSendTo(SendToAction::Swap, u"/usr/bin/soramine", home.folder()));
    const std::string made = home.read(kImportFiles[0]);
    EXPECT_FALSE(createSendTo(SendToAction::Import, u"/elsewhere/soramine", home.folder()));
    EXPECT_EQ(home.read(kImportFiles[0]), made) << "a second creation keeps the first file";
    struct stat st;
    ASSERT_EQ(::stat((home.path() / kImportFiles[1]).c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);

    EXPECT_FALSE(deleteSendTo(SendToAction::Swap, home.folder()));
    EXPECT_FALSE(home.exists(kSwapFiles[0]));
    EXPECT_EQ(home.read(kSwapFiles[1]), "a script of the user's own");
    EXPECT_TRUE(home.exists(kImportFiles[0])) << "only the chosen action goes";
    EXPECT_FALSE(deleteSendTo(SendToAction::Import, home.folder()));
    EXPECT_FALSE(home.exists(kImportFiles[0]));
    EXPECT_FALSE(home.exists(kImportFiles[1]));
    EXPECT_FALSE(deleteSendTo(SendToAction::Import, home.folder())) << "nothing left to delete";
}

TEST(SendTo, AFolderThatCannotBeMadeIsSaid) {
    TempDir home;
    home.write("kio", "a file where a folder should be");
    const auto message = createSendTo(SendToAction::Import, u"/usr/bin/soramine", home.folder());
    ASSERT_TRUE(message);
    EXPECT_NE(text::toUtf8(message->text).find("soramine-import.desktop"), std::string::npos);
}

}  // namespace
}  // namespace soramine::app
