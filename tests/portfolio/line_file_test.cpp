#include "portfolio/line_file.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace std::string_literals;

namespace
{

struct SplitCase
{
    const char* name;
    std::string bytes;
    TextLines lines;
};

void PrintTo(const SplitCase& p, std::ostream* out)
{
    *out << p.name;
}

class SplitTextLinesTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitTextLinesTest, FollowsTheLineRules)
{
    EXPECT_EQ(SplitTextLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextLinesTest,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"LfEnds", "a|1\nb|2\n", {"a|1", "b|2"}},
                      SplitCase{"CrLfEnds", "a|1\r\nb|2\r\n", {"a|1", "b|2"}},
                      SplitCase{"LastLineWithoutLf", "a\nb", {"a", "b"}},
                      SplitCase{"NoLineEndAtAll", "only", {"only"}},
                      SplitCase{"BlankLinesDropped", "\n\na\n\r\n\nb\n\n", {"a", "b"}},
                      SplitCase{"OnlyLineEnds", "\r\n\n\r\r\n", {}},
                      SplitCase{"CrDroppedInsideALine", "a\rb\r\n\rc", {"ab", "c"}},
                      SplitCase{"LoneCrIsNoLineEnd", "a\rb", {"ab"}},
                      SplitCase{"NulKept", "a\0b\n\0\n"s, {"a\0b"s, "\0"s}},
                      SplitCase{"HighBytesKept", "\xE9t\xE9\n", {"\xE9t\xE9"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JoinTextLines, EndsEveryLineWithOneLf)
{
    EXPECT_EQ(JoinTextLines({}), "");
    EXPECT_EQ(JoinTextLines({"a"}), "a\n");
    EXPECT_EQ(JoinTextLines({"a|1", "a\0b"s}), "a|1\na\0b\n"s);
}

TEST(JoinTextLines, SplitGivesTheLinesBack)
{
    const TextLines lines = {"0|FOLIO|Default||", "0|SEC|IBM|121.50|bought in March", "x\0y"s};
    EXPECT_EQ(SplitTextLines(JoinTextLines(lines)), lines);
}

} // namespace
