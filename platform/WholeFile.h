#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What a file was when it was read, so that a later write can tell whether the bytes read
// are still the file's content.
struct TFileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = -1;
    std::int64_t ModifiedNs = 0;
    bool operator==(const TFileStamp&) const = default;
};

struct TFileContent {
    std::string Bytes;
    TFileStamp Stamp;
    // The file's mode bits when it was read.
    std::uint32_t Mode = 0;
};

// Reads the whole regular file at path with as many requests as it takes. Raises
// EFOpenError when the path cannot be opened, is not a regular file, or cannot be read
// whole (a read error, or the file changing size while it is read).
TFileContent ReadWholeFile(const std::string& path);
// The same for the file name in the open directory directoryFd (AT_FDCWD: the current
// directory), which spares looking up every directory of the path again; path names the
// file in the error.
TFileContent ReadWholeFileAt(int directoryFd, const char* name, const std::string& path);

// Whether the file at path exists and none of its write bits is set: such a file is
// read-only for everyone, root included.
bool IsReadOnlyFile(const std::string& path);

// Replaces the content of the file at path with content, keeping what the file is (inode,
// links, owner, mode, extended attributes; a symbolic link stays a link). Nothing is left
// shortened or half-written: on any failure the former content is put back. loaded, when
// given, is what was read from the file before; it serves as the former content if the
// file has not changed since. Raises EFCreateError when the file is read-only, not a
// regular file or cannot be opened (the file is untouched), EWriteError when the space
// cannot be reserved or the write fails.
void WriteFileSafely(const std::string& path, std::string_view content,
                     const TFileContent* loaded = nullptr);

// A seam for tests: fail a chosen step of the write path with a chosen errno.
enum class TWriteStep { Open, Reserve, Write, Truncate, Close, TempCreate, TempWrite, Rename };

struct TWriteFaults {
    // Called before each step (and before each write request); a non-zero result is the
    // errno with which that step fails.
    std::function<int(TWriteStep step)> Fail;
    // Largest single write request, so that a failure can strike in the middle of a file.
    std::size_t MaxWriteChunk = static_cast<std::size_t>(-1);
};

// Installs faults for the lifetime of the object.
class TScopedWriteFaults {
public:
    explicit TScopedWriteFaults(TWriteFaults faults);
    ~TScopedWriteFaults();
    TScopedWriteFaults(const TScopedWriteFaults&) = delete;
    TScopedWriteFaults& operator=(const TScopedWriteFaults&) = delete;
};

// The prefix of the temporary files the write path makes beside a file it replaces.
inline constexpr std::string_view kTempFilePrefix = ".zeroraz-";
