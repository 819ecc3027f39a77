#include "core/engine/method_table.h"

namespace soramine {

MethodTable::MethodTable(std::vector<Entry> entries) : entries_(std::move(entries)) {}

MethodPage* MethodTable::page(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size())
        return nullptr;
    return entries_[index].page.get();
}

bool MethodTable::undoable(int index) const {
    return page(index) && entries_[index].undoable;
}

std::optional<int> MethodTable::indexOf(std::u16string_view comboText) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].page->comboText() == comboText)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

void MethodTable::readIni(const IniFile& ini) {
    for (auto& e : entries_)
        e.page->readIni(ini);
}

void MethodTable::writeIni(IniFile& ini) const {
    for (const auto& e : entries_)
        e.page->writeIni(ini);
}

}  // namespace soramine
