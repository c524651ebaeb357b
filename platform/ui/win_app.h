// The application object's base: names the settings location and runs the
// program's life in InitInstance.
#pragma once

#include "platform/profile/profile_store.h"
#include "platform/ui/gdi.h"
#include "platform/ui/win_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class Window;

class CWinApp
{
public:
    // The newest application object is the one AfxGetApp returns.
    CWinApp();
    virtual ~CWinApp();
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
    // Raw bytes (the window placement): nothing when absent.
    std::optional<std::vector<std::uint8_t>> GetProfileBinary(std::u16string_view section,
                                                              std::u16string_view name);
    bool WriteProfileBinary(std::u16string_view section, std::u16string_view name,
                            const std::vector<std::uint8_t>& value);

    // The icon of resource `id`.
    HICON LoadIcon(UINT id) const { return HICON{id}; }

    Window* mainWindow = nullptr;

private:
    std::u16string profileName = u"Brindle";
};

// The application object, nullptr when there is none.
CWinApp* AfxGetApp();

// The base name of the running program file, without extension.
std::u16string ProgramBaseName();

} // namespace platform
