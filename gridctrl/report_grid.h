// The report grid: a list view whose every column carries a column trait
// (drawing, state, hidden columns with their saved place and width) and
// whose rows are drawn through a row trait; one cell of the focused row can
// hold the focus; the column layout is kept in a column-state section.
//
// Drawing runs through the list's custom-draw stages, which the grid
// answers itself (notification reflection). Colours of a cell come, in
// rising precedence, from the row trait, OnRowColour, the column trait and
// OnCellColour.
#pragma once

#include "gridctrl/column_trait.h"
#include "gridctrl/layout_section.h"
#include "gridctrl/row_trait.h"
#include "platform/ui/list_view.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CReportGrid : public platform::CListCtrl
{
public:
    CReportGrid();
    ~CReportGrid() override;

    platform::LRESULT WindowProc(platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;

    virtual void SetBaseRowTrait(std::unique_ptr<CRowTrait> trait);
    virtual void ScrollColumnIntoView(int column);
    // Sizes a column to its cells (and its heading when `includeHeader`).
    virtual bool FitColumnWidth(int column, bool includeHeader);
    virtual void ShowSortIndicator(int column, bool ascending);
    virtual bool SetColumnShown(int column, bool show);
    virtual bool IsColumnShown(int column) const;
    virtual bool IsColumnResizable(int column) const;
    virtual bool IsColumnAlwaysShown(int column) const;
    virtual bool IsColumnNeverShown(int column) const;
    // The first shown column in display order, or -1.
    virtual int FirstShownColumn() const;
    // Column 0: empty title, never shown. Returns its index (0) or -1.
    virtual int AddHiddenFirstColumn();
    virtual void AttachColumnTrait(int column, std::unique_ptr<CColumnTrait> trait);
    // Adds a column (alignment 0 left, 1 right); without a trait it gets a
    // CColumnTraitText. Returns the column index or -1.
    virtual int AddColumn(int position, std::u16string_view title, int alignment, int width,
                          int dataIndex, std::unique_ptr<CColumnTrait> trait = nullptr);
    // Columns inserted or deleted directly get or lose their trait too
    // (a CColumnTraitText for a new one).
    using CListCtrl::InsertColumn;
    int InsertColumn(int index, const platform::LVCOLUMN& column) override;
    bool DeleteColumn(int column) override;
    virtual CColumnTrait* ColumnTraitAt(int column) const;
    virtual int ColumnTraitCount() const { return static_cast<int>(columnTraits.size()); }
    virtual void SetFocusColumn(int column);
    virtual CColumnTrait* CellTraitAt(int row, int column) const;

    // Column state. The grid owns a section bound with ownership.
    virtual void BindColumnState(std::unique_ptr<CLayoutSection> section);
    virtual void BindColumnState(CLayoutSection& section);
    virtual void RestoreColumnState(CLayoutSection& section);
    virtual void StoreColumnState(CLayoutSection& section);
    virtual void ResetColumnState();
    virtual void SwitchColumnProfile(std::u16string_view profile);
    CLayoutSection* ColumnState() const { return columnState; }

    // Display callbacks; true when they supplied a value.
    virtual bool OnCellText(int row, int column, std::u16string& text);
    virtual bool OnCellImage(int row, int column, int& image);
    virtual bool OnCellTooltip(int row, int column, std::u16string& text);
    virtual bool OnCellColour(int row, int column, platform::COLORREF& textColour,
                              platform::COLORREF& backColour);
    virtual bool OnCellFont(int row, int column, platform::CellFont& font);
    virtual bool OnRowColour(int row, platform::COLORREF& textColour,
                             platform::COLORREF& backColour);
    virtual bool OnRowFont(int row, platform::CellFont& font);

    // The custom-draw steps of a row and of a cell.
    virtual void OnCustomDrawRow(platform::NMLVCUSTOMDRAW& draw, platform::LRESULT& result);
    virtual void OnCustomDrawCell(platform::NMLVCUSTOMDRAW& draw, platform::LRESULT& result);

    // Report mode, selection always shown, full-row select, header drag and
    // drop, grid lines, sub-item images, double buffering, tooltips.
    virtual void ApplyCreateStyle();

    int FocusColumn() const { return focusColumn; }
    int SortColumn() const { return sortColumn; }
    bool SortAscending() const { return sortAscending; }
    const std::u16string& EmptyText() const { return emptyText; }
    void SetEmptyText(std::u16string text);
    bool IsEmptyTextShowing() const { return emptyTextShowing; }
    bool IsVisualStyleMode() const { return visualStyleMode; }
    CRowTrait& BaseRowTrait() const { return *baseRowTrait; }
    // The font cells are drawn in when no callback gives one (none: the
    // window's).
    const std::optional<platform::CellFont>& CellFontOverride() const { return cellFont; }
    void SetCellFont(std::optional<platform::CellFont> font);

    static constexpr int kTipMaxChars = 79;

protected:
    bool OnNotifyReflect(platform::NMHDR& hdr, platform::LRESULT& result) override;
    // Header notifications; true when answered (in `result`).
    virtual bool OnHeaderNotify(platform::NMHEADER& header, platform::LRESULT& result);
    virtual void OnLeftButtonDown(platform::WPARAM keys, platform::POINT point);
    virtual void OnDestroyGrid();

    // Puts a new display order in place in which one column moved; the
    // places of hidden columns stay among the same neighbours.
    void ApplyDisplayOrder(const std::vector<int>& newOrder, int movedColumn);
    void SyncPlaces();
    void ResetPlaces() { places = GetColumnOrderArray(); }
    // A width change made by the grid itself, past the header rules.
    void SetColumnWidthInternal(int column, int width);
    void StoreLayout();
    int HiddenColumnCount() const;

    int focusColumn = -1;
    int sortColumn = -1;
    bool sortAscending = false;
    std::u16string emptyText = u"There are no items to show in this view.";
    bool emptyTextShowing = true;
    bool visualStyleMode = false;
    int tipMaxWidth = 32767;

private:
    std::vector<std::unique_ptr<CColumnTrait>> columnTraits;
    // Every column in the order it would show if all were shown: a hidden
    // column keeps its place here among the shown ones.
    std::vector<int> places;
    std::unique_ptr<CRowTrait> baseRowTrait;
    CLayoutSection* columnState = nullptr;
    std::unique_ptr<CLayoutSection> ownedColumnState;
    std::optional<platform::CellFont> cellFont;
    int trackingColumn = -1;
    bool internalWidthChange = false;
};

// The grid the system's grids derive from; it adds the list view's groups.
class CReportGridGroups : public CReportGrid
{
public:
    int groupColumn = -1;
    int groupSortAscending = -1;
    int groupSortMode = 2;

protected:
    void OnDestroyGrid() override;
};
