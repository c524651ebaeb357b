#include "gridctrl/report_grid.h"
#include "platform/ui/dialog.h"
#include "platform/ui/gdi.h"

#include <gtest/gtest.h>

using namespace platform;

namespace
{

constexpr UINT kGridDialog = 9301;
constexpr int kGrid = 1001;
constexpr int kPlainList = 1002;

void RegisterGridDialog()
{
    DialogTemplate t{.id = kGridDialog, .caption = u"Grid", .width = 300, .height = 200};
    t.controls = {
        Control(kGrid, std::string(kListViewClass), u"", 4, 4, 200, 100,
                LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP |
                    WS_VISIBLE),
        Control(kPlainList, std::string(kListViewClass), u"", 4, 110, 200, 60,
                LVS_REPORT | WS_VISIBLE),
    };
    RegisterDialogTemplate(std::move(t));
}

class GridDialog : public CDialogEx
{
public:
    GridDialog() : CDialogEx(kGridDialog) { BindControl(kGrid, grid); }
    CReportGridGroups grid;
};

// A dialog makes its bound member grid from the template, which gets the
// grid's styles and answers its own custom draw under the dialog.
TEST(GridInDialogTest, TemplateMakesTheBoundGridAndPlainListViews)
{
    RegisterGridDialog();
    GridDialog dialog;
    ASSERT_TRUE(dialog.CreateFromTemplate());
    EXPECT_EQ(dialog.GetDlgItem(kGrid), &dialog.grid);
    EXPECT_NE(dialog.GetControl<CListCtrl>(kPlainList), nullptr);
    EXPECT_TRUE(dialog.grid.GetStyle() & LVS_SINGLESEL);
    EXPECT_TRUE(dialog.grid.GetExtendedStyle() & LVS_EX_GRIDLINES);

    dialog.grid.AddHiddenFirstColumn();
    dialog.grid.AddColumn(1, u"Symbol", 0, 60, 1);
    auto trait = std::make_unique<CRowTraitText>();
    trait->altBackColour = RGB(255, 255, 200);
    dialog.grid.SetBaseRowTrait(std::move(trait));
    dialog.grid.InsertItem(0, u"r");
    dialog.grid.InsertItem(1, u"r");

    struct Target : PaintTarget
    {
        void Cell(const PaintedCell& cell) override
        {
            if (cell.subItem == 1)
                backs.push_back(cell.backColour);
        }
        std::vector<COLORREF> backs;
    } target;
    dialog.grid.Paint(&target);
    EXPECT_EQ(target.backs, (std::vector<COLORREF>{GetSysColor(COLOR_WINDOW), RGB(255, 255, 200)}));
    dialog.Destroy();
}

} // namespace
