#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The user's 8-bit code page: how its texts are upper-cased without changing their length,
// where a match may begin, and how its texts cross to and from UTF-8 at the windows' edge.
class TCodePage {
public:
    enum class TKind { DoubleByte, Utf8, SingleByte };

    // The code page of the locale in the environment (LC_ALL, LC_CTYPE, LANG).
    static const TCodePage& FromLocale();
    // A code page by its iconv name ("GB2312", "UTF-8", "ISO-8859-1", ...).
    static std::shared_ptr<const TCodePage> Named(std::string_view name);

    TKind Kind() const { return FKind; }
    const std::string& Name() const { return FName; }

    // A copy of text with every letter that has a same-length upper case upper-cased.
    std::string UpperCase(std::string_view text) const;
    // The same copy, made in upper (whose room is reused); text must not lie inside upper.
    void UpperCase(std::string_view text, std::string& upper) const;

    // Whether a match may begin at pos of text: never on the second byte of a double-byte
    // character (an odd run of lead bytes stands right before it), nor on a UTF-8
    // continuation byte. Positions are counted from the start of text.
    bool MayBeginMatch(std::string_view text, std::size_t pos) const;

    // Bytes of the character that begins at pos (1 or 2; 1 outside double-byte pages).
    std::size_t CharLength(std::string_view text, std::size_t pos) const {
        return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
    }

    bool IsLeadByte(unsigned char byte) const {
        return FKind == TKind::DoubleByte && byte >= 0x81 && byte <= 0xFE;
    }
    bool IsContinuationByte(unsigned char byte) const {
        return FKind == TKind::Utf8 && byte >= 0x80 && byte <= 0xBF;
    }

    // Conversion at the windows' edge; a character the target cannot hold becomes "?".
    std::string ToUtf8(std::string_view text) const;
    std::string FromUtf8(std::string_view utf8) const;

    explicit TCodePage(std::string_view name);
    ~TCodePage();
    TCodePage(const TCodePage&) = delete;
    TCodePage& operator=(const TCodePage&) = delete;

private:
    struct TConverters;
    void BuildSingleByteTable();
    void BuildDoubleByteTable();
    void UpperCaseUtf8(std::string& upper) const;

    std::string FName;
    TKind FKind;
    std::array<unsigned char, 256> FByteUpper{};
    // Double-byte characters (lead << 8 | trail) whose upper case is another double-byte
    // character of the same code page; sorted by the first member.
    // Upper case of every double-byte character (lead << 8 | trail); 0 where unchanged.
    std::vector<std::uint16_t> FPairUpper;
    std::unique_ptr<TConverters> FConverters;
};

// The code-page family of a charset name as nl_langinfo(CODESET) or iconv spells it.
TCodePage::TKind CodePageKindOf(std::string_view charset);
