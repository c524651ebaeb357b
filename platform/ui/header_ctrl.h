// The header of the report list view: one item per column with text,
// alignment, width and a display position. It is a child window of its list
// view and lies over the top of the list's client area, so that its
// coordinates are the list's. It tells its parent about width changes,
// divider drags, item clicks and item drags with HDN_* notifications, and the
// parent may refuse or adjust them, as on screen.
#pragma once

#include "platform/ui/notify.h"
#include "platform/ui/window.h"

#include <span>
#include <vector>

namespace platform
{

class CListCtrl;

class CHeaderCtrl : public Window
{
public:
    std::string_view ClassName() const override { return "SysHeader32"; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int GetItemCount() const { return static_cast<int>(items.size()); }

    // Inserts an item at `index` (clamped to the end); its display position
    // is HDI_ORDER's when given, else `index`. Returns the index.
    int InsertItem(int index, const HDITEM& item);
    bool DeleteItem(int index);
    bool GetItem(int index, HDITEM& item) const;
    // A width change is announced with HDN_ITEMCHANGING, which the parent may
    // refuse (TRUE) or adjust (pitem->cxy), and HDN_ITEMCHANGED afterwards.
    bool SetItem(int index, const HDITEM& item);

    // Display order: order[position] = item index.
    const std::vector<int>& GetOrderArray() const { return order; }
    bool SetOrderArray(std::span<const int> newOrder);
    int OrderToIndex(int position) const;
    int IndexToOrder(int index) const;

    // Direct reads for painters and the list view.
    const std::u16string& ItemText(int index) const { return items[Checked(index)].text; }
    int ItemFormat(int index) const { return items[Checked(index)].fmt; }
    int ItemWidth(int index) const { return items[Checked(index)].width; }

    // Rectangle of an item in the header's (= the list's) coordinates, after
    // the horizontal scroll.
    bool GetItemRect(int index, RECT& rect) const;
    int HitTest(HDHITTESTINFO& info) const;

    int Height() const { return height; }
    void SetHeight(int pixels);
    // The list's horizontal scroll in pixels.
    int ScrollOffset() const { return scrollOffset; }
    void SetScrollOffset(int pixels);
    // Sum of all widths.
    int TotalWidth() const;

    // The item whose divider is being dragged, or -1; an item being dragged
    // to a new position, or -1.
    int TrackingItem() const { return trackItem; }
    int DraggingItem() const { return dragging ? pressItem : -1; }

private:
    friend class CListCtrl;
    struct Item
    {
        std::u16string text;
        int fmt = HDF_LEFT;
        int width = 0;
        LPARAM lParam = 0;
    };

    std::size_t Checked(int index) const { return static_cast<std::size_t>(index); }
    bool Valid(int index) const { return index >= 0 && index < GetItemCount(); }
    LRESULT Notify(UINT code, int index, HDITEM* item);
    void Changed();
    bool ChangeWidth(int index, int width);
    int DropPosition(int x) const;

    void OnButtonDown(POINT point, bool doubleClick);
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);

    std::vector<Item> items;
    std::vector<int> order;
    int height = 24;
    int scrollOffset = 0;
    CListCtrl* owner = nullptr;

    int trackItem = -1;
    int trackStartX = 0;
    int trackStartWidth = 0;
    int pressItem = -1;
    int pressX = 0;
    bool dragging = false;
};

} // namespace platform
