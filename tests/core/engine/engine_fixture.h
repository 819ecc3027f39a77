#pragma once

// Shared pieces of the engine tests: a method page whose transform is a table of names, a
// host that answers from fields and records what it was asked, an observer that cancels on
// request, and a session over real files in a temporary folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "core/engine/method_table.h"
#include "core/engine/run.h"
#include "core/engine/session.h"
#include "core/settings/history_box.h"
#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine::testing {

using Names = std::vector<std::u16string>;

inline Row itemRow(std::u16string name, std::u16string folder) {
    Row row;
    row.name = std::move(name);
    row.folder = std::move(folder);
    return row;
}

// Changes of a session that runs nothing, which are never refused.
inline void appendRow(RenameSession& session, Row row) {
    ASSERT_TRUE(session.changeItems([&](ItemTable& t) { t.append(std::move(row)); }));
}
inline void clearRows(RenameSession& session) {
    ASSERT_TRUE(session.changeItems([](ItemTable& t) { t.clear(); }));
}
inline void selectRows(RenameSession& session, std::vector<std::size_t> rows) {
    ASSERT_TRUE(session.setSelection(std::move(rows)));
}

// Renames by table: a name found in `renames` gets the mapped name, others keep theirs.
// `logs` makes the transform log a line for that name first.
class FakePage final : public MethodPage {
  public:
    std::map<std::u16string, std::u16string> renames;
    std::map<std::u16string, std::u16string> logs;
    std::optional<Message> refusal;  // what validate() returns
    std::u16string validationLog;    // logged by validate()
    HistoryBox box{u"偽", u"入力", u"", {}, u"typed"};
    std::vector<std::pair<int, int>> seen;  // (k, row) of every transform

    std::u16string_view comboText() const override { return u"偽"; }
    void readIni(const IniFile&) override {}
    void writeIni(IniFile&) const override {}
    std::optional<Message> validate(RunContext& run) override {
        if (!validationLog.empty())
            run.log.appendLog(validationLog);
        return refusal;
    }
    std::u16string transform(const ItemArgs& item, RunContext& run) override {
        seen.emplace_back(item.k, item.row);
        const std::u16string name(item.name);
        if (auto it = logs.find(name); it != logs.end())
            run.log.appendLog(it->second);
        auto it = renames.find(name);
        return it == renames.end() ? name : it->second;
    }
    void saveBlock(BlockWriter&) const override {}
    bool loadBlock(BlockReader&) override { return true; }
    std::vector<HistoryBox*> histories() override { return {&box}; }
};

class FakeHost final : public Host {
  public:
    std::optional<std::u16string> folder;           // the answer of chooseFolder
    bool yes = false;                               // the answer of askYesNo
    std::optional<std::u16string> clipboard = u"";  // nothing: the clipboard cannot be opened
    std::vector<std::pair<std::u16string, std::u16string>> folderRequests;  // title, start
    std::vector<Message> questions;
    std::vector<Message> messages;

    std::optional<std::u16string> clipboardText() override { return clipboard; }
    std::optional<std::u16string> chooseFolder(std::u16string_view title,
                                               std::u16string_view start) override {
        folderRequests.emplace_back(title, start);
        return folder;
    }
    bool askYesNo(const Message& question) override {
        questions.push_back(question);
        return yes;
    }
    void showMessage(const Message& message) override { messages.push_back(message); }
};

// Asks to stop after the item whose cancel test is the `cancelAt`-th (1-based; 0 never), and
// records the renames it is told about.
class CancellingObserver final : public RunObserver {
  public:
    explicit CancellingObserver(int cancelAt) : cancelAt_(cancelAt) {}
    void begin(std::size_t steps) override { range = steps; }
    void step() override {}
    bool cancelled() override { return ++tests_ == cancelAt_; }
    void advance(std::size_t steps) override { advanced += steps; }
    void end() override { ended = true; }
    void renamed(std::size_t k, std::u16string_view from, std::u16string_view to) override {
        renames.emplace_back(k, std::u16string(from), std::u16string(to));
    }

    std::vector<std::tuple<std::size_t, std::u16string, std::u16string>> renames;
    std::size_t range = 0;
    std::size_t advanced = 0;
    bool ended = false;

  private:
    int cancelAt_;
    int tests_ = 0;
};

inline MethodTable fakeTable(bool undoable = true) {
    std::vector<MethodTable::Entry> entries;
    entries.push_back({std::make_unique<FakePage>(), undoable});
    return MethodTable(std::move(entries));
}

// A session over the files of a temporary folder, running the fake page.
class EngineTest : public ::testing::Test {
  protected:
    explicit EngineTest(bool undoable = true)
        : session(IniFile(iniDir.folder() + u"test.ini"), fakeTable(undoable)),
          page(static_cast<FakePage&>(*session.methods.page(0))) {}

    // Creates the files and lists them as rows, in this order.
    void addFiles(std::initializer_list<std::string_view> names) {
        for (auto name : names) {
            dir.write(name, name);
            appendRow(session, itemRow(text::fromUtf8(name), dir.folder()));
        }
    }
    Names names() const {
        Names out;
        for (std::size_t i = 0; i < session.items().count(); ++i)
            out.push_back(session.items().name(i));
        return out;
    }
    // The names in the folder, sorted.
    std::vector<std::string> onDisk() const;
    std::u16string path(std::u16string_view name) const {
        return dir.folder() + std::u16string(name);
    }

    TempDir iniDir;
    TempDir dir;
    RenameSession session;
    FakePage& page;
    FakeHost host;
    QuietObserver quiet;
};

inline std::vector<std::string> EngineTest::onDisk() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace soramine::testing
