// Checks that the fast roads of the replacement pass give the results of the plain rules,
// byte for byte, on many random texts: the pass over a whole loaded text against the pass
// line by line, and both (and the dry run's answer) against a reference written straight
// from the rules (the line split, std::string_view::find, the code page's own upper-casing
// and character rule).
//   zeroraz-bench-equivalence [ROUNDS] [SEED]

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "text/Replace.h"
#include "text/StringList.h"

namespace {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    while (i < end) {
        const std::size_t start = i;
        while (i < end && bytes[i] != '\n' && bytes[i] != '\r') {
            ++i;
        }
        lines.emplace_back(bytes.substr(start, i - start));
        if (i < end && bytes[i] == '\r') {
            ++i;
        }
        if (i < end && bytes[i] == '\n') {
            ++i;
        }
    }
    return lines;
}

std::string ReferenceReplaceAll(const std::string& text, const std::string& search,
                                const std::string& replacement, const TCodePage& page) {
    const std::string copy = page.UpperCase(text);
    const std::string upperSearch = page.UpperCase(search);
    std::string result;
    std::size_t rest = 0;
    std::size_t from = 0;
    while (rest < copy.size()) {
        const std::size_t hit = copy.find(upperSearch, from);
        if (hit == std::string::npos) {
            break;
        }
        // The character rule counts lead bytes back to the start of the remaining copy.
        if (!page.MayBeginMatch(std::string_view(copy).substr(rest), hit - rest)) {
            from = hit + 1;
            continue;
        }
        result += text.substr(rest, hit - rest) + replacement;
        rest = hit + upperSearch.size();
        from = rest;
    }
    return result + text.substr(std::min(rest, text.size()));
}

// The rules of the pass, line by line, and the text a save writes.
std::pair<bool, std::string> ReferencePass(const std::string& bytes, const TReplacePairs& pairs,
                                           const TCodePage& page) {
    bool changed = false;
    std::string text;
    for (std::string line : SplitLines(bytes)) {
        for (const TReplacePair& pair : pairs) {
            if (pair.Search.empty() || line.find(pair.Search) == std::string::npos) {
                continue;
            }
            changed = true;
            line = ReferenceReplaceAll(line, pair.Search, pair.Replacement, page);
        }
        text += line + "\r\n";
    }
    return {changed, text};
}

class TRandom {
public:
    explicit TRandom(unsigned seed) : FEngine(seed) {}
    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(FEngine);
    }

    // Bytes drawn from pieces that make the rules' edge cases likely: line ends of every
    // kind, NUL, case pairs, GB2312 and UTF-8 characters and their loose halves.
    std::string Text(std::size_t pieces) {
        static const std::vector<std::string> kPieces = {"a",
                                                         "A",
                                                         "b",
                                                         "B",
                                                         "ab",
                                                         "AB",
                                                         "$",
                                                         "#",
                                                         "$#$",
                                                         "x",
                                                         " ",
                                                         "\r",
                                                         "\n",
                                                         "\r\n",
                                                         "\n\r",
                                                         std::string(1, '\0'),
                                                         "\xD6\xD0",
                                                         "\xD0\xD6",
                                                         "\xD6",
                                                         "\xD0",
                                                         "\xA3\xC1",
                                                         "\xA3\xE1",
                                                         "\xB0\x61",
                                                         "\xE4\xB8\xAD",
                                                         "\xE4\xB8\xB8",
                                                         "\xB8",
                                                         "\xC3\xA9",
                                                         "\xC3\x89",
                                                         "\xE9",
                                                         "\xC9",
                                                         "\xFF",
                                                         std::string(20, 'q'),
                                                         "<p>",
                                                         "</p>"};
        std::string text;
        for (std::size_t i = 0; i < pieces; ++i) {
            text += kPieces[Below(kPieces.size())];
        }
        return text;
    }

    TReplacePairs Pairs() {
        static const std::vector<std::string> kSearches = {
            "",         "a",    "A",        "ab",       "AB",
            "$#$",      "$",    "#$",       "\xD6\xD0", "\xD0\xD6",
            "\xA3\xC1", "\xB8", "\xC3\xA9", "\xE9",     "q",
            "qq",       "a\r",  "\n",       "<p>",      std::string(17, 'q')};
        static const std::vector<std::string> kReplacements = {
            "", "a", "AA", "$#$", "x", "\xD6\xD0", "ab", "\n", std::string(1, '\0'), "\r\n"};
        TReplacePairs pairs;
        for (TReplacePair& pair : pairs) {
            pair.Search = kSearches[Below(kSearches.size())];
            // Line breaks in a replacement are rare: they take the line-by-line road.
            do {
                pair.Replacement = kReplacements[Below(kReplacements.size())];
            } while (Below(8) != 0 &&
                     pair.Replacement.find_first_of(std::string("\r\n\0", 3)) != std::string::npos);
        }
        return pairs;
    }

private:
    std::mt19937 FEngine;
};

std::string Printable(const std::string& bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
        out += buffer;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const long rounds = argc > 1 ? std::atol(argv[1]) : 200000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1;
    const std::array<std::shared_ptr<const TCodePage>, 3> pages = {
        TCodePage::Named("UTF-8"), TCodePage::Named("GB2312"), TCodePage::Named("ISO-8859-1")};
    TRandom random(seed);
    long failures = 0;
    for (long round = 0; round < rounds && failures < 10; ++round) {
        const TCodePage& page = *pages[static_cast<std::size_t>(round) % pages.size()];
        const std::string bytes = random.Text(random.Below(round % 50 == 0 ? 400 : 24));
        const TReplacePairs pairs = random.Pairs();

        TStringList whole;
        whole.LoadBytes(bytes);
        const bool wholeWould = WouldReplaceInLines(whole, pairs);
        const bool wholeChanged = ReplaceInLines(whole, pairs, page);

        TStringList byLine;
        byLine.LoadBytes(bytes);
        if (byLine.LineCount() > 0) {
            byLine.PutLine(0, byLine.GetLine(0)); // no longer fresh: the line-by-line road
        }
        const bool byLineWould = WouldReplaceInLines(byLine, pairs);
        const bool byLineChanged = ReplaceInLines(byLine, pairs, page);

        const auto [refChanged, refText] = ReferencePass(bytes, pairs, page);
        std::vector<std::string> wholeLines;
        for (std::int32_t i = 0; i < whole.LineCount(); ++i) {
            wholeLines.push_back(whole.GetLine(i));
        }
        std::string wholeFromLines;
        for (const std::string& line : wholeLines) {
            wholeFromLines += line + "\r\n";
        }
        const bool same = wholeChanged == refChanged && byLineChanged == refChanged &&
                          wholeWould == refChanged && byLineWould == refChanged &&
                          whole.Text() == refText && byLine.Text() == refText &&
                          wholeFromLines == refText;
        if (!same) {
            ++failures;
            std::printf("MISMATCH (%s) text \"%s\"\n", page.Name().c_str(),
                        Printable(bytes).c_str());
            for (const TReplacePair& pair : pairs) {
                std::printf("  pair \"%s\" -> \"%s\"\n", Printable(pair.Search).c_str(),
                            Printable(pair.Replacement).c_str());
            }
            std::printf("  reference %d \"%s\"\n  whole     %d \"%s\"\n  by line   %d \"%s\"\n",
                        refChanged, Printable(refText).c_str(), wholeChanged,
                        Printable(whole.Text()).c_str(), byLineChanged,
                        Printable(byLine.Text()).c_str());
        }
    }
    std::printf("%ld rounds, %ld mismatches\n", rounds, failures);
    return failures == 0 ? 0 : 1;
}
