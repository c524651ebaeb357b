#include "app/app_settings.h"

#include "platform/profile/profile_store.h"

AppSettings ReadAppSettings(const platform::ProfileStore& store)
{
    using namespace settings_names;
    auto number = [&](std::u16string_view name, int defaultValue)
    { return store.GetProfileInt(kSection, name, defaultValue); };
    auto text = [&](std::u16string_view name) { return store.GetProfileString(kSection, name); };

    AppSettings s;
    s.folio = number(kFolio, 0);
    s.dataSource = number(kDataSrc, 0);
    s.fhApiKey = text(kFhApiKey);
    s.avApiKey = text(kAvApiKey);
    s.showErrors = number(kShowErrors, 1);
    s.tickersOnStart = number(kTickersOnStart, 0);
    s.avWaitSecs = s.fhWaitSecs = number(kAvWaitSecs, 120);
    s.avPacingMs = s.fhPacingMs = number(kAvPacing, 500);
    s.avShowDetail = number(kAvShowDetail, 0);
    s.keepRecent = number(kKeepRecent, 0);
    s.topSource = number(kTopSrcKey, 0);
    for (size_t i = 0; i < s.topSymbols.size(); ++i)
        s.topSymbols[i] = text(kTopSymb[i]);
    return s;
}
