#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

// The add-text page's INI keys, section "追加". The position settings also place the text
// of every method in its "add" mode.
struct AddTextSettings {
    std::int32_t where;           // "追加位置": 0 head, 1 end, 2 at a position
    std::int32_t afterExtension;  // "拡張子の": at the end, 0 before the extension, 1 after
    std::int32_t fromTail;        // "先頭から": at a position, 0 count from head, 1 from tail
    std::u16string offset;        // "文字目": the position N
};

inline constexpr std::u16string_view kAddTextSection = u"追加";
std::span<const IniField<AddTextSettings>> addTextSettingsFields();

// Inserts a text into each name: at the head, at the end, or at a counted position.
class AddTextPage final : public MethodPage {
  public:
    AddTextPage();

    AddTextSettings settings;
    HistoryBox addText;  // "文字": the text to add

    // The shared insertion: `insertText` (or, when empty, this page's own text) put into
    // `name` where the position settings say; a "\" in it becomes the folder's name. A
    // position before the head is logged and leaves the name unchanged.
    std::u16string insert(std::u16string_view name, std::u16string_view insertText,
                          std::u16string_view folder, RunContext& run) const;

    std::u16string_view comboText() const override { return u"追加"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    std::vector<TextSetting> textSettings() override;
    // The position settings by their INI keys, which a job of a method in its "add" mode
    // stores with the method's own.
    std::vector<NamedSetting> positionSettings();
};

// The four position records of the page's block, which a method in its "add" mode appends to
// its own block.
std::span<const RecordField<AddTextPage>> addTextPositionRecords();

// The block of a method with an "add" mode: its own records, then, while it is in that mode,
// the add-text page's position records.
template <class Page>
void saveWithAddTextPositions(RecordTable<Page> records, const Page& page, const AddTextPage& add,
                              BlockWriter& out) {
    saveRecords(records, page, out);
    if (page.usesAddText())
        saveRecords(addTextPositionRecords(), add, out);
}

// Loads such a block: the position records are read when the loaded `mode` setting is 1 (the
// add mode). Nothing is applied, to the method or to the add-text page, unless the whole
// block could be read.
template <class Page>
bool loadWithAddTextPositions(RecordTable<Page> records, Page& page,
                              std::int32_t RecordField<Page>::Settings::*mode, AddTextPage& add,
                              BlockReader& in) {
    auto own = readRecords(records, page, in);
    if (!own)
        return false;
    std::optional<LoadedRecords<AddTextPage>> positions;
    if (own->settings.*mode == 1) {
        positions = readRecords(addTextPositionRecords(), add, in);
        if (!positions)
            return false;
    }
    std::move(*own).applyTo(page);
    if (positions)
        std::move(*positions).applyTo(add);
    return true;
}

}  // namespace soramine
