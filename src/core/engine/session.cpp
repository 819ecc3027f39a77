#include "core/engine/session.h"

#include <algorithm>

namespace soramine {

RenameSession::RenameSession(IniFile iniFile, MethodTable methodTable)
    : ini(std::move(iniFile)),
      methods(std::move(methodTable)),
      folderBox{std::u16string(kMainSection), u"フォルダ名", u"/", {}, {}},
      extensionBox{std::u16string(kMainSection), u"拡張子", u"*", {}, {}} {}

void RenameSession::readIni() {
    settings = readMainSettings(ini);
    detail = readDetailSettings(ini);
    methods.readIni(ini);
}

void RenameSession::writeIni() {
    writeMainSettings(ini, settings);
    methods.writeIni(ini);
}

std::vector<HistoryBox*> RenameSession::historyBoxes() {
    std::vector<HistoryBox*> boxes{&folderBox, &extensionBox};
    for (std::size_t i = 0; i < methods.size(); ++i) {
        for (HistoryBox* box : methods.page(static_cast<int>(i))->histories())
            boxes.push_back(box);
    }
    return boxes;
}

std::vector<StoredText> RenameSession::storedTexts() {
    std::vector<StoredText> texts;
    for (std::size_t i = 0; i < methods.size(); ++i) {
        for (const StoredText& stored : methods.page(static_cast<int>(i))->storedTexts())
            texts.push_back(stored);
    }
    return texts;
}

void RenameSession::loadHistories(const HistoryMap& map) {
    for (HistoryBox* box : historyBoxes())
        loadBoxHistory(*box, ini, map);
    // A text the store does not hold keeps the page's default.
    for (const StoredText& stored : storedTexts()) {
        if (const auto it = map.find(std::u16string(stored.key)); it != map.end())
            *stored.text = it->second;
    }
}

void RenameSession::saveHistories(HistoryMap& map) {
    for (HistoryBox* box : historyBoxes())
        saveBoxHistory(*box, detail.historyLimit, ini, map);
    for (const StoredText& stored : storedTexts())
        map[std::u16string(stored.key)] = *stored.text;
}

Message RenameSession::runningMessage() {
    return errorMessage(
        u"処理中は一覧を変更できません。処理が終わってからもう一度行ってください。");
}

bool RenameSession::changeItems(const std::function<void(ItemTable&)>& change) {
    if (running())
        return false;
    undo_ = UndoRecord();
    change(items_);
    // Rows past the end of the table are no longer selected.
    selection_.erase(std::lower_bound(selection_.begin(), selection_.end(), items_.count()),
                     selection_.end());
    return true;
}

bool RenameSession::sortByTime(SortTime time, bool newestFirst) {
    if (running())
        return false;
    if (items_.empty() || (time == SortTime::kShootingDate && settings.folderMode))
        return true;
    std::optional<std::u16string> report;
    if (!changeItems([&](ItemTable& t) {
            report = soramine::sortByTime(t, time, newestFirst, settings.folderMode != 0);
        }))
        return false;
    log_.clear();
    if (report)
        log_.appendLog(*report);
    return true;
}

bool RenameSession::setSelection(std::vector<std::size_t> rows) {
    if (running())
        return false;
    undo_ = UndoRecord();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    selection_ = std::move(rows);
    return true;
}

bool RenameSession::discardUndo() {
    if (running())
        return false;
    undo_ = UndoRecord();
    return true;
}

}  // namespace soramine
