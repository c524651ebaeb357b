// Row traits: how the grid draws every row (its colours, font and the focus
// rectangle of the focus cell).
#pragma once

#include "gridctrl/column_trait.h"
#include "platform/ui/notify.h"

class CReportGrid;

class CRowTrait
{
public:
    CRowTrait() = default;
    CRowTrait(const CRowTrait&) = delete;
    CRowTrait& operator=(const CRowTrait&) = delete;
    virtual ~CRowTrait();

    // A custom-draw stage of a row or of one of its cells.
    virtual void DrawRow(CReportGrid& grid, platform::NMLVCUSTOMDRAW& draw,
                         platform::LRESULT& result) = 0;
    // The trait's colours for a row; kNoColour when it has none.
    virtual platform::COLORREF TextColourForRow(const CReportGrid& grid, int row) const;
    virtual platform::COLORREF BackColourForRow(const CReportGrid& grid, int row) const;
};

class CRowTraitText : public CRowTrait
{
public:
    void DrawRow(CReportGrid& grid, platform::NMLVCUSTOMDRAW& draw,
                 platform::LRESULT& result) override;
    platform::COLORREF TextColourForRow(const CReportGrid& grid, int row) const override;
    platform::COLORREF BackColourForRow(const CReportGrid& grid, int row) const override;

    platform::COLORREF rowTextColour = kNoColour;
    platform::COLORREF rowBackColour = kNoColour;
    // Odd rows (1, 3, 5, ...); they take precedence over the row colours.
    platform::COLORREF altTextColour = kNoColour;
    platform::COLORREF altBackColour = kNoColour;
    bool invertFocusCell = false;

protected:
    // Trait colours, then the grid's OnRowColour.
    void ApplyRowColours(CReportGrid& grid, int row, platform::NMLVCUSTOMDRAW& draw) const;
    void DrawFocus(CReportGrid& grid, int row, platform::NMLVCUSTOMDRAW& draw) const;

    platform::CellFont rowFont;
    const platform::CellFont* savedFont = nullptr;
};
