#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "core/engine/method.h"

namespace soramine {

class IniFile;

// The methods of the method box, by index (the box is not sorted, so its index is the
// setting "リネーム方式"). The table owns the pages. The product's table is made by
// makeMethodTable() (methods/method_list.h); tests build their own.
class MethodTable {
  public:
    struct Entry {
        std::unique_ptr<MethodPage> page;
        // Whether a run of the method can be undone: false for a method that changes the
        // files rather than their names (attributes).
        bool undoable = true;
    };

    MethodTable() = default;
    explicit MethodTable(std::vector<Entry> entries);

    std::size_t size() const { return entries_.size(); }
    // The page at `index`, or nullptr outside the table.
    MethodPage* page(int index) const;
    bool undoable(int index) const;
    // The index of the method whose combo text is `comboText`.
    std::optional<int> indexOf(std::u16string_view comboText) const;

    // Every page reads or writes its INI section.
    void readIni(const IniFile& ini);
    void writeIni(IniFile& ini) const;

  private:
    std::vector<Entry> entries_;
};

}  // namespace soramine
