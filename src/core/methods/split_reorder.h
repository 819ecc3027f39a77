#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

// The split-and-reorder page has no INI keys of its own: its two texts are history boxes of
// section "並び替え".
struct SplitReorderSettings {};
inline constexpr std::u16string_view kSplitReorderSection = u"並び替え";

// The split and order texts as a run uses them.
struct SplitPlan {
    static constexpr std::int64_t kRest = -1;  // the "*" block: whatever the others leave
    std::vector<std::int64_t> lengths;         // one per block, 1 to 5 blocks
    std::vector<std::u16string> addedTexts;    // the "<...>" texts in order, at most 5
    std::vector<int> order;                    // block numbers 1..N, or 0 for an added text
};

// Parses a split text ("4-2-2", "3-*") and an order text ("3-2-1", "2-<_>1"); nothing when
// either is not valid.
std::optional<SplitPlan> parseSplitReorder(std::u16string_view split, std::u16string_view order);

// Cuts each name (without its extension) into blocks of given lengths and puts the new name
// together from them in a given order, with added texts between.
class SplitReorderPage final : public MethodPage {
  public:
    SplitReorderPage();

    SplitReorderSettings settings;
    HistoryBox split;  // "区切り": block lengths separated by "-"
    HistoryBox order;  // "並び順": block numbers separated by "-", added texts in "<" ">"

    std::u16string_view comboText() const override { return u"並べ替え"; }
    void readIni(const IniFile&) override {}
    void writeIni(IniFile&) const override {}
    // Parses both texts into the plan the transform uses ("設定が不正です" when invalid).
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    std::vector<TextSetting> textSettings() override;

  private:
    SplitPlan plan_;
};

}  // namespace soramine
