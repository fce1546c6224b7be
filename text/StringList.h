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
// the file's former content should a save fail. A pass over the whole text can hand the
// list its new lines as the very bytes a save writes (AdoptText), split only if asked.
class TStringList {
public:
    void ClearLines();
    // Raises EFOpenError ("Cannot open file %s"); the list is then untouched.
    void LoadLines(const std::string& path);
    // The same for the file name in the open directory directoryFd; path is the file's full
    // path, for the error.
    void LoadLinesAt(int directoryFd, const char* name, const std::string& path);
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
    bool Unchanged() const { return !FAdopted && FOwned.empty(); }
    // Replaces every line by those of text, which holds each line followed by CR LF and in
    // which no line holds CR, LF or NUL: the bytes SaveLines would write for those lines.
    // The loaded bytes stay the file's former content.
    void AdoptText(std::string text);
    // Whether the lines were loaded from a file (LoadLines), and whether that file had none
    // of its write bits set when it was read.
    bool LoadedFromFile() const { return FLoaded.Stamp.Size >= 0; }
    bool LoadedReadOnly() const { return (FLoaded.Mode & 0222) == 0; }
    // Whether the loaded content held a NUL byte. Such a file is binary: the list holds
    // only what stood before the NUL, so it must never be written back.
    bool HeldNul() const { return FHeldNul; }
    // The bytes SaveLines writes.
    std::string Text() const;

private:
    void Index();
    void Split() const;
    void CheckIndex(std::int32_t index) const;

    // The text the lines are split from: the loaded text, or the adopted one.
    std::string_view Base() const;

    TFileContent FLoaded;
    std::size_t FTextLength = 0;
    bool FHeldNul = false;
    bool FAdopted = false;
    std::string FAdoptedText;
    mutable bool FSplit = true;
    mutable std::vector<std::string_view> FLines;
    std::deque<std::string> FOwned;
};
