#include "platform/ui/list_box.h"

#include "platform/ui/input.h"

#include <algorithm>

namespace platform
{

int CListBox::AddString(std::u16string_view text)
{
    return InsertString((GetStyle() & LBS_SORT) ? items.SortedPosition(text) : GetCount(), text);
}

int CListBox::InsertString(int index, std::u16string_view text)
{
    index = items.Insert(index, text);
    if (index == LB_ERR)
        return LB_ERR;
    if (current >= index)
        ++current;
    NotifyChanged(WindowChange::Content);
    return index;
}

int CListBox::DeleteString(int index)
{
    if (!items.Erase(index))
        return LB_ERR;
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
    items.Clear();
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
    return items.Text(index);
}

int CListBox::GetTextLen(int index) const
{
    return items.TextLength(index);
}

std::uintptr_t CListBox::GetItemData(int index) const
{
    return items.Data(index);
}

int CListBox::SetItemData(int index, std::uintptr_t data)
{
    return items.SetData(index, data);
}

int CListBox::FindString(int start, std::u16string_view text) const
{
    return items.Find(start, text, false);
}

int CListBox::FindStringExact(int start, std::u16string_view text) const
{
    return items.Find(start, text, true);
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
