#include "core/app/window_placement.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/app/ini_file.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;

TEST(WindowPlacement, RecordIsFortyFourLittleEndianBytes) {
    WindowPlacement p;
    p.showCommand = WindowPlacement::kMaximized;
    p.normal = {10, 20, 715, -3};
    const auto bytes = encodePlacement(p);
    const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 12);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{44, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ(bytes[12], 0xFF) << "the minimised position defaults to -1";
    EXPECT_EQ(bytes[28], 10);
    EXPECT_EQ(bytes[36], 0xCB);  // 715 = 0x2CB
    EXPECT_EQ(bytes[37], 0x02);
    EXPECT_EQ(bytes[43], 0xFF);  // bottom -3
    EXPECT_EQ(decodePlacement(bytes), p);
}

TEST(WindowPlacement, OnlyExactlyFortyFourBytesDecode) {
    const std::vector<std::uint8_t> sizes[] = {
        {}, std::vector<std::uint8_t>(43), std::vector<std::uint8_t>(45)};
    for (const auto& bytes : sizes)
        EXPECT_EQ(decodePlacement(bytes), std::nullopt) << bytes.size();
}

TEST(WindowPlacement, IniKeyHoldsEightyEightLetters) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    EXPECT_EQ(readWindowPlacement(ini, u"WindowSize"), std::nullopt);
    WindowPlacement p;
    p.normal = {1, 2, 706, 554};
    writeWindowPlacement(ini, u"WindowSize", p);
    const std::u16string letters = ini.readString(u"ウインドウ", u"WindowSize", u"");
    EXPECT_EQ(letters.size(), 88u);
    EXPECT_EQ(letters.substr(0, 2), u"MC");  // 44 = 0x2C: low nibble C, high nibble 2
    EXPECT_EQ(readWindowPlacement(ini, u"WindowSize"), p);
    ini.writeString(u"ウインドウ", u"WindowSize", u"MCAA");  // a damaged, short value
    EXPECT_EQ(readWindowPlacement(ini, u"WindowSize"), std::nullopt);
}

}  // namespace
}  // namespace soramine
