#pragma once

#include <array>
#include <string>
#include <string_view>

class TCodePage;
class TStringList;

// One search text and the text that replaces it.
struct TReplacePair {
    std::string Search;
    std::string Replacement;
};

// The four pairs, applied in this order, each to the text the one before it left.
using TReplacePairs = std::array<TReplacePair, 4>;

// The exact-case test: does search occur in text, byte for byte? An empty search text
// never occurs.
bool ContainsExact(std::string_view text, std::string_view search);

// Every occurrence of search in text replaced by replacement, matching without regard to
// letter case, leftmost first, never overlapping; the inserted text is never searched again.
// A match never begins inside a character of the code page.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view search,
                                 std::string_view replacement, const TCodePage& codePage);

// The four pairs on every line of the list, storing a line only where a pair's test
// succeeded on it. Answers whether any test succeeded (the changed flag).
bool ReplaceInLines(TStringList& lines, const TReplacePairs& pairs, const TCodePage& codePage);

// What ReplaceInLines would answer, leaving the list as it is. A line changes first where a
// pair's test succeeds on the line as it stands, so this is whether any search text occurs
// in any line.
bool WouldReplaceInLines(const TStringList& lines, const TReplacePairs& pairs);
