#include "platform/ProfileFormat.h"

#include <vector>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct TLine {
    std::string_view Content;    // without its line end
    std::string_view Terminator; // "\r\n", "\n" or empty for a last line without one
};

std::vector<TLine> SplitLines(std::string_view text) {
    std::vector<TLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::size_t contentEnd = end;
        if (contentEnd > start && text[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        lines.push_back(
            {text.substr(start, contentEnd - start), text.substr(contentEnd, next - contentEnd)});
        start = next;
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionNameOf(std::string_view content) {
    content = Trimmed(content);
    if (content.empty() || content.front() != '[') {
        return std::nullopt;
    }
    content.remove_prefix(1);
    return Trimmed(content.substr(0, content.find(']')));
}

// Where the "=" of a line for key stands, or npos when the line is not one for key.
std::size_t EqualsOfKey(std::string_view content, std::string_view key) {
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos || !SameName(Trimmed(content.substr(0, equals)), key)) {
        return std::string_view::npos;
    }
    return equals;
}

// The parsed text: its lines, and where the section and the key stand in it.
struct TLookup {
    std::vector<TLine> Lines;
    std::size_t SectionLine = std::string_view::npos; // the header line
    std::size_t SectionEnd = 0;                       // first line after the section
    std::size_t KeyLine = std::string_view::npos;
    std::size_t KeyEquals = 0;
};

TLookup Find(std::string_view text, std::string_view section, std::string_view key) {
    TLookup found;
    found.Lines = SplitLines(text);
    // A leading UTF-8 mark stays part of the first line's bytes but not of what is parsed.
    const auto parsed = [&](std::size_t i) {
        std::string_view content = found.Lines[i].Content;
        return i == 0 && content.starts_with(kUtf8Bom) ? content.substr(kUtf8Bom.size()) : content;
    };
    for (std::size_t i = 0; i < found.Lines.size(); ++i) {
        const std::optional<std::string_view> name = SectionNameOf(parsed(i));
        if (found.SectionLine == std::string_view::npos) {
            if (name && SameName(*name, section)) {
                found.SectionLine = i;
            }
            continue;
        }
        if (name) {
            found.SectionEnd = i;
            return found;
        }
        if (found.KeyLine == std::string_view::npos) {
            if (const std::size_t equals = EqualsOfKey(parsed(i), key);
                equals != std::string_view::npos) {
                found.KeyLine = i;
                found.KeyEquals = equals;
            }
        }
    }
    found.SectionEnd = found.Lines.size();
    return found;
}

std::string_view NewLineOf(const std::vector<TLine>& lines) {
    for (const TLine& line : lines) {
        if (!line.Terminator.empty()) {
            return line.Terminator;
        }
    }
    return "\r\n";
}

} // namespace

std::optional<std::string> ProfileValueOf(std::string_view text, std::string_view section,
                                          std::string_view key) {
    const TLookup found = Find(text, section, key);
    if (found.KeyLine == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view value =
        Trimmed(found.Lines[found.KeyLine].Content.substr(found.KeyEquals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    const TLookup found = Find(text, section, key);
    const std::string_view newLine = NewLineOf(found.Lines);
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    std::string result;
    result.reserve(text.size() + section.size() + keyLine.size() + 8);
    const auto append = [&](const TLine& line) {
        result.append(line.Content);
        result.append(line.Terminator);
    };
    // A line that gets another line after it needs a line end of its own.
    const auto appendEnded = [&](const TLine& line) {
        result.append(line.Content);
        result.append(line.Terminator.empty() ? newLine : line.Terminator);
    };

    if (found.SectionLine == std::string_view::npos) {
        for (const TLine& line : found.Lines) {
            appendEnded(line);
        }
        result.append("[").append(section).append("]").append(newLine);
        result.append(keyLine).append(newLine);
        return result;
    }
    if (found.KeyLine != std::string_view::npos) {
        for (std::size_t i = 0; i < found.Lines.size(); ++i) {
            const TLine& line = found.Lines[i];
            if (i == found.KeyLine) {
                result.append(line.Content.substr(0, found.KeyEquals + 1)).append(value);
                result.append(line.Terminator);
            } else {
                append(line);
            }
        }
        return result;
    }
    std::size_t after = found.SectionLine;
    for (std::size_t i = found.SectionLine + 1; i < found.SectionEnd; ++i) {
        if (!Trimmed(found.Lines[i].Content).empty()) {
            after = i;
        }
    }
    for (std::size_t i = 0; i < found.Lines.size(); ++i) {
        if (i == after) {
            appendEnded(found.Lines[i]);
            result.append(keyLine).append(newLine);
        } else {
            append(found.Lines[i]);
        }
    }
    return result;
}
