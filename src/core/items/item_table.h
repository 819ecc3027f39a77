#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soramine {

// One gathered file or folder. The table keeps its fields in parallel columns; a Row is how a
// whole row travels in and out.
struct Row {
    std::u16string name;
    std::u16string folder;  // ends in the separator; the full path is folder + name
    std::u16string created;
    std::u16string modified;
    std::u16string size;
    std::u16string imageText = u"0";
    friend bool operator==(const Row&, const Row&) = default;
};

// The item table: six parallel string columns of equal length, index i of each belonging to
// row i. Sorting swaps string references, never characters.
class ItemTable {
  public:
    enum Column { kName = 0, kFolder = 1, kCreated = 2, kModified = 3, kSize = 4 };

    // Compares two texts of a column: negative when the first comes first.
    using Compare = int (*)(const std::u16string&, const std::u16string&);

    size_t count() const { return name_.size(); }
    bool empty() const { return name_.empty(); }

    const std::u16string& name(size_t i) const { return name_[i]; }
    const std::u16string& folder(size_t i) const { return folder_[i]; }
    const std::u16string& created(size_t i) const { return created_[i]; }
    const std::u16string& modified(size_t i) const { return modified_[i]; }
    const std::u16string& size(size_t i) const { return size_[i]; }
    const std::u16string& imageText(size_t i) const { return imageText_[i]; }
    const std::u16string& text(Column c, size_t i) const { return column(c)[i]; }
    std::u16string path(size_t i) const { return folder_[i] + name_[i]; }
    Row row(size_t i) const;

    void setName(size_t i, std::u16string v) { name_[i] = std::move(v); }
    void setFolder(size_t i, std::u16string v) { folder_[i] = std::move(v); }
    void setText(Column c, size_t i, std::u16string v) { column(c)[i] = std::move(v); }

    void append(Row r);
    void insert(size_t at, Row r);
    void remove(size_t i);
    // Removes the given rows (ascending, no repeats) in one pass; the others keep their order.
    void removeRows(const std::vector<size_t>& rows);
    // Moves the given rows (ascending, no repeats) so that they stand together, in their
    // order, where row `at` stood before the move (count() for the end); the other rows keep
    // their order. Returns the moved rows' new numbers.
    std::vector<size_t> moveRows(const std::vector<size_t>& rows, size_t at);
    void clear();
    void reserve(size_t n);
    // Moves every row of `other` to the end of this table, leaving `other` empty.
    void appendTable(ItemTable&& other);
    // The same for several tables in order, growing this one once.
    void appendTables(std::vector<ItemTable>&& parts);

    // Quicksort of rows lo..hi (inclusive) by one column. The pivot is the text at
    // (lo + hi) / 2; the sort is not stable, and the order of equal keys follows this exact
    // scheme. A set `descending` negates the comparison.
    void sort(Column c, Compare compare, bool descending, size_t lo, size_t hi);
    void sort(Column c, Compare compare, bool descending);
    // The same quicksort over one signed key per row (keys[i] for row i), moving whole rows:
    // ascending, or descending with `descending` set.
    void sortByKeys(const std::vector<std::int64_t>& keys, bool descending);

    // Column comparisons: UTF-16 code-unit order; and the size column's numeric order
    // ("," removed, read as a signed 64-bit decimal), which returns +1 when the first value is
    // smaller, so that an ascending sort puts the largest first.
    static int compareText(const std::u16string& a, const std::u16string& b);
    static int compareNumber(const std::u16string& a, const std::u16string& b);

  private:
    std::vector<std::u16string>& column(Column c);
    const std::vector<std::u16string>& column(Column c) const;
    void applyOrder(const std::vector<std::uint32_t>& order, size_t lo);
    void moveRowsFrom(ItemTable& other);

    std::vector<std::u16string> name_, folder_, created_, modified_, size_, imageText_;
};

}  // namespace soramine
