#include "core/methods/extension.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "support/record_bytes.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::recordBytes;
using testing::TempDir;
using testing::utf16le;
using testing::utf8;

TEST(Extension, TransformsNames) {
    struct Case {
        int mode;
        std::u16string_view typed;
        std::u16string_view name;
        std::u16string_view expected;
        std::u16string_view log;
    };
    const Case cases[] = {
        {0, u"jpg", u"photo.jpeg", u"photo.jpg", u""},
        {0, u"jpg", u"archive.tar.gz", u"archive.tar.jpg", u""},
        {0, u"jpg", u"README", u"README.jpg", u""},
        {0, u"..png", u"photo.jpg", u"photo.png", u""},
        {0, u"..png", u"README", u"README...png", u""},
        {0, u"txt", u"name.", u"name.txt", u""},
        {0, u"", u"photo.jpg", u"photo.", u""},
        {0, u"...", u"photo.jpg", u"photo.", u""},
        {0, u"a.b", u".profile", u".a.b", u""},
        {1, u"x", u"PHOTO.JPG", u"PHOTO.jpg", u""},
        {1, u"x", u"A.ÀB", u"A.Àb", u""},
        {2, u"x", u"photo.jpg", u"photo.JPG", u""},
        {2, u"x", u".profile", u".PROFILE", u""},
        {1, u"x", u"README", u"README", u"拡張子がありません - README\r\n"},
        {2, u"x", u"README", u"README", u"拡張子がありません - README\r\n"},
        {7, u"x", u"a.b", u"a.b", u""},
    };
    for (const Case& c : cases) {
        ExtensionPage page;
        page.settings.mode = c.mode;
        page.newExtension.text = c.typed;
        // Folder mode does not change what the extension is.
        for (const bool folderMode : {false, true}) {
            RunContext run{{folderMode, false}};
            EXPECT_EQ(utf8(page.transform({.name = c.name, .folder = u"/f/"}, run)),
                      utf8(c.expected))
                << c.mode << " " << utf8(c.typed) << " " << utf8(c.name);
            EXPECT_EQ(utf8(run.log.text()), utf8(c.log));
        }
    }
}

TEST(Extension, BlockOfTwoRecordsByteForByte) {
    ExtensionPage page;
    page.settings.mode = 2;
    page.newExtension.text = u"mp3";
    BlockWriter out(50);
    page.saveBlock(out);
    EXPECT_EQ(out.bytes(),
              recordBytes(1083, 0, 1, 2) + recordBytes(1086, 1, 3, 50 + 32) + utf16le(u"mp3"));

    const std::string file = std::string(50, '\0') + out.bytes();
    BlockReader in(file, 50, file.size());
    ExtensionPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.mode, 2);
    EXPECT_EQ(back.newExtension.text, u"mp3");
}

TEST(Extension, IniKeyAndHistoryBox) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    ExtensionPage page;
    EXPECT_EQ(page.newExtension.text, u"After");
    page.settings.mode = 1;
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[拡張子]\r\n選択=1\r\n");
    ExtensionPage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.mode, 1);
    EXPECT_EQ(back.newExtension.section + back.newExtension.prefix, u"拡張子変更後");
    ASSERT_EQ(back.textSettings().size(), 1u);
    EXPECT_EQ(back.textSettings()[0].forbidden, text::ForbiddenSet::All);
}

}  // namespace
}  // namespace soramine
