#include "text/Replace.h"

#include <cstring>

#include "platform/CodePage.h"
#include "text/StringList.h"

namespace {

// Position of needle in haystack from pos on, or npos; memmem is far faster than a naive scan.
std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t pos) {
    if (pos > haystack.size() || needle.size() > haystack.size() - pos) {
        return std::string_view::npos;
    }
    const void* hit =
        ::memmem(haystack.data() + pos, haystack.size() - pos, needle.data(), needle.size());
    return hit == nullptr ? std::string_view::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) -
                                                     haystack.data());
}

} // namespace

bool ContainsExact(std::string_view text, std::string_view search) {
    return !search.empty() && Find(text, search, 0) != std::string_view::npos;
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view search,
                                 std::string_view replacement, const TCodePage& codePage) {
    if (search.empty()) {
        return std::string(text);
    }
    const std::string upperText = codePage.UpperCase(text);
    const std::string upperSearch = codePage.UpperCase(search);
    const std::string_view copy(upperText);
    std::string result;
    result.reserve(text.size());

    // rest: where the remaining text (and the remaining copy) begins. boundary: a position
    // at or after rest known to begin a character of the remaining copy; it only moves
    // forward, so the character rule costs one pass over the text in all.
    std::size_t rest = 0;
    std::size_t boundary = 0;
    std::size_t from = 0;
    while (rest < copy.size()) {
        const std::size_t hit = Find(copy, upperSearch, from);
        if (hit == std::string_view::npos) {
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
        result.append(replacement);
        rest = hit + upperSearch.size();
        boundary = rest;
        from = rest;
    }
    if (rest < text.size()) {
        result.append(text.substr(rest));
    }
    return result;
}

bool ReplaceInLines(TStringList& lines, const TReplacePairs& pairs, const TCodePage& codePage) {
    // A text in which no search text occurs anywhere holds no line that could change.
    if (lines.Unchanged()) {
        bool anyOccurs = false;
        for (const TReplacePair& pair : pairs) {
            anyOccurs = anyOccurs || ContainsExact(lines.LoadedText(), pair.Search);
        }
        if (!anyOccurs) {
            return false;
        }
    }
    bool changed = false;
    const std::int32_t count = lines.LineCount();
    std::string working;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string_view line = lines.LineView(i);
        bool lineChanged = false;
        for (const TReplacePair& pair : pairs) {
            const std::string_view current = lineChanged ? std::string_view(working) : line;
            if (!ContainsExact(current, pair.Search)) {
                continue;
            }
            working = ReplaceAllIgnoreCase(current, pair.Search, pair.Replacement, codePage);
            lineChanged = true;
        }
        if (lineChanged) {
            lines.PutLine(i, working);
            changed = true;
        }
    }
    return changed;
}
