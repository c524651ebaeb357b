// Column traits: one per grid column, owned by the grid. A trait holds the
// column's state (shown, hidden with its saved place and width, limits) and
// draws, compares and (in the editing traits) edits the column's cells.
#pragma once

#include "platform/ui/notify.h"

#include <string>
#include <string_view>

class CReportGrid;

// "No colour" in trait colour fields.
inline constexpr platform::COLORREF kNoColour = platform::CLR_NONE;

class CColumnTrait
{
public:
    CColumnTrait() = default;
    CColumnTrait(const CColumnTrait&) = delete;
    CColumnTrait& operator=(const CColumnTrait&) = delete;
    virtual ~CColumnTrait();

    // Runs once the column is in the grid.
    virtual void OnInsertColumn(CReportGrid& grid, int column);
    // A custom-draw stage of one of the column's cells.
    virtual void DrawCell(CReportGrid& grid, platform::NMLVCUSTOMDRAW& draw,
                          platform::LRESULT& result);
    // Editing: whether a click starts an edit (0 no, 1 edit, 2 image), and
    // the editor. Nothing by default.
    virtual int OnEditClick(CReportGrid& grid, int row, int column, platform::POINT point,
                            bool doubleClick);
    virtual bool IsCellLocked(const CReportGrid& grid, int row, int column) const;
    // < 0 when `left` comes first in the given direction.
    virtual int CompareCells(std::u16string_view left, std::u16string_view right,
                             bool ascending) const;
    virtual int CompareRows(const CReportGrid& grid, int leftRow, int rightRow, int column,
                            bool ascending) const;
    // The trait's own colours; kNoColour when it has none.
    virtual platform::COLORREF TextColour() const { return kNoColour; }
    virtual platform::COLORREF BackColour() const { return kNoColour; }

    // Column state.
    bool shown = true;
    int savedWidth = 0;
    int savedPosition = -1;
    bool neverShown = false;
    bool alwaysShown = false;
    bool sortable = true;
    bool editable = true;
    bool resizable = true;
    int minWidth = -1;
    int maxWidth = -1;
    int flags = 0;
};

class CColumnTraitText : public CColumnTrait
{
public:
    void DrawCell(CReportGrid& grid, platform::NMLVCUSTOMDRAW& draw,
                  platform::LRESULT& result) override;
    int CompareCells(std::u16string_view left, std::u16string_view right,
                     bool ascending) const override;
    platform::COLORREF TextColour() const override { return columnTextColour; }
    platform::COLORREF BackColour() const override { return columnBackColour; }

    platform::COLORREF columnTextColour = kNoColour;
    platform::COLORREF columnBackColour = kNoColour;
    bool numericSort = false;

protected:
    // What the cell had before the trait changed it, restored afterwards.
    platform::COLORREF savedTextColour = platform::CLR_DEFAULT;
    platform::COLORREF savedBackColour = platform::CLR_DEFAULT;
    const platform::CellFont* savedFont = nullptr;
    platform::CellFont cellFont;
};

// Case-insensitive text comparison (A to Z fold to a to z, everything else
// by code value), and whole numbers by their leading digits.
int CompareTextNoCase(std::u16string_view left, std::u16string_view right);
int LeadingInteger(std::u16string_view text);
