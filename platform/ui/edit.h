// A single-line edit field: text, text limit, selection (with the caret at
// its moving end), alignment (ES_LEFT, ES_CENTER, ES_RIGHT), margins and
// horizontal scrolling. Without ES_AUTOHSCROLL the field takes no more
// typed characters than it can show; with it the text scrolls so that the
// caret stays in view. The width is measured in average characters of the
// dialog font (6 pixels), the backend's real font aside.
//
// Programmatic changes (SetWindowText, ReplaceSel) are not limited; typed
// text is. Every change of the text tells the parent EN_UPDATE and
// EN_CHANGE, as SetWindowText does too.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/window.h"

#include <string>
#include <string_view>
#include <utility>

namespace platform
{

class CEdit : public Window
{
public:
    static constexpr int kDefaultLimit = 30000;
    static constexpr int kAverageCharWidth = 6;

    std::string_view ClassName() const override { return "Edit"; }

    // The selection as start and end (start <= end); start == end is the
    // caret alone.
    void GetSel(int& start, int& end) const;
    std::pair<int, int> GetSel() const;
    // start -1 removes the selection (the caret stays); end -1 means the end
    // of the text. The caret goes to `end`.
    void SetSel(int start, int end, bool noScroll = false);
    // Replaces the selection by `text` and puts the caret after it.
    void ReplaceSel(std::u16string_view text);

    // The most characters the user can type in; 0 sets the largest.
    void SetLimitText(int limit);
    void LimitText(int limit) { SetLimitText(limit); }
    int GetLimitText() const { return limit; }

    void SetMargins(int left, int right);
    int GetLeftMargin() const { return leftMargin; }
    int GetRightMargin() const { return rightMargin; }

    // ES_LEFT, ES_CENTER or ES_RIGHT.
    DWORD GetAlignment() const { return GetStyle() & ES_ALIGNMASK; }
    void SetAlignment(DWORD alignment) { ModifyStyle(ES_ALIGNMASK, alignment & ES_ALIGNMASK); }

    bool SetReadOnly(bool readOnly = true);
    bool IsReadOnly() const { return (GetStyle() & ES_READONLY) != 0; }

    // The index of the first character shown (horizontal scroll position).
    int GetFirstVisibleChar() const { return firstVisible; }
    // How many average characters fit between the margins.
    int VisibleChars() const;

    void Copy();
    void Cut();
    void Paste();
    void Clear();

    // Input: text typed by the user, replacing the selection, as far as the
    // limit, the width (without ES_AUTOHSCROLL) and the style (read-only,
    // digits only, upper or lower case) let it. The field takes the focus.
    // False when nothing could be typed.
    bool TypeText(std::u16string_view typed);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnTextChanged() override;

private:
    void SetText(std::u16string newText, int caret);
    void ScrollToCaret();
    bool InsertTyped(std::u16string_view typed);
    bool HandleKey(UINT vk);
    int TextLength() const { return static_cast<int>(GetWindowText().size()); }

    int anchor = 0;
    int caret = 0;
    int limit = kDefaultLimit;
    int leftMargin = 0;
    int rightMargin = 0;
    int firstVisible = 0;
    bool settingText = false;
};

} // namespace platform
