#include "platform/profile/profile_store.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using platform::ProfileStore;
using testing_support::TempDir;

namespace
{

constexpr std::u16string_view kRoot = u"HKEY_CURRENT_USER\\Software\\Brindle\\Brindle";

class ProfileStoreTest : public ::testing::Test
{
protected:
    std::filesystem::path File() const { return dir / "Brindle.reg"; }
    ProfileStore Open() const { return ProfileStore(File(), std::u16string(kRoot)); }

    TempDir dir;
};

TEST_F(ProfileStoreTest, AbsentValuesTakeTheirDefaults)
{
    ProfileStore store = Open();
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"ShowErrors", 1), 1);
    EXPECT_EQ(store.GetProfileString(u"Settings", u"FH_Apikey", u"none"), u"none");
    EXPECT_FALSE(store.GetProfileBinary(u"ScreenPosition", u"WP"));
    EXPECT_FALSE(std::filesystem::exists(File())) << "reading must not create the file";
}

TEST_F(ProfileStoreTest, ValuesSurviveAReopen)
{
    const std::vector<std::u16string> texts = {
        u"",
        u"plain",
        u"quote \" and backslash \\ and \\\\ twice",
        u"caf\u00e9 \u65e5\u672c \U0001F600",
        u"line\r\nbreak\tand tab",
        std::u16string(u"lone \xD800 surrogate"),
        u"ends with backslash\\",
        u"[looks like a section]",
        u"\"name\"=dword:00000001",
    };
    const std::vector<std::uint8_t> bytes = {0x2c, 0x00, 0xff, 0x7f, 0x80};
    {
        ProfileStore store = Open();
        for (size_t i = 0; i < texts.size(); ++i)
            ASSERT_TRUE(
                store.WriteProfileString(u"Texts", u"T" + std::u16string(1, u'a' + i), texts[i]));
        ASSERT_TRUE(store.WriteProfileInt(u"Settings", u"Negative", -1));
        ASSERT_TRUE(store.WriteProfileInt(u"Settings", u"Big", 0x7fffffff));
        ASSERT_TRUE(store.WriteProfileBinary(u"ScreenPosition", u"WP", bytes));
        ASSERT_TRUE(store.WriteProfileBinary(u"ScreenPosition", u"Empty", {}));
    }
    ProfileStore store = Open();
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(store.GetProfileString(u"Texts", u"T" + std::u16string(1, u'a' + i)), texts[i])
            << "text " << i;
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"Negative", 0), -1);
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"Big", 0), 0x7fffffff);
    EXPECT_EQ(store.GetProfileBinary(u"ScreenPosition", u"WP"), bytes);
    EXPECT_EQ(store.GetProfileBinary(u"ScreenPosition", u"Empty"), std::vector<std::uint8_t>{});
}

TEST_F(ProfileStoreTest, FileIsInRegistryExportFormatAndPrivate)
{
    ProfileStore store = Open();
    store.WriteProfileInt(u"Settings", u"Folio", 44);
    store.WriteProfileString(u"Settings", u"FH_Apikey", u"k\"ey");
    store.WriteProfileBinary(u"ScreenPosition", u"WP", {0x2c, 0x00});
    const std::string text = dir.Read("Brindle.reg");
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Brindle\\Brindle\\Settings]\n"
                        "\"FH_Apikey\"=\"k\\\"ey\"\n\"Folio\"=dword:0000002c\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"WP\"=hex:2c,00\n"), std::string::npos) << text;
    struct stat info
    {
    };
    ASSERT_EQ(::stat(File().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ProfileStoreTest, DeleteSectionRemovesItAndItsSubsections)
{
    ProfileStore store = Open();
    store.WriteProfileInt(u"GridConfig", u"ColumnCount", 3);
    store.WriteProfileInt(u"GridConfig\\Default", u"ColumnCount", 3);
    store.WriteProfileInt(u"GridConfigOther", u"ColumnCount", 5);
    EXPECT_TRUE(store.DeleteSection(u"GridConfig"));
    ProfileStore reopened = Open();
    EXPECT_FALSE(reopened.HasSection(u"GridConfig"));
    EXPECT_FALSE(reopened.HasSection(u"GridConfig\\Default"));
    EXPECT_EQ(reopened.GetProfileInt(u"GridConfigOther", u"ColumnCount", 0), 5);
}

TEST_F(ProfileStoreTest, WrongTypeReadsAsAbsent)
{
    ProfileStore store = Open();
    store.WriteProfileString(u"Settings", u"Folio", u"3");
    store.WriteProfileInt(u"Settings", u"FH_Apikey", 3);
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"Folio", 7), 7);
    EXPECT_EQ(store.GetProfileString(u"Settings", u"FH_Apikey", u"d"), u"d");
    EXPECT_FALSE(store.GetProfileBinary(u"Settings", u"Folio"));
}

// Damaged and foreign files: the readable values are kept, the rest reads
// as absent, nothing crashes.
TEST_F(ProfileStoreTest, DamagedFilesReadWhatTheyCan)
{
    struct Case
    {
        const char* name;
        std::string content;
        int folio; // expected "Folio", -1 when absent
    };
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Brindle\\Brindle\\Settings]\n";
    const std::vector<Case> cases = {
        {"empty", "", -1},
        {"binary noise", std::string("\0\xff\x01[\"\n=\x80", 8), -1},
        {"no header", key + "\"Folio\"=dword:00000002\n", 2},
        {"CR LF ends",
         "Windows Registry Editor Version 5.00\r\n\r\n" + key.substr(0, key.size() - 1) +
             "\r\n\"Folio\"=dword:00000003\r\n",
         3},
        {"truncated line", key + "\"Folio\"=dword:0000", 0},
        {"bad hex digit", key + "\"Folio\"=dword:0000000g\n", -1},
        {"too many digits", key + "\"Folio\"=dword:000000001\n", -1},
        {"unterminated name", key + "\"Folio=dword:00000001\n", -1},
        {"other key", "[HKEY_CURRENT_USER\\Software\\Other]\n\"Folio\"=dword:00000004\n", -1},
        {"value before any key", "\"Folio\"=dword:00000004\n", -1},
        {"bad then good", key + "\"Folio\"=hex:zz\n\"Folio\"=dword:00000005\n", 5},
        {"invalid utf-8 string", key + "\"FH_Apikey\"=\"\xc3\x28\"\n\"Folio\"=dword:00000006\n", 6},
        {"missing bracket",
         "[HKEY_CURRENT_USER\\Software\\Brindle\\Brindle\\Settings\n"
         "\"Folio\"=dword:00000001\n",
         -1},
        {"wrapped hex", key + "\"WP\"=hex:2c,00,\\\n  00,00\n\"Folio\"=dword:00000007\n", 7},
    };
    for (const Case& c : cases)
    {
        dir.Write("Brindle.reg", c.content);
        ProfileStore store = Open();
        EXPECT_EQ(store.GetProfileInt(u"Settings", u"Folio", -1), c.folio) << c.name;
        EXPECT_EQ(store.GetProfileString(u"Settings", u"FH_Apikey", u"absent"), u"absent")
            << c.name;
    }
}

TEST_F(ProfileStoreTest, ReadsWrappedHexAndUtf16Files)
{
    // regedit writes UTF-16LE with a byte-order mark.
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Brindle\\Brindle\\Settings]\r\n"
                             "\"FH_Apikey\"=\"caf\xc3\xa9\"\r\n"
                             "\"WP\"=hex:2c,00,\\\r\n  01,02\r\n";
    const std::u16string wide = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\Brindle\\Brindle\\Settings]\r\n"
                                u"\"FH_Apikey\"=\"caf\u00e9\"\r\n"
                                u"\"WP\"=hex:2c,00,\\\r\n  01,02\r\n";
    std::string utf16 = "\xff\xfe";
    for (char16_t c : wide)
    {
        utf16.push_back(static_cast<char>(c & 0xff));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    for (const std::string& content : {text, utf16})
    {
        dir.Write("Brindle.reg", content);
        ProfileStore store = Open();
        EXPECT_EQ(store.GetProfileString(u"Settings", u"FH_Apikey"), u"caf\u00e9");
        EXPECT_EQ(store.GetProfileBinary(u"Settings", u"WP"),
                  (std::vector<std::uint8_t>{0x2c, 0x00, 0x01, 0x02}));
    }
}

// A full disk, as far as this process can tell: writes beyond the file size
// limit fail (even for root).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit saved{};
    void (*oldHandler)(int);
};

TEST_F(ProfileStoreTest, FailedWriteKeepsOldFileWholeAndLeavesNoTemporary)
{
    ProfileStore store = Open();
    ASSERT_TRUE(store.WriteProfileInt(u"Settings", u"Folio", 1));
    const std::string before = dir.Read("Brindle.reg");
    bool written;
    {
        FileSizeLimit full(before.size() + 10);
        written = store.WriteProfileString(u"Settings", u"Notes", std::u16string(500, u'x'));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(dir.Read("Brindle.reg"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(store.GetProfileInt(u"Settings", u"Folio", 0), 1);
}

TEST_F(ProfileStoreTest, CreatesMissingFolderAndNamesFileAfterProfile)
{
    testing_support::ScopedEnv config("BRINDLE_CONFIG_DIR", (dir / "deep" / "er").string());
    const std::filesystem::path path = ProfileStore::DefaultPath(u"brindle");
    EXPECT_EQ(path, dir / "deep" / "er" / "brindle.reg");
    ProfileStore store(path, std::u16string(kRoot));
    EXPECT_TRUE(store.WriteProfileInt(u"Settings", u"Folio", 1));
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(ProfileStorePath, FollowsXdgConfigHomeThenHome)
{
    testing_support::ScopedEnv noDir("BRINDLE_CONFIG_DIR", "");
    {
        testing_support::ScopedEnv xdg("XDG_CONFIG_HOME", "/x/cfg");
        EXPECT_EQ(ProfileStore::DefaultPath(u"Brindle"), "/x/cfg/Brindle/Brindle.reg");
    }
    testing_support::ScopedEnv noXdg("XDG_CONFIG_HOME", "");
    testing_support::ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(ProfileStore::DefaultPath(u"Brindle"), "/home/u/.config/Brindle/Brindle.reg");
}

} // namespace
