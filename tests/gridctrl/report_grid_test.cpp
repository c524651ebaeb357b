#include "grid_fixture.h"
#include "platform/ui/gdi.h"

#include <string>
#include <vector>

using namespace grid_testing;

namespace
{

using Layout = std::vector<std::pair<int, int>>;
const Layout kInitial{{1, 60}, {2, 70}, {3, 80}, {4, 90}};

LPARAM At(int x, int y)
{
    return MakePointParam(x, y);
}

TEST_F(GridTest, HiddenFirstColumnIsNeverShown)
{
    EXPECT_EQ(grid.GetColumnCount(), 5);
    EXPECT_EQ(grid.ColumnTraitCount(), 5);
    EXPECT_FALSE(grid.IsColumnShown(0));
    EXPECT_TRUE(grid.IsColumnNeverShown(0));
    EXPECT_EQ(grid.GetColumnWidth(0), 0);
    EXPECT_FALSE(grid.SetColumnShown(0, true));
    EXPECT_FALSE(grid.IsColumnShown(0));
    EXPECT_EQ(grid.FirstShownColumn(), 1);
    EXPECT_EQ(Shown(), kInitial);
    // Every data index equals its column position.
    for (int column = 0; column < 5; ++column)
    {
        LVCOLUMN info{.mask = LVCF_SUBITEM};
        grid.GetColumn(column, info);
        EXPECT_EQ(info.iSubItem, column);
    }
}

TEST_F(GridTest, AddColumnClampsThePositionAndHidesNeverShownTraits)
{
    EXPECT_EQ(grid.AddColumn(99, u"E", 1, 40, 5), 5);
    auto hidden = std::make_unique<CColumnTraitText>();
    hidden->neverShown = true;
    EXPECT_EQ(grid.AddColumn(6, u"F", 0, 40, 6, std::move(hidden)), 6);
    EXPECT_EQ(grid.ColumnTraitCount(), grid.GetColumnCount());
    EXPECT_FALSE(grid.IsColumnShown(6));
    EXPECT_EQ(grid.GetColumnWidth(6), 0);
    LVCOLUMN info{.mask = LVCF_FMT};
    grid.GetColumn(5, info);
    EXPECT_EQ(info.fmt, LVCFMT_RIGHT);
    EXPECT_NE(dynamic_cast<CColumnTraitText*>(grid.ColumnTraitAt(5)), nullptr);
}

TEST_F(GridTest, TraitsStayInStepWithDirectColumnChanges)
{
    grid.InsertColumn(2, u"X", LVCFMT_LEFT, 30);
    EXPECT_EQ(grid.ColumnTraitCount(), 6);
    EXPECT_NE(dynamic_cast<CColumnTraitText*>(grid.ColumnTraitAt(2)), nullptr);
    grid.ColumnTraitAt(3)->alwaysShown = true; // column B moved to 3
    grid.DeleteColumn(2);
    EXPECT_EQ(grid.ColumnTraitCount(), 5);
    EXPECT_TRUE(grid.ColumnTraitAt(2)->alwaysShown);
}

TEST_F(GridTest, HidingMovesTheColumnLeftWithWidthZero)
{
    grid.SetColumnWidth(3, 111);
    ASSERT_TRUE(grid.SetColumnShown(3, false));
    EXPECT_EQ(grid.GetColumnOrderArray(), (std::vector<int>{3, 0, 1, 2, 4}));
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    EXPECT_EQ(grid.ColumnTraitAt(3)->savedWidth, 111);
    EXPECT_EQ(grid.ColumnTraitAt(3)->savedPosition, 3);
    // Hiding it again changes nothing, its saved width included.
    EXPECT_FALSE(grid.SetColumnShown(3, false));
    EXPECT_EQ(grid.ColumnTraitAt(3)->savedWidth, 111);
    ASSERT_TRUE(grid.SetColumnShown(3, true));
    EXPECT_EQ(Shown(), (Layout{{1, 60}, {2, 70}, {3, 111}, {4, 90}}));
}

// Hide and show columns in many orders: every column comes back to its
// place and width.
TEST_F(GridTest, ShownColumnsComeBackToTheirPlaceAndWidth)
{
    struct Step
    {
        int column;
        bool show;
    };
    const std::vector<std::vector<Step>> cases{
        {{3, false}, {3, true}},                        // last but one
        {{4, false}, {4, true}},                        // last
        {{1, false}, {1, true}},                        // first
        {{2, false}, {3, false}, {3, true}, {2, true}}, // undone in reverse
        {{2, false}, {3, false}, {2, true}, {3, true}}, // undone in order
        {{3, false}, {1, false}, {3, true}, {1, true}}, // apart, in order
        {{1, false}, {3, false}, {1, true}, {3, true}}, // apart, in order
        {{4, false}, {1, false}, {2, false}, {1, true}, {4, true}, {2, true}},
        {{1, false},
         {2, false},
         {3, false},
         {4, false},
         {2, true},
         {4, true},
         {1, true},
         {3, true}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
    {
        TestGrid fresh;
        CreateGrid(fresh);
        for (const Step& step : cases[i])
            ASSERT_TRUE(fresh.SetColumnShown(step.column, step.show)) << "case " << i;
        Layout shown;
        for (int column : fresh.GetColumnOrderArray())
            if (fresh.IsColumnShown(column))
                shown.emplace_back(column, fresh.GetColumnWidth(column));
        EXPECT_EQ(shown, kInitial) << "case " << i;
        // Hidden columns stay at the left: column 0 is first.
        EXPECT_EQ(fresh.GetColumnOrderArray().front(), 0) << "case " << i;
    }
}

TEST_F(GridTest, ShowingANeverHiddenColumnSkipsTheHiddenOnes)
{
    // A column hidden by a restored layout has no saved place: it moves
    // right past the hidden columns towards its own index.
    grid.ColumnTraitAt(2)->shown = false;
    grid.SetColumnWidth(2, 0);
    const std::vector<int> order{2, 0, 1, 3, 4};
    grid.SetColumnOrderArray(order);
    grid.ColumnTraitAt(2)->savedWidth = 70;
    ASSERT_TRUE(grid.SetColumnShown(2, true));
    EXPECT_EQ(grid.GetColumnOrderArray(), (std::vector<int>{0, 2, 1, 3, 4}));
}

TEST_F(GridTest, AlwaysAndNeverShownColumnsIgnoreTheirOpposite)
{
    grid.ColumnTraitAt(1)->alwaysShown = true;
    EXPECT_FALSE(grid.SetColumnShown(1, false));
    EXPECT_TRUE(grid.IsColumnShown(1));
    EXPECT_EQ(Shown(), kInitial);
}

TEST_F(GridTest, ProgramWidthChangesFollowTheHeaderRules)
{
    EXPECT_TRUE(grid.SetColumnWidth(2, 100));
    EXPECT_EQ(grid.GetColumnWidth(2), 100);

    grid.ColumnTraitAt(2)->resizable = false;
    EXPECT_FALSE(grid.SetColumnWidth(2, 120));
    EXPECT_EQ(grid.GetColumnWidth(2), 100);
    // The grid itself can still hide and show it.
    ASSERT_TRUE(grid.SetColumnShown(2, false));
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    ASSERT_TRUE(grid.SetColumnShown(2, true));
    EXPECT_EQ(grid.GetColumnWidth(2), 100);

    ASSERT_TRUE(grid.SetColumnShown(3, false));
    EXPECT_FALSE(grid.SetColumnWidth(3, 50));
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    EXPECT_TRUE(grid.SetColumnWidth(3, 0));
}

TEST_F(GridTest, DividerDragsAreClampedAndRefusedForLockedColumns)
{
    CColumnTrait& first = *grid.ColumnTraitAt(1);
    first.minWidth = 50;
    first.maxWidth = 80;
    // The divider of column 1 is at x = 60.
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(60, 10));
    grid.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, At(20, 10));
    EXPECT_EQ(grid.GetColumnWidth(1), 50);
    grid.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, At(200, 10));
    grid.WindowProc(WM_LBUTTONUP, 0, At(200, 10));
    EXPECT_EQ(grid.GetColumnWidth(1), 80);

    // Column 2's divider is now at 80 + 70 = 150.
    grid.ColumnTraitAt(2)->resizable = false;
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(150, 10));
    grid.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, At(190, 10));
    grid.WindowProc(WM_LBUTTONUP, 0, At(190, 10));
    EXPECT_EQ(grid.GetColumnWidth(2), 70);
}

TEST_F(GridTest, CellColoursRiseFromRowTraitToCellCallback)
{
    constexpr COLORREF yellow = RGB(255, 255, 200);
    constexpr COLORREF grey = RGB(225, 225, 225);
    constexpr COLORREF blue = RGB(0, 0, 255);
    constexpr COLORREF cyan = RGB(0, 255, 255);
    constexpr COLORREF green = RGB(0, 127, 0);
    constexpr COLORREF pink = RGB(255, 200, 200);
    auto rowTrait = std::make_unique<CRowTraitText>();
    rowTrait->altTextColour = RGB(0, 0, 0);
    rowTrait->altBackColour = yellow;
    grid.SetBaseRowTrait(std::move(rowTrait));
    auto& columnFour = dynamic_cast<CColumnTraitText&>(*grid.ColumnTraitAt(4));
    columnFour.columnTextColour = green;
    auto& columnOne = dynamic_cast<CColumnTraitText&>(*grid.ColumnTraitAt(1));
    columnOne.columnBackColour = pink;
    grid.rowColour = [&](int row, COLORREF&, COLORREF& back)
    {
        if (row != 2)
            return false;
        back = grey;
        return true;
    };
    grid.cellColour = [&](int row, int column, COLORREF&, COLORREF& back)
    {
        if ((row == 2 && column == 3) || (row == 1 && column == 1))
        {
            back = row == 2 ? blue : cyan;
            return true;
        }
        return false;
    };
    AddRows(4);
    const RecordingTarget painted = Paint();

    // Row 0: the list's colours, the column trait's where set.
    EXPECT_EQ(painted.At(0, 2).backColour, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(painted.At(0, 2).textColour, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(painted.At(0, 1).backColour, pink);
    EXPECT_EQ(painted.At(0, 4).textColour, green);
    // Row 1: alternate row; the cell callback beats the column trait.
    EXPECT_EQ(painted.At(1, 1).backColour, cyan);
    EXPECT_EQ(painted.At(1, 2).backColour, yellow);
    EXPECT_EQ(painted.At(1, 4).backColour, yellow);
    EXPECT_EQ(painted.At(1, 4).textColour, green);
    // Row 2: OnRowColour for the row, the cell colour only in its cell, the
    // neighbours on both sides keep the row colour.
    EXPECT_EQ(painted.At(2, 1).backColour, pink);
    EXPECT_EQ(painted.At(2, 2).backColour, grey);
    EXPECT_EQ(painted.At(2, 3).backColour, blue);
    EXPECT_EQ(painted.At(2, 4).backColour, grey);
    EXPECT_EQ(painted.At(2, 4).textColour, green);
    // Row 3 starts again from the row trait.
    EXPECT_EQ(painted.At(3, 2).backColour, yellow);
    EXPECT_EQ(painted.At(3, 3).backColour, yellow);
    // Column 0 is hidden and never painted.
    EXPECT_FALSE(painted.Has(0, 0));
}

TEST_F(GridTest, HiddenColumnsAreNotPainted)
{
    AddRows(2);
    grid.SetColumnShown(2, false);
    const RecordingTarget painted = Paint();
    EXPECT_FALSE(painted.Has(0, 2));
    EXPECT_TRUE(painted.Has(1, 3));
    EXPECT_EQ(painted.At(1, 3).rect.left, 60);
}

TEST_F(GridTest, ClickSetsTheFocusCellAndItsRectangle)
{
    AddRows(5);
    // Column 3 spans x 130 to 210; row 2 spans y 64 to 84.
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(140, 24 + 2 * 20 + 5));
    EXPECT_EQ(grid.FocusColumn(), 3);
    EXPECT_EQ(grid.GetNextItem(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetNextItem(-1, LVNI_SELECTED), 2);
    const RecordingTarget painted = Paint();
    // One border further left (not the first shown column), one narrower on
    // the right (grid lines).
    EXPECT_EQ(painted.focusRects, (std::vector<RECT>{RECT{129, 64, 209, 84}}));

    // The first shown column is not widened to the left.
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(10, 24 + 5));
    EXPECT_EQ(grid.FocusColumn(), 1);
    EXPECT_EQ(Paint().focusRects, (std::vector<RECT>{RECT{0, 24, 59, 44}}));

    // A click below the rows leaves the focus cell alone.
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(10, 24 + 9 * 20));
    EXPECT_EQ(grid.FocusColumn(), 1);
}

TEST_F(GridTest, WithoutAFocusCellTheWholeRowIsFramedAndInvertedCellsLoseTheHighlight)
{
    AddRows(3);
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    // Grid lines on: the row, one border narrower on the right.
    EXPECT_EQ(Paint().focusRects, (std::vector<RECT>{RECT{0, 44, 299, 64}}));

    grid.ModifyExtendedStyle(0, LVS_EX_FULLROWSELECT);
    auto trait = std::make_unique<CRowTraitText>();
    trait->invertFocusCell = true;
    grid.SetBaseRowTrait(std::move(trait));
    grid.SetFocusColumn(2);
    SetFocus(grid.Handle());
    RecordingTarget painted = Paint();
    EXPECT_EQ(painted.At(1, 1).backColour, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(painted.At(1, 2).backColour, GetSysColor(COLOR_WINDOW));
    SetFocus(HWND{});
}

TEST_F(GridTest, CallbackCellsAskOnCellText)
{
    grid.cellText = [](int row, int column, std::u16string& text)
    {
        text = u"cb" + std::u16string(1, static_cast<char16_t>(u'0' + row)) +
               std::u16string(1, static_cast<char16_t>(u'0' + column));
        return true;
    };
    AddRows(2);
    grid.SetItemText(1, 3, LPSTR_TEXTCALLBACK);
    EXPECT_EQ(grid.GetItemText(1, 3), u"cb13");
    EXPECT_EQ(Paint().At(1, 3).text, u"cb13");
    EXPECT_EQ(grid.GetToolTipText(POINT{140, 24 + 25}), u"cb13");
}

TEST_F(GridTest, ClicksHitTheRightCellAfterReorderAndScroll)
{
    AddRows(20);
    grid.MoveWindow(RECT{0, 0, 200, 24 + 5 * 20});
    const std::vector<int> order{0, 4, 3, 2, 1}; // D 0-89, C 90-169, B 170-239, A 240-299
    grid.SetColumnOrderArray(order);
    grid.Scroll(50, 3 * 20);
    EXPECT_EQ(grid.ScrollX(), 50);
    EXPECT_EQ(grid.GetTopIndex(), 3);
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(45, 24 + 5));
    EXPECT_EQ(grid.FocusColumn(), 3);
    EXPECT_EQ(grid.GetNextItem(-1, LVNI_FOCUSED), 3);
    grid.WindowProc(WM_LBUTTONDOWN, 0, At(195, 24 + 25));
    EXPECT_EQ(grid.FocusColumn(), 1);
    EXPECT_EQ(grid.GetNextItem(-1, LVNI_FOCUSED), 4);
    const RecordingTarget painted = Paint();
    EXPECT_EQ(painted.At(4, 1).rect, (RECT{190, 44, 250, 64}));
}

TEST_F(GridTest, HeaderDragLandsAfterTheHiddenColumnsAndForgetsTheFocusCell)
{
    AddRows(2);
    grid.SetFocusColumn(3);
    grid.SetColumnShown(1, false);
    HDITEM item{.mask = HDI_ORDER, .iOrder = 0};
    NMHEADER drag{
        .hdr = {grid.GetHeaderCtrl()->Handle(), 0, HDN_ENDDRAG}, .iItem = 4, .pitem = &item};
    grid.WindowProc(WM_NOTIFY, 0, NotifyParam(drag));
    EXPECT_EQ(grid.GetColumnOrderArray(), (std::vector<int>{1, 0, 4, 2, 3}));
    EXPECT_EQ(grid.FocusColumn(), -1);
    // The hidden column still comes back first.
    ASSERT_TRUE(grid.SetColumnShown(1, true));
    EXPECT_EQ(grid.GetColumnOrderArray(), (std::vector<int>{0, 1, 4, 2, 3}));
}

TEST_F(GridTest, EmptyGridShowsItsTextAgainAfterRowsAreDeleted)
{
    EXPECT_EQ(Paint().empty, u"There are no items to show in this view.");
    EXPECT_TRUE(grid.IsEmptyTextShowing());
    AddRows(3);
    EXPECT_EQ(Paint().empty, u"");
    EXPECT_FALSE(grid.IsEmptyTextShowing());
    grid.DeleteAllItems();
    EXPECT_EQ(Paint().empty, u"There are no items to show in this view.");
}

TEST_F(GridTest, TooltipsShowTheCellTextUpTo79Characters)
{
    AddRows(2);
    EXPECT_EQ(grid.GetToolTipText(POINT{70, 24 + 25}), u"B1");
    grid.SetItemText(0, 2, std::u16string(100, u'x'));
    EXPECT_EQ(grid.GetToolTipText(POINT{70, 24 + 5}), std::u16string(79, u'x'));
    EXPECT_EQ(grid.GetToolTipText(POINT{70, 24 + 150}), u"");
}

TEST_F(GridTest, CreationAppliesTheGridStyles)
{
    TestGrid fresh;
    fresh.Create(
        CreateParams{.style = WS_CHILD, .rect = RECT{0, 0, 100, 100}, .parent = parent.Handle()});
    EXPECT_EQ(fresh.GetStyle() & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(fresh.GetStyle() & LVS_SHOWSELALWAYS);
    const DWORD wanted = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_GRIDLINES |
                         LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER;
    EXPECT_EQ(fresh.GetExtendedStyle() & wanted, wanted);
    EXPECT_EQ(fresh.FocusColumn(), -1);
    EXPECT_EQ(fresh.groupColumn, -1);
    EXPECT_EQ(fresh.groupSortMode, 2);
}

TEST_F(GridTest, NumericSortComparesLeadingIntegers)
{
    CColumnTraitText text;
    EXPECT_LT(text.CompareCells(u"100.00", u"99.00", true), 0); // as text
    EXPECT_LT(text.CompareCells(u"abc", u"ABD", true), 0);
    EXPECT_GT(text.CompareCells(u"abc", u"ABD", false), 0);
    text.numericSort = true;
    EXPECT_GT(text.CompareCells(u"100.00", u"99.00", true), 0);
    EXPECT_LT(text.CompareCells(u"-5x", u"3", true), 0);
    EXPECT_EQ(text.CompareCells(u"", u"abc", true), 0);
}

} // namespace
