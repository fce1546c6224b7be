#include "text/StringList.h"

#include <climits>
#include <cstring>

#include "platform/Exceptions.h"

void TStringList::ClearLines() {
    FLines.clear();
    FOwned.clear();
    FLoaded = {};
    FTextLength = 0;
    FHeldNul = false;
    FAdopted = false;
    FAdoptedText = std::string();
    FSplit = true;
}

void TStringList::LoadLines(const std::string& path) {
    TFileContent content = ReadWholeFile(path);
    ClearLines();
    FLoaded = std::move(content);
    Index();
}

void TStringList::LoadLinesAt(int directoryFd, const char* name, const std::string& path) {
    TFileContent content = ReadWholeFileAt(directoryFd, name, path);
    ClearLines();
    FLoaded = std::move(content);
    Index();
}

void TStringList::LoadBytes(std::string bytes) {
    ClearLines();
    FLoaded.Bytes = std::move(bytes);
    Index();
}

void TStringList::Index() {
    const void* nul = std::memchr(FLoaded.Bytes.data(), '\0', FLoaded.Bytes.size());
    FHeldNul = nul != nullptr;
    FTextLength =
        FHeldNul ? static_cast<std::size_t>(static_cast<const char*>(nul) - FLoaded.Bytes.data())
                 : FLoaded.Bytes.size();
    FSplit = FTextLength == 0;
}

std::string_view TStringList::LoadedText() const {
    return std::string_view(FLoaded.Bytes).substr(0, FTextLength);
}

std::string_view TStringList::Base() const {
    return FAdopted ? std::string_view(FAdoptedText) : LoadedText();
}

void TStringList::AdoptText(std::string text) {
    FLines.clear();
    FOwned.clear();
    FAdoptedText = std::move(text);
    FAdopted = true;
    FSplit = FAdoptedText.empty();
}

void TStringList::Split() const {
    if (FSplit) {
        return;
    }
    FSplit = true;
    const std::string_view base = Base();
    const char* p = base.data();
    const char* const end = p + base.size();
    FLines.clear();
    while (p < end) {
        const char* start = p;
        while (p < end && *p != '\n' && *p != '\r') {
            ++p;
        }
        FLines.emplace_back(start, static_cast<std::size_t>(p - start));
        if (p < end && *p == '\r') {
            ++p;
        }
        if (p < end && *p == '\n') {
            ++p;
        }
    }
    if (FLines.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw EStreamError("The list cannot hold more than 2147483647 lines");
    }
}

std::int32_t TStringList::LineCount() const {
    Split();
    return static_cast<std::int32_t>(FLines.size());
}

void TStringList::CheckIndex(std::int32_t index) const {
    Split();
    if (index < 0 || static_cast<std::size_t>(index) >= FLines.size()) {
        throw EStringListError(index);
    }
}

std::string_view TStringList::LineView(std::int32_t index) const {
    CheckIndex(index);
    return FLines[static_cast<std::size_t>(index)];
}

std::string TStringList::GetLine(std::int32_t index) const {
    return std::string(LineView(index));
}

void TStringList::PutLine(std::int32_t index, std::string text) {
    CheckIndex(index);
    FLines[static_cast<std::size_t>(index)] = FOwned.emplace_back(std::move(text));
}

std::string TStringList::Text() const {
    if (FAdopted && FOwned.empty()) {
        return FAdoptedText;
    }
    Split();
    std::size_t size = 0;
    for (std::string_view line : FLines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (std::string_view line : FLines) {
        text.append(line);
        text.append("\r\n", 2);
    }
    return text;
}

void TStringList::SaveLines(const std::string& path) const {
    const TFileContent* loaded = FLoaded.Stamp.Size >= 0 ? &FLoaded : nullptr;
    if (FAdopted && FOwned.empty()) {
        WriteFileSafely(path, FAdoptedText, loaded); // already the bytes to write, no copy
        return;
    }
    const std::string text = Text();
    WriteFileSafely(path, text, loaded);
}
