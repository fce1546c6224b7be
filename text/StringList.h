#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WholeFile.h"

// The line list that carries one file's content. A file's bytes become lines at CR, LF or
// CR LF, up to the first NUL; lines become bytes again with CR LF after every line.
//
// The loaded bytes are kept whole: lines are views into them until a line is replaced,
// the list splits the text only when a line is first asked for, and the bytes serve as
// the file's former content should a save fail.
class TStringList {
public:
    void ClearLines();
    // Raises EFOpenError ("Cannot open file %s"); the list is then untouched.
    void LoadLines(const std::string& path);
    // Replaces the whole content with the lines of bytes, as LoadLines does with a file's.
    void LoadBytes(std::string bytes);
    std::int32_t LineCount() const;
    // Raise EStringListError ("List index out of bounds (%d)") outside 0 .. count - 1.
    std::string GetLine(std::int32_t index) const;
    void PutLine(std::int32_t index, std::string text);
    // Raises EFCreateError or EWriteError; on failure the file keeps its former content.
    void SaveLines(const std::string& path) const;

    // A view of a line, valid until the list next changes.
    std::string_view LineView(std::int32_t index) const;
    // The bytes that the lines were split from: everything loaded up to the first NUL.
    std::string_view LoadedText() const;
    // Whether the lines still hold exactly what was loaded (no line replaced since).
    bool Unchanged() const { return FOwned.empty(); }
    // Whether the loaded content held a NUL byte. Such a file is binary: the list holds
    // only what stood before the NUL, so it must never be written back.
    bool HeldNul() const { return FHeldNul; }
    // The bytes SaveLines writes.
    std::string Text() const;

private:
    void Index();
    void Split() const;
    void CheckIndex(std::int32_t index) const;

    TFileContent FLoaded;
    std::size_t FTextLength = 0;
    bool FHeldNul = false;
    mutable bool FSplit = true;
    mutable std::vector<std::string_view> FLines;
    std::deque<std::string> FOwned;
};
