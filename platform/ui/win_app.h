// The application object's base: names the settings location and runs the
// program's life in InitInstance.
#pragma once

#include "platform/profile/profile_store.h"
#include "platform/ui/win_types.h"

#include <string>
#include <string_view>

namespace platform
{

class Window;

class CWinApp
{
public:
    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program; the process ends when it returns false.
    virtual bool InitInstance() { return false; }

    // The profile name: the program file's base name without extension.
    const std::u16string& ProfileName() const { return profileName; }
    void SetProfileName(std::u16string name) { profileName = std::move(name); }

    // Names the settings location (the key word, then the profile name,
    // under HKEY_CURRENT_USER\Software) and opens its store as the
    // application profile.
    void SetRegistryKey(std::u16string_view keyWord);

    // The application profile's operations.
    int GetProfileInt(std::u16string_view section, std::u16string_view name, int defaultValue);
    std::u16string GetProfileString(std::u16string_view section, std::u16string_view name,
                                    std::u16string_view defaultValue = {});
    bool WriteProfileInt(std::u16string_view section, std::u16string_view name, int value);
    bool WriteProfileString(std::u16string_view section, std::u16string_view name,
                            std::u16string_view value);

    Window* mainWindow = nullptr;

private:
    std::u16string profileName = u"Brindle";
};

// The base name of the running program file, without extension.
std::u16string ProgramBaseName();

} // namespace platform
