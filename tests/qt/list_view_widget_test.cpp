#include "qt_test_support.h"

#include "platform/ui/list_view.h"
#include "platform/ui/message_queue.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <functional>
#include <vector>

using namespace platform;

namespace
{

constexpr COLORREF kCellBack = RGB(255, 0, 0);
constexpr COLORREF kCellText = RGB(0, 0, 255);
constexpr COLORREF kRowBack = RGB(255, 255, 200);

// The list's owner: colours cells through the custom-draw stages and keeps
// every notification it gets.
class OwnerWindow final : public Window
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_NOTIFY)
            return Window::WindowProc(message, wParam, lParam);
        NMHDR& hdr = NotifyRecord<NMHDR>(lParam);
        if (hdr.code != NM_CUSTOMDRAW)
        {
            codes.push_back(hdr.code);
            if (hdr.code == NM_CLICK || hdr.code == NM_RCLICK)
                clicks.push_back(NotifyRecord<NMITEMACTIVATE>(lParam));
            if (hdr.code == LVN_COLUMNCLICK)
                columnClicks.push_back(NotifyRecord<NMLISTVIEW>(lParam).iSubItem);
            if (hdr.code == HDN_ITEMCHANGING && maxWidth > 0)
            {
                NMHEADER& change = NotifyRecord<NMHEADER>(lParam);
                if (change.pitem && (change.pitem->mask & HDI_WIDTH) &&
                    change.pitem->cxy > maxWidth)
                    change.pitem->cxy = maxWidth;
            }
            if (hdr.code == LVN_GETINFOTIP)
            {
                auto& tip = NotifyRecord<NMLVGETINFOTIP>(lParam);
                tip.text =
                    u"Tip for row " + std::u16string(1, static_cast<char16_t>(u'0' + tip.iItem));
            }
            if (hdr.code == LVN_GETEMPTYMARKUP)
            {
                NotifyRecord<NMLVEMPTYMARKUP>(lParam).markup =
                    u"There are no items to show in this view.";
                return 1;
            }
            return 0;
        }
        auto& draw = NotifyRecord<NMLVCUSTOMDRAW>(lParam);
        switch (draw.nmcd.dwDrawStage)
        {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            if (draw.nmcd.dwItemSpec % 2 == 1)
                draw.clrTextBk = kRowBack;
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            draw.clrTextBk = draw.nmcd.dwItemSpec % 2 == 1 ? kRowBack : CLR_DEFAULT;
            draw.clrText = CLR_DEFAULT;
            if (draw.nmcd.dwItemSpec == 2 && draw.iSubItem == 1)
            {
                draw.clrTextBk = kCellBack;
                draw.clrText = kCellText;
            }
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
        }
    }

    std::vector<UINT> codes;
    std::vector<NMITEMACTIVATE> clicks;
    std::vector<int> columnClicks;
    int maxWidth = 0;
};

class ListViewWidgetTest : public qt_testing::QtTest
{
protected:
    void SetUp() override
    {
        owner.Create(CreateParams{.text = u"List view",
                                  .style = WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                  .rect = RECT{0, 0, 420, 300}});
        list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
        list.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                                 .rect = RECT{10, 10, 410, 290},
                                 .parent = owner.Handle(),
                                 .id = 1003});
        list.InsertColumn(0, u"Symbol", LVCFMT_LEFT, 90);
        list.InsertColumn(1, u"Last", LVCFMT_RIGHT, 80);
        list.InsertColumn(2, u"Change", LVCFMT_RIGHT, 80);
        widget = WidgetOf(list.Handle());
        ASSERT_NE(widget, nullptr);
    }

    void AddRows(int count)
    {
        for (int row = 0; row < count; ++row)
        {
            const std::u16string n = u"SYM" + std::u16string(1, static_cast<char16_t>(u'A' + row));
            list.InsertItem(row, n);
            list.SetItemText(row, 1, u"101.25");
            list.SetItemText(row, 2, u"-0.50");
        }
    }

    QPoint CellCentre(int row, int column) const
    {
        RECT rect;
        EXPECT_TRUE(list.GetSubItemRect(row, column, rect));
        return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    QPoint DividerAfter(int column) const
    {
        RECT rect;
        EXPECT_TRUE(list.GetHeaderCtrl()->GetItemRect(column, rect));
        return QPoint(rect.right - 1, rect.Height() / 2);
    }

    OwnerWindow owner;
    CListCtrl list;
    QWidget* widget = nullptr;
};

QColor ToQColor(COLORREF c)
{
    return QColor(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                  static_cast<int>(GetBValue(c)));
}

TEST_F(ListViewWidgetTest, CustomDrawColoursAreThePaintedPixels)
{
    AddRows(6);
    const QImage image = widget->grab().toImage();
    qt_testing::SaveScreenshot(*widget, "list_view_custom_draw");
    RECT cell;
    ASSERT_TRUE(list.GetSubItemRect(2, 1, cell));
    // Inside the cell, away from the text at its right end and the grid lines.
    const QPoint inside(cell.left + 3, cell.top + 3);
    EXPECT_EQ(image.pixelColor(inside), ToQColor(kCellBack));
    // Its neighbours keep the row's colours: the list's white on an even row,
    // the row colour on an odd one.
    RECT right;
    ASSERT_TRUE(list.GetSubItemRect(2, 2, right));
    EXPECT_EQ(image.pixelColor(right.left + 3, right.top + 3), QColor(Qt::white));
    RECT below;
    ASSERT_TRUE(list.GetSubItemRect(3, 1, below));
    EXPECT_EQ(image.pixelColor(below.left + 3, below.top + 3), ToQColor(kRowBack));
    // The text of the coloured cell is drawn in its text colour.
    bool blueText = false;
    for (int x = cell.left; x < cell.right && !blueText; ++x)
        for (int y = cell.top; y < cell.bottom && !blueText; ++y)
        {
            const QColor c = image.pixelColor(x, y);
            blueText = c.blue() > 150 && c.red() < 100 && c.green() < 100;
        }
    EXPECT_TRUE(blueText);
}

TEST_F(ListViewWidgetTest, ClicksSelectRowsAndNotifyTheOwner)
{
    AddRows(6);
    QTest::mouseClick(widget, Qt::LeftButton, {}, CellCentre(3, 2));
    PumpWaitingMessages();
    EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED), LVIS_SELECTED);
    ASSERT_FALSE(owner.clicks.empty());
    EXPECT_EQ(owner.clicks.back().hdr.code, NM_CLICK);
    EXPECT_EQ(owner.clicks.back().iItem, 3);
    EXPECT_EQ(owner.clicks.back().iSubItem, 2);
    EXPECT_EQ(GetFocus(), list.Handle());

    QTest::keyClick(widget, Qt::Key_Down);
    PumpWaitingMessages();
    EXPECT_EQ(list.GetItemState(4, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED), 0u);

    QTest::mouseClick(widget, Qt::RightButton, {}, CellCentre(1, 0));
    PumpWaitingMessages();
    EXPECT_EQ(owner.clicks.back().hdr.code, NM_RCLICK);
    EXPECT_EQ(owner.clicks.back().iItem, 1);
    qt_testing::SaveScreenshot(*widget, "list_view_selection");
}

TEST_F(ListViewWidgetTest, HeaderClickDividerDragAndDoubleClick)
{
    AddRows(3);
    RECT item;
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(1, item));
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint((item.left + item.right) / 2, 8));
    PumpWaitingMessages();
    ASSERT_EQ(owner.columnClicks.size(), 1u);
    EXPECT_EQ(owner.columnClicks[0], 1);

    // Dragging the divider after column 0 by 30 pixels widens it by 30.
    const QPoint divider = DividerAfter(0);
    QTest::mousePress(widget, Qt::LeftButton, {}, divider);
    QTest::mouseMove(widget, divider + QPoint(15, 0));
    QTest::mouseMove(widget, divider + QPoint(30, 0));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, divider + QPoint(30, 0));
    PumpWaitingMessages();
    EXPECT_EQ(list.GetColumnWidth(0), 120);

    // The owner's width rule holds while the user drags.
    owner.maxWidth = 130;
    const QPoint again = DividerAfter(0);
    QTest::mousePress(widget, Qt::LeftButton, {}, again);
    QTest::mouseMove(widget, again + QPoint(60, 0));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, again + QPoint(60, 0));
    PumpWaitingMessages();
    EXPECT_EQ(list.GetColumnWidth(0), 130);

    QTest::mouseDClick(widget, Qt::LeftButton, {}, DividerAfter(1));
    PumpWaitingMessages();
    EXPECT_NE(std::find(owner.codes.begin(), owner.codes.end(), HDN_DIVIDERDBLCLICK),
              owner.codes.end());
    qt_testing::SaveScreenshot(*widget, "list_view_header");
}

TEST_F(ListViewWidgetTest, DraggingAHeaderItemReordersTheColumns)
{
    AddRows(3);
    RECT first;
    RECT last;
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(0, first));
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(2, last));
    const QPoint from((first.left + first.right) / 2, 8);
    const QPoint to(last.right - 5, 8);
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, from + QPoint(20, 0));
    QTest::mouseMove(widget, to);
    PumpWaitingMessages();
    EXPECT_EQ(list.GetHeaderCtrl()->DraggingItem(), 0);
    qt_testing::SaveScreenshot(*widget, "list_view_header_drag");
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
    PumpWaitingMessages();
    const std::vector<int> order = list.GetColumnOrderArray();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order.back(), 0);
    EXPECT_TRUE(owner.columnClicks.empty()); // a drag is no click
}

TEST_F(ListViewWidgetTest, TooltipShowsTheOwnersTextForTheCell)
{
    AddRows(4);
    const QPoint at = CellCentre(2, 1);
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &help);
    EXPECT_EQ(QToolTip::text(), QString("Tip for row 2"));
}

TEST_F(ListViewWidgetTest, ScrollBarsMoveTheListInBothDirections)
{
    AddRows(40);
    for (int column = 3; column < 10; ++column)
        list.InsertColumn(column, u"More", LVCFMT_RIGHT, 80);
    QCoreApplication::processEvents(); // the bars follow the batch of changes
    auto bars = widget->findChildren<QScrollBar*>();
    QScrollBar* vertical = nullptr;
    QScrollBar* horizontal = nullptr;
    for (QScrollBar* bar : bars)
        (bar->orientation() == Qt::Vertical ? vertical : horizontal) = bar;
    ASSERT_NE(vertical, nullptr);
    ASSERT_NE(horizontal, nullptr);
    EXPECT_TRUE(vertical->isVisible());
    EXPECT_TRUE(horizontal->isVisible());
    vertical->setValue(list.RowHeight() * 5);
    horizontal->setValue(100);
    PumpWaitingMessages();
    EXPECT_EQ(list.GetTopIndex(), 5);
    EXPECT_EQ(list.ScrollX(), 100);
    qt_testing::SaveScreenshot(*widget, "list_view_scrolled");
}

// The grid's menus start from WM_CONTEXTMENU, with the point on screen
// (-1, -1 from the keyboard).
class MenuListCtrl final : public CListCtrl
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CONTEXTMENU)
            menus.push_back(PointFromLParam(lParam));
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
    std::vector<POINT> menus;
};

TEST_F(ListViewWidgetTest, RightClickOnHeaderOrRowAsksTheListForItsMenu)
{
    MenuListCtrl menuList;
    menuList.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                 .rect = RECT{10, 10, 300, 200},
                                 .parent = owner.Handle(),
                                 .id = 1004});
    menuList.InsertColumn(0, u"Symbol", LVCFMT_LEFT, 90);
    menuList.InsertItem(0, u"MSFT");
    QWidget* menuWidget = WidgetOf(menuList.Handle());
    ASSERT_NE(menuWidget, nullptr);
    const QPoint onHeader(20, 5);
    QContextMenuEvent headerClick(QContextMenuEvent::Mouse, onHeader,
                                  menuWidget->mapToGlobal(onHeader));
    QApplication::sendEvent(menuWidget, &headerClick);
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                   menuWidget->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(menuWidget, &fromKeyboard);
    PumpWaitingMessages();
    ASSERT_EQ(menuList.menus.size(), 2u);
    const QPoint global = menuWidget->mapToGlobal(onHeader);
    EXPECT_EQ(menuList.menus[0], (POINT{global.x(), global.y()}));
    EXPECT_EQ(menuList.menus[1], (POINT{-1, -1}));
    menuList.Destroy();
}

TEST_F(ListViewWidgetTest, EmptyListShowsItsText)
{
    const QImage image = widget->grab().toImage();
    qt_testing::SaveScreenshot(*widget, "list_view_empty");
    // Some dark text pixels in the middle band of the body.
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = image.height() / 2 - 10; y < image.height() / 2 + 10; ++y)
            if (image.pixelColor(x, y).lightness() < 100)
                ++dark;
    EXPECT_GT(dark, 20);
}

TEST_F(ListViewWidgetTest, GroupsAreShownUnderTheirHeaders)
{
    AddRows(5);
    list.EnableGroupView(true);
    list.InsertGroup(0,
                     LVGROUP{.mask = LVGF_HEADER | LVGF_GROUPID, .header = u"Tech", .iGroupId = 1});
    list.InsertGroup(
        1, LVGROUP{.mask = LVGF_HEADER | LVGF_GROUPID, .header = u"Banks", .iGroupId = 2});
    for (int row = 0; row < 5; ++row)
        list.SetItemGroupId(row, row < 2 ? 1 : 2);
    RECT group;
    ASSERT_TRUE(list.GetGroupRect(2, group));
    const QImage image = widget->grab().toImage();
    qt_testing::SaveScreenshot(*widget, "list_view_groups");
    // The group header's text is drawn in its band.
    int coloured = 0;
    for (int x = group.left; x < std::min<int>(group.right, image.width()); ++x)
        for (int y = group.top; y < group.bottom; ++y)
            if (image.pixelColor(x, y).lightness() < 150)
                ++coloured;
    EXPECT_GT(coloured, 10);
}

} // namespace
