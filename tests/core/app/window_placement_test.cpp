#include "core/app/window_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/ini_file.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;

TEST(WindowPlacement, RecordLayoutAndRoundTripThroughTheIni) {
    const WindowPlacement p{0, WindowPlacement::kMaximized, -1, -1, -8, -30, 10, 20, 730, 600};
    const std::vector<std::uint8_t> bytes = encodePlacement(p);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes[0], 44);                     // the length field
    EXPECT_EQ(bytes[8], 3);                      // show command
    EXPECT_EQ(bytes[20], 0xF8);                  // -8, little-endian
    EXPECT_EQ(bytes[36] | bytes[37] << 8, 730);  // right
    EXPECT_EQ(bytes[40] | bytes[41] << 8, 600);  // bottom

    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    writePlacement(ini, u"LogWindow", p);
    EXPECT_EQ(readPlacement(ini, u"LogWindow"), p);
    EXPECT_EQ(readPlacement(ini, u"WindowSize"), std::nullopt);
}

TEST(WindowPlacement, RefusesDamagedRecords) {
    const std::vector<std::uint8_t> good = encodePlacement({0, 1, -1, -1, -1, -1, 0, 0, 300, 200});
    ASSERT_TRUE(decodePlacement(good));
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"short", {good.begin(), good.end() - 1}},
        {"long", good},
        {"wrong length field", good},
        {"empty rectangle", encodePlacement({0, 1, -1, -1, -1, -1, 50, 0, 50, 200})},
        {"upside down", encodePlacement({0, 1, -1, -1, -1, -1, 0, 300, 300, 200})},
    };
    cases[2].bytes.push_back(0);
    cases[3].bytes[0] = 40;
    for (const Case& c : cases)
        EXPECT_EQ(decodePlacement(c.bytes), std::nullopt) << c.what;
}

}  // namespace
}  // namespace soramine
