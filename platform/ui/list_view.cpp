#include "platform/ui/list_view.h"

#include "platform/ui/dialog_template.h"
#include "platform/ui/gdi.h"
#include "platform/ui/message_queue.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace platform
{

namespace
{

// Keys the list handles itself.
constexpr UINT kKeyPageUp = 0x21;
constexpr UINT kKeyPageDown = 0x22;
constexpr UINT kKeyEnd = 0x23;
constexpr UINT kKeyHome = 0x24;
constexpr UINT kKeyUp = 0x26;
constexpr UINT kKeyDown = 0x28;

// Padding around a cell's text when a column is sized to its content.
constexpr int kAutoSizePadding = 12;
// Notches of the mouse wheel and rows per notch.
constexpr int kWheelDelta = 120;
constexpr int kRowsPerNotch = 3;
constexpr int kHiddenRow = INT_MIN / 2;

// Dialog templates make list views of this class.
const bool registered = []
{
    RegisterControlClass(kListViewClass, [] { return std::make_unique<CListCtrl>(); });
    return true;
}();

TextWidthFunction& TextWidth()
{
    static TextWidthFunction measure;
    return measure;
}

} // namespace

void SetTextWidthFunction(TextWidthFunction measure)
{
    TextWidth() = std::move(measure);
}

int MeasureTextWidth(std::u16string_view text, const CellFont* font)
{
    if (const TextWidthFunction& measure = TextWidth())
        return measure(text, font);
    // Without real fonts: an average character of the dialog font.
    return static_cast<int>(text.size()) * 7;
}

CListCtrl::CListCtrl()
    : textColour(GetSysColor(COLOR_WINDOWTEXT)), textBackColour(GetSysColor(COLOR_WINDOW)),
      backColour(GetSysColor(COLOR_WINDOW))
{
    header.owner = this;
}

CListCtrl::~CListCtrl()
{
    header.owner = nullptr;
    Destroy();
}

LRESULT CListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
    {
        const RECT client = GetClientRect();
        DWORD headerStyle = WS_CHILD | HDS_FULLDRAG;
        if (!(GetStyle() & LVS_NOCOLUMNHEADER))
            headerStyle |= WS_VISIBLE;
        if (!(GetStyle() & LVS_NOSORTHEADER))
            headerStyle |= HDS_BUTTONS;
        if (extendedStyle & LVS_EX_HEADERDRAGDROP)
            headerStyle |= HDS_DRAGDROP;
        header.Create(CreateParams{.style = headerStyle,
                                   .rect = RECT{0, 0, client.right, header.Height()},
                                   .parent = Handle()});
        return 0;
    }
    case WM_SIZE:
    {
        const RECT client = GetClientRect();
        header.MoveWindow(RECT{0, 0, client.right, header.Height()});
        ClampScroll();
        return 0;
    }
    case WM_NOTIFY:
    {
        const NMHDR& hdr = NotifyRecord<NMHDR>(lParam);
        if (hdr.hwndFrom == header.Handle() && header.Handle())
        {
            if (hdr.code == HDN_ITEMCLICK)
            {
                const NMHEADER& click = NotifyRecord<NMHEADER>(lParam);
                NMLISTVIEW column{.hdr = {.code = LVN_COLUMNCLICK}, .iSubItem = click.iItem};
                NotifyParent(column.hdr);
                return 0;
            }
            // Other header notifications go on to the list's parent.
            return SendMessage(GetParent(), WM_NOTIFY, wParam, lParam);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        DefaultButtonDown(message, wParam, PointFromLParam(lParam));
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (header.trackItem >= 0 || header.pressItem >= 0)
            return header.WindowProc(message, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
    {
        const int delta = static_cast<std::int16_t>(HIWORD(wParam));
        Scroll(0, -delta / kWheelDelta * kRowsPerNotch * rowHeight);
        return 0;
    }
    case WM_KEYDOWN:
    {
        NMLVKEYDOWN key{.hdr = {.code = LVN_KEYDOWN}, .wVKey = static_cast<UINT>(wParam)};
        NotifyParent(key.hdr);
        OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    {
        NMHDR hdr{.code = message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS};
        NotifyParent(hdr);
        Changed();
        return 0;
    }
    default:
        return Window::WindowProc(message, wParam, lParam);
    }
}

bool CListCtrl::OnNotifyReflect(NMHDR&, LRESULT&)
{
    return false;
}

LRESULT CListCtrl::NotifyParent(NMHDR& hdr)
{
    hdr.hwndFrom = Handle();
    hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    LRESULT result = 0;
    if (OnNotifyReflect(hdr, result))
        return result;
    Window* parent = paintParent ? paintParent : FromHandle(GetParent());
    return parent ? parent->WindowProc(WM_NOTIFY, hdr.idFrom, NotifyParam(hdr)) : 0;
}

// --- styles and colours -------------------------------------------------

void CListCtrl::SetExtendedStyle(DWORD style)
{
    if (style == extendedStyle)
        return;
    extendedStyle = style;
    header.ModifyStyle((style & LVS_EX_HEADERDRAGDROP) ? 0 : HDS_DRAGDROP,
                       (style & LVS_EX_HEADERDRAGDROP) ? HDS_DRAGDROP : 0);
    Changed();
}

void CListCtrl::ModifyExtendedStyle(DWORD remove, DWORD add)
{
    SetExtendedStyle((extendedStyle & ~remove) | add);
}

void CListCtrl::SetTextColor(COLORREF colour)
{
    textColour = colour;
    Changed();
}

void CListCtrl::SetTextBkColor(COLORREF colour)
{
    textBackColour = colour;
    Changed();
}

void CListCtrl::SetBkColor(COLORREF colour)
{
    backColour = colour;
    Changed();
}

// --- columns ---------------------------------------------------------------

namespace
{
// The header item that a column description asks for; the justification
// of its format joins the other format bits `keptFormat`.
HDITEM HeaderItemOf(const LVCOLUMN& column, int keptFormat)
{
    HDITEM item;
    if (column.mask & LVCF_TEXT)
    {
        item.mask |= HDI_TEXT;
        item.text = column.text;
    }
    if (column.mask & LVCF_FMT)
    {
        item.mask |= HDI_FORMAT;
        item.fmt = keptFormat | (column.fmt & LVCFMT_JUSTIFYMASK);
    }
    if (column.mask & LVCF_WIDTH)
    {
        item.mask |= HDI_WIDTH;
        item.cxy = column.cx;
    }
    if (column.mask & LVCF_ORDER)
    {
        item.mask |= HDI_ORDER;
        item.iOrder = column.iOrder;
    }
    return item;
}
} // namespace

int CListCtrl::InsertColumn(int index, const LVCOLUMN& column)
{
    if (index < 0)
        return -1;
    index = std::min(index, GetColumnCount());
    const HDITEM item = HeaderItemOf(column, 0);
    columnSubItems.insert(columnSubItems.begin() + index,
                          (column.mask & LVCF_SUBITEM) ? column.iSubItem : index);
    for (Row& row : rows)
        if (static_cast<int>(row.cells.size()) > index)
            row.cells.insert(row.cells.begin() + index, Cell{});
    header.InsertItem(index, item);
    return index;
}

int CListCtrl::InsertColumn(int index, std::u16string_view heading, int format, int width,
                            int subItem)
{
    LVCOLUMN column{.mask = LVCF_TEXT | LVCF_FMT, .fmt = format, .text = std::u16string(heading)};
    if (width >= 0)
    {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem >= 0)
    {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return InsertColumn(index, column);
}

bool CListCtrl::DeleteColumn(int column)
{
    if (!ValidColumn(column))
        return false;
    columnSubItems.erase(columnSubItems.begin() + column);
    for (Row& row : rows)
        if (static_cast<int>(row.cells.size()) > column)
            row.cells.erase(row.cells.begin() + column);
    header.DeleteItem(column);
    ClampScroll();
    return true;
}

bool CListCtrl::GetColumn(int column, LVCOLUMN& info) const
{
    if (!ValidColumn(column))
        return false;
    if (info.mask & LVCF_TEXT)
        info.text = header.ItemText(column);
    if (info.mask & LVCF_FMT)
        info.fmt = header.ItemFormat(column) & LVCFMT_JUSTIFYMASK;
    if (info.mask & LVCF_WIDTH)
        info.cx = header.ItemWidth(column);
    if (info.mask & LVCF_SUBITEM)
        info.iSubItem = columnSubItems[static_cast<std::size_t>(column)];
    if (info.mask & LVCF_ORDER)
        info.iOrder = header.IndexToOrder(column);
    return true;
}

bool CListCtrl::SetColumn(int column, const LVCOLUMN& info)
{
    if (!ValidColumn(column))
        return false;
    if (info.mask & LVCF_SUBITEM)
        columnSubItems[static_cast<std::size_t>(column)] = info.iSubItem;
    const HDITEM item = HeaderItemOf(info, header.ItemFormat(column) & ~HDF_JUSTIFYMASK);
    return header.SetItem(column, item);
}

int CListCtrl::GetColumnWidth(int column) const
{
    return ValidColumn(column) ? header.ItemWidth(column) : 0;
}

int CListCtrl::AutoSizeWidth(int column, bool useHeader) const
{
    int widest = 0;
    for (int row = 0; row < GetItemCount(); ++row)
        widest = std::max(widest, MeasureTextWidth(CellText(row, column, FindCell(row, column))));
    if (useHeader)
        widest = std::max(widest, MeasureTextWidth(header.ItemText(column)));
    return widest + kAutoSizePadding;
}

bool CListCtrl::SetColumnWidth(int column, int width)
{
    if (!ValidColumn(column))
        return false;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
        width = AutoSizeWidth(column, width == LVSCW_AUTOSIZE_USEHEADER);
    return header.SetItem(column, HDITEM{.mask = HDI_WIDTH, .cxy = width});
}

bool CListCtrl::SetColumnOrderArray(std::span<const int> order)
{
    return header.SetOrderArray(order);
}

// --- rows ------------------------------------------------------------------

CListCtrl::Cell& CListCtrl::CellAt(int row, int column)
{
    Row& stored = rows[static_cast<std::size_t>(row)];
    if (static_cast<int>(stored.cells.size()) <= column)
        stored.cells.resize(static_cast<std::size_t>(column) + 1);
    return stored.cells[static_cast<std::size_t>(column)];
}

const CListCtrl::Cell* CListCtrl::FindCell(int row, int column) const
{
    const Row& stored = rows[static_cast<std::size_t>(row)];
    return column >= 0 && column < static_cast<int>(stored.cells.size())
               ? &stored.cells[static_cast<std::size_t>(column)]
               : nullptr;
}

std::u16string_view CListCtrl::CellText(int row, int column, const Cell* cell) const
{
    if (!cell)
        return {};
    if (!cell->textCallback)
        return cell->text;
    // Ask the owner; the answer lives in the reused request record.
    dispInfo.hdr.code = LVN_GETDISPINFO;
    dispInfo.item.mask = LVIF_TEXT;
    dispInfo.item.iItem = row;
    dispInfo.item.iSubItem = column;
    dispInfo.item.lParam = rows[static_cast<std::size_t>(row)].data;
    dispInfo.item.text.clear();
    dispInfo.item.cchTextMax = 260;
    const_cast<CListCtrl*>(this)->NotifyParent(dispInfo.hdr);
    if (static_cast<int>(dispInfo.item.text.size()) >= dispInfo.item.cchTextMax)
        dispInfo.item.text.resize(static_cast<std::size_t>(dispInfo.item.cchTextMax - 1));
    return dispInfo.item.text;
}

int CListCtrl::InsertItem(int index, std::u16string_view text)
{
    LVITEM item{.mask = LVIF_TEXT, .iItem = index, .text = std::u16string(text)};
    return InsertItem(item);
}

int CListCtrl::InsertItem(int index, TextCallbackMarker)
{
    LVITEM item{.mask = LVIF_TEXT, .iItem = index, .textCallback = true};
    return InsertItem(item);
}

int CListCtrl::InsertItem(const LVITEM& item)
{
    if (item.iItem < 0)
        return -1;
    const int index = std::min(item.iItem, GetItemCount());
    Row row;
    if (item.mask & LVIF_PARAM)
        row.data = item.lParam;
    if (item.mask & LVIF_GROUPID)
        row.groupId = item.iGroupId;
    if (item.mask & (LVIF_TEXT | LVIF_IMAGE))
    {
        row.cells.resize(1);
        if (item.mask & LVIF_TEXT)
        {
            row.cells[0].text = item.text;
            row.cells[0].textCallback = item.textCallback;
        }
        if (item.mask & LVIF_IMAGE)
            row.cells[0].image = item.iImage;
    }
    rows.insert(rows.begin() + index, std::move(row));
    if (focusedRow >= index)
        ++focusedRow;
    if (selectionMark >= index)
        ++selectionMark;
    if (item.mask & LVIF_STATE)
        SetItemState(index, item.state, item.stateMask);
    LayoutChanged();
    return index;
}

bool CListCtrl::DeleteItem(int row)
{
    if (!ValidRow(row))
        return false;
    NMLISTVIEW deleted{.hdr = {.code = LVN_DELETEITEM},
                       .iItem = row,
                       .lParam = rows[static_cast<std::size_t>(row)].data};
    NotifyParent(deleted.hdr);
    if (!ValidRow(row))
        return false;
    rows.erase(rows.begin() + row);
    if (focusedRow == row)
        focusedRow = -1;
    else if (focusedRow > row)
        --focusedRow;
    if (selectionMark == row)
        selectionMark = -1;
    else if (selectionMark > row)
        --selectionMark;
    ClampScroll();
    LayoutChanged();
    return true;
}

bool CListCtrl::DeleteAllItems()
{
    NMLISTVIEW all{.hdr = {.code = LVN_DELETEALLITEMS}, .iItem = -1};
    NotifyParent(all.hdr);
    rows.clear();
    focusedRow = -1;
    selectionMark = -1;
    scrollY = 0;
    LayoutChanged();
    return true;
}

bool CListCtrl::SetItemText(int row, int column, std::u16string_view text)
{
    if (!ValidRow(row) || !ValidColumn(column))
        return false;
    Cell& cell = CellAt(row, column);
    if (!cell.textCallback && cell.text == text)
        return true;
    cell.text.assign(text);
    cell.textCallback = false;
    Changed();
    return true;
}

bool CListCtrl::SetItemText(int row, int column, TextCallbackMarker)
{
    if (!ValidRow(row) || !ValidColumn(column))
        return false;
    Cell& cell = CellAt(row, column);
    cell.text.clear();
    cell.textCallback = true;
    Changed();
    return true;
}

bool CListCtrl::IsItemTextCallback(int row, int column) const
{
    if (!ValidRow(row))
        return false;
    const Cell* cell = FindCell(row, column);
    return cell && cell->textCallback;
}

std::u16string CListCtrl::GetItemText(int row, int column) const
{
    if (!ValidRow(row) || !ValidColumn(column))
        return {};
    return std::u16string(CellText(row, column, FindCell(row, column)));
}

std::u16string_view CListCtrl::StoredItemText(int row, int column) const
{
    if (!ValidRow(row))
        return {};
    const Cell* cell = FindCell(row, column);
    return cell ? std::u16string_view(cell->text) : std::u16string_view();
}

bool CListCtrl::GetItem(LVITEM& item) const
{
    if (!ValidRow(item.iItem))
        return false;
    const Row& row = rows[static_cast<std::size_t>(item.iItem)];
    const Cell* cell = FindCell(item.iItem, item.iSubItem);
    if (item.mask & LVIF_TEXT)
    {
        item.textCallback = cell && cell->textCallback;
        item.text = cell && !cell->textCallback ? cell->text : std::u16string();
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = cell ? cell->image : -1;
    if (item.mask & LVIF_PARAM)
        item.lParam = row.data;
    if (item.mask & LVIF_STATE)
        item.state = row.state & item.stateMask;
    if (item.mask & LVIF_GROUPID)
        item.iGroupId = row.groupId;
    return true;
}

bool CListCtrl::SetItem(const LVITEM& item)
{
    if (!ValidRow(item.iItem))
        return false;
    if (item.mask & (LVIF_TEXT | LVIF_IMAGE))
    {
        if (!ValidColumn(item.iSubItem))
            return false;
        Cell& cell = CellAt(item.iItem, item.iSubItem);
        if (item.mask & LVIF_TEXT)
        {
            cell.text = item.textCallback ? std::u16string() : item.text;
            cell.textCallback = item.textCallback;
        }
        if (item.mask & LVIF_IMAGE)
            cell.image = item.iImage;
    }
    Row& row = rows[static_cast<std::size_t>(item.iItem)];
    if (item.mask & LVIF_PARAM)
        row.data = item.lParam;
    if (item.mask & LVIF_GROUPID)
        SetItemGroupId(item.iItem, item.iGroupId);
    if (item.mask & LVIF_STATE)
        SetItemState(item.iItem, item.state, item.stateMask);
    Changed();
    return true;
}

int CListCtrl::GetItemImage(int row, int column) const
{
    if (!ValidRow(row))
        return -1;
    const Cell* cell = FindCell(row, column);
    return cell ? cell->image : -1;
}

LPARAM CListCtrl::GetItemData(int row) const
{
    return ValidRow(row) ? rows[static_cast<std::size_t>(row)].data : 0;
}

bool CListCtrl::SetItemData(int row, LPARAM data)
{
    if (!ValidRow(row))
        return false;
    rows[static_cast<std::size_t>(row)].data = data;
    return true;
}

// --- state -----------------------------------------------------------------

UINT CListCtrl::GetItemState(int row, UINT mask) const
{
    return ValidRow(row) ? rows[static_cast<std::size_t>(row)].state & mask : 0;
}

void CListCtrl::ChangeState(int row, UINT newState)
{
    Row& stored = rows[static_cast<std::size_t>(row)];
    const UINT oldState = stored.state;
    if (oldState == newState)
        return;
    stored.state = newState;
    if (newState & LVIS_FOCUSED)
        focusedRow = row;
    else if (focusedRow == row)
        focusedRow = -1;
    NMLISTVIEW changed{.hdr = {.code = LVN_ITEMCHANGED},
                       .iItem = row,
                       .uNewState = newState,
                       .uOldState = oldState,
                       .uChanged = LVIF_STATE,
                       .lParam = stored.data};
    NotifyParent(changed.hdr);
    Changed();
}

bool CListCtrl::SetItemState(int row, UINT state, UINT mask)
{
    if (row == -1)
    {
        // Focus belongs to one row at most, and so does the selection of a
        // single-selection list: those can only be taken off all rows.
        UINT eachMask = mask;
        if (state & mask & LVIS_FOCUSED)
            eachMask &= ~LVIS_FOCUSED;
        if ((state & mask & LVIS_SELECTED) && (GetStyle() & LVS_SINGLESEL))
            eachMask &= ~LVIS_SELECTED;
        for (int each = 0; each < GetItemCount(); ++each)
            ChangeState(each, (rows[static_cast<std::size_t>(each)].state & ~eachMask) |
                                  (state & eachMask));
        return true;
    }
    if (!ValidRow(row))
        return false;
    if (state & mask & LVIS_FOCUSED)
        if (focusedRow >= 0 && focusedRow != row && ValidRow(focusedRow))
            ChangeState(focusedRow,
                        rows[static_cast<std::size_t>(focusedRow)].state & ~LVIS_FOCUSED);
    if ((state & mask & LVIS_SELECTED) && (GetStyle() & LVS_SINGLESEL))
        for (int other = 0; other < GetItemCount(); ++other)
            if (other != row && (rows[static_cast<std::size_t>(other)].state & LVIS_SELECTED))
                ChangeState(other, rows[static_cast<std::size_t>(other)].state & ~LVIS_SELECTED);
    if (!ValidRow(row))
        return false;
    ChangeState(row, (rows[static_cast<std::size_t>(row)].state & ~mask) | (state & mask));
    return true;
}

int CListCtrl::GetNextItem(int start, int flags) const
{
    if (flags & LVNI_FOCUSED)
    {
        const bool selectedToo =
            !(flags & LVNI_SELECTED) || GetItemState(focusedRow, LVIS_SELECTED);
        return focusedRow > start && selectedToo ? focusedRow : -1;
    }
    for (int row = std::max(0, start + 1); row < GetItemCount(); ++row)
        if (!(flags & LVNI_SELECTED) || (rows[static_cast<std::size_t>(row)].state & LVIS_SELECTED))
            return row;
    return -1;
}

int CListCtrl::GetSelectedCount() const
{
    return static_cast<int>(std::count_if(
        rows.begin(), rows.end(), [](const Row& row) { return (row.state & LVIS_SELECTED) != 0; }));
}

void CListCtrl::SelectOnly(int row)
{
    for (int other = 0; other < GetItemCount(); ++other)
        if (other != row && (rows[static_cast<std::size_t>(other)].state & LVIS_SELECTED))
            ChangeState(other, rows[static_cast<std::size_t>(other)].state & ~LVIS_SELECTED);
    if (ValidRow(row))
        SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void CListCtrl::FocusRow(int row)
{
    if (ValidRow(row))
        SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
}

bool CListCtrl::SortItemsEx(const std::function<int(int, int)>& compare)
{
    if (GetStyle() & LVS_OWNERDATA)
        return false;
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    int newFocus = -1;
    int newMark = -1;
    for (std::size_t i = 0; i < order.size(); ++i)
    {
        if (order[i] == focusedRow)
            newFocus = static_cast<int>(i);
        if (order[i] == selectionMark)
            newMark = static_cast<int>(i);
        sorted.push_back(std::move(rows[static_cast<std::size_t>(order[i])]));
    }
    rows = std::move(sorted);
    focusedRow = newFocus;
    selectionMark = newMark;
    LayoutChanged();
    return true;
}

// --- groups ----------------------------------------------------------------

int CListCtrl::FindGroup(int groupId) const
{
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i].info.iGroupId == groupId)
            return static_cast<int>(i);
    return -1;
}

int CListCtrl::InsertGroup(int index, const LVGROUP& group)
{
    if (!(group.mask & LVGF_GROUPID) || FindGroup(group.iGroupId) >= 0)
        return -1;
    Group stored;
    stored.info = group;
    stored.info.mask = 0;
    if (!(group.mask & LVGF_STATE))
        stored.info.state = LVGS_NORMAL;
    else
        stored.info.state = group.state & group.stateMask;
    const int position = index < 0 ? GetGroupCount() : std::min(index, GetGroupCount());
    groups.insert(groups.begin() + position, std::move(stored));
    LayoutChanged();
    return position;
}

int CListCtrl::RemoveGroup(int groupId)
{
    const int index = FindGroup(groupId);
    if (index < 0)
        return -1;
    groups.erase(groups.begin() + index);
    for (Row& row : rows)
        if (row.groupId == groupId)
            row.groupId = I_GROUPIDNONE;
    LayoutChanged();
    return index;
}

void CListCtrl::RemoveAllGroups()
{
    groups.clear();
    for (Row& row : rows)
        row.groupId = I_GROUPIDNONE;
    LayoutChanged();
}

bool CListCtrl::GetGroupInfo(int groupId, LVGROUP& group) const
{
    const int index = FindGroup(groupId);
    return index >= 0 && GetGroupInfoByIndex(index, group);
}

bool CListCtrl::GetGroupInfoByIndex(int index, LVGROUP& group) const
{
    if (index < 0 || index >= GetGroupCount())
        return false;
    const LVGROUP& stored = groups[static_cast<std::size_t>(index)].info;
    if (group.mask & LVGF_HEADER)
        group.header = stored.header;
    if (group.mask & LVGF_FOOTER)
        group.footer = stored.footer;
    if (group.mask & LVGF_SUBTITLE)
        group.subtitle = stored.subtitle;
    if (group.mask & LVGF_TASK)
        group.task = stored.task;
    if (group.mask & LVGF_DESCRIPTIONTOP)
        group.descriptionTop = stored.descriptionTop;
    if (group.mask & LVGF_DESCRIPTIONBOTTOM)
        group.descriptionBottom = stored.descriptionBottom;
    if (group.mask & LVGF_GROUPID)
        group.iGroupId = stored.iGroupId;
    if (group.mask & LVGF_STATE)
        group.state = stored.state & group.stateMask;
    if (group.mask & LVGF_ALIGN)
        group.uAlign = stored.uAlign;
    return true;
}

int CListCtrl::SetGroupInfo(int groupId, const LVGROUP& group)
{
    const int index = FindGroup(groupId);
    if (index < 0)
        return -1;
    LVGROUP& stored = groups[static_cast<std::size_t>(index)].info;
    if (group.mask & LVGF_HEADER)
        stored.header = group.header;
    if (group.mask & LVGF_FOOTER)
        stored.footer = group.footer;
    if (group.mask & LVGF_SUBTITLE)
        stored.subtitle = group.subtitle;
    if (group.mask & LVGF_TASK)
        stored.task = group.task;
    if (group.mask & LVGF_DESCRIPTIONTOP)
        stored.descriptionTop = group.descriptionTop;
    if (group.mask & LVGF_DESCRIPTIONBOTTOM)
        stored.descriptionBottom = group.descriptionBottom;
    if (group.mask & LVGF_STATE)
        stored.state = (stored.state & ~group.stateMask) | (group.state & group.stateMask);
    if (group.mask & LVGF_ALIGN)
        stored.uAlign = group.uAlign;
    if ((group.mask & LVGF_GROUPID) && group.iGroupId != groupId && FindGroup(group.iGroupId) < 0)
    {
        stored.iGroupId = group.iGroupId;
        for (Row& row : rows)
            if (row.groupId == groupId)
                row.groupId = group.iGroupId;
    }
    LayoutChanged();
    return stored.iGroupId;
}

UINT CListCtrl::GetGroupState(int groupId, UINT mask) const
{
    const int index = FindGroup(groupId);
    return index < 0 ? 0 : groups[static_cast<std::size_t>(index)].info.state & mask;
}

bool CListCtrl::SetGroupState(int groupId, UINT mask, UINT state)
{
    return SetGroupInfo(groupId, LVGROUP{.mask = LVGF_STATE, .stateMask = mask, .state = state}) !=
           -1;
}

bool CListCtrl::EnableGroupView(bool enable)
{
    if (groupView == enable)
        return true;
    groupView = enable;
    scrollY = 0;
    LayoutChanged();
    return true;
}

int CListCtrl::GetItemGroupId(int row) const
{
    return ValidRow(row) ? rows[static_cast<std::size_t>(row)].groupId : I_GROUPIDNONE;
}

bool CListCtrl::SetItemGroupId(int row, int groupId)
{
    if (!ValidRow(row))
        return false;
    rows[static_cast<std::size_t>(row)].groupId = groupId;
    LayoutChanged();
    return true;
}

bool CListCtrl::SortGroups(const std::function<int(int, int)>& compareIds)
{
    std::stable_sort(groups.begin(), groups.end(),
                     [&](const Group& a, const Group& b)
                     { return compareIds(a.info.iGroupId, b.info.iGroupId) < 0; });
    LayoutChanged();
    return true;
}

bool CListCtrl::GetGroupRect(int groupId, RECT& rect) const
{
    const int index = FindGroup(groupId);
    if (!groupView || index < 0)
        return false;
    const int top = Layout().groupTop[static_cast<std::size_t>(index)] + BodyTop() - scrollY;
    rect = RECT{-scrollX, top, std::max(GetClientRect().right, ContentWidth() - scrollX),
                top + groupHeaderHeight};
    return true;
}

// --- geometry --------------------------------------------------------------

int CListCtrl::HeaderHeight() const
{
    return (GetStyle() & LVS_NOCOLUMNHEADER) ? 0 : header.Height();
}

void CListCtrl::SetRowHeight(int pixels)
{
    rowHeight = std::max(1, pixels);
    scrollY = 0;
    LayoutChanged();
}

void CListCtrl::SetGroupHeaderHeight(int pixels)
{
    groupHeaderHeight = std::max(1, pixels);
    LayoutChanged();
}

const CListCtrl::GroupLayout& CListCtrl::Layout() const
{
    if (layoutValid)
        return layout;
    layout.rowTop.assign(rows.size(), -1);
    layout.groupTop.assign(groups.size(), 0);
    layout.order.clear();
    int y = 0;
    for (std::size_t g = 0; g < groups.size(); ++g)
    {
        layout.groupTop[g] = y;
        y += groupHeaderHeight;
        if (groups[g].info.state & LVGS_COLLAPSED)
            continue;
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (rows[r].groupId == groups[g].info.iGroupId)
            {
                layout.rowTop[r] = y;
                layout.order.push_back(static_cast<int>(r));
                y += rowHeight;
            }
    }
    layout.height = y;
    layoutValid = true;
    return layout;
}

int CListCtrl::ContentHeight() const
{
    return groupView ? Layout().height : GetItemCount() * rowHeight;
}

int CListCtrl::RowTop(int row) const
{
    if (!groupView)
        return BodyTop() + row * rowHeight - scrollY;
    const int top = Layout().rowTop[static_cast<std::size_t>(row)];
    return top < 0 ? kHiddenRow : BodyTop() + top - scrollY;
}

void CListCtrl::ClampScroll()
{
    const RECT client = GetClientRect();
    const int pageHeight = std::max(0, client.bottom - BodyTop());
    int maxY = std::max(0, ContentHeight() - pageHeight);
    if (!groupView)
        maxY = (maxY + rowHeight - 1) / rowHeight * rowHeight;
    const int maxX = std::max(0, ContentWidth() - client.right);
    const int newX = std::clamp(scrollX, 0, maxX);
    const int newY = std::clamp(scrollY, 0, maxY);
    scrollX = newX;
    scrollY = newY;
    header.SetScrollOffset(scrollX);
}

bool CListCtrl::Scroll(int dx, int dy)
{
    if (!groupView)
        dy = dy / rowHeight * rowHeight;
    const int oldX = scrollX;
    const int oldY = scrollY;
    scrollX += dx;
    scrollY += dy;
    ClampScroll();
    if (scrollX != oldX || scrollY != oldY)
        Changed();
    return true;
}

int CListCtrl::GetTopIndex() const
{
    if (rows.empty())
        return 0;
    if (!groupView)
        return std::min(scrollY / rowHeight, GetItemCount() - 1);
    for (int row : Layout().order)
        if (Layout().rowTop[static_cast<std::size_t>(row)] + rowHeight > scrollY)
            return row;
    return 0;
}

int CListCtrl::GetCountPerPage() const
{
    return std::max(0, (GetClientRect().bottom - BodyTop()) / rowHeight);
}

bool CListCtrl::EnsureVisible(int row)
{
    if (!ValidRow(row))
        return false;
    const int top = RowTop(row);
    if (top == kHiddenRow)
        return false;
    const int bodyTop = BodyTop();
    const int bottom = GetClientRect().bottom;
    if (top < bodyTop)
        Scroll(0, top - bodyTop);
    else if (top + rowHeight > bottom)
    {
        int delta = top + rowHeight - bottom;
        if (!groupView)
            delta = (delta + rowHeight - 1) / rowHeight * rowHeight;
        Scroll(0, delta);
    }
    return true;
}

bool CListCtrl::GetItemRect(int row, RECT& rect, int part) const
{
    if (!ValidRow(row))
        return false;
    const int top = RowTop(row);
    if (part == LVIR_BOUNDS)
    {
        rect = RECT{-scrollX, top, ContentWidth() - scrollX, top + rowHeight};
        return true;
    }
    // The label: the cell of the first column.
    return GetSubItemRect(row, 0, rect, part);
}

bool CListCtrl::GetSubItemRect(int row, int column, RECT& rect, int /*part*/) const
{
    if (!ValidRow(row) || !ValidColumn(column))
        return false;
    RECT columnRect;
    header.GetItemRect(column, columnRect);
    const int top = RowTop(row);
    rect = RECT{columnRect.left, top, columnRect.right, top + rowHeight};
    return true;
}

int CListCtrl::HitTest(LVHITTESTINFO& info) const
{
    SubItemHitTest(info);
    return info.iItem;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO& info) const
{
    info.flags = 0;
    info.iItem = -1;
    info.iSubItem = -1;
    info.iGroup = -1;
    const POINT p = info.pt;
    const RECT client = GetClientRect();
    if (p.y < BodyTop())
        info.flags |= LVHT_ABOVE;
    if (p.y >= client.bottom)
        info.flags |= LVHT_BELOW;
    if (p.x < 0)
        info.flags |= LVHT_TOLEFT;
    if (p.x >= client.right)
        info.flags |= LVHT_TORIGHT;
    if (info.flags)
        return -1;

    int row = -1;
    if (!groupView)
    {
        const int candidate = (p.y - BodyTop() + scrollY) / rowHeight;
        if (ValidRow(candidate))
            row = candidate;
    }
    else
    {
        const GroupLayout& lines = Layout();
        const int contentY = p.y - BodyTop() + scrollY;
        for (std::size_t g = 0; g < groups.size(); ++g)
            if (contentY >= lines.groupTop[g] && contentY < lines.groupTop[g] + groupHeaderHeight)
            {
                info.flags = LVHT_EX_GROUP_HEADER;
                info.iGroup = groups[g].info.iGroupId;
                return -1;
            }
        for (int candidate : lines.order)
        {
            const int top = lines.rowTop[static_cast<std::size_t>(candidate)];
            if (contentY >= top && contentY < top + rowHeight)
            {
                row = candidate;
                break;
            }
        }
    }
    if (row < 0)
    {
        info.flags = LVHT_NOWHERE;
        return -1;
    }
    HDHITTESTINFO column{.pt = POINT{p.x, 0}};
    int x = -scrollX;
    for (int index : header.GetOrderArray())
    {
        const int width = header.ItemWidth(index);
        if (p.x >= x && p.x < x + width)
        {
            column.iItem = index;
            break;
        }
        x += width;
    }
    if (column.iItem < 0)
    {
        info.flags = LVHT_NOWHERE;
        return -1;
    }
    info.iItem = row;
    info.iSubItem = column.iItem;
    info.iGroup = groupView ? rows[static_cast<std::size_t>(row)].groupId : -1;
    info.flags = LVHT_ONITEMLABEL;
    return row;
}

// --- redraw and painting ---------------------------------------------------

void CListCtrl::Changed()
{
    if (!redraw)
    {
        changedWhileOff = true;
        return;
    }
    NotifyChanged(WindowChange::Content);
}

void CListCtrl::LayoutChanged()
{
    layoutValid = false;
    Changed();
}

void CListCtrl::OnHeaderChanged()
{
    if (!IsCreated())
        return;
    ClampScroll();
    Changed();
}

void CListCtrl::SetRedraw(bool on)
{
    if (redraw == on)
        return;
    redraw = on;
    if (on)
    {
        changedWhileOff = false;
        NotifyChanged(WindowChange::Content);
    }
}

bool CListCtrl::RedrawItems(int, int)
{
    Changed();
    return true;
}

std::u16string CListCtrl::GetEmptyText()
{
    if (!rows.empty())
        return {};
    NMLVEMPTYMARKUP markup{.hdr = {.code = LVN_GETEMPTYMARKUP}};
    if (!NotifyParent(markup.hdr))
        return {};
    if (markup.markup.size() >= static_cast<std::size_t>(L_MAX_URL_LENGTH))
        markup.markup.resize(static_cast<std::size_t>(L_MAX_URL_LENGTH) - 1);
    return std::move(markup.markup);
}

std::u16string CListCtrl::GetToolTipText(POINT point)
{
    LVHITTESTINFO hit{.pt = point};
    if (SubItemHitTest(hit) < 0)
        return {};
    NMLVGETINFOTIP tip{.hdr = {.code = LVN_GETINFOTIP},
                       .cchTextMax = 1024,
                       .iItem = hit.iItem,
                       .iSubItem = hit.iSubItem,
                       .lParam = rows[static_cast<std::size_t>(hit.iItem)].data};
    NotifyParent(tip.hdr);
    if (static_cast<int>(tip.text.size()) >= tip.cchTextMax)
        tip.text.resize(static_cast<std::size_t>(tip.cchTextMax - 1));
    return std::move(tip.text);
}

void CListCtrl::Paint(HDC hdc)
{
    if (!hdc)
        return;
    const RECT client = GetClientRect();
    if (HeaderHeight() > 0)
        for (int column : header.GetOrderArray())
        {
            RECT rect;
            header.GetItemRect(column, rect);
            if (rect.right > 0 && rect.left < client.right && rect.Width() > 0)
                hdc->HeaderItem(column, rect, header.ItemText(column), header.ItemFormat(column));
        }
    if (rows.empty())
    {
        const std::u16string text = GetEmptyText();
        if (!text.empty())
            hdc->EmptyText(text, RECT{0, BodyTop(), client.right, client.bottom});
        return;
    }
    const int top = BodyTop();
    if (!groupView)
    {
        const int first = scrollY / rowHeight;
        const int visible = (client.bottom - top + rowHeight - 1) / rowHeight;
        PaintRows(hdc, first, std::min(GetItemCount(), first + visible));
        return;
    }
    const GroupLayout& lines = Layout();
    for (std::size_t g = 0; g < groups.size(); ++g)
    {
        RECT rect;
        GetGroupRect(groups[g].info.iGroupId, rect);
        if (rect.bottom > top && rect.top < client.bottom)
            hdc->GroupHeader(groups[g].info.iGroupId, rect, groups[g].info.header,
                             groups[g].info.state);
    }
    std::vector<int> shown;
    for (int row : lines.order)
    {
        const int y = RowTop(row);
        if (y + rowHeight > top && y < client.bottom)
            shown.push_back(row);
    }
    PaintRowList(hdc, shown);
}

void CListCtrl::PaintRows(HDC hdc, int first, int last)
{
    first = std::max(0, first);
    last = std::min(last, GetItemCount());
    if (first >= last)
        return;
    std::vector<int> list(static_cast<std::size_t>(last - first));
    std::iota(list.begin(), list.end(), first);
    if (groupView)
        std::erase_if(list, [&](int row) { return RowTop(row) == kHiddenRow; });
    PaintRowList(hdc, list);
}

void CListCtrl::PaintRowList(HDC hdc, std::span<const int> rowList)
{
    if (!hdc)
        return;
    paintParent = FromHandle(GetParent());
    const bool focused = GetFocus() == Handle() && Handle();
    const bool showSelection = focused || (GetStyle() & LVS_SHOWSELALWAYS);
    const bool fullRow = (extendedStyle & LVS_EX_FULLROWSELECT) != 0;
    const RECT client = GetClientRect();
    const COLORREF highlightText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const COLORREF highlightBack = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);

    // Column positions in display order, once per pass.
    struct Column
    {
        int index;
        int left;
        int right;
        int format;
    };
    std::vector<Column> columns;
    columns.reserve(header.GetOrderArray().size());
    int x = -scrollX;
    for (int index : header.GetOrderArray())
    {
        const int width = header.ItemWidth(index);
        columns.push_back(Column{index, x, x + width, header.ItemFormat(index) & HDF_JUSTIFYMASK});
        x += width;
    }

    NMLVCUSTOMDRAW draw;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.hdc = hdc;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.rc = client;
    const LRESULT control = NotifyParent(draw.nmcd.hdr);
    if (control & CDRF_SKIPDEFAULT)
    {
        paintParent = nullptr;
        return;
    }
    const bool itemNotify = (control & CDRF_NOTIFYITEMDRAW) != 0;

    PaintedCell cell;
    for (int row : rowList)
    {
        const Row& stored = rows[static_cast<std::size_t>(row)];
        const int top = RowTop(row);
        const RECT bounds{-scrollX, top, x, top + rowHeight};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<UINT_PTR>(row);
        draw.nmcd.uItemState = ((stored.state & LVIS_SELECTED) ? CDIS_SELECTED : 0u) |
                               ((stored.state & LVIS_FOCUSED) ? CDIS_FOCUS : 0u);
        draw.nmcd.lItemlParam = stored.data;
        draw.nmcd.rc = bounds;
        draw.clrText = CLR_DEFAULT;
        draw.clrTextBk = CLR_DEFAULT;
        draw.iSubItem = 0;
        draw.font = nullptr;
        const LRESULT item = itemNotify ? NotifyParent(draw.nmcd.hdr) : CDRF_DODEFAULT;
        if (item & CDRF_SKIPDEFAULT)
            continue;
        const UINT rowState = draw.nmcd.uItemState;
        const bool subItemNotify = (item & CDRF_NOTIFYSUBITEMDRAW) != 0;

        for (const Column& column : columns)
        {
            draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
            draw.nmcd.uItemState = rowState;
            draw.nmcd.rc = RECT{column.left, top, column.right, top + rowHeight};
            draw.iSubItem = column.index;
            const LRESULT sub = subItemNotify ? NotifyParent(draw.nmcd.hdr) : CDRF_DODEFAULT;
            if (sub & CDRF_SKIPDEFAULT)
                continue;
            const Cell* stored_cell = FindCell(row, column.index);
            cell.row = row;
            cell.subItem = column.index;
            cell.rect = draw.nmcd.rc;
            cell.text = CellText(row, column.index, stored_cell);
            cell.format = column.format;
            cell.image = stored_cell ? stored_cell->image : -1;
            cell.font = draw.font;
            cell.highlighted = (draw.nmcd.uItemState & CDIS_SELECTED) && showSelection &&
                               (fullRow || column.index == 0);
            if (cell.highlighted)
            {
                cell.textColour = highlightText;
                cell.backColour = highlightBack;
            }
            else
            {
                cell.textColour = draw.clrText == CLR_DEFAULT ? textColour : draw.clrText;
                cell.backColour = draw.clrTextBk == CLR_DEFAULT || draw.clrTextBk == CLR_NONE
                                      ? textBackColour
                                      : draw.clrTextBk;
            }
            hdc->Cell(cell);
            if (sub & CDRF_NOTIFYPOSTPAINT)
            {
                draw.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT | CDDS_SUBITEM;
                NotifyParent(draw.nmcd.hdr);
            }
        }
        if ((rowState & CDIS_FOCUS) && focused)
            hdc->FocusRect(bounds);
        if (item & CDRF_NOTIFYPOSTPAINT)
        {
            draw.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
            draw.nmcd.uItemState = rowState;
            draw.nmcd.rc = bounds;
            draw.iSubItem = 0;
            NotifyParent(draw.nmcd.hdr);
        }
    }
    if (control & CDRF_NOTIFYPOSTPAINT)
    {
        draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
        draw.nmcd.rc = client;
        NotifyParent(draw.nmcd.hdr);
    }
    paintParent = nullptr;
}

// --- input -----------------------------------------------------------------

void CListCtrl::NotifyClick(UINT code, int row, int column, POINT point, WPARAM keys)
{
    NMITEMACTIVATE click{.hdr = {.code = code},
                         .iItem = row,
                         .iSubItem = column,
                         .ptAction = point,
                         .lParam = ValidRow(row) ? rows[static_cast<std::size_t>(row)].data : 0,
                         .uKeyFlags = ((keys & MK_CONTROL) ? LVKF_CONTROL : 0u) |
                                      ((keys & MK_SHIFT) ? LVKF_SHIFT : 0u)};
    NotifyParent(click.hdr);
}

void CListCtrl::DefaultButtonDown(UINT message, WPARAM keys, POINT point)
{
    if (point.y < BodyTop() && point.y >= 0)
    {
        if (message != WM_RBUTTONDOWN)
            header.WindowProc(message, keys, MakePointParam(point.x, point.y));
        return;
    }
    if (Handle() && GetFocus() != Handle())
        SetFocus(Handle());
    LVHITTESTINFO hit{.pt = point};
    const int row = SubItemHitTest(hit);
    const bool control = (keys & MK_CONTROL) != 0;
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool single = (GetStyle() & LVS_SINGLESEL) != 0;
    if (row < 0)
    {
        if (!control && !shift && message != WM_RBUTTONDOWN)
            SelectOnly(-1);
    }
    else if (message == WM_RBUTTONDOWN)
    {
        if (!GetItemState(row, LVIS_SELECTED))
            SelectOnly(row);
        FocusRow(row);
        selectionMark = row;
    }
    else if (control && !single && !shift)
    {
        SetItemState(row, GetItemState(row, LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
        FocusRow(row);
        selectionMark = row;
    }
    else if (shift && !single && ValidRow(selectionMark))
    {
        const int from = std::min(selectionMark, row);
        const int to = std::max(selectionMark, row);
        for (int each = 0; each < GetItemCount(); ++each)
        {
            const bool inRange = each >= from && each <= to;
            if (inRange)
                SetItemState(each, LVIS_SELECTED, LVIS_SELECTED);
            else if (!control)
                SetItemState(each, 0, LVIS_SELECTED);
        }
        FocusRow(row);
    }
    else
    {
        SelectOnly(row);
        FocusRow(row);
        selectionMark = row;
    }
    const UINT code = message == WM_RBUTTONDOWN     ? NM_RCLICK
                      : message == WM_LBUTTONDBLCLK ? NM_DBLCLK
                                                    : NM_CLICK;
    NotifyClick(code, row, hit.iSubItem, point, keys);
    if (message == WM_LBUTTONDBLCLK && row >= 0)
        NotifyClick(LVN_ITEMACTIVATE, row, hit.iSubItem, point, keys);
}

void CListCtrl::OnKeyDown(UINT key)
{
    if (rows.empty())
        return;
    const int current = focusedRow;
    int target = current;
    switch (key)
    {
    case kKeyUp:
        target = current < 0 ? 0 : std::max(0, current - 1);
        break;
    case kKeyDown:
        target = current < 0 ? 0 : std::min(GetItemCount() - 1, current + 1);
        break;
    case kKeyHome:
        target = 0;
        break;
    case kKeyEnd:
        target = GetItemCount() - 1;
        break;
    case kKeyPageUp:
        target = std::max(0, current - std::max(1, GetCountPerPage() - 1));
        break;
    case kKeyPageDown:
        target = std::min(GetItemCount() - 1, current + std::max(1, GetCountPerPage() - 1));
        break;
    default:
        return;
    }
    SelectOnly(target);
    FocusRow(target);
    selectionMark = target;
    EnsureVisible(target);
}

} // namespace platform
