// The settings the application object holds, and their names in the
// settings store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform
{
class ProfileStore;
}

struct AppSettings
{
    std::int32_t folio = 0;
    std::int32_t dataSource = 0;
    std::u16string fhApiKey;
    std::u16string avApiKey;
    std::int32_t showErrors = 0;
    std::int32_t tickersOnStart = 0;
    std::int32_t avWaitSecs = 0;
    std::int32_t avPacingMs = 0;
    std::int32_t avShowDetail = 0;
    std::int32_t keepRecent = 0;
    std::int32_t fhWaitSecs = 0; // start-up copy of avWaitSecs
    std::int32_t fhPacingMs = 0; // start-up copy of avPacingMs
    std::int32_t topSource = 0;
    std::array<std::u16string, 3> topSymbols;
};

namespace settings_names
{
inline constexpr std::u16string_view kSection = u"Settings";
inline constexpr std::u16string_view kFolio = u"Folio";
inline constexpr std::u16string_view kDataSrc = u"DataSrc";
inline constexpr std::u16string_view kFhApiKey = u"FH_Apikey";
inline constexpr std::u16string_view kAvApiKey = u"AV_Apikey";
inline constexpr std::u16string_view kShowErrors = u"ShowErrors";
inline constexpr std::u16string_view kTickersOnStart = u"TickersOnStart";
inline constexpr std::u16string_view kAvWaitSecs = u"AV_WaitSecs";
inline constexpr std::u16string_view kAvPacing = u"AV_Pacing";
inline constexpr std::u16string_view kAvShowDetail = u"AV_ShowDetail";
inline constexpr std::u16string_view kKeepRecent = u"Keep_Recient";
inline constexpr std::u16string_view kTopSrcKey = u"TopSrcKey";
inline constexpr std::array<std::u16string_view, 3> kTopSymb = {u"TopSymb1", u"TopSymb2",
                                                                u"TopSymb3"};
inline constexpr std::u16string_view kPlacementSection = u"ScreenPosition";
inline constexpr std::u16string_view kPlacement = u"WP";
} // namespace settings_names

// Reads every setting from `store` in the order the program always has,
// with the defaults for absent values and no range checks. The FinnHub
// time-out and pause are start-up copies of the AlphaVantage values.
AppSettings ReadAppSettings(const platform::ProfileStore& store);
