// Column-state sections with named profiles, each holding a complete
// layout in its own section (view name + "__" + profile), and the section
// family stored through the application's profile store.
#pragma once

#include "gridctrl/layout_section.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CLayoutSectionProfiles : public CLayoutSectionDefault
{
public:
    explicit CLayoutSectionProfiles(std::u16string viewName);

    // (view name, profile name) of a section name.
    virtual std::pair<std::u16string, std::u16string>
    SplitSectionName(std::u16string_view sectionName) const;
    virtual std::u16string JoinSectionName(std::u16string_view view,
                                           std::u16string_view profile) const;
    virtual std::vector<std::u16string> ProfileNames() const;
    virtual std::u16string ActiveProfileName() const;
    virtual void SelectProfile(std::u16string_view name);
    virtual void AddProfileName(std::u16string_view name);
    virtual void DropProfile(std::u16string_view name);

    std::u16string SectionName() const override;
    void EraseCurrentSection() override;

    static constexpr std::u16string_view kProfilesKey = u"CurrentProfiles";
    static constexpr std::u16string_view kActiveKey = u"ActiveProfile";
    static constexpr std::u16string_view kNameDelimiter = u", ";
    static constexpr std::u16string_view kSectionJoiner = u"__";

private:
    void WriteProfileNames(const std::vector<std::u16string>& names);

    mutable std::u16string currentSection;
};

// Stores every value as a string value of the application's profile store,
// one section per key under the application's key.
class CLayoutSectionAppProfile : public CLayoutSectionProfiles
{
public:
    using CLayoutSectionProfiles::CLayoutSectionProfiles;

    std::u16string LoadValue(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue) const override;
    void StoreValue(std::u16string_view section, std::u16string_view key,
                    std::u16string_view value) override;
    void EraseSection(std::u16string_view section) override;
};
