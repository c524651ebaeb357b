#include "app/brindle_app.h"

#include "mainwnd/brindle_dlg.h"
#include "platform/process/desktop.h"
#include "platform/process/single_instance.h"
#include "platform/profile/profile_store.h"

#include <memory>

CBrindleApp theApp;

CBrindleApp::CBrindleApp() = default;

void CBrindleApp::LoadSettings()
{
    settings = ReadAppSettings(platform::AppProfile());
}

bool CBrindleApp::InitInstance()
{
    // The lock lives until the process ends, as a mutex handle never closed.
    static std::unique_ptr<platform::InstanceLock> instanceLock;
    instanceLock = std::make_unique<platform::InstanceLock>(kInstanceMutexName);
    if (!instanceLock->Acquired())
    {
        platform::RaiseWindowByCaption(kMainWindowCaption);
        return false;
    }

    SetProfileName(platform::ProgramBaseName());
    SetRegistryKey(kRegistryKeyWord);
    LoadSettings();

    {
        CBrindleDlg dialog;
        mainWindow = &dialog;
        dialog.DoModal();
        mainWindow = nullptr;
    }
    return false;
}
