#include "platform/CodePage.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <cerrno>

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace {

std::string UpperAscii(std::string_view text) {
    std::string name(text);
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

// A locale whose wide-character tables cover all of Unicode, for towupper_l.
locale_t UnicodeLocale() {
    static locale_t loc = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            if (locale_t l = newlocale(LC_CTYPE_MASK, name, nullptr)) {
                return l;
            }
        }
        return newlocale(LC_CTYPE_MASK, "C", nullptr);
    }();
    return loc;
}

// One iconv conversion descriptor, reset before every use.
class TIconv {
public:
    TIconv(const std::string& to, const std::string& from)
        : FHandle(iconv_open(to.c_str(), from.c_str())) {}
    ~TIconv() {
        if (Valid()) {
            iconv_close(FHandle);
        }
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    // Converts text whole; false when any part of it does not convert.
    bool Exact(std::string_view in, std::string& out) {
        out.clear();
        return Run<std::size_t (*)(std::string_view)>(in, out, nullptr);
    }

    // Converts text, replacing what does not convert by "?"; skipOne tells how many input
    // bytes the unconvertible character at a position takes.
    template <class Skip> void Lossy(std::string_view in, std::string& out, Skip skipOne) {
        out.clear();
        if (!Valid()) {
            // No converter for this pair: only ASCII is sure to survive.
            for (char c : in) {
                out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
            }
            return;
        }
        Run(in, out, &skipOne);
    }

private:
    template <class Skip> bool Run(std::string_view in, std::string& out, Skip* skipOne) {
        if (!Valid()) {
            return false;
        }
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[4096];
        bool exact = true;
        while (true) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = srcLeft == 0 ? iconv(FHandle, nullptr, nullptr, &dst, &dstLeft)
                                                : iconv(FHandle, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc != static_cast<std::size_t>(-1)) {
                if (srcLeft == 0) {
                    // A second call with no input flushes any shift state.
                    char* tail = buffer;
                    std::size_t tailLeft = sizeof buffer;
                    iconv(FHandle, nullptr, nullptr, &tail, &tailLeft);
                    out.append(buffer, static_cast<std::size_t>(tail - buffer));
                    return exact;
                }
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: a byte sequence that does not convert.
            exact = false;
            if (skipOne == nullptr) {
                return false;
            }
            std::size_t skip =
                std::min(srcLeft, std::max<std::size_t>(1, (*skipOne)({src, srcLeft})));
            src += skip;
            srcLeft -= skip;
            out.push_back('?');
            iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        }
    }

    iconv_t FHandle;
};

constexpr const char* kUtf32 = "UTF-32LE";

bool ToCodePoint(TIconv& decode, std::string_view bytes, char32_t& cp) {
    std::string out;
    if (!decode.Exact(bytes, out) || out.size() != 4) {
        return false;
    }
    const auto* u = reinterpret_cast<const unsigned char*>(out.data());
    cp = static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | static_cast<unsigned>(u[3]) << 24);
    return true;
}

std::string FromCodePoint(char32_t cp) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((cp >> (8 * i)) & 0xFF);
    }
    return bytes;
}

char32_t UpperOf(char32_t cp) {
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(cp), UnicodeLocale()));
}

// Length of the UTF-8 sequence that begins with lead, 0 for a byte that cannot begin one.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Decodes one well-formed UTF-8 character at the start of text; 0 when there is none.
std::size_t DecodeUtf8(std::string_view text, char32_t& cp) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = Utf8SequenceLength(s[0]);
    if (n == 0 || n > text.size()) {
        return 0;
    }
    if (n == 1) {
        cp = s[0];
        return 1;
    }
    cp = s[0] & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            return 0;
        }
        cp = cp << 6 | (s[i] & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return n;
}

std::size_t EncodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | cp >> 6);
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | cp >> 12);
        out[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | cp >> 18);
    out[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

// Bytes to skip over a UTF-8 character that does not convert (at least one).
std::size_t SkipUtf8(std::string_view text) {
    char32_t cp;
    const std::size_t n = DecodeUtf8(text, cp);
    return n == 0 ? 1 : n;
}

} // namespace

struct TCodePage::TConverters {
    TConverters(const std::string& name) : ToUtf8("UTF-8", name), FromUtf8(name, "UTF-8") {}
    TIconv ToUtf8;
    TIconv FromUtf8;
};

TCodePage::TKind CodePageKindOf(std::string_view charset) {
    const std::string name = UpperAscii(charset);
    if (name == "GB2312" || name == "GBK" || name == "GB18030" || name == "CP936" ||
        name == "EUC-CN") {
        return TCodePage::TKind::DoubleByte;
    }
    if (name == "UTF-8" || name == "UTF8") {
        return TCodePage::TKind::Utf8;
    }
    return TCodePage::TKind::SingleByte;
}

TCodePage::TCodePage(std::string_view name)
    : FName(name), FKind(CodePageKindOf(name)), FConverters(std::make_unique<TConverters>(FName)) {
    for (int b = 0; b < 256; ++b) {
        FByteUpper[static_cast<std::size_t>(b)] =
            static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 0x20 : b);
    }
    if (FKind == TKind::SingleByte) {
        BuildSingleByteTable();
    } else if (FKind == TKind::DoubleByte) {
        BuildDoubleByteTable();
    }
}

TCodePage::~TCodePage() = default;

void TCodePage::BuildSingleByteTable() {
    TIconv decode(kUtf32, FName);
    TIconv encode(FName, kUtf32);
    for (int b = 0x80; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        char32_t cp;
        if (!ToCodePoint(decode, {&byte, 1}, cp)) {
            continue;
        }
        const char32_t upper = UpperOf(cp);
        std::string back;
        if (upper != cp && encode.Exact(FromCodePoint(upper), back) && back.size() == 1) {
            FByteUpper[static_cast<std::size_t>(b)] = static_cast<unsigned char>(back[0]);
        }
    }
}

void TCodePage::BuildDoubleByteTable() {
    FPairUpper.assign(0x10000, 0);
    TIconv decode(kUtf32, FName);
    TIconv encode(FName, kUtf32);
    std::string back;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char32_t cp;
            if (!ToCodePoint(decode, {pair, 2}, cp)) {
                continue;
            }
            const char32_t upper = UpperOf(cp);
            if (upper == cp || !encode.Exact(FromCodePoint(upper), back) || back.size() != 2 ||
                !IsLeadByte(static_cast<unsigned char>(back[0]))) {
                continue;
            }
            FPairUpper[static_cast<std::size_t>(lead << 8 | trail)] = static_cast<std::uint16_t>(
                static_cast<unsigned char>(back[0]) << 8 | static_cast<unsigned char>(back[1]));
        }
    }
}

const TCodePage& TCodePage::FromLocale() {
    static const TCodePage* page = [] {
        std::string charset = "ANSI_X3.4-1968";
        if (locale_t loc = newlocale(LC_CTYPE_MASK, "", nullptr)) {
            charset = nl_langinfo_l(CODESET, loc);
            freelocale(loc);
        }
        return new TCodePage(charset);
    }();
    return *page;
}

std::shared_ptr<const TCodePage> TCodePage::Named(std::string_view name) {
    return std::make_shared<const TCodePage>(name);
}

bool TCodePage::MayBeginMatch(std::string_view text, std::size_t pos) const {
    if (pos >= text.size()) {
        return true;
    }
    if (FKind == TKind::Utf8) {
        return !IsContinuationByte(static_cast<unsigned char>(text[pos]));
    }
    if (FKind != TKind::DoubleByte) {
        return true;
    }
    std::size_t run = 0;
    while (run < pos && IsLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) {
        ++run;
    }
    return run % 2 == 0;
}

std::string TCodePage::UpperCase(std::string_view text) const {
    std::string upper;
    UpperCase(text, upper);
    return upper;
}

void TCodePage::UpperCase(std::string_view text, std::string& upper) const {
    upper.assign(text);
    const std::size_t n = upper.size();
    switch (FKind) {
    case TKind::SingleByte:
        for (char& c : upper) {
            c = static_cast<char>(FByteUpper[static_cast<unsigned char>(c)]);
        }
        return;
    case TKind::DoubleByte:
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(upper[i]);
            if (IsLeadByte(b) && i + 1 < n) {
                const auto pair =
                    static_cast<std::size_t>(b << 8 | static_cast<unsigned char>(upper[i + 1]));
                if (const std::uint16_t to = FPairUpper[pair]) {
                    upper[i] = static_cast<char>(to >> 8);
                    upper[i + 1] = static_cast<char>(to & 0xFF);
                }
                ++i;
            } else {
                upper[i] = static_cast<char>(FByteUpper[b]);
            }
        }
        return;
    case TKind::Utf8:
        UpperCaseUtf8(upper);
        return;
    }
}

void TCodePage::UpperCaseUtf8(std::string& upper) const {
    const std::size_t n = upper.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(upper[i]);
        if (b < 0x80) {
            upper[i] = static_cast<char>(FByteUpper[b]);
            ++i;
            continue;
        }
        char32_t cp;
        const std::size_t len = DecodeUtf8(std::string_view(upper).substr(i), cp);
        if (len == 0) {
            ++i;
            continue;
        }
        const char32_t to = UpperOf(cp);
        char encoded[4];
        if (to != cp && EncodeUtf8(to, encoded) == len) {
            upper.replace(i, len, encoded, len);
        }
        i += len;
    }
}

std::string TCodePage::ToUtf8(std::string_view text) const {
    std::string out;
    if (FKind == TKind::Utf8) {
        // Only checks the text: what is not well-formed becomes "?".
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size();) {
            char32_t cp;
            const std::size_t len = DecodeUtf8(text.substr(i), cp);
            if (len == 0) {
                out.push_back('?');
                ++i;
            } else {
                out.append(text.substr(i, len));
                i += len;
            }
        }
        return out;
    }
    FConverters->ToUtf8.Lossy(text, out, [this](std::string_view rest) {
        return IsLeadByte(static_cast<unsigned char>(rest[0])) && rest.size() > 1 ? 2u : 1u;
    });
    return out;
}

std::string TCodePage::FromUtf8(std::string_view utf8) const {
    std::string out;
    if (FKind == TKind::Utf8) {
        return ToUtf8(utf8);
    }
    FConverters->FromUtf8.Lossy(utf8, out, SkipUtf8);
    return out;
}
