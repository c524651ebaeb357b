#include "platform/ui/dialog.h"

#include "platform/ui/active_window.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/input.h"
#include "platform/ui/list_box.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window_placement.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace platform
{

namespace
{

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// A "%d" conversion of at most the first 63 characters; beyond the range
// of int the nearest end of it.
std::optional<int> ScanInteger(std::u16string_view text)
{
    text = text.substr(0, 63);
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    const size_t digitsStart = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i] - u'0'), static_cast<long long>(INT_MAX) + 1);
    if (i == digitsStart)
        return std::nullopt;
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::u16string Decimal(int value)
{
    const std::string narrow = std::to_string(value);
    return std::u16string(narrow.begin(), narrow.end());
}

std::u16string FormatMessage2(std::u16string_view pattern, std::u16string_view first,
                              std::u16string_view second)
{
    std::u16string out;
    for (size_t i = 0; i < pattern.size(); ++i)
    {
        if (pattern[i] == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u'1' || pattern[i + 1] == u'2'))
        {
            out += pattern[i + 1] == u'1' ? first : second;
            ++i;
        }
        else
        {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace

// ---- Data exchange ----------------------------------------------------------

Window* CDataExchange::PrepareCtrl(int id)
{
    Window* control = dialog.GetDlgItem(id);
    lastControl = id;
    lastIsEdit = false;
    return control;
}

Window* CDataExchange::PrepareEditCtrl(int id)
{
    Window* control = PrepareCtrl(id);
    lastIsEdit = true;
    return control;
}

void CDataExchange::Fail()
{
    failed = true;
    if (Window* control = dialog.GetDlgItem(lastControl))
    {
        SetFocus(control->Handle());
        if (lastIsEdit)
            SendMessage(control->Handle(), EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange& dx, int id, std::u16string& value)
{
    if (dx.Failed())
        return;
    Window* control = dx.PrepareEditCtrl(id);
    if (!control)
        return;
    if (dx.IsSaving())
        value = control->GetWindowText();
    else
        control->SetWindowText(value);
}

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    Window* control = dx.PrepareEditCtrl(id);
    if (!control)
        return;
    if (!dx.IsSaving())
    {
        control->SetWindowText(Decimal(value));
        return;
    }
    const std::optional<int> read = ScanInteger(control->GetWindowText());
    if (!read)
    {
        AfxMessageBox(u"Enter an integer.");
        dx.Fail();
        return;
    }
    value = *read;
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue)
{
    if (dx.Failed() || !dx.IsSaving() || (value >= minValue && value <= maxValue))
        return;
    AfxMessageBox(FormatMessage2(u"Enter an integer between %1 and %2.", Decimal(minValue),
                                 Decimal(maxValue)));
    dx.Fail();
}

void DDX_Check(CDataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    auto* button = dynamic_cast<CButton*>(dx.PrepareCtrl(id));
    if (!button)
        return;
    if (dx.IsSaving())
    {
        value = button->GetCheck();
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    button->SetCheck(value);
}

void DDX_CBIndex(CDataExchange& dx, int id, int& index)
{
    if (dx.Failed())
        return;
    auto* combo = dynamic_cast<CComboBox*>(dx.PrepareCtrl(id));
    if (!combo)
        return;
    if (dx.IsSaving())
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_LBIndex(CDataExchange& dx, int id, int& index)
{
    if (dx.Failed())
        return;
    auto* list = dynamic_cast<CListBox*>(dx.PrepareCtrl(id));
    if (!list)
        return;
    if (dx.IsSaving())
        index = list->GetCurSel();
    else
        list->SetCurSel(index);
}

// ---- The dialog -------------------------------------------------------------

CDialogEx::CDialogEx(UINT templateId, HWND owner) : templateId(templateId), owner(owner) {}

CDialogEx::~CDialogEx()
{
    Destroy();
}

bool CDialogEx::BindControl(int id, Window& control)
{
    if (IsCreated())
        return false;
    bound[id] = &control;
    return true;
}

bool CDialogEx::CreateWindowAndControls(const DialogTemplate& t)
{
    dialogTemplate = &t;
    ended = false;
    result = 0;
    const RECT size = MapDialogRect(RECT{0, 0, t.width, t.height});
    RECT around = GetScreenWorkArea();
    if (const Window* ownerWindow = FromHandle(owner))
        if (!ownerWindow->IsIconic())
            around = ownerWindow->GetWindowRect();
    const int left = around.left + (around.Width() - size.Width()) / 2;
    const int top = around.top + (around.Height() - size.Height()) / 2;
    Create(CreateParams{.text = t.caption,
                        .style = t.style & ~(WS_VISIBLE | WS_CHILD),
                        .exStyle = t.exStyle,
                        .rect = RECT{left, top, left + size.Width(), top + size.Height()}});
    initialClient = GetClientRect();
    layout.clear();
    for (const ControlTemplate& c : t.controls)
    {
        Window* control = nullptr;
        if (auto it = bound.find(c.id); it != bound.end() && c.id != IDC_STATIC)
        {
            control = it->second;
        }
        else
        {
            owned.push_back(MakeControl(c.className));
            control = owned.back().get();
        }
        const RECT rect = MapDialogRect(c.rect);
        control->Create(CreateParams{.text = c.text,
                                     .style = (c.style | WS_CHILD) & ~WS_POPUP,
                                     .exStyle = c.exStyle,
                                     .rect = rect,
                                     .parent = Handle(),
                                     .id = c.id});
        if (auto* combo = dynamic_cast<CComboBox*>(control))
            for (const std::u16string& item : c.items)
                combo->AddString(item);
        else if (auto* list = dynamic_cast<CListBox*>(control))
            for (const std::u16string& item : c.items)
                list->AddString(item);
        if (c.anchor != Anchor{})
            layout.push_back(Placed{control->Handle(), rect, c.anchor});
    }
    ResetSystemMenu();
    return true;
}

bool CDialogEx::CreateFromTemplate()
{
    const DialogTemplate* t = FindDialogTemplate(templateId);
    if (!t || IsCreated())
        return false;
    CreateWindowAndControls(*t);
    if (SendMessage(Handle(), WM_INITDIALOG, 0, 0) != 0)
        if (std::vector<Window*> stops = TabStops(); !stops.empty())
            GotoDlgCtrl(stops.front());
    if (IsCreated() && !ended)
        ShowWindow(true);
    return true;
}

INT_PTR CDialogEx::DoModal()
{
    const DialogTemplate* t = FindDialogTemplate(templateId);
    if (!t || IsCreated())
        return -1;
    if (!owner)
        owner = GetActiveWindow();
    const HWND focusBefore = GetFocus();
    {
        CreateWindowAndControls(*t);
        ModalScope modal(Handle(), owner);
        if (SendMessage(Handle(), WM_INITDIALOG, 0, 0) != 0)
            if (std::vector<Window*> stops = TabStops(); !stops.empty())
                GotoDlgCtrl(stops.front());
        if (IsCreated() && !ended)
        {
            ShowWindow(true);
            RunMessageLoopUntil([this] { return ended || !IsCreated(); });
        }
        if (IsCreated())
            ShowWindow(false);
    }
    Destroy();
    owned.clear();
    if (IsWindow(focusBefore))
        SetFocus(focusBefore);
    return result;
}

void CDialogEx::EndDialog(INT_PTR code)
{
    result = code;
    ended = true;
}

bool CDialogEx::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialogEx::DoDataExchange(CDataExchange&) {}

void CDialogEx::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialogEx::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialogEx::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = static_cast<int>(static_cast<short>(LOWORD(wParam)));
    const UINT code = HIWORD(wParam);
    if (lParam != 0)
        if (Window* control = FromHandle(HWND{static_cast<std::uint32_t>(lParam)}))
        {
            LRESULT answer = 0;
            if (control->OnChildNotify(WM_COMMAND, wParam, lParam, &answer))
                return true;
        }
    if (auto it = commandHandlers.find({id, code}); it != commandHandlers.end())
    {
        // A copy: the handler may replace itself in the table.
        std::function<void()> handler = it->second;
        handler();
        return true;
    }
    if (code == BN_CLICKED && id == IDOK)
    {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL)
    {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialogEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* answer)
{
    const int id = static_cast<int>(wParam);
    if (Window* control = GetDlgItem(id))
        if (control->OnChildNotify(WM_NOTIFY, wParam, lParam, answer))
            return true;
    if (auto it = notifyHandlers.find(id); it != notifyHandlers.end())
    {
        std::function<bool(LPARAM, LRESULT&)> handler = it->second;
        return handler(lParam, *answer);
    }
    return false;
}

void CDialogEx::OnTimer(UINT_PTR id)
{
    if (auto it = timerHandlers.find(id); it != timerHandlers.end())
    {
        std::function<void()> handler = it->second;
        handler();
    }
}

void CDialogEx::OnSysCommand(UINT id, LPARAM)
{
    switch (id & 0xFFF0)
    {
    case SC_CLOSE:
        SendMessage(Handle(), WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        platform::ShowWindow(Handle(), SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        platform::ShowWindow(Handle(), SW_SHOWMAXIMIZED);
        break;
    case SC_RESTORE:
        platform::ShowWindow(Handle(), SW_RESTORE);
        break;
    default:
        break;
    }
}

bool CDialogEx::OnHelpInfo(HELPINFO&)
{
    return false;
}

void CDialogEx::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        ApplyDynamicLayout();
}

HBRUSH CDialogEx::OnCtlColor(CDC&, Window&)
{
    return HBRUSH{};
}

void CDialogEx::OnClose()
{
    Window* cancel = GetDlgItem(IDCANCEL);
    if (cancel && !cancel->IsWindowEnabled())
        return;
    SendMessage(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                cancel ? static_cast<LPARAM>(cancel->Handle().id) : 0);
}

void CDialogEx::OnCommandFrom(int id, UINT code, std::function<void()> handler)
{
    commandHandlers[{id, code}] = std::move(handler);
}

void CDialogEx::OnNotifyFrom(int id, std::function<bool(LPARAM, LRESULT&)> handler)
{
    notifyHandlers[id] = std::move(handler);
}

void CDialogEx::OnTimerId(UINT_PTR id, std::function<void()> handler)
{
    timerHandlers[id] = std::move(handler);
}

bool CDialogEx::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

int CDialogEx::GetDefID() const
{
    if (defId != 0)
        return defId;
    for (HWND child : Children())
        if (auto* button = dynamic_cast<CButton*>(FromHandle(child));
            button && button->IsDefaultButton())
            return button->GetDlgCtrlID();
    return IDOK;
}

std::vector<Window*> CDialogEx::TabStops() const
{
    std::vector<Window*> stops;
    for (HWND child : Children())
        if (Window* control = FromHandle(child); control && control->IsWindowVisible() &&
                                                 control->IsWindowEnabled() &&
                                                 (control->GetStyle() & WS_TABSTOP))
            stops.push_back(control);
    return stops;
}

Window* CDialogEx::DirectChildOf(HWND hwnd) const
{
    for (Window* window = FromHandle(hwnd); window;)
    {
        if (window->GetParent() == Handle())
            return window;
        if (window->IsTopLevel())
            return nullptr;
        window = FromHandle(window->GetParent());
    }
    return nullptr;
}

void CDialogEx::GotoDlgCtrl(Window* control)
{
    if (!control)
        return;
    SetFocus(control->Handle());
    if (SendMessage(control->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessage(control->Handle(), EM_SETSEL, 0, -1);
}

void CDialogEx::NextDlgCtrl()
{
    const std::vector<Window*> stops = TabStops();
    if (stops.empty())
        return;
    Window* current = DirectChildOf(GetFocus());
    auto it = std::find(stops.begin(), stops.end(), current);
    GotoDlgCtrl(it == stops.end() || std::next(it) == stops.end() ? stops.front() : *std::next(it));
}

void CDialogEx::PrevDlgCtrl()
{
    const std::vector<Window*> stops = TabStops();
    if (stops.empty())
        return;
    Window* current = DirectChildOf(GetFocus());
    auto it = std::find(stops.begin(), stops.end(), current);
    GotoDlgCtrl(it == stops.end() || it == stops.begin() ? stops.back() : *std::prev(it));
}

bool CDialogEx::HandleDialogKey(const MSG& msg)
{
    const UINT vk = static_cast<UINT>(msg.wParam);
    if (vk != VK_TAB && vk != VK_RETURN && vk != VK_ESCAPE && vk != VK_F1)
        return false;
    const LRESULT wants = msg.hwnd == Handle() ? 0
                                               : SendMessage(msg.hwnd, WM_GETDLGCODE, vk,
                                                             reinterpret_cast<LPARAM>(&msg));
    switch (vk)
    {
    case VK_TAB:
        if (wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS))
            return false;
        if (GetKeyState(static_cast<int>(VK_SHIFT)) < 0)
            PrevDlgCtrl();
        else
            NextDlgCtrl();
        return true;
    case VK_RETURN:
    {
        if (wants & DLGC_WANTALLKEYS)
            return false;
        int id = GetDefID();
        if (auto* focused = dynamic_cast<CButton*>(DirectChildOf(msg.hwnd));
            focused && focused->IsPushButton())
            id = focused->GetDlgCtrlID();
        Window* button = GetDlgItem(id);
        if (button && !button->IsWindowEnabled())
            return true;
        SendMessage(Handle(), WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED),
                    button ? static_cast<LPARAM>(button->Handle().id) : 0);
        return true;
    }
    case VK_ESCAPE:
    {
        if (wants & DLGC_WANTALLKEYS)
            return false;
        Window* cancel = GetDlgItem(IDCANCEL);
        if (cancel && !cancel->IsWindowEnabled())
            return true;
        SendMessage(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    cancel ? static_cast<LPARAM>(cancel->Handle().id) : 0);
        return true;
    }
    default:
    {
        Window* focused = DirectChildOf(msg.hwnd);
        HELPINFO info{focused ? focused->GetDlgCtrlID() : 0, focused ? focused->Handle() : Handle(),
                      POINT{}};
        SendMessage(Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    }
}

bool CDialogEx::PreTranslateMessage(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !IsCreated())
        return false;
    return HandleDialogKey(msg);
}

void CDialogEx::ApplyDynamicLayout()
{
    const RECT client = GetClientRect();
    const int dx = client.Width() - initialClient.Width();
    const int dy = client.Height() - initialClient.Height();
    for (const Placed& placed : layout)
    {
        Window* control = FromHandle(placed.hwnd);
        if (!control)
            continue;
        const int moveX = dx * placed.anchor.moveX / 100;
        const int moveY = dy * placed.anchor.moveY / 100;
        const int growX = dx * placed.anchor.sizeX / 100;
        const int growY = dy * placed.anchor.sizeY / 100;
        const RECT& r = placed.initial;
        control->MoveWindow(RECT{r.left + moveX, r.top + moveY,
                                 std::max(r.left + moveX, r.right + moveX + growX),
                                 std::max(r.top + moveY, r.bottom + moveY + growY)});
    }
}

void CDialogEx::ResetSystemMenu()
{
    const DWORD style = GetStyle();
    systemMenu.DestroyMenu();
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))
        systemMenu.AppendMenu(MF_STRING, SC_RESTORE, u"&Restore");
    systemMenu.AppendMenu(MF_STRING, SC_MOVE, u"&Move");
    if (style & WS_THICKFRAME)
        systemMenu.AppendMenu(MF_STRING, SC_SIZE, u"&Size");
    if (style & WS_MINIMIZEBOX)
        systemMenu.AppendMenu(MF_STRING, SC_MINIMIZE, u"Mi&nimize");
    if (style & WS_MAXIMIZEBOX)
        systemMenu.AppendMenu(MF_STRING, SC_MAXIMIZE, u"Ma&ximize");
    systemMenu.AppendMenu(MF_SEPARATOR);
    systemMenu.AppendMenu(MF_STRING, SC_CLOSE, u"&Close\tAlt+F4");
}

CMenu* CDialogEx::GetSystemMenu(bool revert)
{
    if (revert)
    {
        ResetSystemMenu();
        return nullptr;
    }
    return &systemMenu;
}

namespace
{
// The standard items greyed as the window's state has them.
void UpdateSystemMenuStates(CMenu& menu, const Window& window)
{
    const bool minimised = window.IsIconic();
    const bool maximised = window.IsZoomed();
    const bool normal = !minimised && !maximised;
    menu.EnableMenuItem(SC_RESTORE, normal ? MF_GRAYED : MF_ENABLED);
    menu.EnableMenuItem(SC_MOVE, maximised ? MF_GRAYED : MF_ENABLED);
    menu.EnableMenuItem(SC_SIZE, normal ? MF_ENABLED : MF_GRAYED);
    menu.EnableMenuItem(SC_MINIMIZE, minimised ? MF_GRAYED : MF_ENABLED);
    menu.EnableMenuItem(SC_MAXIMIZE, maximised ? MF_GRAYED : MF_ENABLED);
}
} // namespace

bool CDialogEx::ChooseSystemCommand(UINT id)
{
    if (!IsCreated() || !IsWindowEnabled())
        return false;
    UpdateSystemMenuStates(systemMenu, *this);
    if (!systemMenu.IsChoosable(id))
        return false;
    SendMessage(Handle(), WM_SYSCOMMAND, id, 0);
    return true;
}

void CDialogEx::OpenSystemMenu(std::optional<POINT> at)
{
    if (!IsCreated() || !IsWindowEnabled())
        return;
    UpdateSystemMenuStates(systemMenu, *this);
    const RECT r = GetWindowRect();
    const POINT where = at.value_or(POINT{r.left, r.top});
    if (const UINT id = systemMenu.TrackPopupMenu(TPM_RETURNCMD, where.x, where.y, Handle()))
        SendMessage(Handle(), WM_SYSCOMMAND, id, 0);
}

HICON CDialogEx::SetIcon(HICON icon, bool big)
{
    HICON& slot = big ? bigIcon : smallIcon;
    const HICON old = slot;
    slot = icon;
    NotifyChanged(WindowChange::Content);
    return old;
}

LRESULT CDialogEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnInitDialog() ? 1 : 0;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_NOTIFY:
    {
        LRESULT answer = 0;
        OnNotify(wParam, lParam, &answer);
        return answer;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_HELP:
        if (lParam == 0)
        {
            HELPINFO info{0, Handle(), POINT{}};
            return OnHelpInfo(info) ? 1 : 0;
        }
        return OnHelpInfo(*reinterpret_cast<HELPINFO*>(lParam)) ? 1 : 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), static_cast<int>(LOWORD(static_cast<WPARAM>(lParam))),
               static_cast<int>(HIWORD(static_cast<WPARAM>(lParam))));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_CTLCOLORSTATIC:
    {
        Window* control = FromHandle(HWND{static_cast<std::uint32_t>(lParam)});
        if (!control || wParam == 0)
            return 0;
        LRESULT answer = 0;
        if (control->OnChildNotify(message, wParam, lParam, &answer))
            return answer;
        return BrushToResult(OnCtlColor(*reinterpret_cast<CDC*>(wParam), *control));
    }
    default:
        return Window::WindowProc(message, wParam, lParam);
    }
}

} // namespace platform
