#include "core/app/detail_settings.h"

#include <gtest/gtest.h>

namespace soramine {
namespace {

TEST(DetailSettings, DialogOpensWithStoredKeysAndTheLimitInUse) {
    DetailSettings stored = defaultDetailSettings(), running = defaultDetailSettings();
    stored.importHidden = 1;
    stored.showCreatedColumn = 1;  // confirmed earlier, shown from the next start
    stored.historyLimit = 25;
    running.showSizeColumn = 1;
    running.historyLimit = 4;
    const DetailSettings d = detailDialogValues(stored, running);
    EXPECT_EQ(d.importHidden, 1);
    EXPECT_EQ(d.showCreatedColumn, 1) << "a second opening must not undo the first";
    EXPECT_EQ(d.showSizeColumn, 0);
    EXPECT_EQ(d.historyLimit, 4);
}

TEST(DetailSettings, ConfirmedValuesApplyAtOnceExceptColumnsAndFont) {
    const DetailSettings running = defaultDetailSettings();
    DetailSettings confirmed = running;
    confirmed.toolTips = 0;
    confirmed.showLog = 1;
    confirmed.historyLimit = 3;
    confirmed.importSystem = 1;
    confirmed.showCreatedColumn = confirmed.showModifiedColumn = confirmed.showSizeColumn = 1;
    confirmed.fontName = u"IPAGothic";
    const DetailSettings now = appliedAtOnce(running, confirmed);
    struct Case {
        const char* label;
        std::int32_t value, expected;
    } cases[] = {
        {"tips", now.toolTips, 0},
        {"log", now.showLog, 1},
        {"history limit", now.historyLimit, 3},
        {"system files at the next import", now.importSystem, 1},
        {"created column at the next start", now.showCreatedColumn, 0},
        {"modified column at the next start", now.showModifiedColumn, 0},
        {"size column at the next start", now.showSizeColumn, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, c.expected) << c.label;
    EXPECT_EQ(now.fontName, running.fontName);
}

}  // namespace
}  // namespace soramine
