// Notifications of the report list view and its header: the records a
// control passes with WM_NOTIFY, their codes, the custom-draw stages and the
// style bits of the list view. Values are those the system's code was
// written against.
#pragma once

#include "platform/ui/win_types.h"

#include <string>

namespace platform
{

// Every notification starts with this record.
struct NMHDR
{
    HWND hwndFrom;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

// Notification codes are negative numbers carried in an unsigned field.
constexpr UINT NotifyCode(int code)
{
    return static_cast<UINT>(code);
}

// Common codes.
inline constexpr UINT NM_CLICK = NotifyCode(-2);
inline constexpr UINT NM_DBLCLK = NotifyCode(-3);
inline constexpr UINT NM_RCLICK = NotifyCode(-5);
inline constexpr UINT NM_RDBLCLK = NotifyCode(-6);
inline constexpr UINT NM_SETFOCUS = NotifyCode(-7);
inline constexpr UINT NM_KILLFOCUS = NotifyCode(-8);
inline constexpr UINT NM_CUSTOMDRAW = NotifyCode(-12);

// List-view codes.
inline constexpr UINT LVN_ITEMCHANGING = NotifyCode(-100);
inline constexpr UINT LVN_ITEMCHANGED = NotifyCode(-101);
inline constexpr UINT LVN_INSERTITEM = NotifyCode(-102);
inline constexpr UINT LVN_DELETEITEM = NotifyCode(-103);
inline constexpr UINT LVN_DELETEALLITEMS = NotifyCode(-104);
inline constexpr UINT LVN_COLUMNCLICK = NotifyCode(-108);
inline constexpr UINT LVN_BEGINDRAG = NotifyCode(-109);
inline constexpr UINT LVN_ITEMACTIVATE = NotifyCode(-114);
inline constexpr UINT LVN_KEYDOWN = NotifyCode(-155);
inline constexpr UINT LVN_GETINFOTIP = NotifyCode(-158);
inline constexpr UINT LVN_BEGINLABELEDIT = NotifyCode(-175);
inline constexpr UINT LVN_ENDLABELEDIT = NotifyCode(-176);
inline constexpr UINT LVN_GETDISPINFO = NotifyCode(-177);
inline constexpr UINT LVN_LINKCLICK = NotifyCode(-184);
inline constexpr UINT LVN_GETEMPTYMARKUP = NotifyCode(-187);

// Header codes.
inline constexpr UINT HDN_BEGINDRAG = NotifyCode(-310);
inline constexpr UINT HDN_ENDDRAG = NotifyCode(-311);
inline constexpr UINT HDN_ITEMCHANGING = NotifyCode(-320);
inline constexpr UINT HDN_ITEMCHANGED = NotifyCode(-321);
inline constexpr UINT HDN_ITEMCLICK = NotifyCode(-322);
inline constexpr UINT HDN_ITEMDBLCLICK = NotifyCode(-323);
inline constexpr UINT HDN_DIVIDERDBLCLICK = NotifyCode(-325);
inline constexpr UINT HDN_BEGINTRACK = NotifyCode(-326);
inline constexpr UINT HDN_ENDTRACK = NotifyCode(-327);
inline constexpr UINT HDN_TRACK = NotifyCode(-328);

// Custom-draw stages.
inline constexpr DWORD CDDS_PREPAINT = 0x00000001;
inline constexpr DWORD CDDS_POSTPAINT = 0x00000002;
inline constexpr DWORD CDDS_ITEM = 0x00010000;
inline constexpr DWORD CDDS_SUBITEM = 0x00020000;
inline constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
inline constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;

// Custom-draw answers.
inline constexpr LRESULT CDRF_DODEFAULT = 0x00;
inline constexpr LRESULT CDRF_NEWFONT = 0x02;
inline constexpr LRESULT CDRF_SKIPDEFAULT = 0x04;
inline constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x10;
inline constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x20;
inline constexpr LRESULT CDRF_NOTIFYSUBITEMDRAW = 0x20;

// Item state during custom draw.
inline constexpr UINT CDIS_SELECTED = 0x0001;
inline constexpr UINT CDIS_FOCUS = 0x0010;
inline constexpr UINT CDIS_HOT = 0x0040;

// Colour values with a meaning of their own.
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// A font a custom-draw handler selects for a row or a cell. Height in
// pixels (0: the list's own); weight 400 normal, 700 bold.
struct CellFont
{
    std::u16string face;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const CellFont&, const CellFont&) = default;
};

// What a paint pass draws into: the device context of this layer. A backend
// puts the cells on screen; tests record them.
struct PaintedCell
{
    int row = -1;
    int subItem = -1; // column index
    RECT rect;        // in the list's client area
    std::u16string_view text;
    int format = 0; // LVCFMT_* alignment of the column
    int image = -1;
    COLORREF textColour = 0; // as drawn, selection highlight included
    COLORREF backColour = 0;
    bool highlighted = false;       // drawn with the selection colours
    const CellFont* font = nullptr; // nullptr: the list's font
};

class PaintTarget
{
public:
    virtual ~PaintTarget() = default;
    virtual void Cell(const PaintedCell&) {}
    // A dotted focus rectangle.
    virtual void FocusRect(const RECT&) {}
    // The text of an empty list, centred in `rect`.
    virtual void EmptyText(std::u16string_view, const RECT&) {}
    // A header item (column index) at `rect`; format carries the sort arrows.
    virtual void HeaderItem(int /*column*/, const RECT&, std::u16string_view /*text*/,
                            int /*format*/)
    {
    }
    virtual void GroupHeader(int /*groupId*/, const RECT&, std::u16string_view /*header*/,
                             UINT /*state*/)
    {
    }
};
using HDC = PaintTarget*;

inline void DrawFocusRect(HDC hdc, const RECT& rect)
{
    if (hdc)
        hdc->FocusRect(rect);
}

struct NMCUSTOMDRAW
{
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    HDC hdc = nullptr;
    RECT rc;
    UINT_PTR dwItemSpec = 0; // the row
    UINT uItemState = 0;     // CDIS_*
    LPARAM lItemlParam = 0;
};

struct NMLVCUSTOMDRAW
{
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = CLR_DEFAULT;
    COLORREF clrTextBk = CLR_DEFAULT;
    int iSubItem = 0;
    // The font the handler selects with CDRF_NEWFONT (nullptr: the list's).
    const CellFont* font = nullptr;
};

// List-view items.
inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;
inline constexpr UINT LVIF_GROUPID = 0x0100;

inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;

inline constexpr int LVNI_ALL = 0x0000;
inline constexpr int LVNI_FOCUSED = 0x0001;
inline constexpr int LVNI_SELECTED = 0x0002;

inline constexpr int I_IMAGECALLBACK = -1;
inline constexpr int I_IMAGENONE = -2;
inline constexpr int I_GROUPIDCALLBACK = -1;
inline constexpr int I_GROUPIDNONE = -2;

struct LVITEM
{
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    std::u16string text;       // LVIF_TEXT: in, or out for a display request
    bool textCallback = false; // LVIF_TEXT in: the owner supplies the text
    int cchTextMax = 0;        // longest text a display request may give
    int iImage = -1;
    LPARAM lParam = 0;
    int iGroupId = I_GROUPIDNONE;
};

struct NMLISTVIEW
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
};

// Clicks (NM_CLICK, NM_DBLCLK, NM_RCLICK, LVN_ITEMACTIVATE).
inline constexpr UINT LVKF_ALT = 0x0001;
inline constexpr UINT LVKF_CONTROL = 0x0002;
inline constexpr UINT LVKF_SHIFT = 0x0004;

struct NMITEMACTIVATE
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};

// LVN_GETDISPINFO and the label-edit notifications.
struct NMLVDISPINFO
{
    NMHDR hdr;
    LVITEM item;
};

struct NMLVKEYDOWN
{
    NMHDR hdr;
    UINT wVKey = 0;
    UINT flags = 0;
};

// LVN_GETINFOTIP: the handler fills `text`.
struct NMLVGETINFOTIP
{
    NMHDR hdr;
    DWORD dwFlags = 0;
    std::u16string text;
    int cchTextMax = 0;
    int iItem = -1;
    int iSubItem = 0;
    LPARAM lParam = 0;
};

// LVN_GETEMPTYMARKUP: the handler fills `markup` and returns TRUE.
inline constexpr DWORD EMF_CENTERED = 0x00000001;
inline constexpr int L_MAX_URL_LENGTH = 2084;
struct NMLVEMPTYMARKUP
{
    NMHDR hdr;
    DWORD dwFlags = 0;
    std::u16string markup;
};

// Hit testing.
inline constexpr UINT LVHT_NOWHERE = 0x0001;
inline constexpr UINT LVHT_ONITEMICON = 0x0002;
inline constexpr UINT LVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
inline constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
inline constexpr UINT LVHT_ABOVE = 0x0008;
inline constexpr UINT LVHT_BELOW = 0x0010;
inline constexpr UINT LVHT_TORIGHT = 0x0020;
inline constexpr UINT LVHT_TOLEFT = 0x0040;
inline constexpr UINT LVHT_EX_GROUP_HEADER = 0x10000000;

struct LVHITTESTINFO
{
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = -1;
    int iGroup = -1; // group id under the point
};

// Columns.
inline constexpr UINT LVCF_FMT = 0x0001;
inline constexpr UINT LVCF_WIDTH = 0x0002;
inline constexpr UINT LVCF_TEXT = 0x0004;
inline constexpr UINT LVCF_SUBITEM = 0x0008;
inline constexpr UINT LVCF_ORDER = 0x0020;

inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

// Widths SetColumnWidth computes itself.
inline constexpr int LVSCW_AUTOSIZE = -1;
inline constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

struct LVCOLUMN
{
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::u16string text;
    int iSubItem = 0;
    int iOrder = 0;
};

// Groups.
inline constexpr UINT LVGF_HEADER = 0x0001;
inline constexpr UINT LVGF_FOOTER = 0x0002;
inline constexpr UINT LVGF_STATE = 0x0004;
inline constexpr UINT LVGF_ALIGN = 0x0008;
inline constexpr UINT LVGF_GROUPID = 0x0010;
inline constexpr UINT LVGF_SUBTITLE = 0x0100;
inline constexpr UINT LVGF_TASK = 0x0200;
inline constexpr UINT LVGF_DESCRIPTIONTOP = 0x0400;
inline constexpr UINT LVGF_DESCRIPTIONBOTTOM = 0x0800;

inline constexpr UINT LVGS_NORMAL = 0x00;
inline constexpr UINT LVGS_COLLAPSED = 0x01;
inline constexpr UINT LVGS_HIDDEN = 0x02;
inline constexpr UINT LVGS_COLLAPSIBLE = 0x08;

inline constexpr UINT LVGA_HEADER_LEFT = 0x01;
inline constexpr UINT LVGA_HEADER_CENTER = 0x02;
inline constexpr UINT LVGA_HEADER_RIGHT = 0x04;

struct LVGROUP
{
    UINT mask = 0;
    std::u16string header;
    std::u16string footer;
    std::u16string subtitle;
    std::u16string task;
    std::u16string descriptionTop;
    std::u16string descriptionBottom;
    int iGroupId = 0;
    UINT stateMask = 0;
    UINT state = 0;
    UINT uAlign = 0;
};

// List-view window styles.
inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_EDITLABELS = 0x0200;
inline constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
inline constexpr DWORD LVS_ALIGNLEFT = 0x0800;
inline constexpr DWORD LVS_OWNERDATA = 0x1000;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr DWORD LVS_NOSORTHEADER = 0x8000;

// List-view extended styles.
inline constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
inline constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x00000002;
inline constexpr DWORD LVS_EX_CHECKBOXES = 0x00000004;
inline constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x00000010;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
inline constexpr DWORD LVS_EX_INFOTIP = 0x00000400;
inline constexpr DWORD LVS_EX_LABELTIP = 0x00004000;
inline constexpr DWORD LVS_EX_DOUBLEBUFFER = 0x00010000;

// Header items.
inline constexpr UINT HDI_WIDTH = 0x0001;
inline constexpr UINT HDI_TEXT = 0x0002;
inline constexpr UINT HDI_FORMAT = 0x0004;
inline constexpr UINT HDI_LPARAM = 0x0008;
inline constexpr UINT HDI_ORDER = 0x0080;

inline constexpr int HDF_LEFT = 0x0000;
inline constexpr int HDF_RIGHT = 0x0001;
inline constexpr int HDF_CENTER = 0x0002;
inline constexpr int HDF_JUSTIFYMASK = 0x0003;
inline constexpr int HDF_SORTDOWN = 0x0200;
inline constexpr int HDF_SORTUP = 0x0400;

// Header window styles.
inline constexpr DWORD HDS_BUTTONS = 0x0002;
inline constexpr DWORD HDS_DRAGDROP = 0x0040;
inline constexpr DWORD HDS_FULLDRAG = 0x0080;

struct HDITEM
{
    UINT mask = 0;
    int cxy = 0;
    std::u16string text;
    int fmt = HDF_LEFT;
    LPARAM lParam = 0;
    int iOrder = 0;
};

struct NMHEADER
{
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    HDITEM* pitem = nullptr;
};

inline constexpr UINT HHT_NOWHERE = 0x0001;
inline constexpr UINT HHT_ONHEADER = 0x0002;
inline constexpr UINT HHT_ONDIVIDER = 0x0004;
inline constexpr UINT HHT_TORIGHT = 0x0800;
inline constexpr UINT HHT_TOLEFT = 0x1000;

struct HDHITTESTINFO
{
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
};

// Mouse message details: the key flags in wParam and the point in lParam.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;

constexpr LPARAM MakePointParam(int x, int y)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(x) & 0xFFFF) |
                               ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16));
}
constexpr POINT PointFromLParam(LPARAM lParam)
{
    return POINT{static_cast<std::int16_t>(lParam & 0xFFFF),
                 static_cast<std::int16_t>((lParam >> 16) & 0xFFFF)};
}

// The record a notification's lParam points to.
template <typename Record> Record& NotifyRecord(LPARAM lParam)
{
    return *reinterpret_cast<Record*>(lParam);
}
template <typename Record> LPARAM NotifyParam(Record& record)
{
    return reinterpret_cast<LPARAM>(&record);
}

} // namespace platform
