// Both data files, portfolios.txt and symboldata.txt, load and save the
// same way; every case here runs for each of them.
#include "portfolio/portfolio_file.h"
#include "quotes/quote_line.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <sys/stat.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace
{

struct DataFile
{
    const char* name;
    const char* fileName;
    bool (*load)(DataStore&);
    bool (*save)(const DataStore&);
    TextLines DataStore::*lines;
};

void PrintTo(const DataFile& p, std::ostream* out)
{
    *out << p.name;
}

const DataFile kPortfolios{"Portfolios", "portfolios.txt", LoadPortfolios, SavePortfolios,
                           &DataStore::folioLines};
const DataFile kSymbolData{"SymbolData", "symboldata.txt", LoadSymbolData, SaveSymbolData,
                           &DataStore::symbolLines};

class DataFilesTest : public ::testing::TestWithParam<DataFile>
{
protected:
    TextLines& Lines() { return store.*GetParam().lines; }
    bool Load() { return GetParam().load(store); }
    bool Save() { return GetParam().save(store); }
    std::string FileName() const { return GetParam().fileName; }
    std::string Content() const { return dir.Read(FileName()); }
    void WriteFile(std::string_view bytes) const { dir.Write(FileName(), bytes); }

    TempDir dir;
    ScopedWorkingDir inDir{dir.Path()};
    DataStore store;
    const TextLines before{"kept|1", "kept|2"};
};

TEST_P(DataFilesTest, LoadsTheLinesOfTheFile)
{
    WriteFile("a|1\r\n\r\nb|2\n\nc|3");
    Lines() = before;
    EXPECT_TRUE(Load());
    EXPECT_EQ(Lines(), (TextLines{"a|1", "b|2", "c|3"}));
}

TEST_P(DataFilesTest, FileOfLineEndsOnlyLoadsAsNoLines)
{
    WriteFile("\r\n\n");
    Lines() = before;
    EXPECT_TRUE(Load());
    EXPECT_TRUE(Lines().empty());
}

TEST_P(DataFilesTest, MissingEmptyOrUnreadableFileLeavesTheLinesAsTheyWere)
{
    Lines() = before;
    EXPECT_FALSE(Load()) << "missing";
    WriteFile("");
    EXPECT_FALSE(Load()) << "empty";
    fs::remove(dir / FileName());
    fs::create_directory(dir / FileName());
    EXPECT_FALSE(Load()) << "a folder of that name";
    fs::remove(dir / FileName());
    ASSERT_EQ(mkfifo(FileName().c_str(), 0644), 0);
    EXPECT_FALSE(Load()) << "a FIFO of that name";
    EXPECT_EQ(Lines(), before);
}

TEST_P(DataFilesTest, FileWithoutReadPermissionLoadsAsAbsent)
{
    if (IgnoresPermissions())
        GTEST_SKIP() << "permission bits do not stop root";
    WriteFile("a|1\n");
    fs::permissions(dir / FileName(), fs::perms::none);
    Lines() = before;
    EXPECT_FALSE(Load());
    EXPECT_EQ(Lines(), before);
}

TEST_P(DataFilesTest, SavesEachLineWithOneLf)
{
    WriteFile("a|1\r\nb|2\r\n");
    ASSERT_TRUE(Load());
    EXPECT_TRUE(Save());
    EXPECT_EQ(Content(), "a|1\nb|2\n");
}

TEST_P(DataFilesTest, LargeFileWithNulBytesRoundTrips)
{
    for (int i = 0; i < 200000; ++i)
        Lines().push_back("line " + std::to_string(i) + std::string(1, '\0') + "|x");
    ASSERT_TRUE(Save());
    const TextLines saved = Lines();
    Lines().clear();
    ASSERT_TRUE(Load());
    EXPECT_EQ(Lines(), saved);
}

TEST_P(DataFilesTest, EmptyListSavesAnEmptyFileThatLoadsAsNothing)
{
    WriteFile("old|1\n");
    EXPECT_TRUE(Save());
    EXPECT_TRUE(dir.Exists(FileName()));
    EXPECT_EQ(Content(), "");
    Lines() = before;
    EXPECT_FALSE(Load());
    EXPECT_EQ(Lines(), before);
}

TEST_P(DataFilesTest, ReadOnlyFileIsReplaced)
{
    WriteFile("old|1\n");
    fs::permissions(dir / FileName(), fs::perms::owner_read | fs::perms::group_read);
    Lines() = {"new|1"};
    EXPECT_TRUE(Save());
    EXPECT_EQ(Content(), "new|1\n");
}

TEST_P(DataFilesTest, SaveThatRunsOutOfSpaceLeavesTheOldFileWhole)
{
    WriteFile("old|1\n");
    Lines().assign(1000, "new|123456789");
    {
        const ScopedFileSizeLimit diskFull(100);
        EXPECT_FALSE(Save());
    }
    EXPECT_EQ(Content(), "old|1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

TEST_P(DataFilesTest, SaveIntoAFolderWithoutWritePermissionLeavesTheOldFileWhole)
{
    if (IgnoresPermissions())
        GTEST_SKIP() << "permission bits do not stop root";
    WriteFile("old|1\n");
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    Lines() = {"new|1"};
    EXPECT_FALSE(Save());
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(Content(), "old|1\n");
}

TEST_P(DataFilesTest, SaveOverAFolderOfThatNameFails)
{
    fs::create_directory(dir / FileName());
    Lines() = {"new|1"};
    EXPECT_FALSE(Save());
    EXPECT_TRUE(fs::is_directory(dir / FileName()));
}

INSTANTIATE_TEST_SUITE_P(BothFiles, DataFilesTest, ::testing::Values(kPortfolios, kSymbolData),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
