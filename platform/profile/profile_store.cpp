#include "platform/profile/profile_store.h"

#include "platform/files/atomic_file.h"
#include "platform/text/code_page.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <system_error>

namespace platform
{

namespace
{

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

// ---- Writing -----------------------------------------------------------

// A text that a quoted .reg string carries exactly: no control characters
// (a line break would end the line) and nothing UTF-8 cannot hold.
bool QuotesCleanly(std::u16string_view text)
{
    for (char16_t c : text)
        if (c < 0x20 || c == 0x7F)
            return false;
    return !HasUnpairedSurrogate(text);
}

std::string Quoted(std::u16string_view text)
{
    std::string out = "\"";
    for (char c : Utf16ToUtf8(text))
    {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string HexBytes(const std::uint8_t* data, size_t size)
{
    std::string out;
    out.reserve(size * 3);
    char digits[4];
    for (size_t i = 0; i < size; ++i)
    {
        std::snprintf(digits, sizeof digits, i ? ",%02x" : "%02x", data[i]);
        out += digits;
    }
    return out;
}

std::string SerializeValue(const ProfileStore::Value& value)
{
    if (const auto* number = std::get_if<std::uint32_t>(&value))
    {
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", *number);
        return text;
    }
    if (const auto* text = std::get_if<std::u16string>(&value))
    {
        if (QuotesCleanly(*text))
            return Quoted(*text);
        // Any other text as REG_SZ in hex: UTF-16LE with its terminator.
        std::vector<std::uint8_t> bytes;
        for (char16_t c : *text)
        {
            bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        bytes.push_back(0);
        bytes.push_back(0);
        return "hex(1):" + HexBytes(bytes.data(), bytes.size());
    }
    const auto& bytes = std::get<ProfileStore::Bytes>(value);
    return "hex:" + HexBytes(bytes.data(), bytes.size());
}

// ---- Reading -----------------------------------------------------------

// Logical lines: CR dropped, "\" at a line end continues on the next line
// (after its leading spaces), as regedit wraps long hex values.
std::vector<std::string> LogicalLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    bool continuing = false;
    size_t pos = 0;
    while (pos <= text.size())
    {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (continuing)
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        current += line;
        continuing =
            !current.empty() && current.back() == '\\' && current.find("=hex") != std::string::npos;
        if (continuing)
            current.pop_back();
        else
        {
            lines.push_back(std::move(current));
            current.clear();
        }
        pos = end + 1;
    }
    if (!current.empty())
        lines.push_back(std::move(current));
    return lines;
}

// Reads a quoted string at the start of `s`; moves `s` past it.
std::optional<std::u16string> ReadQuoted(std::string_view& s)
{
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string bytes;
    size_t i = 1;
    for (; i < s.size() && s[i] != '"'; ++i)
    {
        if (s[i] == '\\' && i + 1 < s.size())
            ++i;
        bytes.push_back(s[i]);
    }
    if (i >= s.size())
        return std::nullopt;
    s.remove_prefix(i + 1);
    return Utf8ToUtf16(bytes);
}

std::optional<std::vector<std::uint8_t>> ReadHex(std::string_view s)
{
    std::vector<std::uint8_t> bytes;
    while (!s.empty())
    {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        if (s.empty())
            break;
        unsigned value = 0;
        int digits = 0;
        while (!s.empty() && std::isxdigit(static_cast<unsigned char>(s.front())) && digits < 3)
        {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(s.front())));
            value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
            ++digits;
            s.remove_prefix(1);
        }
        if (digits == 0 || digits > 2)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(value));
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        if (!s.empty())
        {
            if (s.front() != ',')
                return std::nullopt;
            s.remove_prefix(1);
        }
    }
    return bytes;
}

std::optional<ProfileStore::Value> ReadValue(std::string_view s)
{
    if (!s.empty() && s.front() == '"')
    {
        auto text = ReadQuoted(s);
        if (!text || !s.empty())
            return std::nullopt;
        return ProfileStore::Value{std::move(*text)};
    }
    if (s.starts_with("dword:"))
    {
        s.remove_prefix(6);
        if (s.empty() || s.size() > 8)
            return std::nullopt;
        std::uint32_t number = 0;
        for (char c : s)
        {
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
            const char low = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            number =
                number * 16 + static_cast<std::uint32_t>(low <= '9' ? low - '0' : low - 'a' + 10);
        }
        return ProfileStore::Value{number};
    }
    if (s.starts_with("hex:"))
    {
        auto bytes = ReadHex(s.substr(4));
        if (!bytes)
            return std::nullopt;
        return ProfileStore::Value{std::move(*bytes)};
    }
    if (s.starts_with("hex(1):"))
    {
        auto bytes = ReadHex(s.substr(7));
        if (!bytes || bytes->size() % 2 != 0)
            return std::nullopt;
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes->size(); i += 2)
            text.push_back(static_cast<char16_t>((*bytes)[i] | ((*bytes)[i + 1] << 8)));
        if (!text.empty() && text.back() == u'\0')
            text.pop_back();
        return ProfileStore::Value{std::move(text)};
    }
    return std::nullopt;
}

// A file written as UTF-16LE (as regedit does) is read as such.
std::string AsUtf8(std::string_view raw)
{
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
        static_cast<unsigned char>(raw[1]) == 0xFE)
    {
        std::u16string text;
        for (size_t i = 2; i + 1 < raw.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                                 (static_cast<unsigned char>(raw[i + 1]) << 8)));
        return Utf16ToUtf8(text);
    }
    if (raw.starts_with("\xEF\xBB\xBF"))
        raw.remove_prefix(3);
    return std::string(raw);
}

} // namespace

ProfileStore::ProfileStore(std::filesystem::path file, std::u16string rootKey)
    : file(std::move(file)), rootKey(std::move(rootKey))
{
    if (this->file.empty())
        return;
    if (auto content = ReadWholeFile(this->file))
        Parse(AsUtf8(*content));
}

std::filesystem::path ProfileStore::DefaultPath(std::u16string_view profileName)
{
    std::filesystem::path folder;
    if (const char* dir = std::getenv("BRINDLE_CONFIG_DIR"); dir && *dir)
        folder = dir;
    else if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        folder = std::filesystem::path(xdg) / "Brindle";
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = std::filesystem::path(home) / ".config" / "Brindle";
    else
        folder = std::filesystem::path(".config") / "Brindle";
    return folder / (Utf16ToUtf8(profileName) + ".reg");
}

void ProfileStore::Parse(std::string_view text)
{
    sections.clear();
    const std::u16string prefix = rootKey + u"\\";
    std::map<std::u16string, Value, std::less<>>* current = nullptr;
    for (const std::string& line : LogicalLines(text))
    {
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[')
        {
            current = nullptr;
            if (line.back() != ']' || line.size() < 3 || line[1] == '-')
                continue;
            auto key = Utf8ToUtf16(std::string_view(line).substr(1, line.size() - 2));
            if (key && key->starts_with(prefix) && key->size() > prefix.size())
                current = &sections[key->substr(prefix.size())];
            continue;
        }
        if (!current || line.front() != '"')
            continue;
        std::string_view rest = line;
        auto name = ReadQuoted(rest);
        if (!name || rest.empty() || rest.front() != '=')
            continue;
        rest.remove_prefix(1);
        if (auto value = ReadValue(rest))
            (*current)[*name] = std::move(*value);
    }
}

std::string ProfileStore::Serialize() const
{
    std::string out(kHeader);
    out += "\n";
    for (const auto& [section, values] : sections)
    {
        out += "\n[" + Utf16ToUtf8(rootKey) + "\\" + Utf16ToUtf8(section) + "]\n";
        for (const auto& [name, value] : values)
            out += Quoted(name) + "=" + SerializeValue(value) + "\n";
    }
    return out;
}

const ProfileStore::Value* ProfileStore::Find(std::u16string_view section,
                                              std::u16string_view name) const
{
    auto s = sections.find(section);
    if (s == sections.end())
        return nullptr;
    auto v = s->second.find(name);
    return v == s->second.end() ? nullptr : &v->second;
}

int ProfileStore::GetProfileInt(std::u16string_view section, std::u16string_view name,
                                int defaultValue) const
{
    const Value* value = Find(section, name);
    const auto* number = value ? std::get_if<std::uint32_t>(value) : nullptr;
    return number ? static_cast<int>(*number) : defaultValue;
}

std::u16string ProfileStore::GetProfileString(std::u16string_view section, std::u16string_view name,
                                              std::u16string_view defaultValue) const
{
    const Value* value = Find(section, name);
    const auto* text = value ? std::get_if<std::u16string>(value) : nullptr;
    return text ? *text : std::u16string(defaultValue);
}

std::optional<ProfileStore::Bytes> ProfileStore::GetProfileBinary(std::u16string_view section,
                                                                  std::u16string_view name) const
{
    const Value* value = Find(section, name);
    const auto* bytes = value ? std::get_if<Bytes>(value) : nullptr;
    if (!bytes)
        return std::nullopt;
    return *bytes;
}

bool ProfileStore::Write(std::u16string_view section, std::u16string_view name, Value value)
{
    auto s = sections.find(section);
    if (s == sections.end())
        s = sections.emplace(std::u16string(section), decltype(s->second){}).first;
    s->second[std::u16string(name)] = std::move(value);
    return Save();
}

bool ProfileStore::WriteProfileInt(std::u16string_view section, std::u16string_view name, int value)
{
    return Write(section, name, static_cast<std::uint32_t>(value));
}

bool ProfileStore::WriteProfileString(std::u16string_view section, std::u16string_view name,
                                      std::u16string_view value)
{
    return Write(section, name, std::u16string(value));
}

bool ProfileStore::WriteProfileBinary(std::u16string_view section, std::u16string_view name,
                                      const Bytes& value)
{
    return Write(section, name, value);
}

bool ProfileStore::DeleteSection(std::u16string_view section)
{
    // A section goes with the sections below it, as a registry key would.
    const std::u16string below = std::u16string(section) + u"\\";
    bool removed = false;
    for (auto it = sections.begin(); it != sections.end();)
    {
        if (it->first == section || it->first.starts_with(below))
        {
            it = sections.erase(it);
            removed = true;
        }
        else
        {
            ++it;
        }
    }
    return removed ? Save() : true;
}

bool ProfileStore::HasSection(std::u16string_view section) const
{
    return sections.find(section) != sections.end();
}

bool ProfileStore::Save() const
{
    if (file.empty())
        return true;
    std::error_code ignored;
    const std::filesystem::path folder = file.parent_path();
    if (!folder.empty() && !std::filesystem::exists(folder, ignored))
    {
        std::filesystem::create_directories(folder, ignored);
        ::chmod(folder.c_str(), 0700);
    }
    return ReplaceFileAtomically(file, Serialize(), 0600);
}

namespace
{
std::unique_ptr<ProfileStore>& AppProfileSlot()
{
    static std::unique_ptr<ProfileStore> store;
    return store;
}
} // namespace

ProfileStore& AppProfile()
{
    auto& store = AppProfileSlot();
    if (!store)
        store = std::make_unique<ProfileStore>(std::filesystem::path{}, u"");
    return *store;
}

void SetAppProfile(std::unique_ptr<ProfileStore> store)
{
    AppProfileSlot() = std::move(store);
}

} // namespace platform
