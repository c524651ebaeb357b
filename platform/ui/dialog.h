// Dialogs built from templates (dialog_template.h).
//
// A CDialogEx is made with a template id; DoModal creates the dialog window
// and its controls from the template, calls OnInitDialog, disables the
// owner and runs a nested message loop (every message of the thread keeps
// being dispatched) until EndDialog, then destroys the window and returns
// the result code. The system's dialogs derive from it and override the
// virtual handlers; commands and notifications of single controls can also
// be routed through the handler table (OnCommandFrom, OnClicked...).
//
// Member controls: a dialog that wants one of its template's controls to be
// an object of its own (a derived grid, a colour static) binds it by id
// before the window is created, usually in its constructor:
//
//     CMyDlg() : CDialogEx(IDD_MINE) { BindControl(IDC_GRID, grid); }
//
// Creating the dialog then creates THAT object (through Window::Create,
// with the template's text, style, rectangle and id) in the template
// control's place and Tab position. Controls not bound are made by the
// factory of their class (MakeControl) and owned by the dialog; reach them
// with GetDlgItem or GetControl<CEdit>(id). A bound object must outlive
// the dialog window (a member does); its window is destroyed with the
// dialog's.
//
// Keys (PreTranslateMessage, virtual): Tab and Shift+Tab move the focus
// through the visible, enabled WS_TABSTOP controls; Enter is the command of
// the focused push button, else of the default button (SetDefID, else the
// BS_DEFPUSHBUTTON control, else IDOK); Escape is the IDCANCEL command; F1
// sends WM_HELP (OnHelpInfo). A control that answers WM_GETDLGCODE with
// DLGC_WANTALLKEYS (or DLGC_WANTTAB for Tab) gets those keys itself.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/gdi.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform
{

using INT_PTR = std::intptr_t;

class CDialogEx;

// What WM_HELP carries (its lParam points to one).
struct HELPINFO
{
    int ctrlId = 0; // the control with the focus, 0 for none
    HWND item;      // that control, else the dialog
    POINT mousePos;
};

// The state of one data exchange: its direction and the control that was
// last prepared (the one that takes the focus when a check fails).
class CDataExchange
{
public:
    CDataExchange(CDialogEx& dialog, bool saveAndValidate)
        : dialog(dialog), saveAndValidate(saveAndValidate)
    {
    }

    CDialogEx& Dialog() const { return dialog; }
    bool IsSaving() const { return saveAndValidate; }
    bool Failed() const { return failed; }

    // The control `id`, remembered as the one a failure points at.
    Window* PrepareCtrl(int id);
    Window* PrepareEditCtrl(int id);
    // Ends the exchange as failed: the last prepared control takes the
    // focus (an edit's text is selected). Later exchange steps do nothing.
    void Fail();

private:
    CDialogEx& dialog;
    bool saveAndValidate;
    bool failed = false;
    int lastControl = 0;
    bool lastIsEdit = false;
};

// Text of a control, as it is.
void DDX_Text(CDataExchange& dx, int id, std::u16string& value);
// An integer in an edit: shown in plain decimal; read as a "%d" conversion
// of at most the first 63 characters (leading blanks, a sign, digits; text
// after them ignored). No integer: "Enter an integer.", and the exchange
// fails. A number beyond the range of int reads as the nearest end of it.
void DDX_Text(CDataExchange& dx, int id, int& value);
// After an integer's DDX_Text: outside minValue..maxValue shows "Enter an
// integer between %1 and %2." with the bounds, and the exchange fails.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);
// A check box state: shown as is when 0, 1 or 2, otherwise unchecked (and
// the value becomes 0); read back as the box's state.
void DDX_Check(CDataExchange& dx, int id, int& value);
// The index of the selected item of a combo box or list box, -1 for none.
void DDX_CBIndex(CDataExchange& dx, int id, int& index);
void DDX_LBIndex(CDataExchange& dx, int id, int& index);

class CDialogEx : public Window
{
public:
    explicit CDialogEx(UINT templateId, HWND owner = {});
    ~CDialogEx() override;

    UINT TemplateId() const { return templateId; }
    HWND GetOwner() const { return owner; }
    void SetOwner(HWND newOwner) { owner = newOwner; }

    // Creates the dialog and runs it until EndDialog; returns the result,
    // or -1 when the template does not exist. The owner defaults to the
    // active window.
    INT_PTR DoModal();
    // Creates the dialog without running a loop (a modeless dialog, or a
    // test driving one directly): controls, WM_INITDIALOG, initial focus,
    // shown unless the template leaves it hidden. False without template.
    bool CreateFromTemplate();
    // Ends the dialog with `result`; a modal run returns it. The window of
    // a modeless dialog stays until destroyed.
    void EndDialog(INT_PTR result);
    bool IsEnded() const { return ended; }
    INT_PTR Result() const { return result; }

    // Binds `control` to the template control `id` (see above). Before the
    // dialog is created; false when it already is.
    bool BindControl(int id, Window& control);

    // The control `id` as a T, nullptr when it is not one.
    template <class T> T* GetControl(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }

    // Overridables.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();
    // WM_COMMAND: reflected to the control, then the handler table, then
    // IDOK and IDCANCEL. True when handled.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflected to the control, then the handler table. lParam
    // points to the notification header of the sender.
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnTimer(UINT_PTR id);
    // WM_SYSCOMMAND: close, minimise, maximise and restore.
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    // F1 (WM_HELP). The default does nothing and returns false.
    virtual bool OnHelpInfo(HELPINFO& info);
    virtual void OnSize(UINT type, int cx, int cy);
    // The colour request of a control that did not answer it itself;
    // a null brush leaves the system colours.
    virtual HBRUSH OnCtlColor(CDC& dc, Window& control);
    // The close box: the IDCANCEL command.
    virtual void OnClose();

    // Handler table, tried after reflection and before the defaults.
    void OnCommandFrom(int id, UINT code, std::function<void()> handler);
    void OnClicked(int id, std::function<void()> handler)
    {
        OnCommandFrom(id, BN_CLICKED, std::move(handler));
    }
    // A WM_NOTIFY handler for the control `id`: it gets the lParam (the
    // notification header) and sets the result; it returns true when it
    // handled the notification.
    void OnNotifyFrom(int id, std::function<bool(LPARAM, LRESULT&)> handler);
    void OnTimerId(UINT_PTR id, std::function<void()> handler);

    // Data exchange in the given direction; false when a check failed.
    bool UpdateData(bool saveAndValidate = true);

    // The default button's id.
    int GetDefID() const;
    void SetDefID(int id) { defId = id; }

    // Focus movement through the Tab order.
    void NextDlgCtrl();
    void PrevDlgCtrl();
    void GotoDlgCtrl(Window* control);

    // The system menu of the dialog; `revert` restores its standard items
    // and returns nullptr.
    CMenu* GetSystemMenu(bool revert);
    // Input: the user picks a system menu item. False when it is not there
    // or greyed.
    bool ChooseSystemCommand(UINT id);
    // Shows the system menu through the prompter and runs the command picked;
    // at the window's top left corner unless a screen point is given (a
    // right click).
    void OpenSystemMenu(std::optional<POINT> at = std::nullopt);

    HICON SetIcon(HICON icon, bool big);
    HICON GetIcon(bool big) const { return big ? bigIcon : smallIcon; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(const MSG& msg) override;
    std::string_view ClassName() const override { return "#32770"; }

    // The template the dialog was created from (nullptr before).
    const DialogTemplate* Template() const { return dialogTemplate; }

protected:
    // The dialog's direct child holding `hwnd` (the control itself or the
    // control a window inside it belongs to), nullptr when none.
    Window* DirectChildOf(HWND hwnd) const;

private:
    bool CreateWindowAndControls(const DialogTemplate& t);
    void ApplyDynamicLayout();
    void ResetSystemMenu();
    std::vector<Window*> TabStops() const;
    bool HandleDialogKey(const MSG& msg);

    UINT templateId;
    HWND owner;
    const DialogTemplate* dialogTemplate = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    int defId = 0;
    std::map<int, Window*> bound;
    std::vector<std::unique_ptr<Window>> owned;
    struct Placed
    {
        HWND hwnd;
        RECT initial;
        Anchor anchor;
    };
    std::vector<Placed> layout;
    RECT initialClient;
    std::map<std::pair<int, UINT>, std::function<void()>> commandHandlers;
    std::map<int, std::function<bool(LPARAM, LRESULT&)>> notifyHandlers;
    std::map<UINT_PTR, std::function<void()>> timerHandlers;
    CMenu systemMenu;
    HICON bigIcon;
    HICON smallIcon;
};

} // namespace platform
