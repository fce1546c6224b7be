#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/Exceptions.h"
#include "tests/common/TempDir.h"
#include "text/StringList.h"

namespace {

std::vector<std::string> LinesOf(const TStringList& list) {
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < list.LineCount(); ++i) {
        lines.push_back(list.GetLine(i));
    }
    return lines;
}

} // namespace

// Every row: file bytes, the lines they load as, and the bytes a save writes back.
TEST(StringList, LoadAndSaveFollowTheLineRulesByteForByte) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string file;
        Lines lines;
        std::string saved;
    } cases[] = {
        {"", {}, ""},
        {"a", {"a"}, "a\r\n"},
        {"a\r\n", {"a"}, "a\r\n"},
        {"a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
        {"a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
        {"a\rb\r", {"a", "b"}, "a\r\nb\r\n"},
        {"a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        {"a\r\r\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        {"a\r\n\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        {"a\r\n\r\n", {"a", ""}, "a\r\n\r\n"},
        {"\r\n", {""}, "\r\n"},
        {"\n", {""}, "\r\n"},
        {"\r", {""}, "\r\n"},
        {std::string("a\0b\r\nc", 6), {"a"}, "a\r\n"},
        {std::string("\0a", 2), {}, ""},
        {"\xEF\xBB\xBFx\t\x01\xFF", {"\xEF\xBB\xBFx\t\x01\xFF"}, "\xEF\xBB\xBFx\t\x01\xFF\r\n"},
    };
    TTempDir dir;
    TStringList list;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        const std::string path = dir.Write("a.html", c.file);
        list.ClearLines();
        list.LoadLines(path);
        EXPECT_EQ(LinesOf(list), c.lines);
        EXPECT_EQ(list.HeldNul(), c.file.find('\0') != std::string::npos);
        const std::string out = dir / "out.html";
        list.SaveLines(out);
        EXPECT_EQ(ReadBytes(out), c.saved);
    }
}

TEST(StringList, PutLineReplacesOneLineAndEqualTextChangesNothing) {
    TStringList list;
    list.LoadBytes("a\nb\nc");
    list.PutLine(1, "B");
    const std::string copy = list.GetLine(1);
    list.PutLine(1, "x");
    EXPECT_EQ(copy, "B");
    list.PutLine(2, list.GetLine(2));
    EXPECT_EQ(list.Text(), "a\r\nx\r\nc\r\n");
    EXPECT_EQ(list.LineCount(), 3);
}

TEST(StringList, IndicesOutsideTheListRaise) {
    TStringList list;
    list.LoadBytes("a\nb");
    for (std::int32_t index : {-1, 2}) {
        try {
            list.GetLine(index);
            ADD_FAILURE();
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
        EXPECT_THROW(list.PutLine(index, "x"), EStringListError);
    }
}

TEST(StringList, AFileThatCannotBeOpenedLeavesTheListAlone) {
    TTempDir dir;
    TStringList list;
    list.LoadBytes("kept");
    try {
        list.LoadLines(dir / "missing.html");
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + (dir / "missing.html"));
    }
    EXPECT_EQ(list.GetLine(0), "kept");
}

TEST(StringList, SavingOverAReadOnlyFileRaisesAndChangesNothing) {
    TTempDir dir;
    const std::string path = dir.Write("a.html", "a\nb\n");
    TStringList list;
    list.LoadLines(path);
    ::chmod(path.c_str(), 0444);
    try {
        list.SaveLines(path);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + path);
    }
    EXPECT_EQ(ReadBytes(path), "a\nb\n");
}
