#include "platform/qt/control_adapters.h"

#include "platform/qt/window_mirror.h"

namespace platform::qt
{

void RegisterControlAdapters(WindowMirror& mirror)
{
    mirror.Register("SysListView32", MakeListViewAdapter());
    mirror.Register("SysHeader32", MakeHeaderAdapter());
}

} // namespace platform::qt
