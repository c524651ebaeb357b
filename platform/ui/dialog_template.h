// Dialog templates as data: what a dialog is made of (caption, size in
// dialog units, font, style bits) and its controls (id, window class, text,
// position and style, initial items), kept by id for CDialogEx to build
// from. The program's own templates live in res/ and are registered there.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "platform/ui/win_types.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class Window;

// Window classes of the standard controls, as templates name them.
inline constexpr std::string_view kStaticClass = "Static";
inline constexpr std::string_view kButtonClass = "Button";
inline constexpr std::string_view kEditClass = "Edit";
inline constexpr std::string_view kComboBoxClass = "ComboBox";
inline constexpr std::string_view kListBoxClass = "ListBox";
inline constexpr std::string_view kListViewClass = "SysListView32";

// How a control follows the dialog's size (dynamic layout), in percent of
// the change of the dialog's width and height since it was created.
struct Anchor
{
    int moveX = 0;
    int moveY = 0;
    int sizeX = 0;
    int sizeY = 0;
    friend bool operator==(const Anchor&, const Anchor&) = default;
};

struct ControlTemplate
{
    int id = IDC_STATIC;
    std::string className; // kStaticClass, kButtonClass, ...
    std::u16string text;
    RECT rect;       // dialog units: left, top, right, bottom
    DWORD style = 0; // WS_CHILD is added when the control is created
    DWORD exStyle = 0;
    std::vector<std::u16string> items; // initial items of a combo or list box
    Anchor anchor;
};

struct DialogTemplate
{
    UINT id = 0;
    std::u16string caption;
    int width = 0; // dialog units
    int height = 0;
    std::u16string fontName = u"MS Shell Dlg";
    int fontPointSize = 8;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::vector<ControlTemplate> controls;
};

// Builders in the manner of a resource script; each takes the position as
// x, y, width, height in dialog units and adds the style bits the resource
// compiler adds (visible; tab stop for buttons and edits).
ControlTemplate LText(int id, std::u16string text, int x, int y, int cx, int cy, DWORD style = 0,
                      DWORD exStyle = 0);
ControlTemplate RText(int id, std::u16string text, int x, int y, int cx, int cy, DWORD style = 0,
                      DWORD exStyle = 0);
ControlTemplate PushButton(int id, std::u16string text, int x, int y, int cx, int cy,
                           DWORD style = 0);
ControlTemplate DefPushButton(int id, std::u16string text, int x, int y, int cx, int cy,
                              DWORD style = 0);
ControlTemplate CheckBox(int id, std::u16string text, int x, int y, int cx, int cy,
                         DWORD style = 0);
ControlTemplate GroupBox(std::u16string text, int x, int y, int cx, int cy, int id = IDC_STATIC);
ControlTemplate EditText(int id, int x, int y, int cx, int cy, DWORD style = 0);
ControlTemplate ComboBox(int id, int x, int y, int cx, int cy, DWORD style,
                         std::vector<std::u16string> items = {});
ControlTemplate ListBox(int id, int x, int y, int cx, int cy, DWORD style);
ControlTemplate Control(int id, std::string className, std::u16string text, int x, int y, int cx,
                        int cy, DWORD style, DWORD exStyle = 0);

// The pixels of the dialog units of a template's font ("MS Shell Dlg" 8 at
// 96 dots per inch: a base unit of 6 by 13 pixels): x * 6 / 4 and
// y * 13 / 8, rounded.
RECT MapDialogRect(const RECT& dialogUnits);
// A backend with real fonts puts the base units of its dialog font in place
// (average character width and line height in pixels); 0, 0 restores 6 by 13.
void SetDialogBaseUnits(int cx, int cy);
int DialogUnitsToPixelsX(int x);
int DialogUnitsToPixelsY(int y);

// Templates and strings by id. Registering an id again replaces it.
void RegisterDialogTemplate(DialogTemplate dialogTemplate);
const DialogTemplate* FindDialogTemplate(UINT id);
void RegisterString(UINT id, std::u16string text);
// The string of the id; empty when there is none.
std::u16string LoadString(UINT id);

// Makes the window object of a template control of `className`. The
// standard classes (the list view, CListCtrl, included) come registered;
// others register theirs.
// A class nobody registered gets a plain window of that class name.
using ControlFactory = std::function<std::unique_ptr<Window>()>;
void RegisterControlClass(std::string_view className, ControlFactory factory);
std::unique_ptr<Window> MakeControl(std::string_view className);

} // namespace platform
