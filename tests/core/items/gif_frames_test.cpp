#include "core/items/gif_frames.h"

#include <gtest/gtest.h>

#include "support/gif_writer.h"

namespace soramine {
namespace {

using testing::GifFrameSpec;
using testing::makeGif;

TEST(SplitGif, FramesWithTheirPlacesDelaysAndDisposals) {
    const std::string gif =
        makeGif(8, 6, {{0, 0, 8, 6, 0, 0, {}}, {2, 1, 3, 2, 7, 2, {}}, {5, 4, 3, 2, 250, 3, {}}});
    const auto split = splitGif(gifBytesSource(gif));
    ASSERT_TRUE(split);
    EXPECT_EQ(split->width, 8);
    EXPECT_EQ(split->height, 6);
    EXPECT_EQ(split->background, 0x000000u);
    ASSERT_EQ(split->frames.size(), 3u);
    struct Case {
        int left, top, width, height, delay, disposal, milliseconds;
    } cases[] = {
        {0, 0, 8, 6, 0, 0, 100},  // a delay of 4 or less shows for 100 ms
        {2, 1, 3, 2, 7, 2, 70},
        {5, 4, 3, 2, 250, 3, 2500},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const GifFrame& f = split->frames[i];
        const Case& c = cases[i];
        EXPECT_EQ((std::vector{f.left, f.top, f.width, f.height, f.delay, f.disposal}),
                  (std::vector{c.left, c.top, c.width, c.height, c.delay, c.disposal}))
            << "frame " << i;
        EXPECT_EQ(frameMilliseconds(f), c.milliseconds) << "frame " << i;
        // Each frame is a GIF of its own, of the frame's size, placed at its own origin.
        std::string own;
        ASSERT_TRUE(frameGif(*split, f, gifBytesSource(gif), own)) << "frame " << i;
        const auto alone = splitGif(gifBytesSource(own));
        ASSERT_TRUE(alone) << "frame " << i;
        EXPECT_EQ(alone->width, c.width);
        ASSERT_EQ(alone->frames.size(), 1u);
        EXPECT_EQ(alone->frames[0].left, 0);
        EXPECT_EQ(alone->frames[0].delay, c.delay);
        EXPECT_EQ(alone->frames[0].disposal, c.disposal);
        std::string again;
        ASSERT_TRUE(frameGif(*alone, alone->frames[0], gifBytesSource(own), again));
        EXPECT_EQ(again, own) << "frame " << i;
    }
}

TEST(SplitGif, DamagedAndHostileFiles) {
    const std::string two = makeGif(4, 4, {{0, 0, 4, 4, 10, 0, {}}, {0, 0, 4, 4, 10, 0, {}}});
    std::string noTrailer = two.substr(0, two.size() - 1);
    std::string huge = two;
    huge[6] = huge[7] = '\xFF';  // 65535 wide
    std::string emptyFrame = makeGif(4, 4, {{0, 0, 0, 4, 10, 0, {}}, {0, 0, 4, 4, 10, 0, {}}});
    struct Case {
        const char* label;
        std::string bytes;
        bool gif;
        std::size_t frames;
    } cases[] = {
        {"two frames", two, true, 2},
        {"GIF87a without extensions", makeGif(2, 2, {{}, {}}, true), true, 2},
        {"no trailer", noTrailer, true, 2},
        {"second frame cut short", two.substr(0, two.size() - 6), true, 1},
        {"cut inside the colour table", two.substr(0, 15), false, 0},
        {"only the screen and its colours", two.substr(0, 25), true, 0},
        {"no signature", "GIF88a" + two.substr(6), false, 0},
        {"empty", "", false, 0},
        {"a logical screen too large", huge, false, 0},
        {"frame of no pixels left out", emptyFrame, true, 1},
    };
    for (const auto& c : cases) {
        const auto split = splitGif(gifBytesSource(c.bytes));
        EXPECT_EQ(split.has_value(), c.gif) << c.label;
        if (split) {
            EXPECT_EQ(split->frames.size(), c.frames) << c.label;
        }
    }
    // A file of nothing but image blocks stops at the frame limit.
    std::string many = two.substr(0, 13 + 12);
    const std::string frame = two.substr(13 + 12 + 8, (two.size() - 13 - 12 - 1) / 2 - 8);
    for (std::size_t i = 0; i < kMaxGifFrames + 5; ++i)
        many += frame;
    const auto split = splitGif(gifBytesSource(many));
    ASSERT_TRUE(split);
    EXPECT_EQ(split->frames.size(), kMaxGifFrames);
}

TEST(SplitGif, FramesReadOnlyWhenDrawnFromAFileThatChanged) {
    // Frames larger than the reader's window, so that splitting reads the file in pieces.
    std::vector<GifFrameSpec> specs;
    for (int f = 0; f < 5; ++f) {
        GifFrameSpec frame{0, 0, 300, 300, 10, 0, {}};
        for (int i = 0; i < 300 * 300; ++i)
            frame.pixels.push_back(static_cast<std::uint8_t>((i * 7 + f) % 4));
        specs.push_back(std::move(frame));
    }
    const std::string gif = makeGif(300, 300, specs);
    ASSERT_GT(gif.size(), 3u * 64 * 1024);
    const auto split = splitGif(gifBytesSource(gif));
    ASSERT_TRUE(split);
    ASSERT_EQ(split->frames.size(), 5u);
    std::string own;
    ASSERT_TRUE(frameGif(*split, split->frames[4], gifBytesSource(gif), own));
    EXPECT_EQ(splitGif(gifBytesSource(own))->frames.size(), 1u);
    // The file cut short after it was split: the last frame is no longer there whole.
    const std::string cut = gif.substr(0, gif.size() - 10);
    EXPECT_FALSE(frameGif(*split, split->frames[4], gifBytesSource(cut), own));
    EXPECT_TRUE(frameGif(*split, split->frames[0], gifBytesSource(cut), own));
}

}  // namespace
}  // namespace soramine
