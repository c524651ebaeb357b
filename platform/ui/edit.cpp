#include "platform/ui/edit.h"

#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"

#include <algorithm>

namespace platform
{

namespace
{
constexpr int kLargestLimit = 0x7FFFFFFE;
constexpr int kBorder = 2; // the sunken edge on each side

char16_t ToUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}
char16_t ToLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

void CEdit::GetSel(int& start, int& end) const
{
    start = std::min(anchor, caret);
    end = std::max(anchor, caret);
}

std::pair<int, int> CEdit::GetSel() const
{
    return {std::min(anchor, caret), std::max(anchor, caret)};
}

void CEdit::SetSel(int start, int end, bool noScroll)
{
    const int length = TextLength();
    if (start < 0)
    {
        anchor = caret;
    }
    else
    {
        if (end < 0 || end > length)
            end = length;
        anchor = std::min(start, length);
        caret = end;
    }
    if (!noScroll)
        ScrollToCaret();
    NotifyChanged(WindowChange::Content);
}

void CEdit::ReplaceSel(std::u16string_view replacement)
{
    const auto [start, end] = GetSel();
    std::u16string text = GetWindowText();
    text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), replacement);
    SetText(std::move(text), start + static_cast<int>(replacement.size()));
}

void CEdit::SetLimitText(int newLimit)
{
    limit = newLimit <= 0 ? kLargestLimit : newLimit;
    NotifyChanged(WindowChange::Content);
}

void CEdit::SetMargins(int left, int right)
{
    leftMargin = std::max(0, left);
    rightMargin = std::max(0, right);
    ScrollToCaret();
    NotifyChanged(WindowChange::Content);
}

bool CEdit::SetReadOnly(bool readOnly)
{
    ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
    return true;
}

int CEdit::VisibleChars() const
{
    const int width = GetWindowRect().Width() - 2 * kBorder - leftMargin - rightMargin;
    return std::max(0, width / kAverageCharWidth);
}

void CEdit::SetText(std::u16string newText, int newCaret)
{
    settingText = true;
    SetWindowText(std::move(newText));
    settingText = false;
    anchor = caret = std::clamp(newCaret, 0, TextLength());
    ScrollToCaret();
    NotifyChanged(WindowChange::Content);
    NotifyParent(*this, EN_UPDATE);
    NotifyParent(*this, EN_CHANGE);
}

void CEdit::OnTextChanged()
{
    if (settingText)
        return;
    // Text set from outside: the caret goes to the start.
    anchor = caret = 0;
    firstVisible = 0;
    NotifyChanged(WindowChange::Content);
    NotifyParent(*this, EN_UPDATE);
    NotifyParent(*this, EN_CHANGE);
}

void CEdit::ScrollToCaret()
{
    const int visible = std::max(1, VisibleChars());
    if (caret < firstVisible)
        firstVisible = caret;
    else if (caret > firstVisible + visible)
        firstVisible = caret - visible;
    firstVisible = std::clamp(firstVisible, 0, TextLength());
}

bool CEdit::InsertTyped(std::u16string_view typed)
{
    if (IsReadOnly())
        return false;
    std::u16string accepted;
    for (char16_t c : typed)
    {
        if ((GetStyle() & ES_NUMBER) && (c < u'0' || c > u'9'))
            continue;
        if (c < 0x20)
            continue; // control characters are keys, not text
        accepted.push_back((GetStyle() & ES_UPPERCASE)   ? ToUpper(c)
                           : (GetStyle() & ES_LOWERCASE) ? ToLower(c)
                                                         : c);
    }
    const auto [start, end] = GetSel();
    const int kept = TextLength() - (end - start);
    int room = limit - kept;
    // A field never given a size has no width to stop at.
    if (!(GetStyle() & (ES_AUTOHSCROLL | ES_MULTILINE)) && GetWindowRect().Width() > 0)
        room = std::min(room, VisibleChars() - kept);
    room = std::max(room, 0);
    const bool cut = static_cast<int>(accepted.size()) > room;
    if (cut)
        accepted.resize(static_cast<size_t>(room));
    if (!accepted.empty())
        ReplaceSel(accepted);
    if (cut)
        NotifyParent(*this, EN_MAXTEXT);
    return !accepted.empty();
}

bool CEdit::TypeText(std::u16string_view typed)
{
    if (!AcceptsInput(*this))
        return false;
    if (GetFocus() != Handle())
        SetFocus(Handle());
    return InsertTyped(typed);
}

void CEdit::Copy()
{
    const auto [start, end] = GetSel();
    if (start == end || (GetStyle() & ES_PASSWORD))
        return;
    SetClipboardText(std::u16string_view(GetWindowText())
                         .substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

void CEdit::Cut()
{
    if (IsReadOnly())
        return;
    Copy();
    Clear();
}

void CEdit::Paste()
{
    if (std::optional<std::u16string> text = GetClipboardText())
    {
        // A single line takes the text up to the first line break.
        const size_t lineEnd = text->find_first_of(u"\r\n");
        InsertTyped(std::u16string_view(*text).substr(0, lineEnd));
    }
}

void CEdit::Clear()
{
    const auto [start, end] = GetSel();
    if (start != end && !IsReadOnly())
        ReplaceSel(u"");
}

bool CEdit::HandleKey(UINT vk)
{
    const bool shift = GetKeyState(static_cast<int>(VK_SHIFT)) < 0;
    const bool control = GetKeyState(static_cast<int>(VK_CONTROL)) < 0;
    const int length = TextLength();
    auto moveCaret = [&](int to)
    {
        to = std::clamp(to, 0, length);
        if (shift)
            caret = to;
        else
            anchor = caret = to;
        ScrollToCaret();
        NotifyChanged(WindowChange::Content);
    };
    const auto [start, end] = GetSel();
    switch (vk)
    {
    case VK_LEFT:
        moveCaret(!shift && start != end ? start : caret - 1);
        return true;
    case VK_RIGHT:
        moveCaret(!shift && start != end ? end : caret + 1);
        return true;
    case VK_HOME:
        moveCaret(0);
        return true;
    case VK_END:
        moveCaret(length);
        return true;
    case VK_BACK:
    case VK_DELETE:
        if (IsReadOnly())
            return true;
        if (start == end)
        {
            const int from = vk == VK_BACK ? start - 1 : start;
            if (from < 0 || from >= length)
                return true;
            anchor = from;
            caret = from + 1;
        }
        ReplaceSel(u"");
        return true;
    default:
        break;
    }
    if (!control)
        return false;
    switch (vk)
    {
    case 'A':
        SetSel(0, -1);
        return true;
    case 'C':
    case VK_INSERT:
        Copy();
        return true;
    case 'X':
        Cut();
        return true;
    case 'V':
        Paste();
        return true;
    default:
        return false;
    }
}

LRESULT CEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS |
               ((GetStyle() & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
    case EM_SETSEL:
        SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case WM_CHAR:
        if (wParam >= 0x20)
            InsertTyped(std::u16string(1, static_cast<char16_t>(wParam)));
        return 0;
    case WM_KEYDOWN:
        if (HandleKey(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_SETFOCUS:
        NotifyParent(*this, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyParent(*this, EN_KILLFOCUS);
        return 0;
    case WM_SIZE:
        ScrollToCaret();
        break;
    default:
        break;
    }
    return Window::WindowProc(message, wParam, lParam);
}

} // namespace platform
