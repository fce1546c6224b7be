#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace {
// GB2312 bytes of a few characters, for readable cases.
const std::string kZhong = "\xD6\xD0";     // 中
const std::string kFullA = "\xA3\xE1";     // ａ (full-width small a)
const std::string kFullUpperA = "\xA3\xC1"; // Ａ
const std::string kAlpha = "\xA6\xA1";      // Α (Greek capital alpha)
const std::string kSmallAlpha = "\xA6\xC1"; // α
} // namespace

TEST(CodePage, KindFollowsTheCharsetName) {
    for (const char* name : {"GB2312", "gbk", "GB18030", "CP936", "EUC-CN"}) {
        EXPECT_EQ(CodePageKindOf(name), TCodePage::TKind::DoubleByte) << name;
    }
    EXPECT_EQ(CodePageKindOf("UTF-8"), TCodePage::TKind::Utf8);
    EXPECT_EQ(CodePageKindOf("utf8"), TCodePage::TKind::Utf8);
    EXPECT_EQ(CodePageKindOf("ISO-8859-1"), TCodePage::TKind::SingleByte);
    EXPECT_EQ(CodePageKindOf("ANSI_X3.4-1968"), TCodePage::TKind::SingleByte);
}

TEST(CodePage, Gb2312UpperCasingKeepsLengthAndNeverTouchesTrailBytesAlone) {
    const TCodePage gb("GB2312");
    EXPECT_EQ(gb.UpperCase("abc" + kFullA + kSmallAlpha + kZhong), "ABC" + kFullUpperA + kAlpha + kZhong);
    // 0xB0 0x61 is one character whose trail byte happens to be "a": it stays.
    EXPECT_EQ(gb.UpperCase("\xB0\x61"), "\xB0\x61");
    // A lone lead byte at the end changes nothing.
    EXPECT_EQ(gb.UpperCase("a\xB0"), "A\xB0");
}

TEST(CodePage, Gb2312CaseTableHoldsTheFullWidthGreekAndCyrillicLetters) {
    const TCodePage gb("GB2312");
    int changed = 0;
    for (int lead = 0xA1; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string ch{static_cast<char>(lead), static_cast<char>(trail)};
            changed += gb.UpperCase(ch) != ch;
        }
    }
    EXPECT_EQ(changed, 83); // 26 full-width Latin, 24 Greek, 33 Cyrillic letters
}

TEST(CodePage, Utf8UpperCasingChangesOnlySameLengthCharacters) {
    const TCodePage utf8("UTF-8");
    EXPECT_EQ(utf8.UpperCase("straße é ı"), "STRAßE É ı"); // ı's upper case I is shorter
    EXPECT_EQ(utf8.UpperCase("\xFF" "a\xC3"), "\xFF" "A\xC3");       // broken bytes stay
}

TEST(CodePage, SingleByteUpperCasingUsesTheCodePageTable) {
    const TCodePage latin1("ISO-8859-1");
    EXPECT_EQ(latin1.UpperCase("caf\xE9"), "CAF\xC9");
}

TEST(CodePage, MayBeginMatch) {
    const TCodePage gb("GB2312");
    const std::string text = kZhong + "a" + kZhong + kZhong;
    struct Case {
        std::size_t pos;
        bool may;
    } cases[] = {{0, true}, {1, false}, {2, true}, {3, true}, {4, false}, {5, true}, {6, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(gb.MayBeginMatch(text, c.pos), c.may) << c.pos;
    }
    const TCodePage utf8("UTF-8");
    EXPECT_TRUE(utf8.MayBeginMatch("é", 0));
    EXPECT_FALSE(utf8.MayBeginMatch("é", 1));
    EXPECT_TRUE(TCodePage("ISO-8859-1").MayBeginMatch("\xE9\xE9", 1));
}

TEST(CodePage, ConvertsToAndFromUtf8WithQuestionMarksForTheUnconvertible) {
    const TCodePage gb("GB2312");
    EXPECT_EQ(gb.ToUtf8(kZhong + "a"), "中a");
    EXPECT_EQ(gb.FromUtf8("中a"), kZhong + "a");
    EXPECT_EQ(gb.FromUtf8("a€b"), "a?b"); // no euro sign in GB2312
    EXPECT_EQ(gb.ToUtf8("a\xFF"), "a?");
    const TCodePage utf8("UTF-8");
    EXPECT_EQ(utf8.FromUtf8("中"), "中");
    EXPECT_EQ(utf8.ToUtf8("a\xFFz"), "a?z");
}
