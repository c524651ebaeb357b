#include "mainwnd/brindle_dlg.h"
#include "platform/ui/clock.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/input.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/ui_task.h"
#include "res/resource.h"

#include <gtest/gtest.h>

using namespace platform;

namespace
{

class BrindleDlgTest : public ::testing::Test
{
protected:
    ManualClock clock;
    ScopedClock useClock{clock};
};

TEST_F(BrindleDlgTest, OpensOnTemplate102CaptionedBrindle)
{
    CBrindleDlg dialog;
    ASSERT_TRUE(dialog.CreateFromTemplate());
    EXPECT_EQ(dialog.GetWindowText(), u"Brindle");
    EXPECT_EQ(dialog.GetWindowRect().Width(), 662);
    EXPECT_EQ(dialog.GetWindowRect().Height(), 257);
    EXPECT_EQ(FindWindowByCaption(u"Brindle"), dialog.Handle());
    EXPECT_EQ(dialog.GetDlgItem(IDC_INDEX_CAPTION_3)->GetWindowText(), u" S&P 500:");
    EXPECT_EQ(dialog.GetDlgItem(IDC_QUOTE_GRID)->ClassName(), "SysListView32");
    EXPECT_NE(dialog.GetControl<CComboBox>(IDC_PORTFOLIO_COMBO), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATUS)->GetWindowText(), u"Info");
}

TEST_F(BrindleDlgTest, ResizingGrowsTheGridAndKeepsSetupAtTheRightEdge)
{
    CBrindleDlg dialog;
    dialog.CreateFromTemplate();
    const RECT grid = dialog.GetDlgItem(IDC_QUOTE_GRID)->GetWindowRect();
    const RECT setup = dialog.GetDlgItem(IDC_SETUP)->GetWindowRect();
    const RECT edit = dialog.GetDlgItem(IDC_EDIT_PORTFOLIOS)->GetWindowRect();
    const RECT r = dialog.GetWindowRect();
    dialog.MoveWindow(RECT{r.left, r.top, r.right + 100, r.bottom + 50});
    const RECT newGrid = dialog.GetDlgItem(IDC_QUOTE_GRID)->GetWindowRect();
    EXPECT_EQ(newGrid.Width(), grid.Width() + 100);
    EXPECT_EQ(newGrid.Height(), grid.Height() + 50);
    EXPECT_EQ(dialog.GetDlgItem(IDC_SETUP)->GetWindowRect().left, setup.left + 100);
    EXPECT_EQ(dialog.GetDlgItem(IDC_SETUP)->GetWindowRect().top, setup.top);
    EXPECT_EQ(dialog.GetDlgItem(IDC_EDIT_PORTFOLIOS)->GetWindowRect(), edit);
}

TEST_F(BrindleDlgTest, EscapeAndCloseBoxEndTheModalRunWithCancel)
{
    for (bool escape : {true, false})
    {
        CBrindleDlg dialog;
        PostTask(
            [&]
            {
                if (escape)
                    PressKey(VK_ESCAPE, 0, dialog.Handle());
                else
                    PostMessage(dialog.Handle(), WM_CLOSE, 0, 0);
            });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_FALSE(dialog.IsCreated());
    }
}

} // namespace
