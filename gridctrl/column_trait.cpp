#include "gridctrl/column_trait.h"

#include "gridctrl/report_grid.h"

#include <algorithm>

using namespace platform;

namespace
{
// The longest cell text compared when rows are sorted.
constexpr std::size_t kCompareChars = 255;
} // namespace

int CompareTextNoCase(std::u16string_view left, std::u16string_view right)
{
    const auto fold = [](char16_t unit)
    { return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit; };
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i)
    {
        const char16_t a = fold(left[i]);
        const char16_t b = fold(right[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

int LeadingInteger(std::u16string_view text)
{
    return CLayoutSection::TextToInt(text);
}

CColumnTrait::~CColumnTrait() = default;

void CColumnTrait::OnInsertColumn(CReportGrid&, int) {}

void CColumnTrait::DrawCell(CReportGrid&, NMLVCUSTOMDRAW& draw, LRESULT& result)
{
    if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && !shown)
        result = CDRF_SKIPDEFAULT;
}

int CColumnTrait::OnEditClick(CReportGrid&, int, int, POINT, bool)
{
    return 0;
}

bool CColumnTrait::IsCellLocked(const CReportGrid&, int, int) const
{
    return !editable;
}

int CColumnTrait::CompareCells(std::u16string_view left, std::u16string_view right,
                               bool ascending) const
{
    const int result = CompareTextNoCase(left, right);
    return ascending ? result : -result;
}

int CColumnTrait::CompareRows(const CReportGrid& grid, int leftRow, int rightRow, int column,
                              bool ascending) const
{
    std::u16string left = grid.GetItemText(leftRow, column);
    std::u16string right = grid.GetItemText(rightRow, column);
    if (left.size() > kCompareChars)
        left.resize(kCompareChars);
    if (right.size() > kCompareChars)
        right.resize(kCompareChars);
    return CompareCells(left, right, ascending);
}

void CColumnTraitText::DrawCell(CReportGrid& grid, NMLVCUSTOMDRAW& draw, LRESULT& result)
{
    switch (draw.nmcd.dwDrawStage)
    {
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
    {
        if (!shown)
        {
            result = CDRF_SKIPDEFAULT;
            return;
        }
        savedTextColour = draw.clrText;
        savedBackColour = draw.clrTextBk;
        savedFont = draw.font;
        if (columnTextColour != kNoColour)
            draw.clrText = columnTextColour;
        if (columnBackColour != kNoColour)
            draw.clrTextBk = columnBackColour;
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        COLORREF text = draw.clrText;
        COLORREF back = draw.clrTextBk;
        if (grid.OnCellColour(row, draw.iSubItem, text, back))
        {
            draw.clrText = text;
            draw.clrTextBk = back;
        }
        if (grid.OnCellFont(row, draw.iSubItem, cellFont))
        {
            draw.font = &cellFont;
            result |= CDRF_NEWFONT;
        }
        result |= CDRF_NOTIFYPOSTPAINT;
        return;
    }
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        draw.clrText = savedTextColour;
        draw.clrTextBk = savedBackColour;
        draw.font = savedFont;
        return;
    default:
        return;
    }
}

int CColumnTraitText::CompareCells(std::u16string_view left, std::u16string_view right,
                                   bool ascending) const
{
    if (!numericSort)
        return CColumnTrait::CompareCells(left, right, ascending);
    const long long a = LeadingInteger(left);
    const long long b = LeadingInteger(right);
    const long long difference = ascending ? a - b : b - a;
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}
