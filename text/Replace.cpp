#include "text/Replace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/CodePage.h"
#include "text/StringList.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::size_t MemMem(const char* text, std::size_t size, std::string_view needle) {
    const void* hit = ::memmem(text, size, needle.data(), needle.size());
    return hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const char*>(hit) - text);
}

// The few positions from i on that are left after the blocks, one by one.
std::size_t FindTail(const char* text, std::size_t size, std::string_view needle, std::size_t i) {
    const std::size_t last = needle.size() - 1;
    for (; i + last < size; ++i) {
        if (text[i] == needle[0] && std::memcmp(text + i + 1, needle.data() + 1, last) == 0) {
            return i;
        }
    }
    return npos;
}

// The candidates of one block (bit k of mask: position i + k, where the first and the last
// byte agree): a match position, npos once memmem has taken over because the budget of
// failed comparisons is spent, or kGoOn for the next block.
constexpr std::size_t kGoOn = npos - 1;
std::size_t CheckCandidates(const char* text, std::size_t size, std::string_view needle,
                            std::size_t i, unsigned mask, std::size_t& budget) {
    const std::size_t last = needle.size() - 1;
    while (mask != 0) {
        const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
        if (last < 2 || std::memcmp(text + at + 1, needle.data() + 1, last - 1) == 0) {
            return at;
        }
        if (budget < last) {
            const std::size_t hit = MemMem(text + at, size - at, needle);
            return hit == npos ? npos : at + hit;
        }
        budget -= last;
        mask &= mask - 1;
    }
    return kGoOn;
}

// Block search: the first and the last byte of needle are tested on 16 (or 32) positions at
// once, and only where both agree are the bytes between compared. Every candidate that fails
// costs a comparison, so a text that keeps almost matching hands over to memmem, whose time
// is linear whatever the text.
#if defined(__SSE2__)
std::size_t FindBlocks16(const char* text, std::size_t size, std::string_view needle) {
    const std::size_t last = needle.size() - 1;
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i final = _mm_set1_epi8(needle[last]);
    std::size_t budget = size / 4 + 64;
    std::size_t i = 0;
    for (; i + last + 16 <= size; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + last));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
        if (const std::size_t hit = CheckCandidates(text, size, needle, i, mask, budget);
            hit != kGoOn) {
            return hit;
        }
    }
    return FindTail(text, size, needle, i);
}
#endif

#if defined(__x86_64__)
__attribute__((target("avx2"))) std::size_t FindBlocks32(const char* text, std::size_t size,
                                                         std::string_view needle) {
    const std::size_t last = needle.size() - 1;
    const __m256i first = _mm256_set1_epi8(needle[0]);
    const __m256i final = _mm256_set1_epi8(needle[last]);
    std::size_t budget = size / 4 + 64;
    std::size_t i = 0;
    for (; i + last + 32 <= size; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i + last));
        unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, final))));
        if (const std::size_t hit = CheckCandidates(text, size, needle, i, mask, budget);
            hit != kGoOn) {
            return hit;
        }
    }
    return FindTail(text, size, needle, i);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

std::size_t FindBlocks(const char* text, std::size_t size, std::string_view needle) {
#if defined(__x86_64__)
    return HasAvx2() && size >= 64 ? FindBlocks32(text, size, needle)
                                   : FindBlocks16(text, size, needle);
#elif defined(__SSE2__)
    return FindBlocks16(text, size, needle);
#else
    return MemMem(text, size, needle);
#endif
}

// Where the first byte of needle is rare in the text, memchr finds the few places to compare
// faster than any block test; once it stops too often, the block search takes over.
std::size_t FindFirstByteThenBlocks(const char* text, std::size_t size, std::string_view needle) {
    const std::size_t last = needle.size() - 1;
    const std::size_t starts = size - last; // positions where needle can begin
    std::size_t misses = 0;
    for (std::size_t i = 0; i < starts;) {
        const void* found = std::memchr(text + i, needle[0], starts - i);
        if (found == nullptr) {
            return npos;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - text);
        if (std::memcmp(text + at + 1, needle.data() + 1, last) == 0) {
            return at;
        }
        i = at + 1;
        if (++misses > 4 && misses * 256 > i) {
            const std::size_t hit = FindBlocks(text + i, size - i, needle);
            return hit == npos ? npos : i + hit;
        }
    }
    return npos;
}

// Position of needle in haystack from pos on, or npos; needle is not empty.
std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t pos) {
    if (pos > haystack.size() || needle.size() > haystack.size() - pos) {
        return npos;
    }
    const char* text = haystack.data() + pos;
    const std::size_t size = haystack.size() - pos;
    std::size_t at;
    if (needle.size() == 1) {
        const void* hit = std::memchr(text, needle[0], size);
        at = hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const char*>(hit) - text);
    } else {
        at = FindFirstByteThenBlocks(text, size, needle);
    }
    return at == npos ? npos : pos + at;
}

// Whether upper-casing can make no text match search that does not match it byte for byte:
// a search text of ASCII bytes none of which is a letter. Upper-casing changes ASCII letters
// and characters outside ASCII only, and never turns anything into an ASCII non-letter.
bool CaseCannotMatter(std::string_view search) {
    for (const char c : search) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) {
            return false;
        }
    }
    return true;
}

// A pair with what every replacement of it needs, worked out once per pass.
struct TPreparedPair {
    std::string_view Search;
    std::string_view Replacement;
    std::string UpperSearch;
    bool CaseMatters = true;
};

using TPreparedPairs = std::array<TPreparedPair, 4>;

TPreparedPair PreparePair(std::string_view search, std::string_view replacement,
                          const TCodePage& codePage) {
    TPreparedPair pair;
    pair.Search = search;
    pair.Replacement = replacement;
    pair.CaseMatters = !CaseCannotMatter(search);
    if (pair.CaseMatters) {
        pair.UpperSearch = codePage.UpperCase(search);
    }
    return pair;
}

TPreparedPairs Prepare(const TReplacePairs& pairs, const TCodePage& codePage) {
    TPreparedPairs prepared;
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        prepared[k] = PreparePair(pairs[k].Search, pairs[k].Replacement, codePage);
    }
    return prepared;
}

// The replacement of every occurrence, written to result. upper is scratch room for the
// upper-case copy of text.
void ReplaceAllInto(std::string& result, std::string_view text, const TPreparedPair& pair,
                    const TCodePage& codePage, std::string& upper) {
    result.clear();
    std::string_view copy = text;
    std::string_view search = pair.Search;
    if (pair.CaseMatters) {
        codePage.UpperCase(text, upper);
        copy = upper;
        search = pair.UpperSearch;
    }
    // rest: where the remaining text (and the remaining copy) begins. boundary: a position
    // at or after rest known to begin a character of the remaining copy; it only moves
    // forward, so the character rule costs one pass over the text in all.
    std::size_t rest = 0;
    std::size_t boundary = 0;
    std::size_t from = 0;
    while (rest < copy.size()) {
        const std::size_t hit = Find(copy, search, from);
        if (hit == npos) {
            break;
        }
        bool mayBegin = true;
        if (codePage.Kind() == TCodePage::TKind::DoubleByte) {
            while (boundary < hit) {
                boundary += codePage.CharLength(copy, boundary);
            }
            mayBegin = boundary == hit;
        } else if (codePage.IsContinuationByte(static_cast<unsigned char>(copy[hit]))) {
            mayBegin = false;
        }
        if (!mayBegin) {
            from = hit + 1;
            continue;
        }
        result.append(text.substr(rest, hit - rest));
        result.append(pair.Replacement);
        rest = hit + search.size();
        boundary = rest;
        from = rest;
    }
    if (rest < text.size()) {
        result.append(text.substr(rest));
    }
}

// Scratch room that one pass reuses from line to line.
struct TLineScratch {
    std::string Working;
    std::string Next;
    std::string Upper;
};

// The pairs on one line, as the pass applies them: each pair tests the text the one before
// it left, and replaces only where its test succeeded. The result views line or scratch.
std::string_view ApplyPairs(std::string_view line, const TPreparedPairs& pairs,
                            const TCodePage& codePage, TLineScratch& scratch, bool& changed) {
    std::string_view current = line;
    changed = false;
    for (const TPreparedPair& pair : pairs) {
        if (!ContainsExact(current, pair.Search)) {
            continue;
        }
        ReplaceAllInto(scratch.Next, current, pair, codePage, scratch.Upper);
        std::swap(scratch.Working, scratch.Next);
        current = scratch.Working;
        changed = true;
    }
    return current;
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != npos;
}

// The first CR or LF at or after p, or end.
const char* FindLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        if (mask != 0) {
            return p + __builtin_ctz(mask);
        }
    }
#endif
    while (p < end && *p != '\r' && *p != '\n') {
        ++p;
    }
    return p;
}

// Just past the line end that begins at e: CR LF, a lone CR or a lone LF.
const char* SkipLineEnd(const char* e, const char* end) {
    if (e < end && *e == '\r') {
        ++e;
    }
    if (e < end && *e == '\n') {
        ++e;
    }
    return e;
}

// The first line end at or after p that is not CR LF: a CR not followed by LF, or an LF not
// preceded by CR; end if there is none. p begins a line of the text that starts at base.
const char* FindLoneLineEnd(const char* base, const char* p, const char* end) {
    if (p < end && *p == '\n' && (p == base || p[-1] != '\r')) {
        return p;
    }
    if (p < end && *p == '\r' && (p + 1 == end || p[1] != '\n')) {
        return p;
    }
    if (p < end) {
        ++p; // from here on p[-1] exists
    }
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 17; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i loneLf =
            _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(block, lf));
        const __m128i loneCr =
            _mm_andnot_si128(_mm_cmpeq_epi8(after, lf), _mm_cmpeq_epi8(block, cr));
        const unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(loneLf, loneCr)));
        if (mask != 0) {
            return p + __builtin_ctz(mask);
        }
    }
#endif
    for (; p < end; ++p) {
        if ((*p == '\n' && p[-1] != '\r') || (*p == '\r' && (p + 1 == end || p[1] != '\n'))) {
            return p;
        }
    }
    return end;
}

// The size of text split into lines and written out with CR LF after every line: every
// lone CR or LF grows by one byte, a last line without a line end by two.
std::size_t SizeWithCrLf(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t cr = 0;
    std::size_t lf = 0;
    std::size_t crLf = 0;
#if defined(__SSE2__)
    // Counted in byte lanes (a match subtracts -1), summed before a lane can overflow.
    const __m128i crs = _mm_set1_epi8('\r');
    const __m128i lfs = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    auto sum = [&](__m128i lanes) {
        const __m128i halves = _mm_sad_epu8(lanes, zero);
        return static_cast<std::size_t>(_mm_cvtsi128_si32(halves)) +
               static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(halves, 8)));
    };
    while (end - p >= 17) {
        __m128i crLanes = zero;
        __m128i lfLanes = zero;
        __m128i pairLanes = zero;
        for (int round = 0; round < 255 && end - p >= 17; ++round, p += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i isCr = _mm_cmpeq_epi8(block, crs);
            crLanes = _mm_sub_epi8(crLanes, isCr);
            lfLanes = _mm_sub_epi8(lfLanes, _mm_cmpeq_epi8(block, lfs));
            pairLanes = _mm_sub_epi8(pairLanes, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lfs)));
        }
        cr += sum(crLanes);
        lf += sum(lfLanes);
        crLf += sum(pairLanes);
    }
#endif
    for (; p < end; ++p) {
        cr += *p == '\r';
        lf += *p == '\n';
        crLf += *p == '\r' && p + 1 < end && p[1] == '\n';
    }
    std::size_t size = text.size() + cr + lf - 2 * crLf;
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') {
        size += 2;
    }
    return size;
}

// Appends the whole lines of base[from, to) with CR LF after each; to begins a line or is
// the end of the text. Runs of lines that already end in CR LF go in as they are.
void AppendLines(std::string& out, const char* base, const char* from, const char* to,
                 const char* end) {
    const char* run = from;
    for (const char* p = from; p < to;) {
        const char* lone = FindLoneLineEnd(base, p, to);
        if (lone == to) {
            break;
        }
        out.append(run, static_cast<std::size_t>(lone - run));
        out.append("\r\n", 2);
        run = p = lone + 1;
    }
    out.append(run, static_cast<std::size_t>(to - run));
    if (to == end && to > from && to[-1] != '\r' && to[-1] != '\n') {
        out.append("\r\n", 2); // the last line had no line end
    }
}

// The pass over a whole loaded text at once, with the same result as the pass over its
// lines. A search text holds no CR or LF where it can occur in a line, so each of its
// occurrences in the text lies inside one line, and a line without any occurrence cannot
// change: such lines are only copied, their line ends made CR LF, and the pairs run on the
// lines that hold an occurrence. Answers whether any line changed; out then holds the
// lines with CR LF after each, as SaveLines writes them.
bool ReplaceInText(std::string_view text, const TReplacePairs& pairs, const TCodePage& codePage,
                   std::string& out) {
    std::array<std::string_view, 4> searches;
    std::array<std::size_t, 4> next{};
    std::size_t count = 0;
    for (const TReplacePair& pair : pairs) {
        const std::string_view search = pair.Search;
        const auto known = searches.begin() + static_cast<std::ptrdiff_t>(count);
        if (search.empty() || search.find_first_of("\r\n") != npos ||
            std::find(searches.begin(), known, search) != known) {
            continue;
        }
        searches[count] = search;
        next[count] = Find(text, search, 0);
        ++count;
    }
    auto nearest = [&] {
        std::size_t hit = npos;
        for (std::size_t k = 0; k < count; ++k) {
            hit = std::min(hit, next[k]);
        }
        return hit;
    };
    std::size_t hit = nearest();
    if (hit == npos) {
        return false;
    }

    const TPreparedPairs prepared = Prepare(pairs, codePage);
    TLineScratch scratch;
    out.clear();
    out.reserve(SizeWithCrLf(text));
    const char* const base = text.data();
    const char* const end = base + text.size();
    const char* done = base; // the lines before done are in out
    while (hit != npos) {
        const char* const at = base + hit;
        const char* lineStart = at;
        while (lineStart > done && lineStart[-1] != '\n' && lineStart[-1] != '\r') {
            --lineStart;
        }
        const char* const lineEnd = FindLineEnd(at, end);
        AppendLines(out, base, done, lineStart, end);
        bool changed = false;
        out.append(ApplyPairs({lineStart, static_cast<std::size_t>(lineEnd - lineStart)}, prepared,
                              codePage, scratch, changed));
        out.append("\r\n", 2);
        done = SkipLineEnd(lineEnd, end);
        const std::size_t from = static_cast<std::size_t>(done - base);
        for (std::size_t k = 0; k < count; ++k) {
            if (next[k] < from) {
                next[k] = Find(text, searches[k], from);
            }
        }
        hit = nearest();
    }
    AppendLines(out, base, done, end, end);
    return true;
}

} // namespace

bool ContainsExact(std::string_view text, std::string_view search) {
    return !search.empty() && Find(text, search, 0) != npos;
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view search,
                                 std::string_view replacement, const TCodePage& codePage) {
    if (search.empty()) {
        return std::string(text);
    }
    const TPreparedPair pair = PreparePair(search, replacement, codePage);
    std::string result;
    std::string upper;
    result.reserve(text.size());
    ReplaceAllInto(result, text, pair, codePage, upper);
    return result;
}

bool ReplaceInLines(TStringList& lines, const TReplacePairs& pairs, const TCodePage& codePage) {
    if (lines.Unchanged()) {
        // Fresh from a file: one pass over the whole text, unless a replacement would put a
        // line break (or a NUL) into a line, which the text written out could not show.
        bool wholeText = true;
        for (const TReplacePair& pair : pairs) {
            wholeText = wholeText && !HoldsLineBreakOrNul(pair.Replacement);
        }
        if (wholeText) {
            std::string text;
            if (!ReplaceInText(lines.LoadedText(), pairs, codePage, text)) {
                return false;
            }
            lines.AdoptText(std::move(text));
            return true;
        }
        // A text in which no search text occurs anywhere holds no line that could change.
        if (!WouldReplaceInLines(lines, pairs)) {
            return false;
        }
    }
    const TPreparedPairs prepared = Prepare(pairs, codePage);
    TLineScratch scratch;
    bool changed = false;
    const std::int32_t count = lines.LineCount();
    for (std::int32_t i = 0; i < count; ++i) {
        bool lineChanged = false;
        const std::string_view result =
            ApplyPairs(lines.LineView(i), prepared, codePage, scratch, lineChanged);
        if (lineChanged) {
            lines.PutLine(i, std::string(result));
            changed = true;
        }
    }
    return changed;
}

bool WouldReplaceInLines(const TStringList& lines, const TReplacePairs& pairs) {
    if (lines.Unchanged()) {
        // A line holds no CR or LF, and an occurrence of a search text without them lies
        // inside one line.
        for (const TReplacePair& pair : pairs) {
            if (pair.Search.find_first_of("\r\n") == npos &&
                ContainsExact(lines.LoadedText(), pair.Search)) {
                return true;
            }
        }
        return false;
    }
    const std::int32_t count = lines.LineCount();
    for (std::int32_t i = 0; i < count; ++i) {
        for (const TReplacePair& pair : pairs) {
            if (ContainsExact(lines.LineView(i), pair.Search)) {
                return true;
            }
        }
    }
    return false;
}
