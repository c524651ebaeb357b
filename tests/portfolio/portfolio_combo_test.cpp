#include "portfolio/portfolio_combo.h"

#include "platform/ui/combo_box.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace
{

class PortfolioComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.Create(CreateParams{.style = WS_POPUP | WS_VISIBLE});
        combo.Create(CreateParams{
            .style = WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, .parent = parent.Handle(), .id = 1005});
    }

    std::vector<std::u16string> Entries() const
    {
        std::vector<std::u16string> entries;
        for (int i = 0; i < combo.GetCount(); ++i)
            entries.push_back(combo.GetLBText(i));
        return entries;
    }

    Window parent;
    CComboBox combo;
    DataStore store;
};

TEST_F(PortfolioComboTest, ListsTheFolioNamesInLineOrderAndSelectsTheActiveOne)
{
    store.folioLines = {"0|FOLIO|Default||",     "0|SEC|IBM|121.50|bought in March",
                        "1|FOLIO|Retire|ment||", "1|SEC|-||",
                        "x|SEC|x|FOLIO|Odd",     "2|FOLIO|Caf\xe9||"};
    combo.AddString(u"stale entry");
    std::int32_t folio = 1;
    FillPortfolioCombo(combo, store, folio);
    // A name stops at its "|"; a line with "|FOLIO|" elsewhere still counts;
    // bytes are decoded with the 8-bit code page.
    EXPECT_EQ(Entries(),
              (std::vector<std::u16string>{u"Default", u"Retire", u"Odd", u"Caf\u00e9"}));
    EXPECT_EQ(folio, 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.GetWindowText(), u"Retire");
}

TEST_F(PortfolioComboTest, FolioPastTheEndBecomesZeroAndNegativeSelectsNothing)
{
    store.folioLines = {"0|FOLIO|A||", "1|FOLIO|B||", "2|FOLIO|C||"};
    struct Case
    {
        std::int32_t folio;
        std::int32_t after;
        int selected;
    };
    for (const Case& c : {Case{5, 0, 0}, Case{3, 0, 0}, Case{2, 2, 2}, Case{-1, -1, -1}})
    {
        std::int32_t folio = c.folio;
        FillPortfolioCombo(combo, store, folio);
        EXPECT_EQ(folio, c.after) << c.folio;
        EXPECT_EQ(combo.GetCurSel(), c.selected) << c.folio;
        EXPECT_EQ(combo.GetCount(), 3);
    }
}

TEST_F(PortfolioComboTest, NoFolioLinesLeaveAnEmptyChooser)
{
    std::int32_t folio = 0;
    FillPortfolioCombo(combo, store, folio);
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(folio, 0);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
}

} // namespace
