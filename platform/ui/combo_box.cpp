#include "platform/ui/combo_box.h"

#include "platform/ui/input.h"

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

int CComboBox::AddString(std::u16string_view text)
{
    int index = GetCount();
    if (GetStyle() & CBS_SORT)
    {
        auto it = std::upper_bound(items.begin(), items.end(), text,
                                   [](std::u16string_view t, const Item& item)
                                   { return CompareNoCase(t, item.text) < 0; });
        index = static_cast<int>(it - items.begin());
    }
    return InsertString(index, text);
}

int CComboBox::InsertString(int index, std::u16string_view text)
{
    if (index == -1)
        index = GetCount();
    if (index < 0 || index > GetCount())
        return CB_ERR;
    items.insert(items.begin() + index, Item{std::u16string(text), 0});
    if (current >= index)
        ++current;
    NotifyChanged(WindowChange::Content);
    return index;
}

int CComboBox::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    items.erase(items.begin() + index);
    if (current == index)
        current = CB_ERR;
    else if (current > index)
        --current;
    NotifyChanged(WindowChange::Content);
    return GetCount();
}

void CComboBox::ResetContent()
{
    items.clear();
    current = CB_ERR;
    settingText = true;
    SetWindowText(u"");
    settingText = false;
    editStart = editEnd = 0;
    NotifyChanged(WindowChange::Content);
}

void CComboBox::Select(int index, bool notify)
{
    if (index < 0 || index >= GetCount())
        index = CB_ERR;
    const bool changed = index != current;
    current = index;
    settingText = true;
    SetWindowText(index == CB_ERR ? std::u16string() : items[static_cast<size_t>(index)].text);
    settingText = false;
    editStart = 0;
    editEnd = static_cast<int>(GetWindowText().size());
    NotifyChanged(WindowChange::Content);
    if (notify && changed)
        NotifyParent(*this, CBN_SELCHANGE);
}

int CComboBox::SetCurSel(int index)
{
    Select(index, false);
    return current;
}

std::u16string CComboBox::GetLBText(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    return items[static_cast<size_t>(index)].text;
}

int CComboBox::GetLBTextLen(int index) const
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    return static_cast<int>(items[static_cast<size_t>(index)].text.size());
}

std::uintptr_t CComboBox::GetItemData(int index) const
{
    if (index < 0 || index >= GetCount())
        return static_cast<std::uintptr_t>(CB_ERR);
    return items[static_cast<size_t>(index)].data;
}

int CComboBox::SetItemData(int index, std::uintptr_t data)
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    items[static_cast<size_t>(index)].data = data;
    return 0;
}

int CComboBox::Find(int start, std::u16string_view text, bool exact) const
{
    const int count = GetCount();
    if (count == 0)
        return CB_ERR;
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
    return CB_ERR;
}

int CComboBox::FindString(int start, std::u16string_view text) const
{
    return Find(start, text, false);
}

int CComboBox::FindStringExact(int start, std::u16string_view text) const
{
    return Find(start, text, true);
}

bool CComboBox::SetEditSel(int start, int end)
{
    if (!HasEditField())
        return false;
    const int length = static_cast<int>(GetWindowText().size());
    if (start < 0)
    {
        editStart = editEnd;
    }
    else
    {
        editStart = std::min(start, length);
        editEnd = end < 0 || end > length ? length : end;
        if (editStart > editEnd)
            std::swap(editStart, editEnd);
    }
    NotifyChanged(WindowChange::Content);
    return true;
}

void CComboBox::ShowDropDown(bool show)
{
    if (show == dropped)
        return;
    dropped = show;
    NotifyChanged(WindowChange::Content);
    NotifyParent(*this, show ? CBN_DROPDOWN : CBN_CLOSEUP);
}

bool CComboBox::ChooseItem(int index)
{
    if (!AcceptsInput(*this) || index < 0 || index >= GetCount())
        return false;
    if (GetFocus() != Handle())
        SetFocus(Handle());
    ShowDropDown(false);
    Select(index, true);
    return true;
}

bool CComboBox::TypeText(std::u16string_view typed)
{
    if (!HasEditField() || !AcceptsInput(*this))
        return false;
    if (GetFocus() != Handle())
        SetFocus(Handle());
    std::u16string text = GetWindowText();
    const int room = editLimit - (static_cast<int>(text.size()) - (editEnd - editStart));
    typed = typed.substr(0, static_cast<size_t>(std::max(room, 0)));
    if (typed.empty())
        return false;
    text.replace(static_cast<size_t>(editStart), static_cast<size_t>(editEnd - editStart), typed);
    settingText = true;
    SetWindowText(std::move(text));
    settingText = false;
    editStart = editEnd = editStart + static_cast<int>(typed.size());
    current = CB_ERR;
    NotifyChanged(WindowChange::Content);
    NotifyParent(*this, CBN_EDITUPDATE);
    NotifyParent(*this, CBN_EDITCHANGE);
    return true;
}

void CComboBox::OnTextChanged()
{
    if (settingText)
        return;
    // Text set from outside: the field shows it, the selection stays.
    editStart = editEnd = 0;
}

LRESULT CComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_WANTARROWS | (HasEditField() ? DLGC_HASSETSEL : 0) |
               (dropped ? DLGC_WANTALLKEYS : 0);
    case EM_SETSEL:
        SetEditSel(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case WM_CHAR:
        if (wParam >= 0x20 && HasEditField())
            TypeText(std::u16string(1, static_cast<char16_t>(wParam)));
        return 0;
    case WM_KEYDOWN:
        switch (wParam)
        {
        case VK_DOWN:
        case VK_UP:
        {
            const int step = wParam == VK_DOWN ? 1 : -1;
            const int next = current == CB_ERR ? 0 : current + step;
            if (next >= 0 && next < GetCount())
                Select(next, true);
            return 0;
        }
        case VK_F4:
            ShowDropDown(!dropped);
            return 0;
        case VK_RETURN:
        case VK_ESCAPE:
            ShowDropDown(false);
            return 0;
        default:
            break;
        }
        break;
    case WM_SETFOCUS:
        NotifyParent(*this, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        ShowDropDown(false);
        NotifyParent(*this, CBN_KILLFOCUS);
        return 0;
    default:
        break;
    }
    return Window::WindowProc(message, wParam, lParam);
}

} // namespace platform
