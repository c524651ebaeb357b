// The items of a list box or of a combo box's list: texts with a data value
// each. Lookups out of range answer -1 (LB_ERR and CB_ERR alike).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class ItemList
{
public:
    static constexpr int kError = -1;

    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }

    // Where `text` goes among items kept in case-blind order (after equals).
    int SortedPosition(std::u16string_view text) const;

    // Inserts before `index` (-1: at the end); the index used, or kError.
    int Insert(int index, std::u16string_view text);
    // False for an index out of range.
    bool Erase(int index);
    void Clear() { items.clear(); }

    // Empty text for an index out of range.
    std::u16string Text(int index) const;
    int TextLength(int index) const;
    std::uintptr_t Data(int index) const;
    int SetData(int index, std::uintptr_t data);

    // The first item after `start` (wrapping; -1 searches from the top) that
    // begins with `text`, or equals it when `exact`, ignoring case.
    int Find(int start, std::u16string_view text, bool exact) const;

private:
    struct Item
    {
        std::u16string text;
        std::uintptr_t data = 0;
    };
    std::vector<Item> items;
};

// Case-blind comparison of UTF-16 texts for list lookups and sorting
// (ASCII letters only fold).
int CompareNoCase(std::u16string_view a, std::u16string_view b);

} // namespace platform
