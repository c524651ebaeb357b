#include "platform/ui/list_box.h"

#include "platform/ui/combo_box.h"
#include "platform/ui/input.h"

#include <algorithm>

namespace platform
{

int CListBox::AddString(std::u16string_view text)
{
    int index = GetCount();
    if (GetStyle() & LBS_SORT)
    {
        auto it = std::upper_bound(items.begin(), items.end(), text,
                                   [](std::u16string_view t, const Item& item)
                                   { return CompareNoCase(t, item.text) < 0; });
        index = static_cast<int>(it - items.begin());
    }
    return InsertString(index, text);
}

int CListBox::InsertString(int index, std::u16string_view text)
{
    if (index == -1)
        index = GetCount();
    if (index < 0 || index > GetCount())
        return LB_ERR;
    items.insert(items.begin() + index, Item{std::u16string(text), 0});
    if (current >= index)
        ++current;
    NotifyChanged(WindowChange::Content);
    return index;
}

int CListBox::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    items.erase(items.begin() + index);
    if (current == index)
        current = LB_ERR;
    else if (current > index)
        --current;
    topIndex = std::clamp(topIndex, 0, std::max(GetCount() - 1, 0));
    NotifyChanged(WindowChange::Content);
    return GetCount();
}

void CListBox::ResetContent()
{
    items.clear();
    current = LB_ERR;
    topIndex = 0;
    NotifyChanged(WindowChange::Content);
}

void CListBox::Select(int index, bool notify)
{
    if (index < 0 || index >= GetCount())
        index = LB_ERR;
    const bool changed = index != current;
    current = index;
    NotifyChanged(WindowChange::Content);
    if (notify && changed && (GetStyle() & LBS_NOTIFY))
        NotifyParent(*this, LBN_SELCHANGE);
}

int CListBox::SetCurSel(int index)
{
    const bool valid = index >= 0 && index < GetCount();
    Select(index, false);
    return valid ? index : LB_ERR;
}

std::u16string CListBox::GetText(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    return items[static_cast<size_t>(index)].text;
}

int CListBox::GetTextLen(int index) const
{
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    return static_cast<int>(items[static_cast<size_t>(index)].text.size());
}

std::uintptr_t CListBox::GetItemData(int index) const
{
    if (index < 0 || index >= GetCount())
        return static_cast<std::uintptr_t>(LB_ERR);
    return items[static_cast<size_t>(index)].data;
}

int CListBox::SetItemData(int index, std::uintptr_t data)
{
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    items[static_cast<size_t>(index)].data = data;
    return 0;
}

int CListBox::Find(int start, std::u16string_view text, bool exact) const
{
    const int count = GetCount();
    if (count == 0)
        return LB_ERR;
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
    return LB_ERR;
}

int CListBox::FindString(int start, std::u16string_view text) const
{
    return Find(start, text, false);
}

int CListBox::FindStringExact(int start, std::u16string_view text) const
{
    return Find(start, text, true);
}

int CListBox::SetTopIndex(int index)
{
    if (index < 0 || (index >= GetCount() && GetCount() > 0))
        return LB_ERR;
    topIndex = index;
    NotifyChanged(WindowChange::Content);
    return 0;
}

bool CListBox::ChooseItem(int index)
{
    if (!AcceptsInput(*this) || index < 0 || index >= GetCount())
        return false;
    if (GetFocus() != Handle())
        SetFocus(Handle());
    Select(index, true);
    return true;
}

bool CListBox::DoubleClickItem(int index)
{
    if (!ChooseItem(index))
        return false;
    if (GetStyle() & LBS_NOTIFY)
        NotifyParent(*this, LBN_DBLCLK);
    return true;
}

LRESULT CListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    {
        const int count = GetCount();
        int next = current;
        switch (wParam)
        {
        case VK_DOWN:
            next = current == LB_ERR ? 0 : current + 1;
            break;
        case VK_UP:
            next = current == LB_ERR ? 0 : current - 1;
            break;
        case VK_HOME:
            next = 0;
            break;
        case VK_END:
            next = count - 1;
            break;
        default:
            return Window::WindowProc(message, wParam, lParam);
        }
        if (next >= 0 && next < count)
            Select(next, true);
        return 0;
    }
    case WM_SETFOCUS:
        if (GetStyle() & LBS_NOTIFY)
            NotifyParent(*this, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (GetStyle() & LBS_NOTIFY)
            NotifyParent(*this, LBN_KILLFOCUS);
        return 0;
    default:
        break;
    }
    return Window::WindowProc(message, wParam, lParam);
}

} // namespace platform
