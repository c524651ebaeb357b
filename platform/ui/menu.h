// Menus: items with command ids and texts, check marks, greyed items,
// separators and submenus. A popup menu is shown by TrackPopupMenu, which
// asks the current Prompter (message_box.h): headless a test scripts the
// choice, on screen the backend shows the menu and runs a nested loop.
#pragma once

#include "platform/ui/win_types.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;

inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// GetMenuState's answer for an item that does not exist.
inline constexpr UINT kNoMenuItem = 0xFFFFFFFFu;

class CMenu
{
public:
    struct Item
    {
        UINT flags = MF_STRING; // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP
        UINT id = 0;
        std::u16string text;
        std::shared_ptr<CMenu> submenu; // with MF_POPUP

        bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
        bool IsPopup() const { return submenu != nullptr; }
        bool IsChecked() const { return (flags & MF_CHECKED) != 0; }
        bool IsGrayed() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
    };

    // Kept for the manner of the system's code: a menu object is usable
    // from construction.
    bool CreatePopupMenu();
    bool DestroyMenu();

    // MF_SEPARATOR appends a separator (id and text unused).
    bool AppendMenu(UINT flags, UINT id = 0, std::u16string_view text = {});
    bool AppendPopup(CMenu submenu, std::u16string_view text, UINT flags = 0);
    // Inserts before the item at `position` (MF_BYPOSITION) or before the
    // item with command `position`.
    bool InsertMenu(UINT position, UINT flags, UINT id = 0, std::u16string_view text = {});
    bool DeleteMenu(UINT position, UINT flags);
    bool RemoveMenu(UINT position, UINT flags) { return DeleteMenu(position, flags); }
    bool ModifyMenu(UINT position, UINT flags, UINT id, std::u16string_view text);

    // Each returns the item's previous state (MF_CHECKED / MF_GRAYED bits),
    // or kNoMenuItem when there is no such item.
    UINT CheckMenuItem(UINT item, UINT flags);
    UINT EnableMenuItem(UINT item, UINT flags);
    UINT GetMenuState(UINT item, UINT flags) const;

    int GetMenuItemCount() const { return static_cast<int>(items.size()); }
    // The item's command; 0 for a separator, kNoMenuItem for a submenu or
    // an invalid position.
    UINT GetMenuItemID(int position) const;
    std::u16string GetMenuString(UINT item, UINT flags) const;
    CMenu* GetSubMenu(int position) const;

    const std::vector<Item>& Items() const { return items; }

    // True when `id` is the command of an item here or in a submenu that is
    // neither greyed nor disabled (nor inside a greyed submenu).
    bool IsChoosable(UINT id) const;

    // Shows the menu at x, y (screen) for `owner` and waits for the user's
    // choice, dispatching every message of the thread meanwhile. With
    // TPM_RETURNCMD it returns the chosen command (0: none); otherwise it
    // posts WM_COMMAND with the command to `owner` and returns true when
    // one was chosen.
    UINT TrackPopupMenu(UINT flags, int x, int y, HWND owner) const;

private:
    Item* Find(UINT item, UINT flags);
    const Item* Find(UINT item, UINT flags) const;

    std::vector<Item> items;
};

// What a Prompter is asked to show for a popup menu.
struct MenuRequest
{
    HWND owner;
    const CMenu* menu = nullptr;
    POINT at;
    UINT flags = 0;
};

} // namespace platform
