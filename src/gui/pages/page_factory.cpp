#include "gui/pages/page_factory.h"

#include <array>
#include <string_view>

#include "gui/pages/add_text_page_widget.h"
#include "gui/pages/attribute_page_widget.h"
#include "gui/pages/conversion_page_widget.h"
#include "gui/pages/date_page_widget.h"
#include "gui/pages/delete_extract_page_widget.h"
#include "gui/pages/extension_page_widget.h"
#include "gui/pages/hash_name_page_widget.h"
#include "gui/pages/mp3_tag_page_widget.h"
#include "gui/pages/numbering_page_widget.h"
#include "gui/pages/random_name_page_widget.h"
#include "gui/pages/replace_page_widget.h"
#include "gui/pages/script_page_widget.h"
#include "gui/pages/split_reorder_page_widget.h"
#include "gui/pages/text_lines_page_widget.h"
#include "gui/pages/timestamp_page_widget.h"
#include "gui/pages/unavailable_page_widget.h"

namespace soramine::gui {
namespace {

using MakeWidget = MethodPageWidget* (*)(soramine::MethodPage&, soramine::RenameSession&,
                                         QWidget* parent);

// Binds a core page of type CorePage to its widget; a page of another type (a method table
// in another order) gets no widget of this row.
template <class CorePage, class Widget>
MethodPageWidget* bind(soramine::MethodPage& page, soramine::RenameSession& session,
                       QWidget* parent) {
    auto* typed = dynamic_cast<CorePage*>(&page);
    return typed ? new Widget(*typed, session, parent) : nullptr;
}

struct Row {
    std::u16string_view comboText;  // the method's entry in "リネーム方式(&Y)"
    MakeWidget make;
};

// One row per method that has a window page; a method without a row shows the page saying
// it is not available yet.
constexpr std::array kRows = {
    Row{u"連番", bind<soramine::NumberingPage, NumberingPageWidget>},
    Row{u"置換", bind<soramine::ReplacePage, ReplacePageWidget>},
    Row{u"追加", bind<soramine::AddTextPage, AddTextPageWidget>},
    Row{u"テキスト", bind<soramine::TextLinesPage, TextLinesPageWidget>},
    Row{u"ランダム", bind<soramine::RandomNamePage, RandomNamePageWidget>},
    Row{u"タイムスタンプ", bind<soramine::TimestampPage, TimestampPageWidget>},
    Row{u"日時", bind<soramine::DatePage, DatePageWidget>},
    Row{u"並べ替え", bind<soramine::SplitReorderPage, SplitReorderPageWidget>},
    Row{u"属性", bind<soramine::AttributePage, AttributePageWidget>},
    Row{u"ハッシュ", bind<soramine::HashNamePage, HashNamePageWidget>},
    Row{u"MP3", bind<soramine::Mp3TagPage, Mp3TagPageWidget>},
    Row{u"削除 / 抽出", bind<soramine::DeleteExtractPage, DeleteExtractPageWidget>},
    Row{u"拡張子", bind<soramine::ExtensionPage, ExtensionPageWidget>},
    Row{u"その他", bind<soramine::ConversionPage, ConversionPageWidget>},
    Row{u"スクリプト", bind<soramine::ScriptPage, ScriptPageWidget>},
};

}  // namespace

MethodPageWidget* makeMethodPageWidget(int methodIndex, soramine::RenameSession& session,
                                       QWidget* parent) {
    soramine::MethodPage* page = session.methods.page(methodIndex);
    if (page) {
        for (const Row& row : kRows) {
            if (row.comboText != page->comboText())
                continue;
            if (MethodPageWidget* widget = row.make(*page, session, parent))
                return widget;
        }
    }
    return new UnavailablePageWidget(parent);
}

}  // namespace soramine::gui
