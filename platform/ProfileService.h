#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The profile service that the Windows original stands on, for INI files in the format of
// ProfileFormat.h. A file name without "/" lies in the user's configuration directory; the
// file is read afresh on every call, nothing is cached.

// Where the service keeps the file fileName.
std::string ProfilePathOf(std::string_view fileName);

// Copies the value of key in section of the file (ProfileValueOf), or defaultValue when the
// file, the section or the key is missing or the file cannot be read, into buffer: at most
// bufferSize - 1 bytes and a NUL. Answers the number of bytes copied, the NUL not counted.
// A null default counts as empty; a null section or key answers the default.
std::size_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                     char* buffer, std::size_t bufferSize, const char* fileName);

// Sets key in section of the file to value (WithProfileValue), creating the file, the
// section and the configuration directory as needed. The file is replaced as a whole through
// a temporary file beside it, so it is either as before or fully written; a symbolic link
// stays a link to the rewritten file; mode and owner are kept. Answers false, leaving
// everything as it was, when the file is read-only (no write bit, for root too), is not a
// regular file or cannot be read, the directory cannot be written, or a name or the value
// cannot be stored (a line break in any of them, "=" in the key, "]" in the section).
// All three texts null flushes what the service holds for the file: nothing, so it succeeds.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);
