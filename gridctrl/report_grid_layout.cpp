// The grid's column layout in a column-state section: which columns are
// shown, in which order, how wide.
#include "gridctrl/layout_section_profiles.h"
#include "gridctrl/report_grid.h"

#include <algorithm>
#include <string>

using namespace platform;

namespace
{

constexpr std::u16string_view kColumnCount = u"ColumnCount";
// More columns than any layout of ours holds; the rest of a larger count is
// taken as damage.
constexpr int kMostStoredColumns = 4096;

std::u16string NumberedKey(std::u16string_view stem, int k)
{
    std::u16string key(stem);
    const std::string number = std::to_string(k);
    key.append(number.begin(), number.end());
    return key;
}

std::u16string DataKey(int k)
{
    return NumberedKey(u"ColumnData_", k);
}

std::u16string WidthKey(int k)
{
    return NumberedKey(u"ColumnWidth_", k);
}

} // namespace

void CReportGrid::BindColumnState(std::unique_ptr<CLayoutSection> section)
{
    if (!section)
        return;
    CLayoutSection& bound = *section;
    BindColumnState(bound);
    ownedColumnState = std::move(section);
}

void CReportGrid::BindColumnState(CLayoutSection& section)
{
    columnState = &section;
    // A section bound without ownership replaces an owned one.
    if (ownedColumnState.get() != &section)
        ownedColumnState.reset();
    if (auto* withDefaults = dynamic_cast<CLayoutSectionDefault*>(&section))
        if (!withDefaults->HasDefaults())
            StoreColumnState(withDefaults->Defaults());
    RestoreColumnState(section);
}

void CReportGrid::StoreColumnState(CLayoutSection& section)
{
    section.EraseCurrentSection();
    int k = 0;
    for (int column : GetColumnOrderArray())
    {
        if (!IsColumnShown(column))
            continue;
        LVCOLUMN info{.mask = LVCF_SUBITEM | LVCF_WIDTH};
        GetColumn(column, info);
        section.SetIntValue(DataKey(k), info.iSubItem);
        section.SetIntValue(WidthKey(k), info.cx);
        ++k;
    }
    section.SetIntValue(kColumnCount, k);
}

void CReportGrid::RestoreColumnState(CLayoutSection& section)
{
    // Width changes made here must not store the layout half-way.
    CLayoutSection* const attached = columnState;
    columnState = nullptr;
    SetRedraw(false);

    const int count = GetColumnCount();
    // A damaged count must not keep the grid reading absent keys for ever.
    const int stored = std::min(section.IntValueOf(kColumnCount, 0), kMostStoredColumns);
    std::vector<int> newOrder(static_cast<std::size_t>(count), -1);
    std::vector<bool> placed(static_cast<std::size_t>(count), false);
    int next = count - 1;
    bool anyPlaced = false;

    for (int k = stored - 1; k >= 0 && next >= 0; --k)
    {
        const int dataIndex = section.IntValueOf(DataKey(k), 0);
        int found = -1;
        for (int column = 0; column < count; ++column)
        {
            if (placed[static_cast<std::size_t>(column)])
                continue;
            LVCOLUMN info{.mask = LVCF_SUBITEM};
            GetColumn(column, info);
            if (info.iSubItem != dataIndex || IsColumnNeverShown(column))
                continue;
            found = column;
            break;
        }
        if (found < 0)
            continue;
        CColumnTrait& trait = *ColumnTraitAt(found);
        placed[static_cast<std::size_t>(found)] = true;
        anyPlaced = true;
        trait.shown = true;
        if (trait.resizable)
            SetColumnWidthInternal(found, section.IntValueOf(WidthKey(k), 0));
        newOrder[static_cast<std::size_t>(next--)] = found;
    }
    for (int column = count - 1; column >= 0 && next >= 0; --column)
    {
        if (placed[static_cast<std::size_t>(column)] || !IsColumnAlwaysShown(column))
            continue;
        placed[static_cast<std::size_t>(column)] = true;
        anyPlaced = true;
        ColumnTraitAt(column)->shown = true;
        newOrder[static_cast<std::size_t>(next--)] = column;
    }
    if (anyPlaced)
    {
        for (int column = count - 1; column >= 0 && next >= 0; --column)
        {
            if (placed[static_cast<std::size_t>(column)])
                continue;
            CColumnTrait& trait = *ColumnTraitAt(column);
            trait.savedPosition = -1;
            // A column hidden already keeps the width it had when shown.
            if (trait.shown)
                trait.savedWidth = GetColumnWidth(column);
            SetColumnWidthInternal(column, 0);
            trait.shown = false;
            newOrder[static_cast<std::size_t>(next--)] = column;
        }
        SetColumnOrderArray(newOrder);
    }
    ResetPlaces();

    columnState = attached;
    SetRedraw(true);
    Invalidate();
}

void CReportGrid::ResetColumnState()
{
    if (!columnState)
        return;
    if (auto* withDefaults = dynamic_cast<CLayoutSectionDefault*>(columnState))
        withDefaults->RestoreDefaults();
    RestoreColumnState(*columnState);
}

void CReportGrid::SwitchColumnProfile(std::u16string_view profile)
{
    auto* profiles = dynamic_cast<CLayoutSectionProfiles*>(columnState);
    if (!profiles)
        return;
    StoreColumnState(*profiles);
    profiles->SelectProfile(profile);
    RestoreColumnState(*profiles);
}
