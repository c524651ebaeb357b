#include "platform/ui/menu.h"

#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"

#include <algorithm>

namespace platform
{

bool CMenu::CreatePopupMenu()
{
    items.clear();
    return true;
}

bool CMenu::DestroyMenu()
{
    items.clear();
    return true;
}

bool CMenu::AppendMenu(UINT flags, UINT id, std::u16string_view text)
{
    if (flags & MF_POPUP)
        return false; // submenus come through AppendPopup
    Item item{flags & ~MF_BYPOSITION, (flags & MF_SEPARATOR) ? 0 : id,
              (flags & MF_SEPARATOR) ? std::u16string() : std::u16string(text), nullptr};
    items.push_back(std::move(item));
    return true;
}

bool CMenu::AppendPopup(CMenu submenu, std::u16string_view text, UINT flags)
{
    items.push_back(Item{(flags | MF_POPUP) & ~MF_SEPARATOR, 0, std::u16string(text),
                         std::make_shared<CMenu>(std::move(submenu))});
    return true;
}

bool CMenu::InsertMenu(UINT position, UINT flags, UINT id, std::u16string_view text)
{
    size_t index = items.size();
    if (flags & MF_BYPOSITION)
    {
        index = std::min<size_t>(position, items.size());
    }
    else
    {
        const Item* found = Find(position, MF_BYCOMMAND);
        if (!found)
            return false;
        index = static_cast<size_t>(found - items.data());
    }
    if (flags & MF_POPUP)
        return false;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index),
                 Item{flags & ~MF_BYPOSITION, (flags & MF_SEPARATOR) ? 0 : id,
                      (flags & MF_SEPARATOR) ? std::u16string() : std::u16string(text), nullptr});
    return true;
}

CMenu::Item* CMenu::Find(UINT item, UINT flags)
{
    return const_cast<Item*>(static_cast<const CMenu*>(this)->Find(item, flags));
}

const CMenu::Item* CMenu::Find(UINT item, UINT flags) const
{
    if (flags & MF_BYPOSITION)
        return item < items.size() ? &items[item] : nullptr;
    for (const Item& candidate : items)
    {
        if (!candidate.IsPopup() && !candidate.IsSeparator() && candidate.id == item)
            return &candidate;
        if (candidate.IsPopup())
            if (const Item* inner = candidate.submenu->Find(item, flags))
                return inner;
    }
    return nullptr;
}

bool CMenu::DeleteMenu(UINT position, UINT flags)
{
    if (flags & MF_BYPOSITION)
    {
        if (position >= items.size())
            return false;
        items.erase(items.begin() + position);
        return true;
    }
    for (auto it = items.begin(); it != items.end(); ++it)
    {
        if (!it->IsPopup() && !it->IsSeparator() && it->id == position)
        {
            items.erase(it);
            return true;
        }
        if (it->IsPopup() && it->submenu->DeleteMenu(position, flags))
            return true;
    }
    return false;
}

bool CMenu::ModifyMenu(UINT position, UINT flags, UINT id, std::u16string_view text)
{
    Item* item = Find(position, flags);
    if (!item || (flags & MF_POPUP))
        return false;
    item->flags = flags & ~MF_BYPOSITION;
    item->id = (flags & MF_SEPARATOR) ? 0 : id;
    item->text = (flags & MF_SEPARATOR) ? std::u16string() : std::u16string(text);
    item->submenu.reset();
    return true;
}

UINT CMenu::CheckMenuItem(UINT item, UINT flags)
{
    Item* found = Find(item, flags);
    if (!found)
        return kNoMenuItem;
    const UINT old = found->flags & MF_CHECKED;
    found->flags = (found->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return old;
}

UINT CMenu::EnableMenuItem(UINT item, UINT flags)
{
    Item* found = Find(item, flags);
    if (!found)
        return kNoMenuItem;
    const UINT old = found->flags & (MF_GRAYED | MF_DISABLED);
    found->flags =
        (found->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return old;
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const
{
    const Item* found = Find(item, flags);
    return found ? found->flags : kNoMenuItem;
}

UINT CMenu::GetMenuItemID(int position) const
{
    if (position < 0 || static_cast<size_t>(position) >= items.size())
        return kNoMenuItem;
    const Item& item = items[static_cast<size_t>(position)];
    return item.IsPopup() ? kNoMenuItem : item.id;
}

std::u16string CMenu::GetMenuString(UINT item, UINT flags) const
{
    const Item* found = Find(item, flags);
    return found ? found->text : std::u16string();
}

CMenu* CMenu::GetSubMenu(int position) const
{
    if (position < 0 || static_cast<size_t>(position) >= items.size())
        return nullptr;
    return items[static_cast<size_t>(position)].submenu.get();
}

bool CMenu::IsChoosable(UINT id) const
{
    if (id == 0)
        return false;
    for (const Item& item : items)
    {
        if (item.IsGrayed() || item.IsSeparator())
            continue;
        if (item.IsPopup() ? item.submenu->IsChoosable(id) : item.id == id)
            return true;
    }
    return false;
}

UINT CMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner) const
{
    UINT chosen = CurrentPrompter().ShowPopupMenu(MenuRequest{owner, this, POINT{x, y}, flags});
    if (!IsChoosable(chosen))
        chosen = 0;
    if (flags & TPM_RETURNCMD)
        return chosen;
    if (chosen == 0)
        return 0;
    PostMessage(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return 1;
}

} // namespace platform
