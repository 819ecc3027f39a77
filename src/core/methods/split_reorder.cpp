#include "core/methods/split_reorder.h"

#include <algorithm>
#include <array>

#include "core/engine/error_log.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr auto kRecords = std::to_array<RecordField<SplitReorderPage>>({
    {1188, &SplitReorderPage::split},
    {1189, &SplitReorderPage::order},
});

constexpr std::size_t kMaxBlocks = 5;
constexpr std::size_t kMaxAddedTexts = 5;

// The pieces of a text between its "-" separators (n separators give n + 1 pieces).
std::vector<std::u16string_view> pieces(std::u16string_view text) {
    std::vector<std::u16string_view> out;
    for (;;) {
        const std::size_t dash = text.find(u'-');
        out.push_back(text.substr(0, dash));
        if (dash == std::u16string_view::npos)
            return out;
        text.remove_prefix(dash + 1);
    }
}

// The block lengths of a split text, or nothing when it is invalid.
std::optional<std::vector<std::int64_t>> parseSplit(std::u16string_view split) {
    if (std::count(split.begin(), split.end(), u'-') + 1 > static_cast<long>(kMaxBlocks))
        return std::nullopt;
    std::vector<std::int64_t> lengths;
    bool rest = false;
    for (const std::u16string_view piece : pieces(split)) {
        if (piece == u"*") {
            if (rest)
                return std::nullopt;
            rest = true;
            lengths.push_back(SplitPlan::kRest);
            continue;
        }
        // The leading digits count, as atoi reads them: "3a" is 3, "a" is 0 and refused.
        const std::int32_t length = piece.empty() ? 0 : text::leadingInt(piece);
        if (length == 0)
            return std::nullopt;
        lengths.push_back(length);
    }
    return lengths;
}

// Takes the "<...>" texts out of an order text, each leaving a 0 entry in its place: "0-"
// at the start or after a "-", otherwise "-0". False when a "<" has no ">" after it or there
// are more than five texts.
bool takeAddedTexts(std::u16string& order, std::vector<std::u16string>& texts) {
    for (;;) {
        const std::size_t open = order.find(u'<');
        if (open == std::u16string::npos)
            return true;
        const std::size_t close = order.find(u'>', open + 1);
        if (close == std::u16string::npos || texts.size() == kMaxAddedTexts)
            return false;
        texts.push_back(order.substr(open + 1, close - open - 1));
        const bool startsEntry = open == 0 || order[open - 1] == u'-';
        order.replace(open, close - open + 1, startsEntry ? u"0-" : u"-0");
    }
}

}  // namespace

std::optional<SplitPlan> parseSplitReorder(std::u16string_view split, std::u16string_view order) {
    SplitPlan plan;
    auto lengths = parseSplit(split);
    if (!lengths)
        return std::nullopt;
    plan.lengths = std::move(*lengths);
    const std::size_t blocks = plan.lengths.size();

    std::u16string entries(order);
    if (!takeAddedTexts(entries, plan.addedTexts))
        return std::nullopt;
    const std::size_t count = std::count(entries.begin(), entries.end(), u'-') + 1;
    if (count > blocks + plan.addedTexts.size() || !text::consistsOf(entries, u"0123456789-"))
        return std::nullopt;
    for (const std::u16string_view piece : pieces(entries)) {
        if (piece.empty())
            return std::nullopt;
        const std::int32_t value = text::leadingInt(piece);
        if (static_cast<std::size_t>(value) > blocks)
            return std::nullopt;
        plan.order.push_back(value);
    }
    if (plan.addedTexts.empty()) {
        std::vector<int> sorted = plan.order;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            return std::nullopt;
    }
    return plan;
}

SplitReorderPage::SplitReorderPage()
    : split{std::u16string(kSplitReorderSection), u"区切り", u"5-5-5", {}, u"5-5-5"},
      order{std::u16string(kSplitReorderSection), u"並び順", u"3-2-1", {}, u"3-2-1"} {}

std::optional<Message> SplitReorderPage::validate(RunContext&) {
    auto plan = parseSplitReorder(split.text, order.text);
    if (!plan)
        return errorMessage(u"設定が不正です");
    plan_ = std::move(*plan);
    return std::nullopt;
}

std::u16string SplitReorderPage::transform(const ItemArgs& item, RunContext& run) {
    const std::u16string_view extension =
        run.env.folderMode ? std::u16string_view() : text::extensionAfterStem(item.name);
    const std::u16string_view stem = item.name.substr(0, item.name.size() - extension.size());
    // 64-bit sums: five lengths of up to 2^31 - 1 cannot wrap around.
    std::int64_t fixed = 0;
    for (const std::int64_t length : plan_.lengths)
        fixed += std::max<std::int64_t>(length, 0);
    if (static_cast<std::int64_t>(stem.size()) < fixed) {
        run.log.appendLog(u"ファイル名を区切れません - " + std::u16string(item.name) + u"\r\n");
        return std::u16string(item.name);
    }
    std::vector<std::u16string_view> blocks;
    std::size_t at = 0;
    for (const std::int64_t length : plan_.lengths) {
        const std::size_t size = length == SplitPlan::kRest
                                     ? stem.size() - static_cast<std::size_t>(fixed)
                                     : static_cast<std::size_t>(length);
        blocks.push_back(stem.substr(at, size));
        at += size;
    }
    std::u16string out;
    std::size_t nextText = 0;
    for (const int entry : plan_.order) {
        if (entry > 0)
            out += blocks[entry - 1];
        else if (nextText < plan_.addedTexts.size())
            out += plan_.addedTexts[nextText++];
    }
    out += extension;
    return out;
}

void SplitReorderPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool SplitReorderPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<HistoryBox*> SplitReorderPage::histories() {
    return {&split, &order};
}

std::vector<NamedSetting> SplitReorderPage::namedSettings() {
    return namedSettingsOf<SplitReorderSettings>({}, settings, {&split, &order});
}

std::vector<TextSetting> SplitReorderPage::textSettings() {
    // "<" and ">" enclose the added texts of the order; the split text is not watched.
    return {textSettingOf(order, text::ForbiddenSet::NoAngleBrackets)};
}

}  // namespace soramine
