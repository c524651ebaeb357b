#include "platform/ui/header_ctrl.h"

#include "platform/ui/list_view.h"
#include "platform/ui/message_queue.h"

#include <algorithm>
#include <cstdlib>

namespace platform
{

namespace
{
// How close to a divider a point must be to grab it, and how far the mouse
// must move before a pressed item starts to be dragged.
constexpr int kDividerZone = 4;
constexpr int kDragThreshold = 5;
} // namespace

LRESULT CHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
        OnButtonDown(PointFromLParam(lParam), false);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnButtonDown(PointFromLParam(lParam), true);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(PointFromLParam(lParam));
        return 0;
    default:
        return Window::WindowProc(message, wParam, lParam);
    }
}

int CHeaderCtrl::InsertItem(int index, const HDITEM& item)
{
    index = std::clamp(index, 0, GetItemCount());
    Item stored;
    if (item.mask & HDI_TEXT)
        stored.text = item.text;
    if (item.mask & HDI_FORMAT)
        stored.fmt = item.fmt;
    if (item.mask & HDI_WIDTH)
        stored.width = std::max(0, item.cxy);
    if (item.mask & HDI_LPARAM)
        stored.lParam = item.lParam;
    items.insert(items.begin() + index, std::move(stored));
    for (int& column : order)
        if (column >= index)
            ++column;
    int position = (item.mask & HDI_ORDER) ? item.iOrder : index;
    position = std::clamp(position, 0, static_cast<int>(order.size()));
    order.insert(order.begin() + position, index);
    Changed();
    return index;
}

bool CHeaderCtrl::DeleteItem(int index)
{
    if (!Valid(index))
        return false;
    items.erase(items.begin() + index);
    std::erase(order, index);
    for (int& column : order)
        if (column > index)
            --column;
    if (trackItem == index)
        trackItem = -1;
    if (pressItem == index)
    {
        pressItem = -1;
        dragging = false;
    }
    Changed();
    return true;
}

bool CHeaderCtrl::GetItem(int index, HDITEM& item) const
{
    if (!Valid(index))
        return false;
    const Item& stored = items[Checked(index)];
    if (item.mask & HDI_TEXT)
        item.text = stored.text;
    if (item.mask & HDI_FORMAT)
        item.fmt = stored.fmt;
    if (item.mask & HDI_WIDTH)
        item.cxy = stored.width;
    if (item.mask & HDI_LPARAM)
        item.lParam = stored.lParam;
    if (item.mask & HDI_ORDER)
        item.iOrder = IndexToOrder(index);
    return true;
}

bool CHeaderCtrl::SetItem(int index, const HDITEM& item)
{
    if (!Valid(index))
        return false;
    Item& stored = items[Checked(index)];
    bool changed = false;
    if ((item.mask & HDI_TEXT) && stored.text != item.text)
    {
        stored.text = item.text;
        changed = true;
    }
    if ((item.mask & HDI_FORMAT) && stored.fmt != item.fmt)
    {
        stored.fmt = item.fmt;
        changed = true;
    }
    if (item.mask & HDI_LPARAM)
        stored.lParam = item.lParam;
    if (changed)
        Changed();
    if (item.mask & HDI_WIDTH)
        if (!ChangeWidth(index, item.cxy))
            return false;
    if ((item.mask & HDI_ORDER) && IndexToOrder(index) != item.iOrder)
    {
        std::vector<int> newOrder = order;
        std::erase(newOrder, index);
        const int position = std::clamp(item.iOrder, 0, static_cast<int>(newOrder.size()));
        newOrder.insert(newOrder.begin() + position, index);
        SetOrderArray(newOrder);
    }
    return true;
}

// Announces the change, lets the parent refuse or adjust it, applies it.
bool CHeaderCtrl::ChangeWidth(int index, int width)
{
    HDITEM change{.mask = HDI_WIDTH, .cxy = std::max(0, width)};
    if (Notify(HDN_ITEMCHANGING, index, &change) != 0)
        return false;
    if (!Valid(index))
        return false;
    Item& stored = items[Checked(index)];
    const int newWidth = std::max(0, change.cxy);
    if (stored.width == newWidth)
        return true;
    stored.width = newWidth;
    Changed();
    HDITEM changed{.mask = HDI_WIDTH, .cxy = newWidth};
    Notify(HDN_ITEMCHANGED, index, &changed);
    return true;
}

bool CHeaderCtrl::SetOrderArray(std::span<const int> newOrder)
{
    if (newOrder.size() != items.size())
        return false;
    std::vector<bool> seen(items.size(), false);
    for (int column : newOrder)
    {
        if (!Valid(column) || seen[Checked(column)])
            return false;
        seen[Checked(column)] = true;
    }
    if (std::equal(order.begin(), order.end(), newOrder.begin(), newOrder.end()))
        return true;
    order.assign(newOrder.begin(), newOrder.end());
    Changed();
    return true;
}

int CHeaderCtrl::OrderToIndex(int position) const
{
    return position >= 0 && position < static_cast<int>(order.size())
               ? order[static_cast<std::size_t>(position)]
               : -1;
}

int CHeaderCtrl::IndexToOrder(int index) const
{
    const auto it = std::find(order.begin(), order.end(), index);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

bool CHeaderCtrl::GetItemRect(int index, RECT& rect) const
{
    if (!Valid(index))
        return false;
    int x = -scrollOffset;
    for (int column : order)
    {
        const int width = items[Checked(column)].width;
        if (column == index)
        {
            rect = RECT{x, 0, x + width, height};
            return true;
        }
        x += width;
    }
    return false;
}

int CHeaderCtrl::TotalWidth() const
{
    int total = 0;
    for (const Item& item : items)
        total += item.width;
    return total;
}

int CHeaderCtrl::HitTest(HDHITTESTINFO& info) const
{
    info.flags = 0;
    info.iItem = -1;
    const POINT p = info.pt;
    if (p.y < 0 || p.y >= height)
    {
        info.flags = HHT_NOWHERE;
        return -1;
    }
    // A divider first: the closest right edge within reach. Hidden (zero
    // width) items share their edge with a neighbour; the widest one wins.
    int best = -1;
    int bestDistance = kDividerZone;
    int x = -scrollOffset;
    for (int column : order)
    {
        const int width = items[Checked(column)].width;
        x += width;
        const int distance = std::abs(p.x - x);
        if (distance > bestDistance)
            continue;
        if (best < 0 || distance < bestDistance || width > 0 || items[Checked(best)].width == 0)
        {
            best = column;
            bestDistance = distance;
        }
    }
    if (best >= 0 && bestDistance < kDividerZone)
    {
        info.flags = HHT_ONDIVIDER;
        info.iItem = best;
        return best;
    }
    x = -scrollOffset;
    for (int column : order)
    {
        const int width = items[Checked(column)].width;
        if (p.x >= x && p.x < x + width)
        {
            info.flags = HHT_ONHEADER;
            info.iItem = column;
            return column;
        }
        x += width;
    }
    info.flags = p.x < -scrollOffset ? HHT_TOLEFT : HHT_NOWHERE;
    return -1;
}

void CHeaderCtrl::SetHeight(int pixels)
{
    if (pixels == height)
        return;
    height = std::max(0, pixels);
    Changed();
}

void CHeaderCtrl::SetScrollOffset(int pixels)
{
    if (pixels == scrollOffset)
        return;
    scrollOffset = pixels;
    Changed();
}

LRESULT CHeaderCtrl::Notify(UINT code, int index, HDITEM* item)
{
    NMHEADER header{.hdr = {Handle(), static_cast<UINT_PTR>(GetDlgCtrlID()), code},
                    .iItem = index,
                    .pitem = item};
    if (!Handle())
        return 0;
    return SendMessage(GetParent(), WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()),
                       NotifyParam(header));
}

void CHeaderCtrl::Changed()
{
    NotifyChanged(WindowChange::Content);
    if (owner)
        owner->OnHeaderChanged();
}

// The display position an item dropped at `x` takes.
int CHeaderCtrl::DropPosition(int x) const
{
    int left = -scrollOffset;
    int position = 0;
    for (int column : order)
    {
        const int width = items[Checked(column)].width;
        if (width > 0 && x < left + width)
            return position;
        left += width;
        ++position;
    }
    return static_cast<int>(order.size()) - 1;
}

void CHeaderCtrl::OnButtonDown(POINT point, bool doubleClick)
{
    HDHITTESTINFO hit{.pt = point};
    const int index = HitTest(hit);
    if (index < 0)
        return;
    if (hit.flags & HHT_ONDIVIDER)
    {
        if (doubleClick)
        {
            Notify(HDN_DIVIDERDBLCLICK, index, nullptr);
            return;
        }
        HDITEM item{.mask = HDI_WIDTH, .cxy = items[Checked(index)].width};
        if (Notify(HDN_BEGINTRACK, index, &item) != 0)
            return;
        trackItem = index;
        trackStartX = point.x;
        trackStartWidth = items[Checked(index)].width;
        return;
    }
    if (doubleClick)
    {
        Notify(HDN_ITEMDBLCLICK, index, nullptr);
        return;
    }
    pressItem = index;
    pressX = point.x;
    dragging = false;
}

void CHeaderCtrl::OnMouseMove(POINT point)
{
    if (trackItem >= 0)
    {
        ChangeWidth(trackItem, trackStartWidth + point.x - trackStartX);
        return;
    }
    if (pressItem >= 0 && !dragging && (GetStyle() & HDS_DRAGDROP) &&
        std::abs(point.x - pressX) >= kDragThreshold)
    {
        HDITEM item{.mask = HDI_ORDER, .iOrder = IndexToOrder(pressItem)};
        if (Notify(HDN_BEGINDRAG, pressItem, &item) != 0)
            pressItem = -1;
        else
            dragging = true;
    }
}

void CHeaderCtrl::OnButtonUp(POINT point)
{
    if (trackItem >= 0)
    {
        const int index = trackItem;
        trackItem = -1;
        HDITEM item{.mask = HDI_WIDTH, .cxy = items[Checked(index)].width};
        Notify(HDN_ENDTRACK, index, &item);
        return;
    }
    const int index = pressItem;
    pressItem = -1;
    if (index < 0)
        return;
    if (dragging)
    {
        dragging = false;
        HDITEM item{.mask = HDI_ORDER, .iOrder = DropPosition(point.x)};
        if (Notify(HDN_ENDDRAG, index, &item) == 0 && Valid(index))
            SetItem(index, HDITEM{.mask = HDI_ORDER, .iOrder = item.iOrder});
        return;
    }
    HDHITTESTINFO hit{.pt = point};
    if (HitTest(hit) == index && (GetStyle() & HDS_BUTTONS))
        Notify(HDN_ITEMCLICK, index, nullptr);
}

} // namespace platform
