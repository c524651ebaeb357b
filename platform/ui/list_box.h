// A single-selection list box: items with data, the selected item and the
// first item shown. With LBS_NOTIFY the parent is told LBN_SELCHANGE when
// the user changes the selection (only on a real change) and LBN_DBLCLK on
// a double click; programmatic changes tell nothing. LBS_SORT keeps the
// items in case-blind order.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/item_list.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class CListBox : public Window
{
public:
    std::string_view ClassName() const override { return "ListBox"; }

    int AddString(std::u16string_view text);
    int InsertString(int index, std::u16string_view text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const { return items.Count(); }

    int GetCurSel() const { return current; }
    // -1 or an index out of range selects nothing (LB_ERR is returned for
    // an index out of range). No notification.
    int SetCurSel(int index);

    std::u16string GetText(int index) const;
    int GetTextLen(int index) const;
    std::uintptr_t GetItemData(int index) const;
    int SetItemData(int index, std::uintptr_t data);
    int FindString(int start, std::u16string_view text) const;
    int FindStringExact(int start, std::u16string_view text) const;

    int GetTopIndex() const { return topIndex; }
    int SetTopIndex(int index);

    // Input: the user clicks item `index` (the box takes the focus).
    bool ChooseItem(int index);
    // Input: the user double-clicks item `index`.
    bool DoubleClickItem(int index);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Select(int index, bool notify);

    ItemList items;
    int current = LB_ERR;
    int topIndex = 0;
};

} // namespace platform
