#include "platform/ui/combo_box.h"

#include "platform/ui/input.h"

#include <algorithm>

namespace platform
{

int CComboBox::AddString(std::u16string_view text)
{
    return InsertString((GetStyle() & CBS_SORT) ? items.SortedPosition(text) : GetCount(), text);
}

int CComboBox::InsertString(int index, std::u16string_view text)
{
    index = items.Insert(index, text);
    if (index == CB_ERR)
        return CB_ERR;
    if (current >= index)
        ++current;
    NotifyChanged(WindowChange::Content);
    return index;
}

int CComboBox::DeleteString(int index)
{
    if (!items.Erase(index))
        return CB_ERR;
    if (current == index)
        current = CB_ERR;
    else if (current > index)
        --current;
    NotifyChanged(WindowChange::Content);
    return GetCount();
}

void CComboBox::ResetContent()
{
    items.Clear();
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
    SetWindowText(items.Text(index));
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
    return items.Text(index);
}

int CComboBox::GetLBTextLen(int index) const
{
    return items.TextLength(index);
}

std::uintptr_t CComboBox::GetItemData(int index) const
{
    return items.Data(index);
}

int CComboBox::SetItemData(int index, std::uintptr_t data)
{
    return items.SetData(index, data);
}

int CComboBox::FindString(int start, std::u16string_view text) const
{
    return items.Find(start, text, false);
}

int CComboBox::FindStringExact(int start, std::u16string_view text) const
{
    return items.Find(start, text, true);
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
