// The methods that read or change files, run from jobs as a user runs them: the time sorts of
// list, date in name, timestamps and attributes.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli/job_fixture.h"
#include "core/platform/fs.h"
#include "core/text/utf.h"
#include "support/exif_files.h"

namespace soramine::testing {
namespace {

using CliFileMethods = CliJobTest;

std::string jpegShotAt(const std::string& date) {
    return jpegWithExif(tiffBlock({true, {{0x8769, kExifHere}}, {{0x9003, kDateHere}}, date}));
}

std::int64_t modifiedOf(const std::filesystem::path& path) {
    return platform::lookUp(text::fromUtf8(path.string()))->modified->seconds;
}

TEST_F(CliFileMethods, ListSortsByShootingDate) {
    files.write("b.jpg", jpegShotAt("2020:05:01 10:00:00"));
    files.write("a.jpg", jpegShotAt("2021:05:01 10:00:00"));
    files.write("c.png", "\x89PNG");
    const CliResult r = cli({"list", "--order", "exif-new", files.path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> order;
    for (std::size_t at = 0; at < r.out.size(); at = r.out.find('\n', at) + 1)
        order.push_back(r.out.substr(at, r.out.find('\t', at) - at));
    EXPECT_EQ(order, (std::vector<std::string>{"a.jpg", "b.jpg", "c.png"}));
    EXPECT_EQ(
        r.err,
        "Exif情報の撮影日時がありません - c.png\r\nExif情報撮影日時の新しい順に並べ替えました\n");
    EXPECT_EQ(cli({"list", "--order", "size", "."}).status, 2);
}

TEST_F(CliFileMethods, DateInNamePreviewRunAndUndo) {
    files.write("IMG_1.jpg", jpegShotAt("2020:05:01 10:00:00"));
    files.write("IMG_2.jpg", jpegShotAt("2021:06:02 11:30:00"));
    const std::string job =
        makeJob({"--method", "日時", "--set", "時間=2", "--set", "形式=YYYY-MM-DD_hhmm"});
    const CliResult preview = cli({"preview", job});
    ASSERT_EQ(preview.status, 0) << preview.err;
    EXPECT_NE(preview.out.find("IMG_1.jpg→2020-05-01_1000.jpg"), std::string::npos) << preview.out;
    EXPECT_EQ(names(), (std::vector<std::string>{"IMG_1.jpg", "IMG_2.jpg"}));
    ASSERT_EQ(cli({"run", job}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"2020-05-01_1000.jpg", "2021-06-02_1130.jpg"}));
    ASSERT_EQ(cli({"undo"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"IMG_1.jpg", "IMG_2.jpg"}));
}

TEST_F(CliFileMethods, TimestampsStepFromFileToFile) {
    writeFiles({"a.txt", "b.txt", "c.txt"});
    const std::string job =
        makeJob({"--method", "タイムスタンプ", "--set", "増減=1", "--set", "数値=-60"});
    const CliResult r = cli({"run", job});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "実行結果　(3 / 3) 処理しました。\n");
    const std::int64_t first = modifiedOf(files.path() / "a.txt");
    EXPECT_EQ(modifiedOf(files.path() / "b.txt"), first - 60);
    EXPECT_EQ(modifiedOf(files.path() / "c.txt"), first - 120);
}

TEST_F(CliFileMethods, AttributesOfferNoUndo) {
    writeFiles({"a.txt"});
    const std::string job =
        makeJob({"--method", "属性", "--set", "読み取り専用=1", "--set", "隠しファイル=1"});
    const CliResult r = cli({"run", job});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "実行結果　(1 / 1) 処理しました。\n");
    struct stat st;
    ASSERT_EQ(::stat((files.path() / "a.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    EXPECT_EQ(files.read(".hidden"), "a.txt\n");
    const CliResult undo = cli({"undo"});
    EXPECT_NE(undo.status, 0);
    EXPECT_EQ(undo.err, "元に戻す操作はありません\n");
    ::chmod((files.path() / "a.txt").c_str(), 0644);
}

}  // namespace
}  // namespace soramine::testing
