// The report list view: columns (through its header), rows with sub-item
// texts, item state, extended styles, groups, geometry with hit testing, and
// a paint pass that runs the custom-draw stages and hands every painted cell,
// with its final colours, to a PaintTarget. The whole state lives here, so
// the list works without a screen; a backend draws it by running Paint with
// its own target and turns input into the mouse and key messages below,
// given in client coordinates (the header lies over the top of the client
// area).
//
// Notifications go to the parent with WM_NOTIFY. Before that the list offers
// each one to itself (OnNotifyReflect), as a framework's message reflection
// lets a list-control subclass handle its own custom draw; a subclass that
// answers stops the parent from seeing it. (This takes the place of the
// parent-side reflection, Window::OnChildNotify, for list views.)
#pragma once

#include "platform/ui/header_ctrl.h"
#include "platform/ui/notify.h"
#include "platform/ui/window.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

// Marks a cell whose text the owner supplies on request (LVN_GETDISPINFO).
struct TextCallbackMarker
{
};
inline constexpr TextCallbackMarker LPSTR_TEXTCALLBACK{};

// Item rectangle parts.
inline constexpr int LVIR_BOUNDS = 0;
inline constexpr int LVIR_ICON = 1;
inline constexpr int LVIR_LABEL = 2;

// Colours: the list's own start as the system's window colours; selected
// cells take the highlight colours (button face and text while the list
// does not have the focus).
// Width of a text in pixels in a font (nullptr: the list's). A backend with
// real fonts puts its own measure in place.
using TextWidthFunction = std::function<int(std::u16string_view, const CellFont*)>;
void SetTextWidthFunction(TextWidthFunction measure);
int MeasureTextWidth(std::u16string_view text, const CellFont* font = nullptr);

class CListCtrl : public Window
{
public:
    CListCtrl();
    ~CListCtrl() override;

    std::string_view ClassName() const override { return "SysListView32"; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CHeaderCtrl* GetHeaderCtrl() { return &header; }
    const CHeaderCtrl* GetHeaderCtrl() const { return &header; }

    // Extended styles (LVS_EX_*).
    DWORD GetExtendedStyle() const { return extendedStyle; }
    void SetExtendedStyle(DWORD style);
    void ModifyExtendedStyle(DWORD remove, DWORD add);

    COLORREF GetTextColor() const { return textColour; }
    void SetTextColor(COLORREF colour);
    COLORREF GetTextBkColor() const { return textBackColour; }
    void SetTextBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return backColour; }
    void SetBkColor(COLORREF colour);

    // Columns. Cells are addressed by column index; a column's sub-item
    // number (LVCOLUMN::iSubItem) is its data index, kept for the owner.
    int GetColumnCount() const { return header.GetItemCount(); }
    // Virtual, so that a subclass keeps data of its own per column in step.
    virtual int InsertColumn(int index, const LVCOLUMN& column);
    int InsertColumn(int index, std::u16string_view heading, int format = LVCFMT_LEFT,
                     int width = -1, int subItem = -1);
    virtual bool DeleteColumn(int column);
    bool GetColumn(int column, LVCOLUMN& info) const;
    bool SetColumn(int column, const LVCOLUMN& info);
    int GetColumnWidth(int column) const;
    // LVSCW_AUTOSIZE sizes to the cells, LVSCW_AUTOSIZE_USEHEADER to the cells
    // and the heading. The header may refuse (HDN_ITEMCHANGING).
    bool SetColumnWidth(int column, int width);
    std::vector<int> GetColumnOrderArray() const { return header.GetOrderArray(); }
    bool SetColumnOrderArray(std::span<const int> order);

    // Rows.
    int GetItemCount() const { return static_cast<int>(rows.size()); }
    int InsertItem(int index, std::u16string_view text);
    int InsertItem(int index, TextCallbackMarker);
    int InsertItem(const LVITEM& item);
    bool DeleteItem(int row);
    bool DeleteAllItems();
    bool SetItemText(int row, int column, std::u16string_view text);
    bool SetItemText(int row, int column, TextCallbackMarker);
    bool IsItemTextCallback(int row, int column) const;
    // The cell's text; for a callback cell the owner's answer.
    std::u16string GetItemText(int row, int column) const;
    // The stored text without asking the owner (empty for callback cells).
    std::u16string_view StoredItemText(int row, int column) const;
    bool GetItem(LVITEM& item) const;
    bool SetItem(const LVITEM& item);
    int GetItemImage(int row, int column) const;
    LPARAM GetItemData(int row) const;
    bool SetItemData(int row, LPARAM data);

    // Item state (LVIS_SELECTED, LVIS_FOCUSED). Row -1 changes every row.
    // One row at most is focused; with LVS_SINGLESEL one at most selected.
    UINT GetItemState(int row, UINT mask) const;
    bool SetItemState(int row, UINT state, UINT mask);
    int GetNextItem(int start, int flags) const;
    int GetSelectedCount() const;
    int GetSelectionMark() const { return selectionMark; }
    void SetSelectionMark(int row) { selectionMark = row; }

    // Sorts the rows by `compare` (row indexes before the sort; < 0 puts the
    // first before the second). The order of equal rows is kept.
    bool SortItemsEx(const std::function<int(int, int)>& compare);

    // Groups, in display order. Ids are the owner's; a row belongs to one
    // group or none (I_GROUPIDNONE). In group view only rows of a group are
    // shown, under their group's header.
    int InsertGroup(int index, const LVGROUP& group);
    int RemoveGroup(int groupId);
    void RemoveAllGroups();
    int GetGroupCount() const { return static_cast<int>(groups.size()); }
    bool HasGroup(int groupId) const { return FindGroup(groupId) >= 0; }
    bool GetGroupInfo(int groupId, LVGROUP& group) const;
    bool GetGroupInfoByIndex(int index, LVGROUP& group) const;
    int SetGroupInfo(int groupId, const LVGROUP& group);
    UINT GetGroupState(int groupId, UINT mask) const;
    bool SetGroupState(int groupId, UINT mask, UINT state);
    bool EnableGroupView(bool enable);
    bool IsGroupViewEnabled() const { return groupView; }
    int GetItemGroupId(int row) const;
    bool SetItemGroupId(int row, int groupId);
    bool SortGroups(const std::function<int(int, int)>& compareIds);
    bool GetGroupRect(int groupId, RECT& rect) const;

    // Geometry. The header (unless LVS_NOCOLUMNHEADER) takes the top of the
    // client area; rows follow, scrolled by ScrollX/ScrollY pixels.
    int HeaderHeight() const;
    void SetHeaderHeight(int pixels) { header.SetHeight(pixels); }
    int RowHeight() const { return rowHeight; }
    void SetRowHeight(int pixels);
    int GroupHeaderHeight() const { return groupHeaderHeight; }
    void SetGroupHeaderHeight(int pixels);
    int ScrollX() const { return scrollX; }
    int ScrollY() const { return scrollY; }
    // Scrolls by pixels (vertically by whole rows outside group view).
    bool Scroll(int dx, int dy);
    int ContentWidth() const { return header.TotalWidth(); }
    int ContentHeight() const;
    int GetTopIndex() const;
    int GetCountPerPage() const;
    bool EnsureVisible(int row);
    bool GetItemRect(int row, RECT& rect, int part = LVIR_BOUNDS) const;
    bool GetSubItemRect(int row, int column, RECT& rect, int part = LVIR_BOUNDS) const;
    int HitTest(LVHITTESTINFO& info) const;
    int SubItemHitTest(LVHITTESTINFO& info) const;
    int GetStringWidth(std::u16string_view text) const { return MeasureTextWidth(text); }

    // Redraw: while off, changes are kept quiet; switching it on reports one.
    void SetRedraw(bool on);
    bool IsRedrawOn() const { return redraw; }
    void Invalidate() { Changed(); }
    bool RedrawItems(int first, int last);

    // A paint pass over what is visible: header, group headers, rows (or the
    // empty text). PaintRows paints rows [first, last) wherever they lie.
    void Paint(HDC hdc);
    void PaintRows(HDC hdc, int first, int last);

    // The text an empty list shows (LVN_GETEMPTYMARKUP), empty when the
    // owner gives none or the list has rows.
    std::u16string GetEmptyText();
    // The tooltip for the cell at `point` (LVN_GETINFOTIP); empty: none.
    std::u16string GetToolTipText(POINT point);
    int GetToolTipMaxWidth() const { return tipMaxWidth; }
    void SetToolTipMaxWidth(int pixels) { tipMaxWidth = pixels; }

    // Sends a notification filled in by the caller (code and details; the
    // sender fields are set here): first to the list itself, then, unless it
    // answered, to the parent.
    LRESULT NotifyParent(NMHDR& hdr);

    // Called by the header when its items change.
    void OnHeaderChanged();

    // The list has offered its notifications to itself (OnNotifyReflect)
    // before sending them, under any parent and without a detour through
    // it while painting; a parent's reflection finds nothing more to do.
    bool OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) final { return false; }

protected:
    // A notification the list sends, offered to the list before its parent.
    // Return true to answer it here (in `result`) and keep it from the parent.
    virtual bool OnNotifyReflect(NMHDR& hdr, LRESULT& result);

    // The default handling of the input messages, for subclasses that
    // handle a message first and then want the list's own behaviour.
    void DefaultButtonDown(UINT message, WPARAM keys, POINT point);

private:
    struct Cell
    {
        std::u16string text;
        int image = -1;
        bool textCallback = false;
    };
    struct Row
    {
        std::vector<Cell> cells; // by column index; missing cells are empty
        UINT state = 0;
        LPARAM data = 0;
        int groupId = I_GROUPIDNONE;
    };
    struct GroupLayout
    {
        std::vector<int> rowTop;   // content y of each row, -1 when not shown
        std::vector<int> groupTop; // content y of each group's header
        std::vector<int> order;    // shown rows in display order
        int height = 0;
    };

    bool ValidRow(int row) const { return row >= 0 && row < GetItemCount(); }
    bool ValidColumn(int column) const { return column >= 0 && column < GetColumnCount(); }
    Cell& CellAt(int row, int column);
    const Cell* FindCell(int row, int column) const;
    std::u16string_view CellText(int row, int column, const Cell* cell) const;
    int FindGroup(int groupId) const;
    void Changed();
    void LayoutChanged();
    const GroupLayout& Layout() const;
    int BodyTop() const { return HeaderHeight(); }
    int RowTop(int row) const; // client y, or a very negative value when hidden
    void ClampScroll();
    void ChangeState(int row, UINT newState);
    void SelectOnly(int row);
    void FocusRow(int row);
    int AutoSizeWidth(int column, bool useHeader) const;
    void PaintRowList(HDC hdc, std::span<const int> rowList);
    void NotifyClick(UINT code, int row, int column, POINT point, WPARAM keys);
    void OnKeyDown(UINT key);

    CHeaderCtrl header;
    std::vector<int> columnSubItems;
    std::vector<Row> rows;
    struct Group
    {
        LVGROUP info;
    };
    std::vector<Group> groups;
    bool groupView = false;
    mutable GroupLayout layout;
    mutable bool layoutValid = false;

    DWORD extendedStyle = 0;
    COLORREF textColour;
    COLORREF textBackColour;
    COLORREF backColour;
    int rowHeight = 20;
    int groupHeaderHeight = 28;
    int scrollX = 0;
    int scrollY = 0;
    int focusedRow = -1;
    int selectionMark = -1;
    int tipMaxWidth = -1;
    bool redraw = true;
    bool changedWhileOff = false;

    // Reused by display requests, so that painting does not allocate.
    mutable NMLVDISPINFO dispInfo;
    Window* paintParent = nullptr;
};

} // namespace platform
