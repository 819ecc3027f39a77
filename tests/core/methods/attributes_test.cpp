#include "core/methods/attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "core/engine/execute.h"
#include "core/methods/method_list.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/utf.h"

namespace soramine {
namespace {

using testing::appendRow;
using testing::clearRows;
using testing::utf8;

// Runs the page as an execution does, over files of a temporary folder.
class AttributeRunTest : public testing::EngineTest {
  protected:
    AttributePage& useAttributes(AttributeSettings settings) {
        session.methods = makeMethodTable();
        session.settings.methodIndex = 12;
        auto& page = static_cast<AttributePage&>(*session.methods.page(12));
        page.settings = settings;
        return page;
    }
    std::uint32_t attributesOf(const char* name) const {
        return platform::lookUp(path(text::fromUtf8(name)))->attributes &
               (platform::attr::kReadOnly | platform::attr::kHidden);
    }
    void makeReadOnly(const char* name) {
        ::chmod((dir.path().string() + "/" + name).c_str(), 0444);
    }
};

TEST_F(AttributeRunTest, ReadOnlyAndHiddenKeepTheHiddenListLineForLine) {
    namespace attr = platform::attr;
    const struct {
        std::int32_t readOnly, hidden;
        const char* hiddenList;  // after the run
        std::uint32_t a, b;      // attributes of a.jpg and b.jpg after the run
    } cases[] = {
        {0, 0, "# keep\r\nother\n\nlast", 0, 0},
        {1, 0, "# keep\r\nother\n\nlast", attr::kReadOnly, attr::kReadOnly},
        {0, 1, "# keep\r\nother\na.jpg\r\n\nlast\nb.jpg\n", attr::kHidden, attr::kHidden},
        {1, 1, "# keep\r\nother\na.jpg\r\n\nlast\nb.jpg\n", attr::kReadOnly | attr::kHidden,
         attr::kReadOnly | attr::kHidden},
    };
    for (const auto& c : cases) {
        clearRows(session);
        useAttributes({c.readOnly, c.hidden, 0});
        // a.jpg starts read-only and hidden, b.jpg as neither.
        dir.write(".hidden", "# keep\r\nother\na.jpg\r\n\nlast");
        for (const char* name : {"/a.jpg", "/b.jpg"})
            ::chmod((dir.path().string() + name).c_str(), 0644);
        addFiles({"a.jpg", "b.jpg"});
        makeReadOnly("a.jpg");
        const ExecuteResult result = executeRun(session, host, quiet);
        EXPECT_EQ(attributesOf("a.jpg"), c.a) << c.readOnly << c.hidden;
        EXPECT_EQ(attributesOf("b.jpg"), c.b) << c.readOnly << c.hidden;
        EXPECT_EQ(dir.read(".hidden"), c.hiddenList) << c.readOnly << c.hidden;
        EXPECT_EQ(session.log().text(), u"");
        EXPECT_EQ(result.processed, 2);
        EXPECT_FALSE(session.canUndo());
        EXPECT_EQ(names(), (testing::Names{u"a.jpg", u"b.jpg"}));
    }
}

TEST_F(AttributeRunTest, MissingFileAndFolderMode) {
    useAttributes({1, 0, 1});
    appendRow(session, testing::itemRow(u"gone.jpg", dir.folder()));
    (void)executeRun(session, host, quiet);
    EXPECT_EQ(utf8(session.log().text()),
              "書き換えエラー - " + utf8(dir.folder()) + "gone.jpg\r\n");

    // In folder mode compression is never tried, so no error is logged for it.
    clearRows(session);
    session.settings.folderMode = 1;
    dir.makeFolder("sub");
    appendRow(session, testing::itemRow(u"sub", dir.folder()));
    const ExecuteResult result = executeRun(session, host, quiet);
    EXPECT_EQ(session.log().text(), u"");
    EXPECT_EQ(result.processed, 1);
    EXPECT_EQ(attributesOf("sub"), platform::attr::kReadOnly);
    ::chmod((dir.path().string() + "/sub").c_str(), 0755);
}

// Where the file system refuses the compression flag, the refusal is logged and the item not
// counted, but read-only and hidden are still applied; where it takes it, the flag is set.
TEST_F(AttributeRunTest, CompressionSetOrRefusedAndLogged) {
    useAttributes({1, 1, 1});
    addFiles({"c.bin"});
    const ExecuteResult result = executeRun(session, host, quiet);
    EXPECT_EQ(attributesOf("c.bin"), platform::attr::kReadOnly | platform::attr::kHidden);
    const auto compressed = platform::isCompressed(path(u"c.bin"));
    if (compressed && *compressed) {
        EXPECT_EQ(session.log().text(), u"");
        EXPECT_EQ(result.processed, 1);
    } else {
        EXPECT_EQ(utf8(session.log().text()),
                  "書き換えエラー - " + utf8(dir.folder()) + "c.bin\r\n");
        EXPECT_EQ(result.processed, 0);
    }
}

TEST(Attributes, BlockOfThreeRecordsAndIniKeys) {
    AttributePage page;
    page.settings = {1, 0, 1};
    BlockWriter out(0);
    page.saveBlock(out);
    const std::string bytes = out.bytes();
    ASSERT_EQ(bytes.size(), 48u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(getUint32(bytes, 16 * i), 1206u + i);
        EXPECT_EQ(getUint32(bytes, 16 * i + 4), 0u);
        EXPECT_EQ(getUint32(bytes, 16 * i + 12), i == 1 ? 0u : 1u);
    }
    BlockReader in(bytes, 0, bytes.size());
    AttributePage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.readOnly, 1);
    EXPECT_EQ(back.settings.compressed, 1);

    testing::TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[属性]\r\n読み取り専用=1\r\n隠しファイル=0\r\n圧縮=1\r\n");
}

}  // namespace
}  // namespace soramine
