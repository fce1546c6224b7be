#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Windows profile (INI) format as text: "[section]" lines and "key=value" lines, read
// with CR LF or LF line ends. Section and key names compare without regard to ASCII letter
// case; where a name occurs twice, the first one counts. Any other line is kept as it is.

// The value of key in section: blanks (spaces, tabs) around it dropped, then one pair of
// matching quotation marks (single or double) around it removed. Empty when the section or
// the key is missing.
std::optional<std::string> ProfileValueOf(std::string_view text, std::string_view section,
                                          std::string_view key);

// The text with key in section set to value, written as "key=value" without quoting. An
// existing key keeps its line (and the spelling before "="); a missing key is added after
// the last non-blank line of its section, a missing section at the end. New lines end the
// way the text's first line does (CR LF when it has none); every other byte stays.
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);
