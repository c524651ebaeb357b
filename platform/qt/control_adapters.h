// The adapters of the control kinds the Qt backend shows, registered with a
// window mirror by class name.
#pragma once

#include <memory>

namespace platform::qt
{

class ControlAdapter;
class WindowMirror;

// Registers every adapter below with `mirror`.
void RegisterControlAdapters(WindowMirror& mirror);

// The report list view ("SysListView32") and its header ("SysHeader32").
std::unique_ptr<ControlAdapter> MakeListViewAdapter();
std::unique_ptr<ControlAdapter> MakeHeaderAdapter();

} // namespace platform::qt
