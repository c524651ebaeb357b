#include "grid_fixture.h"
#include "gridctrl/layout_section_profiles.h"
#include "platform/profile/profile_store.h"
#include "support/temp_dir.h"

#include <memory>
#include <string>

using namespace grid_testing;

namespace
{

using Layout = std::vector<std::pair<int, int>>;
const Layout kInitial{{1, 60}, {2, 70}, {3, 80}, {4, 90}};
constexpr std::u16string_view kAbsent = u"<absent>";
const std::u16string kRoot = u"HKEY_CURRENT_USER\\Software\\Brindle\\Brindle";

// The main grid's column state on a settings file of the test's own.
class ColumnStateTest : public GridTest
{
protected:
    void SetUp() override
    {
        OpenStore();
        GridTest::SetUp();
    }
    void TearDown() override { platform::SetAppProfile(nullptr); }

    void OpenStore()
    {
        platform::SetAppProfile(std::make_unique<ProfileStore>(dir / "Brindle.reg", kRoot));
    }

    static void Bind(TestGrid& target)
    {
        auto section = std::make_unique<CLayoutSectionAppProfile>(u"GridConfig");
        section->AddProfileName(u"Default");
        section->AddProfileName(u"Special");
        target.BindColumnState(std::move(section));
    }

    static std::u16string Stored(std::u16string_view section, std::u16string_view key)
    {
        return platform::AppProfile().GetProfileString(section, key, kAbsent);
    }

    static Layout ShownOf(const TestGrid& target)
    {
        Layout shown;
        for (int column : target.GetColumnOrderArray())
            if (target.IsColumnShown(column))
                shown.emplace_back(column, target.GetColumnWidth(column));
        return shown;
    }

    // A fresh start: the settings file read again, a new grid bound to it.
    Layout Restart()
    {
        OpenStore();
        TestGrid next;
        CreateGrid(next);
        Bind(next);
        return ShownOf(next);
    }

    testing_support::TempDir dir;
};

TEST_F(ColumnStateTest, FirstStartShowsEveryColumnAndListsTheProfiles)
{
    Bind(grid);
    EXPECT_EQ(Shown(), kInitial);
    EXPECT_EQ(Stored(u"GridConfig", u"CurrentProfiles"), u"Default, Special");
    EXPECT_EQ(Stored(u"GridConfig", u"ActiveProfile"), kAbsent);
    EXPECT_FALSE(platform::AppProfile().HasSection(u"GridConfig__Default"));
    // The defaults hold every column but column 0.
    auto* section = dynamic_cast<CLayoutSectionProfiles*>(grid.ColumnState());
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->Defaults().LoadValue({}, u"ColumnCount", {}), u"4");
    EXPECT_EQ(section->Defaults().LoadValue({}, u"ColumnData_0", {}), u"1");
    EXPECT_EQ(section->Defaults().LoadValue({}, u"ColumnWidth_3", {}), u"90");
    EXPECT_EQ(section->ActiveProfileName(), u"Default");
}

TEST_F(ColumnStateTest, HidingStoresOnlyTheShownColumnsRenumbered)
{
    Bind(grid);
    grid.SetColumnShown(2, false);
    const std::u16string_view section = u"GridConfig__Default";
    EXPECT_EQ(Stored(section, u"ColumnCount"), u"3");
    EXPECT_EQ(Stored(section, u"ColumnData_0"), u"1");
    EXPECT_EQ(Stored(section, u"ColumnWidth_0"), u"60");
    EXPECT_EQ(Stored(section, u"ColumnData_1"), u"3");
    EXPECT_EQ(Stored(section, u"ColumnWidth_1"), u"80");
    EXPECT_EQ(Stored(section, u"ColumnData_2"), u"4");
    EXPECT_EQ(Stored(section, u"ColumnData_3"), kAbsent);
    EXPECT_EQ(Restart(), (Layout{{1, 60}, {3, 80}, {4, 90}}));
}

TEST_F(ColumnStateTest, WidthChangesAreStoredAfterProgramChangesAndAtTheEndOfADrag)
{
    Bind(grid);
    grid.SetColumnWidth(3, 123);
    EXPECT_EQ(Stored(u"GridConfig__Default", u"ColumnWidth_2"), u"123");

    // Drag the divider of column 1 (x = 60) to x = 100.
    grid.WindowProc(WM_LBUTTONDOWN, 0, MakePointParam(60, 10));
    grid.WindowProc(WM_MOUSEMOVE, MK_LBUTTON, MakePointParam(100, 10));
    EXPECT_EQ(Stored(u"GridConfig__Default", u"ColumnWidth_0"), u"60");
    grid.WindowProc(WM_LBUTTONUP, 0, MakePointParam(100, 10));
    EXPECT_EQ(Stored(u"GridConfig__Default", u"ColumnWidth_0"), u"100");
}

TEST_F(ColumnStateTest, SwitchingProfilesKeepsEachLayoutAndTheNextStartOpensTheActiveOne)
{
    Bind(grid);
    grid.SetColumnShown(2, false);
    grid.SwitchColumnProfile(u"Special");
    EXPECT_EQ(Stored(u"GridConfig", u"ActiveProfile"), u"Special");
    EXPECT_EQ(Stored(u"GridConfig__Default", u"ColumnCount"), u"3");
    // Nothing stored for Special yet: the defaults.
    EXPECT_EQ(Shown(), kInitial);

    grid.SetColumnShown(4, false);
    EXPECT_EQ(Stored(u"GridConfig__Special", u"ColumnCount"), u"3");
    EXPECT_EQ(Restart(), (Layout{{1, 60}, {2, 70}, {3, 80}}));

    grid.SwitchColumnProfile(u"Default");
    EXPECT_EQ(Shown(), (Layout{{1, 60}, {3, 80}, {4, 90}}));
    EXPECT_EQ(Stored(u"GridConfig", u"CurrentProfiles"), u"Default, Special");
}

TEST_F(ColumnStateTest, ResetRewritesTheActiveProfileWithTheDefaults)
{
    Bind(grid);
    grid.SetColumnShown(2, false);
    grid.SetColumnWidth(3, 150);
    grid.ResetColumnState();
    EXPECT_EQ(Shown(), kInitial);
    EXPECT_EQ(Stored(u"GridConfig__Default", u"ColumnCount"), u"4");
    EXPECT_EQ(Stored(u"GridConfig__Default", u"ColumnWidth_2"), u"80");
    EXPECT_EQ(Stored(u"GridConfig", u"CurrentProfiles"), u"Default, Special");
    // The hidden column shows again with its width.
    EXPECT_EQ(grid.GetColumnWidth(2), 70);
}

TEST_F(ColumnStateTest, ProfileNamesAreComparedExactly)
{
    CLayoutSectionAppProfile section(u"GridConfig");
    section.AddProfileName(u"Default");
    section.AddProfileName(u"Special");
    section.AddProfileName(u"Default");
    EXPECT_EQ(Stored(u"GridConfig", u"CurrentProfiles"), u"Default, Special");
    section.AddProfileName(u"default");
    EXPECT_EQ(Stored(u"GridConfig", u"CurrentProfiles"), u"Default, Special, default");
    section.DropProfile(u"Special");
    EXPECT_EQ(section.ProfileNames(), (std::vector<std::u16string>{u"Default", u"default"}));
    EXPECT_EQ(section.JoinSectionName(u"GridConfig", u""), u"GridConfig");
    EXPECT_EQ(section.SplitSectionName(u"__x__y").second, u"y");
}

TEST_F(ColumnStateTest, StoredLayoutsWithGapsRestoreWhatTheyCan)
{
    ProfileStore& store = platform::AppProfile();
    store.WriteProfileString(u"GridConfig", u"CurrentProfiles", u"Default, Special");
    const std::u16string_view section = u"GridConfig__Default";
    store.WriteProfileString(section, u"ColumnCount", u"5");
    store.WriteProfileString(section, u"ColumnData_0", u"4");
    store.WriteProfileString(section, u"ColumnWidth_0", u"99");
    store.WriteProfileString(section, u"ColumnData_1", u"42"); // no such column
    store.WriteProfileString(section, u"ColumnWidth_1", u"10");
    store.WriteProfileString(section, u"ColumnData_2", u"0"); // the hidden column 0
    store.WriteProfileString(section, u"ColumnData_3", u"1");
    store.WriteProfileString(section, u"ColumnWidth_3", u"55");
    // No width key, and none among the defaults (four columns): width 0.
    store.WriteProfileString(section, u"ColumnData_4", u"2");
    Bind(grid);
    EXPECT_EQ(Shown(), (Layout{{4, 99}, {1, 55}, {2, 0}}));
    // Hidden columns at the left in ascending order, keeping their widths
    // for when they are shown.
    EXPECT_EQ(grid.GetColumnOrderArray(), (std::vector<int>{0, 3, 4, 1, 2}));
    grid.SetColumnShown(3, true);
    EXPECT_EQ(grid.GetColumnWidth(3), 80);
}

TEST_F(ColumnStateTest, AHugeStoredColumnCountDoesNotHang)
{
    platform::AppProfile().WriteProfileString(u"GridConfig", u"CurrentProfiles", u"Default");
    platform::AppProfile().WriteProfileString(u"GridConfig__Default", u"ColumnCount",
                                              u"2147483647");
    platform::AppProfile().WriteProfileString(u"GridConfig__Default", u"ColumnData_0", u"3");
    platform::AppProfile().WriteProfileString(u"GridConfig__Default", u"ColumnWidth_0", u"44");
    // Keys missing below the count are filled from the defaults (k = 3, 2,
    // 1 give columns 4, 3, 2); the stored key 0 names a column placed already.
    Bind(grid);
    EXPECT_EQ(Shown(), (Layout{{2, 70}, {3, 80}, {4, 90}}));
}

TEST_F(ColumnStateTest, AnEmptyStoredLayoutLeavesTheColumnsAlone)
{
    platform::AppProfile().WriteProfileString(u"GridConfig__Default", u"ColumnCount", u"0");
    auto section = std::make_unique<CLayoutSectionAppProfile>(u"GridConfig");
    section->AddProfileName(u"Default");
    grid.SetColumnWidth(2, 33);
    grid.BindColumnState(std::move(section));
    EXPECT_EQ(Shown(), (Layout{{1, 60}, {2, 33}, {3, 80}, {4, 90}}));

    // An always-shown column is placed even then; the rest is hidden.
    grid.ColumnTraitAt(3)->alwaysShown = true;
    grid.RestoreColumnState(*grid.ColumnState());
    EXPECT_EQ(Shown(), (Layout{{3, 80}}));
}

TEST_F(ColumnStateTest, TypedValuesAndDefaultsOfTheSections)
{
    CLayoutSectionDefault::CLayoutSectionLocal local(u"View");
    local.SetValue(u"a", u"1");
    local.SetValue(u"b", u"2");
    local.SetValue(u"a", u"3");
    EXPECT_EQ(local.Keys(), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(local.ValueOf(u"a"), u"3");
    EXPECT_EQ(local.ValueOf(u"c", u"d"), u"d");

    struct Case
    {
        std::u16string text;
        int value;
    };
    for (const Case& c : std::vector<Case>{{u"12abc", 12},
                                           {u"", 0},
                                           {u"-5", -5},
                                           {u"x1", 0},
                                           {u"+7", 7},
                                           {u"99999999999", 2147483647}})
    {
        local.SetValue(u"n", c.text);
        EXPECT_EQ(local.IntValueOf(u"n", 1), c.value) << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(local.IntValueOf(u"missing", 5), 5);
    local.SetBoolValue(u"flag", true);
    EXPECT_EQ(local.ValueOf(u"flag"), u"TRUE");
    EXPECT_TRUE(local.BoolValueOf(u"flag", false));
    local.SetFloatValue(u"f", 2.345, 2);
    EXPECT_EQ(local.ValueOf(u"f"), u"2.35");
    local.SetListValue(u"l", {u"x", u"y"}, u", ");
    EXPECT_EQ(local.ListValueOf(u"l", u", "), (std::vector<std::u16string>{u"x", u"y"}));
    local.EraseCurrentSection();
    EXPECT_TRUE(local.Keys().empty());

    // A stored value wins over an in-memory default, which wins over the
    // caller's.
    CLayoutSectionAppProfile section(u"V");
    section.Defaults().SetValue(u"k", u"default");
    EXPECT_EQ(section.ValueOf(u"k", u"caller"), u"default");
    EXPECT_EQ(section.ValueOf(u"other", u"caller"), u"caller");
    section.SetValue(u"k", u"stored");
    EXPECT_EQ(section.ValueOf(u"k", u"caller"), u"stored");
    EXPECT_EQ(Stored(u"V", u"k"), u"stored");
}

} // namespace
