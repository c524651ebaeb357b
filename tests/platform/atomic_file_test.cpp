#include "platform/files/atomic_file.h"

#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace
{

std::size_t EntriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ReplaceFileAtomically, CreatesAndReplaces)
{
    const TempDir dir;
    EXPECT_TRUE(platform::ReplaceFileAtomically(dir / "f.txt", "one"));
    EXPECT_EQ(dir.Read("f.txt"), "one");
    EXPECT_TRUE(platform::ReplaceFileAtomically(dir / "f.txt", ""));
    EXPECT_TRUE(dir.Exists("f.txt"));
    EXPECT_EQ(dir.Read("f.txt"), "");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(ReplaceFileAtomically, ReplacesAReadOnlyFileAndGivesTheNewOneTheMode)
{
    const TempDir dir;
    dir.Write("f.txt", "old");
    fs::permissions(dir / "f.txt", fs::perms::owner_read);
    EXPECT_TRUE(platform::ReplaceFileAtomically(dir / "f.txt", "new", 0600));
    EXPECT_EQ(dir.Read("f.txt"), "new");
    EXPECT_EQ(fs::status(dir / "f.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(ReplaceFileAtomically, AFailedWriteLeavesTheOldFileAndNoTemporary)
{
    const TempDir dir;
    dir.Write("f.txt", "old");
    {
        const ScopedFileSizeLimit diskFull(10);
        EXPECT_FALSE(platform::ReplaceFileAtomically(dir / "f.txt", std::string(1000, 'x')));
    }
    EXPECT_EQ(dir.Read("f.txt"), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(ReplaceFileAtomically, FailsOnAMissingFolderOrAFolderInTheWay)
{
    const TempDir dir;
    EXPECT_FALSE(platform::ReplaceFileAtomically(dir / "missing" / "f.txt", "x"));
    fs::create_directory(dir / "f.txt");
    EXPECT_FALSE(platform::ReplaceFileAtomically(dir / "f.txt", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "f.txt"));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(ReplaceFileAtomically, SavingThroughALinkReplacesTheFileItNames)
{
    const TempDir dir;
    fs::create_directory(dir / "real");
    dir.Write("real/f.txt", "old");
    fs::create_symlink("real/f.txt", dir / "link.txt");
    EXPECT_TRUE(platform::ReplaceFileAtomically(dir / "link.txt", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(dir.Read("real/f.txt"), "new");
}

TEST(ReadWholeFile, ReadsRegularFilesOnly)
{
    const TempDir dir;
    dir.Write("f.txt", std::string("a\0b", 3));
    EXPECT_EQ(platform::ReadWholeFile(dir / "f.txt"), std::string("a\0b", 3));
    dir.Write("empty.txt", "");
    EXPECT_EQ(platform::ReadWholeFile(dir / "empty.txt"), "");
    EXPECT_EQ(platform::ReadWholeFile(dir / "missing.txt"), std::nullopt);
    fs::create_directory(dir / "folder.txt");
    EXPECT_EQ(platform::ReadWholeFile(dir / "folder.txt"), std::nullopt);
}

TEST(ReadWholeFile, AFifoIsNotWaitedOn)
{
    const TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo.txt").c_str(), 0644), 0);
    EXPECT_EQ(platform::ReadWholeFile(dir / "fifo.txt"), std::nullopt);
}

} // namespace
