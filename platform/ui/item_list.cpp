#include "platform/ui/item_list.h"

#include <algorithm>

namespace platform
{

namespace
{
char16_t Fold(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

int CompareNoCase(std::u16string_view a, std::u16string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        const char16_t x = Fold(a[i]);
        const char16_t y = Fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int ItemList::SortedPosition(std::u16string_view text) const
{
    auto it = std::upper_bound(items.begin(), items.end(), text,
                               [](std::u16string_view t, const Item& item)
                               { return CompareNoCase(t, item.text) < 0; });
    return static_cast<int>(it - items.begin());
}

int ItemList::Insert(int index, std::u16string_view text)
{
    if (index == -1)
        index = Count();
    if (index < 0 || index > Count())
        return kError;
    items.insert(items.begin() + index, Item{std::u16string(text), 0});
    return index;
}

bool ItemList::Erase(int index)
{
    if (!Valid(index))
        return false;
    items.erase(items.begin() + index);
    return true;
}

std::u16string ItemList::Text(int index) const
{
    return Valid(index) ? items[static_cast<size_t>(index)].text : std::u16string();
}

int ItemList::TextLength(int index) const
{
    return Valid(index) ? static_cast<int>(items[static_cast<size_t>(index)].text.size()) : kError;
}

std::uintptr_t ItemList::Data(int index) const
{
    return Valid(index) ? items[static_cast<size_t>(index)].data
                        : static_cast<std::uintptr_t>(kError);
}

int ItemList::SetData(int index, std::uintptr_t data)
{
    if (!Valid(index))
        return kError;
    items[static_cast<size_t>(index)].data = data;
    return 0;
}

int ItemList::Find(int start, std::u16string_view text, bool exact) const
{
    const int count = Count();
    if (count == 0)
        return kError;
    const int first = start < 0 || start >= count ? 0 : start + 1;
    for (int k = 0; k < count; ++k)
    {
        const int i = (first + k) % count;
        std::u16string_view item = items[static_cast<size_t>(i)].text;
        if (!exact && item.size() >= text.size())
            item = item.substr(0, text.size());
        if (CompareNoCase(item, text) == 0)
            return i;
    }
    return kError;
}

} // namespace platform
