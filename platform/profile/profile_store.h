// The settings store that stands in for the per-user registry: integer, text
// and byte values by section and name, under
// HKEY_CURRENT_USER\Software\<key word>\<profile name>. It is kept as one text
// file in the registry export format, readable by its owner only and
// replaced whole on every write. A damaged file never fails the program: what
// cannot be read reads as absent.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform
{

class ProfileStore
{
public:
    using Bytes = std::vector<std::uint8_t>;
    using Value = std::variant<std::uint32_t, std::u16string, Bytes>;

    // Reads `file` if it exists. `rootKey` is the key the sections live
    // under, for example HKEY_CURRENT_USER\Software\Brindle\Brindle.
    ProfileStore(std::filesystem::path file, std::u16string rootKey);

    // The file of a profile: $BRINDLE_CONFIG_DIR/<profile>.reg, else
    // ${XDG_CONFIG_HOME:-~/.config}/Brindle/<profile>.reg.
    static std::filesystem::path DefaultPath(std::u16string_view profileName);

    int GetProfileInt(std::u16string_view section, std::u16string_view name,
                      int defaultValue) const;
    std::u16string GetProfileString(std::u16string_view section, std::u16string_view name,
                                    std::u16string_view defaultValue = {}) const;
    std::optional<Bytes> GetProfileBinary(std::u16string_view section,
                                          std::u16string_view name) const;

    // Each write changes the value in memory and replaces the file; false
    // when the file could not be replaced (the value is kept in memory).
    bool WriteProfileInt(std::u16string_view section, std::u16string_view name, int value);
    bool WriteProfileString(std::u16string_view section, std::u16string_view name,
                            std::u16string_view value);
    bool WriteProfileBinary(std::u16string_view section, std::u16string_view name,
                            const Bytes& value);

    // Removes a section with all its values.
    bool DeleteSection(std::u16string_view section);

    bool HasSection(std::u16string_view section) const;
    const std::filesystem::path& File() const { return file; }

    // The file's text for the current values, and the reverse (exposed for
    // tests and benchmarks).
    std::string Serialize() const;
    void Parse(std::string_view text);

private:
    bool Write(std::u16string_view section, std::u16string_view name, Value value);
    bool Save() const;
    const Value* Find(std::u16string_view section, std::u16string_view name) const;

    std::filesystem::path file;
    std::u16string rootKey;
    // Section (as written after the root key) -> value name -> value.
    // Values are compared by name exactly; a section keeps its name's case.
    std::map<std::u16string, std::map<std::u16string, Value, std::less<>>, std::less<>> sections;
};

// The application's profile, named once at start-up. Until then, or when a
// test has put nothing in place, it is a store without a file.
ProfileStore& AppProfile();
void SetAppProfile(std::unique_ptr<ProfileStore> store);

} // namespace platform
