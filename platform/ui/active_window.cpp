#include "platform/ui/active_window.h"

#include "platform/ui/window.h"

#include <algorithm>
#include <vector>

namespace platform
{

namespace
{
thread_local std::vector<HWND> modalStack;
}

HWND GetActiveWindow()
{
    for (auto it = modalStack.rbegin(); it != modalStack.rend(); ++it)
        if (IsWindow(*it))
            return *it;
    HWND hwnd = GetFocus();
    while (Window* window = FromHandle(hwnd))
    {
        if (window->IsTopLevel())
            return hwnd;
        hwnd = window->GetParent();
    }
    return HWND{};
}

ModalScope::ModalScope(HWND modal, HWND owner) : modal(modal), owner(owner)
{
    modalStack.push_back(modal);
    if (Window* ownerWindow = FromHandle(owner); ownerWindow && ownerWindow->IsWindowEnabled())
    {
        ownerWindow->EnableWindow(false);
        reenableOwner = true;
    }
}

ModalScope::~ModalScope()
{
    auto it = std::find(modalStack.rbegin(), modalStack.rend(), modal);
    if (it != modalStack.rend())
        modalStack.erase(std::next(it).base());
    if (reenableOwner)
        if (Window* ownerWindow = FromHandle(owner))
            ownerWindow->EnableWindow(true);
}

} // namespace platform
