#include "gridctrl/row_trait.h"

#include "gridctrl/report_grid.h"

using namespace platform;

namespace
{
// Width of a window border, by which focus rectangles are adjusted.
constexpr int kBorder = 1;
} // namespace

CRowTrait::~CRowTrait() = default;

COLORREF CRowTrait::TextColourForRow(const CReportGrid&, int) const
{
    return kNoColour;
}

COLORREF CRowTrait::BackColourForRow(const CReportGrid&, int) const
{
    return kNoColour;
}

COLORREF CRowTraitText::TextColourForRow(const CReportGrid&, int row) const
{
    if (row % 2 == 1 && altTextColour != kNoColour)
        return altTextColour;
    return rowTextColour;
}

COLORREF CRowTraitText::BackColourForRow(const CReportGrid&, int row) const
{
    if (row % 2 == 1 && altBackColour != kNoColour)
        return altBackColour;
    return rowBackColour;
}

void CRowTraitText::ApplyRowColours(CReportGrid& grid, int row, NMLVCUSTOMDRAW& draw) const
{
    const COLORREF traitText = TextColourForRow(grid, row);
    const COLORREF traitBack = BackColourForRow(grid, row);
    if (traitText != kNoColour)
        draw.clrText = traitText;
    if (traitBack != kNoColour)
        draw.clrTextBk = traitBack;
    COLORREF text = draw.clrText;
    COLORREF back = draw.clrTextBk;
    if (grid.OnRowColour(row, text, back))
    {
        draw.clrText = text;
        draw.clrTextBk = back;
    }
}

void CRowTraitText::DrawFocus(CReportGrid& grid, int row, NMLVCUSTOMDRAW& draw) const
{
    if (grid.GetNextItem(-1, LVNI_FOCUSED) != row)
        return;
    const bool gridLines = (grid.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0;
    const int focusColumn = grid.FocusColumn();
    RECT rect;
    if (focusColumn >= 0)
    {
        if (!grid.GetSubItemRect(row, focusColumn, rect))
            return;
        if (focusColumn != grid.FirstShownColumn())
            rect.left -= kBorder;
        if (gridLines)
            rect.right -= kBorder;
        DrawFocusRect(draw.nmcd.hdc, rect);
    }
    else if (gridLines)
    {
        if (!grid.GetItemRect(row, rect, LVIR_BOUNDS))
            return;
        rect.right -= kBorder;
        DrawFocusRect(draw.nmcd.hdc, rect);
    }
}

void CRowTraitText::DrawRow(CReportGrid& grid, NMLVCUSTOMDRAW& draw, LRESULT& result)
{
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    switch (draw.nmcd.dwDrawStage)
    {
    case CDDS_ITEMPREPAINT:
    {
        ApplyRowColours(grid, row, draw);
        savedFont = draw.font;
        if (grid.OnRowFont(row, rowFont))
        {
            draw.font = &rowFont;
            result |= CDRF_NEWFONT;
        }
        else if (const auto& cellFont = grid.CellFontOverride())
        {
            draw.font = &*cellFont;
            result |= CDRF_NEWFONT;
        }
        // The trait draws the focus itself after painting.
        if ((draw.nmcd.uItemState & CDIS_FOCUS) &&
            (grid.FocusColumn() >= 0 || (grid.GetExtendedStyle() & LVS_EX_GRIDLINES)))
            draw.nmcd.uItemState &= ~CDIS_FOCUS;
        return;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
    {
        // Colours a previous cell set stay in the record: start again from
        // the list's defaults and the row's own colours.
        if (draw.clrText != CLR_DEFAULT || draw.clrTextBk != CLR_DEFAULT)
        {
            draw.clrText = CLR_DEFAULT;
            draw.clrTextBk = CLR_DEFAULT;
        }
        ApplyRowColours(grid, row, draw);
        if (invertFocusCell && draw.iSubItem == grid.FocusColumn() &&
            grid.GetNextItem(-1, LVNI_FOCUSED) == row)
            draw.nmcd.uItemState &= ~CDIS_SELECTED;
        return;
    }
    case CDDS_ITEMPOSTPAINT:
        draw.font = savedFont;
        DrawFocus(grid, row, draw);
        return;
    default:
        return;
    }
}
