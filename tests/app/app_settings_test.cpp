#include "app/app_settings.h"

#include "platform/profile/profile_store.h"
#include "platform/ui/window_placement.h"

#include <gtest/gtest.h>

using platform::ProfileStore;

namespace
{

ProfileStore MemoryStore()
{
    return ProfileStore({}, u"HKEY_CURRENT_USER\\Software\\Brindle\\T");
}

TEST(AppSettings, DefaultsOnAFreshMachine)
{
    const AppSettings s = ReadAppSettings(MemoryStore());
    EXPECT_EQ(s.folio, 0);
    EXPECT_EQ(s.dataSource, 0);
    EXPECT_EQ(s.fhApiKey, u"");
    EXPECT_EQ(s.avApiKey, u"");
    EXPECT_EQ(s.showErrors, 1);
    EXPECT_EQ(s.tickersOnStart, 0);
    EXPECT_EQ(s.avWaitSecs, 120);
    EXPECT_EQ(s.fhWaitSecs, 120);
    EXPECT_EQ(s.avPacingMs, 500);
    EXPECT_EQ(s.fhPacingMs, 500);
    EXPECT_EQ(s.avShowDetail, 0);
    EXPECT_EQ(s.keepRecent, 0);
    EXPECT_EQ(s.topSource, 0);
    for (const auto& symbol : s.topSymbols)
        EXPECT_EQ(symbol, u"");
}

TEST(AppSettings, StoredValuesAreTakenWithoutRangeChecks)
{
    ProfileStore store = MemoryStore();
    using namespace settings_names;
    store.WriteProfileInt(kSection, kFolio, -1);
    store.WriteProfileInt(kSection, kDataSrc, 5);
    store.WriteProfileString(kSection, kFhApiKey, u"fh key");
    store.WriteProfileString(kSection, kAvApiKey, u"AVKEY");
    store.WriteProfileInt(kSection, kShowErrors, 0);
    store.WriteProfileInt(kSection, kTickersOnStart, 1);
    store.WriteProfileInt(kSection, kAvWaitSecs, 0);
    store.WriteProfileInt(kSection, kAvPacing, 70000);
    store.WriteProfileInt(kSection, kAvShowDetail, 1);
    store.WriteProfileInt(kSection, kKeepRecent, 1);
    store.WriteProfileInt(kSection, kTopSrcKey, -1);
    store.WriteProfileString(kSection, kTopSymb[0], u"^DJI");
    store.WriteProfileString(kSection, kTopSymb[2], u"SPY");

    const AppSettings s = ReadAppSettings(store);
    EXPECT_EQ(s.folio, -1);
    EXPECT_EQ(s.dataSource, 5);
    EXPECT_EQ(s.fhApiKey, u"fh key");
    EXPECT_EQ(s.avApiKey, u"AVKEY");
    EXPECT_EQ(s.showErrors, 0);
    EXPECT_EQ(s.tickersOnStart, 1);
    EXPECT_EQ(s.avWaitSecs, 0);
    EXPECT_EQ(s.fhWaitSecs, 0);
    EXPECT_EQ(s.avPacingMs, 70000);
    EXPECT_EQ(s.fhPacingMs, 70000);
    EXPECT_EQ(s.avShowDetail, 1);
    EXPECT_EQ(s.keepRecent, 1);
    EXPECT_EQ(s.topSource, -1);
    EXPECT_EQ(s.topSymbols[0], u"^DJI");
    EXPECT_EQ(s.topSymbols[1], u"");
    EXPECT_EQ(s.topSymbols[2], u"SPY");
}

TEST(WindowPlacementRecord, RoundTripsThroughItsFortyFourBytes)
{
    platform::WINDOWPLACEMENT wp;
    wp.flags = platform::WPF_RESTORETOMAXIMIZED;
    wp.showCmd = platform::SW_SHOWMAXIMIZED;
    wp.ptMinPosition = {-1, -1};
    wp.ptMaxPosition = {-8, -31};
    wp.rcNormalPosition = {100, 200, 762, 457};
    const auto bytes = wp.ToBytes();
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes[0], 44);
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(bytes[12], 0xff); // little-endian -1
    EXPECT_EQ(bytes[28], 100);
    EXPECT_EQ(platform::WINDOWPLACEMENT::FromBytes(bytes), wp);
}

TEST(WindowPlacementRecord, AnyOtherSizeIsUnreadable)
{
    for (size_t size : {0u, 43u, 45u, 88u})
        EXPECT_FALSE(platform::WINDOWPLACEMENT::FromBytes(std::vector<std::uint8_t>(size, 0)))
            << size;
}

} // namespace
