#include "core/methods/method_list.h"

#include <array>

#include "core/methods/add_text.h"
#include "core/methods/attributes.h"
#include "core/methods/conversion.h"
#include "core/methods/date_in_name.h"
#include "core/methods/delete_extract.h"
#include "core/methods/extension.h"
#include "core/methods/hash_name.h"
#include "core/methods/mp3_tags.h"
#include "core/methods/numbering.h"
#include "core/methods/random_name.h"
#include "core/methods/replace.h"
#include "core/methods/script.h"
#include "core/methods/split_reorder.h"
#include "core/methods/text_lines.h"
#include "core/methods/timestamps.h"

namespace soramine {
namespace {

using MakePage = std::unique_ptr<MethodPage> (*)(std::u16string_view comboText,
                                                 AddTextPage& addText);

template <class Page>
std::unique_ptr<MethodPage> make(std::u16string_view, AddTextPage&) {
    return std::make_unique<Page>();
}
// The methods with an "add" variant insert their text with the add-text page's settings.
template <class Page>
std::unique_ptr<MethodPage> makeWithAddText(std::u16string_view, AddTextPage& addText) {
    return std::make_unique<Page>(addText);
}

struct Row {
    std::u16string_view comboText;
    MakePage makePage;  // nullptr for the add-text page, which is built before all others
    bool undoable;
};

constexpr int kAddTextIndex = 2;

constexpr std::array<Row, 15> kRows = {{
    {u"連番", makeWithAddText<NumberingPage>, true},
    {u"置換", make<ReplacePage>, true},
    {u"追加", nullptr, true},
    {u"削除 / 抽出", make<DeleteExtractPage>, true},
    {u"MP3", make<Mp3TagPage>, true},
    {u"拡張子", make<ExtensionPage>, true},
    {u"タイムスタンプ", make<TimestampPage>, true},
    {u"日時", makeWithAddText<DatePage>, true},
    {u"テキスト", makeWithAddText<TextLinesPage>, true},
    {u"ハッシュ", makeWithAddText<HashNamePage>, true},
    {u"ランダム", makeWithAddText<RandomNamePage>, true},
    {u"並べ替え", make<SplitReorderPage>, true},
    {u"属性", make<AttributePage>, false},
    {u"スクリプト", make<ScriptPage>, true},
    {u"その他", make<ConversionPage>, true},
}};

}  // namespace

MethodTable makeMethodTable() {
    std::vector<MethodTable::Entry> entries(kRows.size());
    auto addText = std::make_unique<AddTextPage>();
    AddTextPage& addTextPage = *addText;
    entries[kAddTextIndex].page = std::move(addText);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (kRows[i].makePage)
            entries[i].page = kRows[i].makePage(kRows[i].comboText, addTextPage);
        entries[i].undoable = kRows[i].undoable;
    }
    return MethodTable(std::move(entries));
}

}  // namespace soramine
