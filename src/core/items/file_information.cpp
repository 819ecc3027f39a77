#include "core/items/file_information.h"

#include "core/items/item_text.h"

namespace soramine {
namespace {

std::u16string dateLine(std::u16string_view label, std::optional<platform::FileTime> t) {
    std::u16string text = dateText(t);
    if (text.empty())
        text = u"\n";
    return std::u16string(label) + u"\t" + text;
}

}  // namespace

std::u16string fileInformationText(const platform::EntryInfo& entry) {
    return u" ﾌｧｲﾙｻｲｽﾞ\t" + sizeText(entry.size) +
           u"ﾊﾞｲﾄ\n --------------------------------------\n" +
           dateLine(u" 作成日時", entry.created) + dateLine(u" 更新日時", entry.modified) +
           dateLine(u" ｱｸｾｽ日時", entry.accessed);
}

}  // namespace soramine
