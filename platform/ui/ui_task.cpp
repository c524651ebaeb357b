#include "platform/ui/ui_task.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

#include <deque>
#include <memory>

namespace platform
{

namespace
{
// One message-only window per thread runs the tasks, one per message.
class TaskWindow final : public Window
{
public:
    static constexpr UINT kRunTask = WM_APP + 0x3F00;

    TaskWindow() { Create(CreateParams{.parent = HWND_MESSAGE}); }

    void Add(std::function<void()> task)
    {
        tasks.push_back(std::move(task));
        PostMessage(Handle(), kRunTask, 0, 0);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kRunTask || tasks.empty())
            return Window::WindowProc(message, wParam, lParam);
        std::function<void()> task = std::move(tasks.front());
        tasks.pop_front();
        task();
        return 0;
    }
    std::string_view ClassName() const override { return "TaskWindow"; }

private:
    std::deque<std::function<void()>> tasks;
};
} // namespace

void PostTask(std::function<void()> task)
{
    thread_local TaskWindow window;
    window.Add(std::move(task));
}

} // namespace platform
