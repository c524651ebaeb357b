#include "gridctrl/report_grid.h"

#include "platform/ui/message_queue.h"

#include <algorithm>

using namespace platform;

CReportGrid::CReportGrid() : baseRowTrait(std::make_unique<CRowTraitText>()) {}

CReportGrid::~CReportGrid()
{
    // Destroy while the grid's own handlers can still run.
    Destroy();
}

LRESULT CReportGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
    {
        const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        ApplyCreateStyle();
        return result;
    }
    case WM_DESTROY:
        OnDestroyGrid();
        return CListCtrl::WindowProc(message, wParam, lParam);
    case WM_NOTIFY:
    {
        NMHDR& hdr = NotifyRecord<NMHDR>(lParam);
        if (hdr.hwndFrom == GetHeaderCtrl()->Handle() && hdr.hwndFrom)
        {
            LRESULT result = 0;
            if (OnHeaderNotify(NotifyRecord<NMHEADER>(lParam), result))
                return result;
        }
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(wParam, PointFromLParam(lParam));
        return 0;
    default:
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
}

void CReportGrid::ApplyCreateStyle()
{
    ModifyStyle(LVS_TYPEMASK | LVS_OWNERDRAWFIXED, LVS_REPORT | LVS_SHOWSELALWAYS);
    ModifyExtendedStyle(0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_GRIDLINES |
                               LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER);
    // No themed list look on this platform: the grid keeps its grid lines and
    // answers the empty-text request itself.
    visualStyleMode = false;
    SetToolTipMaxWidth(tipMaxWidth);
}

void CReportGrid::OnDestroyGrid()
{
    focusColumn = -1;
    sortColumn = -1;
    sortAscending = false;
    visualStyleMode = false;
    trackingColumn = -1;
    columnTraits.clear();
}

void CReportGridGroups::OnDestroyGrid()
{
    groupColumn = -1;
    groupSortAscending = -1;
    CReportGrid::OnDestroyGrid();
}

// --- traits and columns -------------------------------------------------------

void CReportGrid::SetBaseRowTrait(std::unique_ptr<CRowTrait> trait)
{
    if (!trait)
        return;
    baseRowTrait = std::move(trait);
    Invalidate();
}

CColumnTrait* CReportGrid::ColumnTraitAt(int column) const
{
    return column >= 0 && column < ColumnTraitCount()
               ? columnTraits[static_cast<std::size_t>(column)].get()
               : nullptr;
}

CColumnTrait* CReportGrid::CellTraitAt(int, int column) const
{
    return ColumnTraitAt(column);
}

bool CReportGrid::IsColumnShown(int column) const
{
    const CColumnTrait* trait = ColumnTraitAt(column);
    return trait && trait->shown;
}

bool CReportGrid::IsColumnResizable(int column) const
{
    const CColumnTrait* trait = ColumnTraitAt(column);
    return trait && trait->resizable;
}

bool CReportGrid::IsColumnAlwaysShown(int column) const
{
    const CColumnTrait* trait = ColumnTraitAt(column);
    return trait && trait->alwaysShown;
}

bool CReportGrid::IsColumnNeverShown(int column) const
{
    const CColumnTrait* trait = ColumnTraitAt(column);
    return trait && trait->neverShown;
}

int CReportGrid::FirstShownColumn() const
{
    for (int column : GetColumnOrderArray())
        if (IsColumnShown(column))
            return column;
    return -1;
}

int CReportGrid::HiddenColumnCount() const
{
    return static_cast<int>(std::count_if(columnTraits.begin(), columnTraits.end(),
                                          [](const auto& trait) { return !trait->shown; }));
}

void CReportGrid::AttachColumnTrait(int column, std::unique_ptr<CColumnTrait> trait)
{
    column = std::clamp(column, 0, ColumnTraitCount());
    CColumnTrait* attached = trait.get();
    columnTraits.insert(columnTraits.begin() + column, std::move(trait));
    attached->OnInsertColumn(*this, column);
}

int CReportGrid::AddHiddenFirstColumn()
{
    auto trait = std::make_unique<CColumnTrait>();
    trait->neverShown = true;
    return AddColumn(0, u"", 0, 0, 0, std::move(trait));
}

int CReportGrid::AddColumn(int position, std::u16string_view title, int alignment, int width,
                           int dataIndex, std::unique_ptr<CColumnTrait> trait)
{
    if (!trait)
        trait = std::make_unique<CColumnTraitText>();
    if (trait->neverShown)
    {
        trait->shown = false;
        width = 0;
    }
    position = std::clamp(position, 0, GetColumnCount());
    // The trait goes in first, so that the header's notifications about the
    // new column find it.
    columnTraits.insert(columnTraits.begin() + position, std::move(trait));
    LVCOLUMN column{.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM,
                    .fmt = alignment == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT,
                    .cx = std::max(0, width),
                    .text = std::u16string(title),
                    .iSubItem = dataIndex};
    const int index = CListCtrl::InsertColumn(position, column);
    if (index < 0)
    {
        columnTraits.erase(columnTraits.begin() + position);
        return -1;
    }
    columnTraits[static_cast<std::size_t>(index)]->OnInsertColumn(*this, index);
    return index;
}

int CReportGrid::InsertColumn(int index, const LVCOLUMN& column)
{
    if (index < 0)
        return -1;
    const int position = std::min(index, GetColumnCount());
    columnTraits.insert(columnTraits.begin() + position, std::make_unique<CColumnTraitText>());
    const int inserted = CListCtrl::InsertColumn(position, column);
    if (inserted < 0)
    {
        columnTraits.erase(columnTraits.begin() + position);
        return -1;
    }
    columnTraits[static_cast<std::size_t>(inserted)]->OnInsertColumn(*this, inserted);
    return inserted;
}

bool CReportGrid::DeleteColumn(int column)
{
    if (!CListCtrl::DeleteColumn(column))
        return false;
    if (column < ColumnTraitCount())
        columnTraits.erase(columnTraits.begin() + column);
    if (focusColumn == column)
        focusColumn = -1;
    else if (focusColumn > column)
        --focusColumn;
    return true;
}

void CReportGrid::SetFocusColumn(int column)
{
    focusColumn = column;
    Invalidate();
}

void CReportGrid::SetEmptyText(std::u16string text)
{
    emptyText = std::move(text);
    Invalidate();
}

void CReportGrid::SetCellFont(std::optional<CellFont> font)
{
    cellFont = std::move(font);
    Invalidate();
}

void CReportGrid::ScrollColumnIntoView(int column)
{
    RECT rect;
    if (!GetHeaderCtrl()->GetItemRect(column, rect))
        return;
    const RECT client = GetClientRect();
    if (rect.left < 0)
        Scroll(rect.left, 0);
    else if (rect.right > client.right)
        Scroll(std::min(rect.left, rect.right - client.right), 0);
}

bool CReportGrid::FitColumnWidth(int column, bool includeHeader)
{
    return SetColumnWidth(column, includeHeader ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE);
}

void CReportGrid::ShowSortIndicator(int column, bool ascending)
{
    CHeaderCtrl& header = *GetHeaderCtrl();
    for (int index = 0; index < header.GetItemCount(); ++index)
    {
        int format = header.ItemFormat(index) & ~(HDF_SORTUP | HDF_SORTDOWN);
        if (index == column)
            format |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        header.SetItem(index, HDITEM{.mask = HDI_FORMAT, .fmt = format});
    }
}

void CReportGrid::SetColumnWidthInternal(int column, int width)
{
    const bool was = internalWidthChange;
    internalWidthChange = true;
    SetColumnWidth(column, width);
    internalWidthChange = was;
}

void CReportGrid::StoreLayout()
{
    if (columnState)
        StoreColumnState(*columnState);
}

// --- showing and hiding ---------------------------------------------------------

void CReportGrid::SyncPlaces()
{
    const std::vector<int> display = GetColumnOrderArray();
    const auto shownOnly = [this](const std::vector<int>& order)
    {
        std::vector<int> shown;
        for (int column : order)
            if (IsColumnShown(column))
                shown.push_back(column);
        return shown;
    };
    std::vector<int> sorted = places;
    std::sort(sorted.begin(), sorted.end());
    bool valid = sorted.size() == display.size();
    for (std::size_t i = 0; valid && i < sorted.size(); ++i)
        valid = sorted[i] == static_cast<int>(i);
    // Someone else reordered the shown columns: the places of the hidden
    // ones are unknown from here on.
    if (!valid || shownOnly(places) != shownOnly(display))
        places = display;
}

void CReportGrid::ApplyDisplayOrder(const std::vector<int>& newOrder, int movedColumn)
{
    SyncPlaces();
    // The moved column takes its place right before the shown column that
    // now follows it on screen, or at the end.
    const auto it = std::find(newOrder.begin(), newOrder.end(), movedColumn);
    int follower = -1;
    for (auto next = it == newOrder.end() ? it : it + 1; next != newOrder.end(); ++next)
        if (IsColumnShown(*next))
        {
            follower = *next;
            break;
        }
    std::erase(places, movedColumn);
    const auto at = follower < 0 ? places.end() : std::find(places.begin(), places.end(), follower);
    places.insert(at, movedColumn);
    SetColumnOrderArray(newOrder);
}

bool CReportGrid::SetColumnShown(int column, bool show)
{
    CColumnTrait* trait = ColumnTraitAt(column);
    if (!trait)
        return false;
    if ((!show && trait->alwaysShown) || (show && trait->neverShown))
        return false;
    // Hiding a hidden column again would forget its saved width.
    if (trait->shown == show)
        return false;

    SetRedraw(false);
    const std::vector<int> order = GetColumnOrderArray();
    const int position =
        static_cast<int>(std::find(order.begin(), order.end(), column) - order.begin());
    std::vector<int> newOrder = order;
    newOrder.erase(newOrder.begin() + position);
    int target = 0;
    if (!show)
    {
        SyncPlaces();
        trait->savedPosition = position;
        trait->savedWidth = GetColumnWidth(column);
        SetColumnWidthInternal(column, 0);
        trait->shown = false;
    }
    else
    {
        const int size = static_cast<int>(newOrder.size());
        int hiddenPrefix = 0;
        while (hiddenPrefix < size &&
               !IsColumnShown(newOrder[static_cast<std::size_t>(hiddenPrefix)]))
            ++hiddenPrefix;
        if (trait->savedPosition < 0)
        {
            trait->savedPosition = column;
            target = position;
            while (target < trait->savedPosition && target < size &&
                   !IsColumnShown(newOrder[static_cast<std::size_t>(target)]))
                ++target;
        }
        else
        {
            // Back before the shown column that followed it when it was
            // hidden (or has taken that place since), so that columns come
            // back where they were in whatever order they are shown again.
            SyncPlaces();
            target = size;
            const auto self = std::find(places.begin(), places.end(), column);
            for (auto next = self == places.end() ? self : self + 1; next != places.end(); ++next)
                if (*next != column && IsColumnShown(*next))
                {
                    target = static_cast<int>(std::find(newOrder.begin(), newOrder.end(), *next) -
                                              newOrder.begin());
                    break;
                }
        }
        target = std::clamp(target, hiddenPrefix, size);
        trait->shown = true;
        SetColumnWidthInternal(column, trait->savedWidth);
    }
    newOrder.insert(newOrder.begin() + target, column);
    // The column keeps its place among the others: only the screen changes.
    SetColumnOrderArray(newOrder);
    StoreLayout();
    SetRedraw(true);
    return true;
}

// --- notifications --------------------------------------------------------------

bool CReportGrid::OnHeaderNotify(NMHEADER& header, LRESULT& result)
{
    const int column = header.iItem;
    CColumnTrait* trait = ColumnTraitAt(column);
    switch (header.hdr.code)
    {
    case HDN_BEGINTRACK:
        if (!trait || !trait->shown || !trait->resizable)
        {
            result = 1;
            return true;
        }
        trackingColumn = column;
        return false;
    case HDN_ITEMCHANGING:
        if (!header.pitem || !(header.pitem->mask & HDI_WIDTH) || !trait || internalWidthChange)
            return false;
        if (column == trackingColumn)
        {
            if (trait->minWidth != -1)
                header.pitem->cxy = std::max(header.pitem->cxy, trait->minWidth);
            if (trait->maxWidth != -1)
                header.pitem->cxy = std::min(header.pitem->cxy, trait->maxWidth);
            return false;
        }
        if (!trait->resizable || (!trait->shown && header.pitem->cxy != 0))
        {
            result = 1;
            return true;
        }
        return false;
    case HDN_ITEMCHANGED:
        // A width change by program code is stored at once; a drag at its end.
        if (header.pitem && (header.pitem->mask & HDI_WIDTH) && column != trackingColumn &&
            !internalWidthChange)
            StoreLayout();
        return false;
    case HDN_ENDTRACK:
        trackingColumn = -1;
        StoreLayout();
        return false;
    case HDN_DIVIDERDBLCLICK:
        if (Handle())
            SetFocus(Handle());
        FitColumnWidth(column, false);
        result = 0;
        return true;
    case HDN_ENDDRAG:
    {
        // A dragged column forgets the sort and the focus cell and lands
        // after the hidden columns.
        sortColumn = -1;
        sortAscending = false;
        focusColumn = -1;
        if (!header.pitem || !trait)
            return false;
        std::vector<int> order = GetColumnOrderArray();
        std::erase(order, column);
        int hiddenPrefix = 0;
        while (hiddenPrefix < static_cast<int>(order.size()) &&
               !IsColumnShown(order[static_cast<std::size_t>(hiddenPrefix)]))
            ++hiddenPrefix;
        const int target =
            std::clamp(header.pitem->iOrder, hiddenPrefix, static_cast<int>(order.size()));
        order.insert(order.begin() + target, column);
        ApplyDisplayOrder(order, column);
        Invalidate();
        result = 1; // the order is in place already
        return true;
    }
    default:
        return false;
    }
}

bool CReportGrid::OnNotifyReflect(NMHDR& hdr, LRESULT& result)
{
    switch (hdr.code)
    {
    case NM_CUSTOMDRAW:
    {
        NMLVCUSTOMDRAW& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(hdr);
        result = CDRF_DODEFAULT;
        switch (draw.nmcd.dwDrawStage)
        {
        case CDDS_PREPAINT:
            emptyTextShowing = GetItemCount() == 0;
            result = CDRF_NOTIFYITEMDRAW;
            break;
        case CDDS_ITEMPREPAINT:
            result = CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
            OnCustomDrawRow(draw, result);
            break;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            OnCustomDrawCell(draw, result);
            break;
        case CDDS_ITEMPOSTPAINT:
            OnCustomDrawRow(draw, result);
            break;
        default:
            break;
        }
        return true;
    }
    case LVN_GETDISPINFO:
    {
        NMLVDISPINFO& info = reinterpret_cast<NMLVDISPINFO&>(hdr);
        bool answered = false;
        if (info.item.mask & LVIF_TEXT)
            answered |= OnCellText(info.item.iItem, info.item.iSubItem, info.item.text);
        if (info.item.mask & LVIF_IMAGE)
            answered |= OnCellImage(info.item.iItem, info.item.iSubItem, info.item.iImage);
        result = 0;
        return answered;
    }
    case LVN_GETINFOTIP:
    {
        NMLVGETINFOTIP& tip = reinterpret_cast<NMLVGETINFOTIP&>(hdr);
        std::u16string text;
        if (OnCellTooltip(tip.iItem, tip.iSubItem, text))
        {
            if (text.size() > static_cast<std::size_t>(kTipMaxChars))
                text.resize(static_cast<std::size_t>(kTipMaxChars));
            tip.text = std::move(text);
        }
        result = 0;
        return true;
    }
    case LVN_GETEMPTYMARKUP:
    {
        NMLVEMPTYMARKUP& markup = reinterpret_cast<NMLVEMPTYMARKUP&>(hdr);
        markup.dwFlags = EMF_CENTERED;
        markup.markup = emptyText;
        emptyTextShowing = true;
        result = 1;
        return true;
    }
    default:
        return false;
    }
}

void CReportGrid::OnCustomDrawRow(NMLVCUSTOMDRAW& draw, LRESULT& result)
{
    baseRowTrait->DrawRow(*this, draw, result);
}

void CReportGrid::OnCustomDrawCell(NMLVCUSTOMDRAW& draw, LRESULT& result)
{
    if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
        baseRowTrait->DrawRow(*this, draw, result);
    if (CColumnTrait* trait = CellTraitAt(static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem))
        trait->DrawCell(*this, draw, result);
}

// --- mouse ----------------------------------------------------------------------

void CReportGrid::OnLeftButtonDown(WPARAM keys, POINT point)
{
    LVHITTESTINFO hit{.pt = point};
    if (point.y < HeaderHeight() || SubItemHitTest(hit) < 0)
    {
        DefaultButtonDown(WM_LBUTTONDOWN, keys, point);
        return;
    }
    if (Handle() && GetFocus() != Handle())
        SetFocus(Handle());
    DefaultButtonDown(WM_LBUTTONDOWN, keys, point);
    const int row = hit.iItem;
    focusColumn = hit.iSubItem;
    if (!(GetExtendedStyle() & LVS_EX_FULLROWSELECT) && GetNextItem(-1, LVNI_FOCUSED) != row)
    {
        SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
        if (!(keys & (MK_CONTROL | MK_SHIFT)))
        {
            SetItemState(-1, 0, LVIS_SELECTED);
            SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    RedrawItems(row, row);
}

// --- display callbacks ----------------------------------------------------------

bool CReportGrid::OnCellText(int, int, std::u16string&)
{
    return false;
}

bool CReportGrid::OnCellImage(int, int, int&)
{
    return false;
}

bool CReportGrid::OnCellTooltip(int row, int column, std::u16string& text)
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return false;
    text = GetItemText(row, column);
    return true;
}

bool CReportGrid::OnCellColour(int, int, COLORREF&, COLORREF&)
{
    return false;
}

bool CReportGrid::OnCellFont(int, int, CellFont&)
{
    return false;
}

bool CReportGrid::OnRowColour(int, COLORREF&, COLORREF&)
{
    return false;
}

bool CReportGrid::OnRowFont(int, CellFont&)
{
    return false;
}
