#include "gridctrl/layout_section_profiles.h"

#include "platform/profile/profile_store.h"

#include <algorithm>

CLayoutSectionProfiles::CLayoutSectionProfiles(std::u16string viewName)
    : CLayoutSectionDefault(viewName), currentSection(std::move(viewName))
{
}

std::pair<std::u16string, std::u16string>
CLayoutSectionProfiles::SplitSectionName(std::u16string_view sectionName) const
{
    // The joiner is looked for after the first character, so that a view
    // name may itself begin with it.
    const std::size_t found =
        sectionName.empty() ? std::u16string_view::npos : sectionName.find(kSectionJoiner, 1);
    if (found == std::u16string_view::npos)
        return {std::u16string(sectionName), std::u16string()};
    return {std::u16string(sectionName.substr(0, found)),
            std::u16string(sectionName.substr(found + kSectionJoiner.size()))};
}

std::u16string CLayoutSectionProfiles::JoinSectionName(std::u16string_view view,
                                                       std::u16string_view profile) const
{
    std::u16string joined(view);
    if (!profile.empty())
    {
        joined += kSectionJoiner;
        joined += profile;
    }
    return joined;
}

std::vector<std::u16string> CLayoutSectionProfiles::ProfileNames() const
{
    return SplitList(LoadValue(ViewName(), kProfilesKey, {}), kNameDelimiter);
}

std::u16string CLayoutSectionProfiles::ActiveProfileName() const
{
    return SplitSectionName(SectionName()).second;
}

std::u16string CLayoutSectionProfiles::SectionName() const
{
    if (currentSection != ViewName())
        return currentSection;
    std::u16string profile = LoadValue(ViewName(), kActiveKey, {});
    if (profile.empty())
    {
        const std::vector<std::u16string> names = ProfileNames();
        if (!names.empty())
            profile = names.front();
    }
    currentSection = JoinSectionName(ViewName(), profile);
    return currentSection;
}

void CLayoutSectionProfiles::SelectProfile(std::u16string_view name)
{
    StoreValue(ViewName(), kActiveKey, name);
    currentSection = JoinSectionName(ViewName(), name);
    if (!name.empty())
        AddProfileName(name);
}

void CLayoutSectionProfiles::WriteProfileNames(const std::vector<std::u16string>& names)
{
    StoreValue(ViewName(), kProfilesKey, JoinList(names, kNameDelimiter));
}

void CLayoutSectionProfiles::AddProfileName(std::u16string_view name)
{
    std::vector<std::u16string> names = ProfileNames();
    if (std::find(names.begin(), names.end(), name) != names.end())
        return;
    names.emplace_back(name);
    WriteProfileNames(names);
}

void CLayoutSectionProfiles::DropProfile(std::u16string_view name)
{
    EraseSection(JoinSectionName(ViewName(), name));
    std::vector<std::u16string> names = ProfileNames();
    std::erase(names, std::u16string(name));
    WriteProfileNames(names);
}

void CLayoutSectionProfiles::EraseCurrentSection()
{
    const std::u16string section = SectionName();
    if (section != ViewName())
    {
        EraseSection(section);
        return;
    }
    // The view's own section also holds the profile bookkeeping: keep it.
    const std::u16string profiles = LoadValue(ViewName(), kProfilesKey, {});
    const std::u16string active = LoadValue(ViewName(), kActiveKey, {});
    EraseSection(section);
    if (!profiles.empty())
        StoreValue(ViewName(), kProfilesKey, profiles);
    if (!active.empty())
        StoreValue(ViewName(), kActiveKey, active);
}

// --- through the application's profile store ---------------------------------

std::u16string CLayoutSectionAppProfile::LoadValue(std::u16string_view section,
                                                   std::u16string_view key,
                                                   std::u16string_view defaultValue) const
{
    return platform::AppProfile().GetProfileString(section, key, defaultValue);
}

void CLayoutSectionAppProfile::StoreValue(std::u16string_view section, std::u16string_view key,
                                          std::u16string_view value)
{
    platform::AppProfile().WriteProfileString(section, key, value);
}

void CLayoutSectionAppProfile::EraseSection(std::u16string_view section)
{
    platform::AppProfile().DeleteSection(section);
}
