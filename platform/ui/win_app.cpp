#include "platform/ui/win_app.h"

#include "platform/text/code_page.h"

#include <filesystem>

namespace platform
{

namespace
{
CWinApp* currentApp = nullptr;
}

CWinApp::CWinApp()
{
    currentApp = this;
}

CWinApp::~CWinApp()
{
    if (currentApp == this)
        currentApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return currentApp;
}

std::optional<std::vector<std::uint8_t>> CWinApp::GetProfileBinary(std::u16string_view section,
                                                                   std::u16string_view name)
{
    return AppProfile().GetProfileBinary(section, name);
}

bool CWinApp::WriteProfileBinary(std::u16string_view section, std::u16string_view name,
                                 const std::vector<std::uint8_t>& value)
{
    return AppProfile().WriteProfileBinary(section, name, value);
}

void CWinApp::SetRegistryKey(std::u16string_view keyWord)
{
    const std::u16string root =
        u"HKEY_CURRENT_USER\\Software\\" + std::u16string(keyWord) + u"\\" + profileName;
    SetAppProfile(std::make_unique<ProfileStore>(ProfileStore::DefaultPath(profileName), root));
}

int CWinApp::GetProfileInt(std::u16string_view section, std::u16string_view name, int defaultValue)
{
    return AppProfile().GetProfileInt(section, name, defaultValue);
}

std::u16string CWinApp::GetProfileString(std::u16string_view section, std::u16string_view name,
                                         std::u16string_view defaultValue)
{
    return AppProfile().GetProfileString(section, name, defaultValue);
}

bool CWinApp::WriteProfileInt(std::u16string_view section, std::u16string_view name, int value)
{
    return AppProfile().WriteProfileInt(section, name, value);
}

bool CWinApp::WriteProfileString(std::u16string_view section, std::u16string_view name,
                                 std::u16string_view value)
{
    return AppProfile().WriteProfileString(section, name, value);
}

std::u16string ProgramBaseName()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return u"Brindle";
    return Utf8ToUtf16(exe.stem().string()).value_or(u"Brindle");
}

} // namespace platform
