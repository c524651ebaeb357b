#include "platform/ui/list_view.h"

#include "platform/ui/gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace platform;

namespace
{

// A parent window whose notification handler a test sets.
class ParentWindow : public Window
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            NMHDR& hdr = NotifyRecord<NMHDR>(lParam);
            codes.push_back(hdr.code);
            if (onNotify)
                return onNotify(hdr);
            return 0;
        }
        return Window::WindowProc(message, wParam, lParam);
    }
    std::function<LRESULT(NMHDR&)> onNotify;
    std::vector<UINT> codes;
};

struct Painted
{
    std::u16string text;
    COLORREF text_colour;
    COLORREF back_colour;
    RECT rect;
    bool highlighted;
};

// Records every painted cell by (row, column).
class RecordingTarget : public PaintTarget
{
public:
    void Cell(const PaintedCell& cell) override
    {
        order.emplace_back(cell.row, cell.subItem);
        cells[{cell.row, cell.subItem}] = Painted{std::u16string(cell.text), cell.textColour,
                                                  cell.backColour, cell.rect, cell.highlighted};
    }
    void FocusRect(const RECT& rect) override { focusRects.push_back(rect); }
    void EmptyText(std::u16string_view text, const RECT&) override { empty = std::u16string(text); }
    const Painted& At(int row, int column) const { return cells.at({row, column}); }

    std::map<std::pair<int, int>, Painted> cells;
    std::vector<std::pair<int, int>> order;
    std::vector<RECT> focusRects;
    std::u16string empty;
};

LPARAM Point(int x, int y)
{
    return MakePointParam(x, y);
}

class ListViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.Create(CreateParams{.rect = RECT{0, 0, 400, 300}});
        list.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                 .rect = RECT{0, 0, 300, 24 + 5 * 20},
                                 .parent = parent.Handle(),
                                 .id = 1000});
        // Columns A (50), B (60), C (70) with sub-item numbers 0, 1, 2.
        list.InsertColumn(0, u"A", LVCFMT_LEFT, 50);
        list.InsertColumn(1, u"B", LVCFMT_RIGHT, 60);
        list.InsertColumn(2, u"C", LVCFMT_LEFT, 70);
    }
    void AddRows(int count)
    {
        for (int row = 0; row < count; ++row)
        {
            const std::u16string n = std::u16string(1, static_cast<char16_t>(u'0' + row % 10));
            list.InsertItem(row, u"a" + n);
            list.SetItemText(row, 1, u"b" + n);
            list.SetItemText(row, 2, u"c" + n);
        }
    }
    int Hit(int x, int y, int* column = nullptr)
    {
        LVHITTESTINFO info{.pt = POINT{x, y}};
        const int row = list.SubItemHitTest(info);
        if (column)
            *column = info.iSubItem;
        return row;
    }

    ParentWindow parent;
    CListCtrl list;
};

TEST_F(ListViewTest, ColumnsKeepCellsAndOrderInStep)
{
    AddRows(2);
    list.InsertColumn(1, u"X", LVCFMT_LEFT, 10);
    EXPECT_EQ(list.GetColumnCount(), 4);
    EXPECT_EQ(list.GetItemText(0, 1), u"");
    EXPECT_EQ(list.GetItemText(0, 2), u"b0");
    EXPECT_EQ(list.GetColumnOrderArray(), (std::vector<int>{0, 1, 2, 3}));

    const std::vector<int> order{3, 0, 2, 1};
    ASSERT_TRUE(list.SetColumnOrderArray(order));
    list.DeleteColumn(1);
    EXPECT_EQ(list.GetColumnOrderArray(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(list.GetItemText(1, 1), u"b1");

    // An order that is not a permutation is refused.
    const std::vector<int> bad{0, 0, 1};
    EXPECT_FALSE(list.SetColumnOrderArray(bad));
    EXPECT_EQ(list.GetColumnOrderArray(), (std::vector<int>{2, 0, 1}));
}

TEST_F(ListViewTest, HitTestFollowsDisplayOrderAndScroll)
{
    AddRows(10);
    int column = -1;
    EXPECT_EQ(Hit(10, 24 + 5, &column), 0);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(Hit(55, 24 + 45, &column), 2);
    EXPECT_EQ(column, 1);

    // Display order C, A, B: x 0-69 is C, 70-119 A, 120-179 B.
    const std::vector<int> order{2, 0, 1};
    list.SetColumnOrderArray(order);
    EXPECT_EQ(Hit(10, 30, &column), 0);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(Hit(119, 30, &column), 0);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(Hit(120, 30, &column), 0);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(Hit(180, 30), -1);

    // Make the content wider than the client area, then scroll right by 40
    // and down by two rows.
    list.SetColumnWidth(1, 300);
    list.Scroll(40, 40);
    EXPECT_EQ(list.ScrollX(), 40);
    EXPECT_EQ(list.GetTopIndex(), 2);
    EXPECT_EQ(Hit(10, 30, &column), 2);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(Hit(30, 30, &column), 2);
    EXPECT_EQ(column, 0);
    RECT rect;
    ASSERT_TRUE(list.GetSubItemRect(2, 0, rect));
    EXPECT_EQ(rect, (RECT{30, 24, 80, 44}));
    // The header follows the horizontal scroll.
    HDHITTESTINFO headerHit{.pt = POINT{40, 5}};
    EXPECT_EQ(list.GetHeaderCtrl()->HitTest(headerHit), 0);

    // The scroll stops at the end of the content.
    list.Scroll(10000, 10000);
    EXPECT_EQ(list.ScrollX(), 70 + 50 + 300 - 300);
    EXPECT_EQ(list.GetTopIndex(), 5);
    // Above the rows is the header, not a row.
    EXPECT_EQ(Hit(10, 10), -1);
}

TEST_F(ListViewTest, DividerDragIsAnnouncedAndCanBeRefusedOrClamped)
{
    int refused = -1;
    parent.onNotify = [&](NMHDR& hdr) -> LRESULT
    {
        if (hdr.code == HDN_BEGINTRACK)
            return NotifyRecord<NMHEADER>(reinterpret_cast<LPARAM>(&hdr)).iItem == refused;
        if (hdr.code == HDN_ITEMCHANGING)
        {
            NMHEADER& change = NotifyRecord<NMHEADER>(reinterpret_cast<LPARAM>(&hdr));
            change.pitem->cxy = std::min(change.pitem->cxy, 100);
        }
        return 0;
    };
    // Drag the divider between A and B (x = 50) to x = 80, then past 100.
    list.WindowProc(WM_LBUTTONDOWN, 0, Point(50, 10));
    list.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, Point(80, 10));
    EXPECT_EQ(list.GetColumnWidth(0), 80);
    list.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, Point(170, 10));
    list.WindowProc(WM_LBUTTONUP, 0, Point(170, 10));
    EXPECT_EQ(list.GetColumnWidth(0), 100);
    EXPECT_NE(std::find(parent.codes.begin(), parent.codes.end(), HDN_ENDTRACK),
              parent.codes.end());

    // A refused drag changes nothing.
    refused = 1;
    list.WindowProc(WM_LBUTTONDOWN, 0, Point(160, 10));
    list.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, Point(190, 10));
    list.WindowProc(WM_LBUTTONUP, 0, Point(190, 10));
    EXPECT_EQ(list.GetColumnWidth(1), 60);
}

TEST_F(ListViewTest, HeaderItemDragMovesTheColumn)
{
    list.SetExtendedStyle(LVS_EX_HEADERDRAGDROP);
    // Drag A from x = 20 onto C (x = 150).
    list.WindowProc(WM_LBUTTONDOWN, 0, Point(20, 10));
    list.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, Point(150, 10));
    list.WindowProc(WM_LBUTTONUP, 0, Point(150, 10));
    EXPECT_EQ(list.GetColumnOrderArray(), (std::vector<int>{1, 2, 0}));

    // A click without moving is a column click.
    parent.codes.clear();
    list.WindowProc(WM_LBUTTONDOWN, 0, Point(20, 10));
    list.WindowProc(WM_LBUTTONUP, 0, Point(20, 10));
    EXPECT_EQ(parent.codes, (std::vector<UINT>{LVN_COLUMNCLICK}));
}

TEST_F(ListViewTest, ClicksSelectAndFocusRows)
{
    AddRows(4);
    list.WindowProc(WM_LBUTTONDOWN, 0, Point(10, 24 + 25));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 1);
    EXPECT_EQ(list.GetSelectedCount(), 1);
    EXPECT_EQ(GetFocus(), list.Handle());

    list.WindowProc(WM_LBUTTONDOWN, MK_CONTROL, Point(10, 24 + 65));
    EXPECT_EQ(list.GetSelectedCount(), 2);
    list.WindowProc(WM_LBUTTONDOWN, MK_SHIFT, Point(10, 24 + 5));
    EXPECT_EQ(list.GetSelectedCount(), 4);

    // Single selection keeps one.
    list.ModifyStyle(0, LVS_SINGLESEL);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 1);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);

    // A click below the rows clears the selection.
    list.WindowProc(WM_LBUTTONDOWN, 0, Point(10, 24 + 99));
    EXPECT_EQ(list.GetSelectedCount(), 0);

    // Deleting rows keeps the focus on its row.
    list.SetItemState(3, LVIS_FOCUSED, LVIS_FOCUSED);
    list.DeleteItem(0);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
}

TEST_F(ListViewTest, CustomDrawStagesReachTheParentAndColoursCarryOver)
{
    AddRows(2);
    std::vector<DWORD> stages;
    parent.onNotify = [&](NMHDR& hdr) -> LRESULT
    {
        if (hdr.code != NM_CUSTOMDRAW)
            return 0;
        NMLVCUSTOMDRAW& draw = NotifyRecord<NMLVCUSTOMDRAW>(reinterpret_cast<LPARAM>(&hdr));
        stages.push_back(draw.nmcd.dwDrawStage);
        switch (draw.nmcd.dwDrawStage)
        {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            // Row 0, column B turns red; nobody resets it for column C.
            if (draw.nmcd.dwItemSpec == 0 && draw.iSubItem == 1)
                draw.clrTextBk = RGB(255, 0, 0);
            return draw.iSubItem == 2 ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
        }
    };
    RecordingTarget target;
    list.Paint(&target);
    const std::vector<DWORD> row{
        CDDS_ITEMPREPAINT,
        CDDS_ITEMPREPAINT | CDDS_SUBITEM,
        CDDS_ITEMPREPAINT | CDDS_SUBITEM,
        CDDS_ITEMPREPAINT | CDDS_SUBITEM,
        CDDS_ITEMPOSTPAINT | CDDS_SUBITEM,
        CDDS_ITEMPOSTPAINT,
    };
    std::vector<DWORD> expected{CDDS_PREPAINT};
    expected.insert(expected.end(), row.begin(), row.end());
    expected.insert(expected.end(), row.begin(), row.end());
    EXPECT_EQ(stages, expected);

    EXPECT_EQ(target.At(0, 0).back_colour, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(target.At(0, 1).back_colour, RGB(255, 0, 0));
    EXPECT_EQ(target.At(0, 2).back_colour, RGB(255, 0, 0));
    EXPECT_EQ(target.At(1, 0).back_colour, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(target.At(1, 1).text, u"b1");
    EXPECT_EQ(target.At(1, 1).rect, (RECT{50, 44, 110, 64}));
}

TEST_F(ListViewTest, SelectionHighlightDependsOnFullRowSelectAndFocus)
{
    AddRows(2);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    RecordingTarget unfocused;
    list.Paint(&unfocused);
    EXPECT_FALSE(unfocused.At(1, 0).highlighted);

    SetFocus(list.Handle());
    RecordingTarget labelOnly;
    list.Paint(&labelOnly);
    EXPECT_TRUE(labelOnly.At(1, 0).highlighted);
    EXPECT_FALSE(labelOnly.At(1, 1).highlighted);
    EXPECT_EQ(labelOnly.At(1, 0).back_colour, GetSysColor(COLOR_HIGHLIGHT));

    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    RecordingTarget fullRow;
    list.Paint(&fullRow);
    EXPECT_TRUE(fullRow.At(1, 2).highlighted);
    EXPECT_FALSE(fullRow.At(0, 2).highlighted);
    SetFocus(HWND{});
}

TEST_F(ListViewTest, CallbackTextsEmptyTextAndTooltipsComeFromTheOwner)
{
    list.InsertItem(0, LPSTR_TEXTCALLBACK);
    list.SetItemText(0, 2, LPSTR_TEXTCALLBACK);
    parent.onNotify = [&](NMHDR& hdr) -> LRESULT
    {
        if (hdr.code == LVN_GETDISPINFO)
        {
            NMLVDISPINFO& info = NotifyRecord<NMLVDISPINFO>(reinterpret_cast<LPARAM>(&hdr));
            info.item.text =
                u"cb" + std::u16string(1, static_cast<char16_t>(u'0' + info.item.iSubItem));
        }
        if (hdr.code == LVN_GETINFOTIP)
        {
            NMLVGETINFOTIP& tip = NotifyRecord<NMLVGETINFOTIP>(reinterpret_cast<LPARAM>(&hdr));
            tip.text = u"tip " + std::u16string(1, static_cast<char16_t>(u'0' + tip.iSubItem));
        }
        if (hdr.code == LVN_GETEMPTYMARKUP)
        {
            NotifyRecord<NMLVEMPTYMARKUP>(reinterpret_cast<LPARAM>(&hdr)).markup = u"Nothing";
            return 1;
        }
        return 0;
    };
    EXPECT_TRUE(list.IsItemTextCallback(0, 0));
    EXPECT_EQ(list.GetItemText(0, 0), u"cb0");
    EXPECT_EQ(list.GetItemText(0, 2), u"cb2");
    EXPECT_EQ(list.GetItemText(0, 1), u"");
    RecordingTarget target;
    list.Paint(&target);
    EXPECT_EQ(target.At(0, 2).text, u"cb2");
    EXPECT_EQ(list.GetToolTipText(POINT{120, 30}), u"tip 2");
    EXPECT_EQ(list.GetToolTipText(POINT{120, 90}), u"");

    EXPECT_EQ(list.GetEmptyText(), u"");
    list.DeleteAllItems();
    RecordingTarget empty;
    list.Paint(&empty);
    EXPECT_EQ(empty.empty, u"Nothing");
    EXPECT_TRUE(empty.cells.empty());
}

TEST_F(ListViewTest, GroupViewShowsRowsUnderTheirGroupHeaders)
{
    AddRows(4);
    list.InsertGroup(-1,
                     LVGROUP{.mask = LVGF_GROUPID | LVGF_HEADER, .header = u"G1", .iGroupId = 1});
    list.InsertGroup(-1,
                     LVGROUP{.mask = LVGF_GROUPID | LVGF_HEADER, .header = u"G2", .iGroupId = 2});
    EXPECT_EQ(list.InsertGroup(-1, LVGROUP{.mask = LVGF_GROUPID, .iGroupId = 2}), -1);
    list.SetItemGroupId(0, 2);
    list.SetItemGroupId(1, 1);
    list.SetItemGroupId(2, 2);
    list.SetItemGroupId(3, 1);
    list.EnableGroupView(true);
    list.MoveWindow(RECT{0, 0, 300, 300});
    // Layout: G1 header (28), rows 1, 3 (20 each), G2 header, rows 0, 2.
    LVHITTESTINFO info{.pt = POINT{10, 24 + 5}};
    list.SubItemHitTest(info);
    EXPECT_EQ(info.flags, LVHT_EX_GROUP_HEADER);
    EXPECT_EQ(info.iGroup, 1);
    EXPECT_EQ(Hit(10, 24 + 28 + 25), 3);
    EXPECT_EQ(Hit(10, 24 + 28 + 40 + 28 + 5), 0);

    list.SetGroupState(1, LVGS_COLLAPSED, LVGS_COLLAPSED);
    EXPECT_EQ(Hit(10, 24 + 28 + 28 + 5), 0);
    RecordingTarget target;
    list.Paint(&target);
    EXPECT_EQ(target.cells.count({1, 0}), 0u);
    EXPECT_EQ(target.cells.count({2, 0}), 1u);

    list.RemoveGroup(2);
    EXPECT_EQ(list.GetItemGroupId(0), I_GROUPIDNONE);
}

TEST_F(ListViewTest, AutoSizeMeasuresTheCells)
{
    AddRows(2);
    list.SetItemText(1, 2, u"a much longer text");
    ASSERT_TRUE(list.SetColumnWidth(2, LVSCW_AUTOSIZE));
    EXPECT_EQ(list.GetColumnWidth(2), MeasureTextWidth(u"a much longer text") + 12);
}

} // namespace
