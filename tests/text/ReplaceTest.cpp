#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "text/Filter.h"
#include "text/Replace.h"
#include "text/Rewrite.h"
#include "text/StringList.h"
#include "tests/common/TempDir.h"

#include <sys/stat.h>

namespace {

const TCodePage& Gb2312() {
    static const TCodePage page("GB2312");
    return page;
}
const TCodePage& Utf8() {
    static const TCodePage page("UTF-8");
    return page;
}

struct PassResult {
    bool changed;
    std::string text;
};

PassResult RunPass(const std::string& bytes, const TReplacePairs& pairs, const TCodePage& page) {
    TStringList list;
    list.LoadBytes(bytes);
    const bool changed = ReplaceInLines(list, pairs, page);
    return {changed, list.Text()};
}

TReplacePairs Pairs(std::initializer_list<TReplacePair> given) {
    TReplacePairs pairs;
    std::size_t i = 0;
    for (const TReplacePair& pair : given) {
        pairs[i++] = pair;
    }
    return pairs;
}

} // namespace

TEST(Replace, ThePassOverLines) {
    struct Case {
        const char* name;
        std::string file;
        TReplacePairs pairs;
        bool changed;
        std::string text; // the list's bytes after the pass
    } cases[] = {
        {"exact case tests, any case is replaced", "abc ABC\nABC\n", Pairs({{"abc", "x"}}), true,
         "x x\r\nABC\r\n"},
        {"the test succeeds on a later occurrence", "xaBy AB", Pairs({{"AB", "R"}}), true,
         "xRy R\r\n"},
        {"pairs chain", "foo", Pairs({{"foo", "bar"}, {"bar", "baz"}}), true, "baz\r\n"},
        {"a to aa terminates", "aAa", Pairs({{"a", "aa"}}), true, "aaaaaa\r\n"},
        {"replacement equal to the search text still changes", "a\nb", Pairs({{"a", "a"}}), true,
         "a\r\nb\r\n"},
        {"the defaults remove $#$", "x$#$y\n", Pairs({{"$#$", ""}, {"$#$", ""}}), true, "xy\r\n"},
        {"no search text anywhere", "plain\n", Pairs({{"$#$", ""}}), false, "plain\r\n"},
        {"empty search texts never occur", "abc", Pairs({{"", "x"}, {"", ""}}), false, "abc\r\n"},
        {"an empty file", "", Pairs({{"a", "b"}}), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PassResult result = RunPass(c.file, c.pairs, Utf8());
        EXPECT_EQ(result.changed, c.changed);
        EXPECT_EQ(result.text, c.text);
    }
}

// The pass over the whole text must end lines exactly where the line rules do, wherever the
// line ends fall and whatever the replacement holds.
TEST(Replace, ThePassKeepsTheLineRulesAtEveryLineEnd) {
    struct Case {
        const char* name;
        std::string file;
        TReplacePairs pairs;
        std::string text;
    } cases[] = {
        {"lone CR at the end of a 16-byte block", std::string(15, 'x') + "\r$#$b\rc\n",
         Pairs({{"$#$", ""}}), std::string(15, 'x') + "\r\nb\r\nc\r\n"},
        {"LF-only lines", "a\n$#$\nb\n", Pairs({{"$#$", ""}}), "a\r\n\r\nb\r\n"},
        {"empty lines kept at the end", "$#$\r\n\r\n", Pairs({{"$#$", ""}}), "\r\n\r\n"},
        {"LF then CR", "$#$\n\rz", Pairs({{"$#$", "y"}}), "y\r\n\r\nz\r\n"},
        {"a line break in a replacement, then chained", "axb\nq",
         Pairs({{"x", "1\n2"}, {"2b", "Z"}}), "a1\nZ\r\nq\r\n"},
        {"a search text standing across a line end never occurs", "ab\ncd", Pairs({{"b\nc", "X"}}),
         "ab\r\ncd\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunPass(c.file, c.pairs, Utf8()).text, c.text);
    }
}

TEST(Replace, ADryRunAnswersAndWritesNothing) {
    TTempDir dir;
    const std::string changing = dir.Write("a.html", "x$#$\n");
    const std::string plain = dir.Write("b.html", "plain\n");
    const std::string readOnly = dir.Write("c.html", "$#$\n");
    ::chmod(readOnly.c_str(), 0444);
    struct Case {
        std::string path;
        bool would;
    } cases[] = {{changing, true}, {plain, false}, {readOnly, false}};
    for (const Case& c : cases) {
        TStringList list;
        list.LoadLines(c.path);
        const std::string before = ReadBytes(c.path);
        EXPECT_EQ(RewriteIfChanged(list, c.path, Pairs({{"$#$", ""}}), Utf8(), true), c.would)
            << c.path;
        EXPECT_EQ(ReadBytes(c.path), before);
    }
}

TEST(Replace, MatchesNeverBeginInsideACharacter) {
    struct Case {
        const char* name;
        const TCodePage& page;
        std::string text, search, replacement, expected;
    } cases[] = {
        // 中 is D6 D0; "\xD0\xD6" stands across the boundary of 中中 but is no character.
        {"GB2312 across a boundary", Gb2312(), "\xD6\xD0\xD6\xD0", "\xD0\xD6", "X",
         "\xD6\xD0\xD6\xD0"},
        {"GB2312 on a boundary", Gb2312(), "a\xD6\xD0\xD6\xD0", "\xD6\xD0", "X", "aXX"},
        {"GB2312 trail byte equal to an ASCII letter", Gb2312(),
         "\xB0\x61"
         "a",
         "A", "-", "\xB0\x61-"},
        {"GB2312 full-width letters fold", Gb2312(), "\xA3\xE1\xA3\xC1", "\xA3\xC1", "!", "!!"},
        // 中 is E4 B8 AD and 丸 is E4 B8 B8: "\xB8" begins no character.
        {"UTF-8 continuation byte", Utf8(), "中丸", "\xB8", "X", "中丸"},
        {"UTF-8 letters fold", Utf8(), "Éé", "é", "e", "ee"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReplaceAllIgnoreCase(c.text, c.search, c.replacement, c.page), c.expected);
    }
}

TEST(Replace, ATestThatPassesAcrossABoundaryStillRewritesTheFile) {
    TTempDir dir;
    const std::string path = dir.Write("a.html", "\xD6\xD0\xD6\xD0\n");
    TStringList list;
    list.LoadLines(path);
    EXPECT_TRUE(RewriteIfChanged(list, path, Pairs({{"\xD0\xD6", "X"}}), Gb2312()));
    EXPECT_EQ(ReadBytes(path), "\xD6\xD0\xD6\xD0\r\n");
}

TEST(Replace, AFileWithANulByteIsNeverWrittenBack) {
    TTempDir dir;
    const std::string bytes("a$#$\n\0binary", 12);
    const std::string path = dir.Write("a.html", bytes);
    TStringList list;
    list.LoadLines(path);
    EXPECT_FALSE(RewriteIfChanged(list, path, Pairs({{"$#$", ""}}), Utf8()));
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(Replace, AMillionOccurrencesOnOneLine) {
    std::string line;
    for (int i = 0; i < 1000000; ++i) {
        line += "ab";
    }
    const std::string replaced = ReplaceAllIgnoreCase(line, "B", "", Gb2312());
    EXPECT_EQ(replaced, std::string(1000000, 'a'));
}

TEST(Filter, ExactCaseAnywhereInThePath) {
    const TFileFilters html = {".html", ".html", ".html", ".html"};
    struct Case {
        const char* path;
        TFileFilters filters;
        bool matches;
    } cases[] = {
        {"/site/index.html", html, true},
        {"/site/index.html.bak", html, true},
        {"/old.html/readme.txt", html, true},
        {"/site/INDEX.HTML", html, false},
        {"/site/a.htm", {"", "", "", ".htm"}, true},
        {"/site/a.html", {"", "", "", ""}, false},
        {"/x/thtml", {"htm", "", "", ""}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathMatchesFilters(c.path, c.filters), c.matches) << c.path;
    }
}
