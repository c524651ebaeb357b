// A combo box: a list of items with data, the current selection, and the
// edit field (CBS_DROPDOWN; the window text is the field's text) or a plain
// selection field (CBS_DROPDOWNLIST). Choosing an item puts its text into
// the field and tells the parent CBN_SELCHANGE, only when the selection
// really changed. Typing into the field clears the selection (no item is
// current any more) and tells the parent CBN_EDITUPDATE and CBN_EDITCHANGE;
// programmatic changes tell nothing.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/item_list.h"
#include "platform/ui/window.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform
{

class CComboBox : public Window
{
public:
    std::string_view ClassName() const override { return "ComboBox"; }

    bool HasEditField() const { return (GetStyle() & CBS_TYPEMASK) != CBS_DROPDOWNLIST; }

    // Appends (CBS_SORT: inserts in order); returns the index.
    int AddString(std::u16string_view text);
    // Inserts before `index` (-1: at the end); CB_ERR when out of range.
    int InsertString(int index, std::u16string_view text);
    // Returns the count left, CB_ERR when out of range.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const { return items.Count(); }

    // CB_ERR when nothing is selected.
    int GetCurSel() const { return current; }
    // Selects the item (its text goes into the field); -1 or an index out
    // of range selects nothing and empties the field. No notification.
    // Returns the index selected, CB_ERR for none.
    int SetCurSel(int index);

    // The item's text; empty when out of range.
    std::u16string GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    std::uintptr_t GetItemData(int index) const;
    int SetItemData(int index, std::uintptr_t data);
    // The first item from after `start` (-1: from the first) whose text
    // begins with (FindString) or equals (FindStringExact) `text`, ignoring
    // case; CB_ERR when none.
    int FindString(int start, std::u16string_view text) const;
    int FindStringExact(int start, std::u16string_view text) const;

    // The edit field's selection and text limit.
    std::pair<int, int> GetEditSel() const { return {editStart, editEnd}; }
    bool SetEditSel(int start, int end);
    void LimitText(int limit) { editLimit = limit <= 0 ? 0x7FFFFFFE : limit; }
    int GetLimitText() const { return editLimit; }

    bool GetDroppedState() const { return dropped; }
    void ShowDropDown(bool show = true);

    // Input: the user picks item `index` from the list (the box takes the
    // focus, the list closes). False when the box cannot take input or the
    // index is out of range.
    bool ChooseItem(int index);
    // Input: the user types into the edit field, replacing its selection.
    bool TypeText(std::u16string_view text);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnTextChanged() override;

private:
    void Select(int index, bool notify);

    ItemList items;
    int current = CB_ERR;
    int editStart = 0;
    int editEnd = 0;
    int editLimit = 0x7FFFFFFE;
    bool dropped = false;
    bool settingText = false;
};

} // namespace platform
