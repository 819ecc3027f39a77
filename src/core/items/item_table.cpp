#include "core/items/item_table.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace soramine {

// UTF-16 code-unit order of two texts.
int compareUnits(std::u16string_view a, std::u16string_view b);

namespace {

// A row of the text sort with the eight code units of its key that follow the prefix all the
// keys share, packed into two integers (earlier units in higher bits, missing units as 0): two
// rows whose heads differ compare as their heads do, without reading the keys.
struct KeyedRow {
    std::uint64_t high = 0, low = 0;
    std::uint32_t row = 0;
};

KeyedRow keyedRow(std::u16string_view key, std::uint32_t row) {
    std::uint64_t part[2] = {0, 0};
    for (size_t i = 0; i < 8; ++i)
        part[i / 4] = part[i / 4] << 16 | (i < key.size() ? key[i] : 0);
    return {part[0], part[1], row};
}

// The number of leading code units that all `count` keys share.
size_t sharedPrefix(const std::u16string* keys, size_t count) {
    size_t shared = count ? keys[0].size() : 0;
    for (size_t k = 1; k < count && shared > 0; ++k) {
        const auto mismatch = std::mismatch(keys[0].begin(), keys[0].begin() + shared,
                                            keys[k].begin(), keys[k].end());
        shared = static_cast<size_t>(mismatch.first - keys[0].begin());
    }
    return shared;
}

// The quicksort every sort of the table uses, run over a permutation so that rows move once
// at the end. Recursing into the smaller side keeps the stack shallow; the result is the
// same as recursing into both in order, because the two sides are disjoint.
template <class T, class Cmp>
void quicksort(std::vector<T>& order, std::int64_t lo, std::int64_t hi, Cmp cmp) {
    while (lo < hi) {
        std::int64_t i = lo, j = hi;
        const T pivot = order[static_cast<size_t>((lo + hi) / 2)];
        while (i <= j) {
            while (i < hi && cmp(order[i], pivot) < 0)
                ++i;
            while (j > lo && cmp(order[j], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(order[i], order[j]);
                ++i, --j;
            }
        }
        if (j - lo < hi - i) {
            if (lo < j)
                quicksort(order, lo, j, cmp);
            lo = i;
        } else {
            if (i < hi)
                quicksort(order, i, hi, cmp);
            hi = j;
        }
    }
}

std::vector<std::uint32_t> identity(size_t n) {
    std::vector<std::uint32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<std::uint32_t>(i);
    return order;
}

// Entry lo + k of `column` takes the entry that stood at lo + order[k]: gathered into
// `buffer` (which the caller may pass on to the next column) and moved back. The reads jump
// about the column, so each is asked for some entries ahead.
template <class T>
void permute(std::vector<T>& column, const std::vector<std::uint32_t>& order, size_t lo,
             std::vector<T>& buffer) {
    constexpr size_t kAhead = 16;
    T* const from = column.data() + lo;
    buffer.clear();
    buffer.reserve(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
        if (k + kAhead < order.size())
            __builtin_prefetch(from + order[k + kAhead]);
        buffer.push_back(std::move(from[order[k]]));
    }
    std::move(buffer.begin(), buffer.end(), from);
}

// Drops the entries at `rows` (ascending) and closes the gaps.
template <class T>
void removeAt(std::vector<T>& column, const std::vector<size_t>& rows) {
    size_t out = rows.empty() ? column.size() : rows.front();
    size_t next = 0;
    for (size_t i = out; i < column.size(); ++i) {
        if (next < rows.size() && rows[next] == i) {
            ++next;
            continue;
        }
        column[out++] = std::move(column[i]);
    }
    column.resize(out);
}

std::int64_t numberOf(const std::u16string& s) {
    std::int64_t value = 0;
    bool negative = false;
    size_t i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    for (; i < s.size(); ++i) {
        if (s[i] == u',')
            continue;
        if (s[i] < u'0' || s[i] > u'9')
            break;
        value = value * 10 + (s[i] - u'0');
    }
    return negative ? -value : value;
}

}  // namespace

Row ItemTable::row(size_t i) const {
    return Row{name_[i], folder_[i], created_[i], modified_[i], size_[i], imageText_[i]};
}

void ItemTable::append(Row r) {
    name_.push_back(std::move(r.name));
    folder_.push_back(std::move(r.folder));
    created_.push_back(std::move(r.created));
    modified_.push_back(std::move(r.modified));
    size_.push_back(std::move(r.size));
    imageText_.push_back(std::move(r.imageText));
}

void ItemTable::insert(size_t at, Row r) {
    auto pos = static_cast<std::ptrdiff_t>(at);
    name_.insert(name_.begin() + pos, std::move(r.name));
    folder_.insert(folder_.begin() + pos, std::move(r.folder));
    created_.insert(created_.begin() + pos, std::move(r.created));
    modified_.insert(modified_.begin() + pos, std::move(r.modified));
    size_.insert(size_.begin() + pos, std::move(r.size));
    imageText_.insert(imageText_.begin() + pos, std::move(r.imageText));
}

void ItemTable::removeRows(const std::vector<size_t>& rows) {
    for (Column c : {kName, kFolder, kCreated, kModified, kSize})
        removeAt(column(c), rows);
    removeAt(imageText_, rows);
}

std::vector<size_t> ItemTable::moveRows(const std::vector<size_t>& rows, size_t at) {
    at = std::min(at, count());
    std::vector<bool> moving(count());
    for (size_t r : rows)
        moving[r] = true;
    std::vector<std::uint32_t> order;
    order.reserve(count());
    for (size_t i = 0; i < at; ++i) {
        if (!moving[i])
            order.push_back(static_cast<std::uint32_t>(i));
    }
    const size_t first = order.size();
    for (size_t r : rows)
        order.push_back(static_cast<std::uint32_t>(r));
    for (size_t i = at; i < count(); ++i) {
        if (!moving[i])
            order.push_back(static_cast<std::uint32_t>(i));
    }
    applyOrder(order, 0);
    std::vector<size_t> moved(rows.size());
    for (size_t k = 0; k < moved.size(); ++k)
        moved[k] = first + k;
    return moved;
}

void ItemTable::remove(size_t i) {
    auto pos = static_cast<std::ptrdiff_t>(i);
    name_.erase(name_.begin() + pos);
    folder_.erase(folder_.begin() + pos);
    created_.erase(created_.begin() + pos);
    modified_.erase(modified_.begin() + pos);
    size_.erase(size_.begin() + pos);
    imageText_.erase(imageText_.begin() + pos);
}

void ItemTable::clear() {
    for (Column c : {kName, kFolder, kCreated, kModified, kSize}) {
        std::vector<std::u16string>().swap(column(c));
    }
    std::vector<std::u16string>().swap(imageText_);
}

void ItemTable::reserve(size_t n) {
    for (Column c : {kName, kFolder, kCreated, kModified, kSize})
        column(c).reserve(n);
    imageText_.reserve(n);
}

void ItemTable::appendTable(ItemTable&& other) {
    if (empty()) {
        std::swap(*this, other);
        other.clear();
        return;
    }
    moveRowsFrom(other);
}

void ItemTable::appendTables(std::vector<ItemTable>&& parts) {
    if (empty() && parts.size() == 1) {
        appendTable(std::move(parts.front()));
        return;
    }
    size_t total = count();
    for (const auto& part : parts)
        total += part.count();
    reserve(total);
    for (auto& part : parts)
        moveRowsFrom(part);
}

void ItemTable::moveRowsFrom(ItemTable& other) {
    auto move = [](std::vector<std::u16string>& to, std::vector<std::u16string>& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()),
                  std::make_move_iterator(from.end()));
        std::vector<std::u16string>().swap(from);
    };
    move(name_, other.name_);
    move(folder_, other.folder_);
    move(created_, other.created_);
    move(modified_, other.modified_);
    move(size_, other.size_);
    move(imageText_, other.imageText_);
}

void ItemTable::sort(Column c, Compare compare, bool descending, size_t lo, size_t hi) {
    if (hi >= count() || lo >= hi)
        return;
    const std::u16string* keys = column(c).data() + lo;
    std::vector<std::uint32_t> order = identity(hi - lo + 1);
    const auto last = static_cast<std::int64_t>(order.size()) - 1;
    const int sign = descending ? -1 : 1;
    // The text comparison, by far the most common, sorts small rows (a key's head and its row
    // number) in one array: most comparisons read no key, and the call inlines.
    if (compare == compareText) {
        const size_t skip = sharedPrefix(keys, order.size());
        const auto tail = [&](std::uint32_t row) {
            return std::u16string_view(keys[row]).substr(skip);
        };
        std::vector<KeyedRow> keyed(order.size());
        for (size_t k = 0; k < keyed.size(); ++k) {
            const auto row = static_cast<std::uint32_t>(k);
            keyed[k] = keyedRow(tail(row), row);
        }
        // Equal heads may still hide a difference (a unit 0 against a missing one, or one
        // further on): then the keys decide.
        quicksort(keyed, 0, last, [&](const KeyedRow& a, const KeyedRow& b) {
            if (a.high != b.high)
                return a.high < b.high ? -sign : sign;
            if (a.low != b.low)
                return a.low < b.low ? -sign : sign;
            return sign * compareUnits(tail(a.row), tail(b.row));
        });
        for (size_t k = 0; k < keyed.size(); ++k)
            order[k] = keyed[k].row;
    } else {
        quicksort(order, 0, last, [&](std::uint32_t a, std::uint32_t b) {
            return sign * compare(keys[a], keys[b]);
        });
    }
    applyOrder(order, lo);
}

void ItemTable::sort(Column c, Compare compare, bool descending) {
    if (count() > 1)
        sort(c, compare, descending, 0, count() - 1);
}

void ItemTable::sortByKeys(const std::vector<std::int64_t>& keys, bool descending) {
    if (count() < 2 || keys.size() != count())
        return;
    std::vector<std::uint32_t> order = identity(count());
    const int sign = descending ? -1 : 1;
    quicksort(order, 0, static_cast<std::int64_t>(order.size()) - 1,
              [&](std::uint32_t a, std::uint32_t b) {
                  return keys[a] < keys[b] ? -sign : keys[a] > keys[b] ? sign : 0;
              });
    applyOrder(order, 0);
}

int ItemTable::compareText(const std::u16string& a, const std::u16string& b) {
    return compareUnits(a, b);
}

int compareUnits(std::u16string_view a, std::u16string_view b) {
    // Names in one folder tend to share long prefixes: skip equal units four at a time.
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t x, y;
        std::memcpy(&x, a.data() + i, sizeof x);
        std::memcpy(&y, b.data() + i, sizeof y);
        if (x != y)
            break;
    }
    for (; i < n; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int ItemTable::compareNumber(const std::u16string& a, const std::u16string& b) {
    std::int64_t x = numberOf(a), y = numberOf(b);
    return x < y ? 1 : x > y ? -1 : 0;
}

std::vector<std::u16string>& ItemTable::column(Column c) {
    switch (c) {
        case kName:
            return name_;
        case kFolder:
            return folder_;
        case kCreated:
            return created_;
        case kModified:
            return modified_;
        case kSize:
            break;
    }
    return size_;
}

const std::vector<std::u16string>& ItemTable::column(Column c) const {
    return const_cast<ItemTable*>(this)->column(c);
}

void ItemTable::applyOrder(const std::vector<std::uint32_t>& order, size_t lo) {
    // Column by column through one buffer: the strings move, their characters stay.
    std::vector<std::u16string> buffer;
    for (auto* column : {&name_, &folder_, &created_, &modified_, &size_, &imageText_})
        permute(*column, order, lo, buffer);
}

}  // namespace soramine
