#include "res/brindle_resources.h"

#include "platform/ui/dialog_template.h"
#include "res/resource.h"

#include <mutex>

using namespace platform;

namespace
{

// List view styles, as the templates need them.
constexpr DWORD kListReport = 0x0001;
constexpr DWORD kListSingleSelect = 0x0004;
constexpr DWORD kListEditLabels = 0x0200;
constexpr DWORD kListNoSortHeader = 0x8000;

constexpr DWORD kModalDialog = DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

std::u16string Blanks(size_t count)
{
    return std::u16string(count, u' ');
}

ControlTemplate HiddenDisabled(ControlTemplate control)
{
    control.style = (control.style & ~WS_VISIBLE) | WS_DISABLED;
    return control;
}

ControlTemplate Anchored(ControlTemplate control, Anchor anchor)
{
    control.anchor = anchor;
    return control;
}

DialogTemplate AboutBox()
{
    return DialogTemplate{
        .id = IDD_ABOUTBOX,
        .caption = u"About Brindle",
        .width = 170,
        .height = 62,
        .style = kModalDialog,
        .controls = {
            LText(IDC_STATIC, u"Brindle, Version 1.0", 42, 14, 114, 8, SS_NOPREFIX),
            LText(IDC_STATIC, u"Stock quotes from FinnHub and AlphaVantage", 42, 26, 120, 8),
            DefPushButton(IDOK, u"OK", 113, 41, 50, 14, WS_GROUP),
        }};
}

DialogTemplate MainDialog()
{
    constexpr DWORD kCombo = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    constexpr DWORD kTransparent = WS_EX_TRANSPARENT;
    return DialogTemplate{
        .id = IDD_BRINDLE_DIALOG,
        .caption = u"Brindle",
        .width = 441,
        .height = 158,
        .style = DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                 WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        .exStyle = WS_EX_APPWINDOW,
        .controls = {
            LText(IDC_INDEX_CAPTION_1, u" Dow Industrials:", 21, 7, 108, 24, 0, WS_EX_STATICEDGE),
            LText(IDC_INDEX_CAPTION_2, u" Nasdaq 100:", 131, 7, 108, 24, 0, WS_EX_STATICEDGE),
            LText(IDC_INDEX_CAPTION_3, u" S&P 500:", 241, 7, 108, 24, SS_NOPREFIX,
                  WS_EX_STATICEDGE),
            RText(IDC_INDEX_VALUE_1, u":", 22, 20, 106, 10, 0, kTransparent),
            RText(IDC_INDEX_VALUE_2, u":", 132, 20, 106, 10, 0, kTransparent),
            RText(IDC_INDEX_VALUE_3, u":", 242, 20, 106, 10, 0, kTransparent),
            RText(IDC_INDEX_TIME_1, u"", 84, 8, 44, 9, 0, kTransparent),
            RText(IDC_INDEX_TIME_2, u"", 194, 8, 44, 9, 0, kTransparent),
            RText(IDC_INDEX_TIME_3, u"", 304, 8, 44, 9, 0, kTransparent),
            PushButton(IDC_INDEX_REFRESH, u"Refresh", 356, 18, 36, 12),
            LText(IDC_REQUEST_TIME, u"req time", 359, 8, 48, 8),
            Anchored(PushButton(IDC_SETUP, u"Setup", 396, 6, 38, 12), Anchor{.moveX = 100}),
            LText(IDC_STATIC, u"Portfolio:", 15, 38, 35, 10),
            ComboBox(IDC_PORTFOLIO_COMBO, 53, 37, 123, 12, kCombo),
            PushButton(IDC_EDIT_PORTFOLIOS, u"Edit", 179, 37, 23, 12),
            LText(IDC_STATIC, u"Data Source:", 247, 38, 50, 10),
            ComboBox(IDC_DATA_SOURCE_COMBO, 298, 37, 123, 12, kCombo),
            PushButton(IDC_PRICE_REFRESH, u"Price Refresh", 7, 52, 54, 12),
            PushButton(IDC_52W_REFRESH, u"52w Refresh", 87, 52, 57, 12),
            LText(IDC_STATUS, u"Info", 302, 54, 114, 8),
            Anchored(Control(IDC_QUOTE_GRID, std::string(kListViewClass), u"", 7, 68, 425, 83,
                             kListReport | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
                     Anchor{.sizeX = 100, .sizeY = 100}),
        }};
}

DialogTemplate SetupDialog()
{
    return DialogTemplate{
        .id = IDD_SETUP,
        .caption = u"Setup",
        .width = 325,
        .height = 169,
        .style = kModalDialog,
        .controls = {
            GroupBox(u" API Keys: ", 7, 6, 174, 84),
            LText(IDC_STATIC, u"FinnHub:" + Blanks(20) + u"( 60 - sym/min. )", 19, 18, 147, 8),
            EditText(IDC_FH_APIKEY, 19, 30, 150, 14, ES_AUTOHSCROLL),
            LText(IDC_STATIC, u"Alpha Vantage:" + Blanks(10) + u"(  5 - sym/min. )", 19, 54, 146,
                  8),
            EditText(IDC_AV_APIKEY, 19, 66, 150, 14, ES_AUTOHSCROLL),
            GroupBox(u" FH + AV Delay Handling: ", 192, 6, 126, 84),
            EditText(IDC_WAIT_SECS, 204, 25, 24, 14),
            LText(IDC_STATIC, u"Error Timeout Seconds\n(Zero = No Timeout)", 232, 24, 78, 18),
            EditText(IDC_PACING, 204, 49, 24, 14),
            LText(IDC_STATIC, u"PerCall Pacing Delay\n(in Milliseconds)", 232, 48, 78, 18),
            CheckBox(IDC_SHOW_DETAIL, u"Show Error Detail", 220, 72, 92, 10),
            CheckBox(IDC_TICKERS_ON_START, u"Get Top 3 on Startup (Key Required)", 18, 94, 128, 21,
                     BS_MULTILINE),
            CheckBox(IDC_SHOW_ERRORS, u"Show Data Retrieval Errors", 192, 98, 108, 10),
            HiddenDisabled(
                CheckBox(IDC_KEEP_RECENT, u"Keep Most Recent (by Day)", 192, 111, 108, 10)),
            ComboBox(IDC_TOP_SOURCE, 17, 116, 70, 30, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,
                     {u"FinnHub", u"AlphaVantage"}),
            LText(IDC_STATIC, u"API Key to Use", 91, 118, 57, 8),
            LText(IDC_STATIC, u"Symbols to use on Top:", 17, 139, 79, 8),
            EditText(IDC_TOP_SYMBOL_1, 97, 138, 30, 14),
            EditText(IDC_TOP_SYMBOL_2, 136, 138, 30, 14),
            EditText(IDC_TOP_SYMBOL_3, 175, 138, 30, 14),
            PushButton(IDCANCEL, u"Cancel", 243, 148, 36, 14),
            DefPushButton(IDOK, u"OK", 282, 148, 36, 14),
        }};
}

DialogTemplate FolioEditDialog()
{
    return DialogTemplate{
        .id = IDD_FOLIO_EDIT,
        .caption = u"Portfolio Config",
        .width = 331,
        .height = 296,
        .style = kModalDialog,
        .controls = {
            GroupBox(u"Portfolios:", 7, 7, 317, 79),
            ListBox(IDC_FOLIO_LIST, 60, 15, 175, 51, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP),
            PushButton(IDC_FOLIO_UP, u"Up", 30, 24, 23, 9),
            PushButton(IDC_FOLIO_DOWN, u"Down", 30, 47, 23, 9),
            PushButton(IDC_FOLIO_NEW, u"New", 261, 24, 34, 9),
            PushButton(IDC_FOLIO_DELETE, u"Delete", 261, 47, 34, 9),
            RText(IDC_STATIC, u"Name:", 27, 71, 31, 8),
            EditText(IDC_FOLIO_NAME, 60, 69, 134, 14, ES_AUTOHSCROLL),
            PushButton(IDC_SET_NAME, u"Set Name", 198, 69, 37, 13),
            Control(IDC_ROW_GRID, std::string(kListViewClass), u"", 37, 92, 287, 175,
                    kListReport | kListSingleSelect | kListEditLabels | kListNoSortHeader |
                        WS_BORDER | WS_VISIBLE | WS_TABSTOP),
            PushButton(IDC_ROW_UP, u"Up", 10, 113, 23, 9),
            PushButton(IDC_ROW_DOWN, u"Down", 10, 133, 23, 9),
            PushButton(IDC_ADD_ROW, u"Add Row", 40, 272, 49, 11),
            PushButton(IDC_DELETE_ROW, u"Delete Row", 107, 272, 49, 11),
            DefPushButton(IDOK, u"Close", 295, 277, 29, 12),
        }};
}

} // namespace

void LoadBrindleResources()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       RegisterDialogTemplate(AboutBox());
                       RegisterDialogTemplate(MainDialog());
                       RegisterDialogTemplate(SetupDialog());
                       RegisterDialogTemplate(FolioEditDialog());
                       RegisterString(IDS_ABOUTBOX, u"&About Brindle...");
                   });
}
