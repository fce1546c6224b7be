#pragma once

#include <string>
#include <string_view>

class TCodePage;

// The file-name part of a program file's path, lower-cased: the part after the last "/",
// "\" or ":" (a byte that is the second byte of a double-byte character is never one of
// them), with A to Z raised to a to z and every other byte unchanged.
std::string ExeFileNameOf(std::string_view programPath, const TCodePage& codePage);

// The settings file's name for a program file name: its last three bytes replaced by "ini"
// ("rodovu.exe" gives "rodovu.ini", "tool.ex" gives "toolini"). A name without any "."
// has no extension to give up and gets ".ini" appended ("zeroraz" gives "zeroraz.ini").
std::string IniFileNameOf(std::string_view exeFileName);
